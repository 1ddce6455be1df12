#pragma once

#include <QHash>
#include <QObject>

class QWidget;

namespace recibo::widgets {

// Shows a widget that has the keyboard focus in the selection's colours
// (the palette's Highlight and HighlightedText), as a selected row is shown,
// and in its own colours again when the focus leaves: for a text that is
// reached with Tab but cannot be selected, like a receipt's totals. A style
// sheet would do the same, at the cost of Qt's style sheet machinery for the
// whole window.
class FocusColours : public QObject {
public:
    explicit FocusColours(QObject* parent);

    void watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<const QObject*, bool> filledBefore_;  // each widget's own autoFillBackground
};

}  // namespace recibo::widgets
