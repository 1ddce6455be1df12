#pragma once

#include <QString>
#include <QWidget>

namespace recibo::widgets {

// Speaks a short text through the screen reader without moving the focus,
// for a change the user caused but is not looking at (the position that a
// typed code chose). Qt 6.4 has no announcement event; a screen reader
// speaks a notification at the moment it is shown, so this is an invisible,
// sizeless notification that is shown anew, named with the text, each time.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget* parent);

    void announce(const QString& text);
};

}  // namespace recibo::widgets
