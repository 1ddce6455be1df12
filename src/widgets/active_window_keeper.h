#pragma once

// Keeps Qt's active window the window that has the keyboard.
//
// When the window manager hands the keyboard to a window while a popup is
// closing (a file dialog's completion list, closed by the Enter that also
// closes the dialog), Qt moves its focus window but its widgets keep no
// active window: the window gets the keys, yet shows no text cursor, shows
// no tooltips and gives screen readers no focus, until the user goes to
// another window and back. Once no popup is open, the window with the
// keyboard is made the active one again.

#include <QObject>

namespace recibo::widgets {

class ActiveWindowKeeper : public QObject {
public:
    explicit ActiveWindowKeeper(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Looks again once the events of the moment are handled.
    void checkSoon();
    void check();
};

}  // namespace recibo::widgets
