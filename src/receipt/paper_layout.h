#pragma once

#include <utility>
#include <vector>

#include <QHash>
#include <QLineF>
#include <QRectF>
#include <QSizeF>

#include "paper_text.h"

class QObject;
class QWidget;

namespace recibo::receipt {

class ReceiptWindow;

// Moves what stands below a place further down: a box that needs more room
// on paper than on screen opens a gap at its lower edge, and whatever lies
// at or below that edge moves down by the gap.
class VerticalFlow {
public:
    // Opens a gap of `extra` twips at `at`; where two boxes open one at the
    // same edge (the cells of one row), the larger is kept.
    void open(qreal at, qreal extra);
    // Where a place `y` twips down comes to stand.
    qreal operator()(qreal y) const;

private:
    std::vector<std::pair<qreal, qreal>> gaps_;
};

// The receipt window laid out for paper. The page is the window at its
// design width with the whole receipt on it, whatever the window's height
// and the scroll bar's position: the frame at its design place and tall
// enough for the teacher's name, every written row, the three totals and
// the closing line, and the panel beside it. The scroll bar means nothing on
// paper and has no place on it.
//
// Each text is set in its box at its designed size, smaller when it does
// not fit, never below `smallestPoints`; below that it wraps inside its box,
// which grows downwards and moves down what stands under it. The comment
// keeps its size, wraps, and continues below its box, moving the date down
// when it reaches it.
class PaperLayout {
public:
    // `smallestPoints`: the smallest size of text, in points of the window
    // (at the page's scale it is the smallest readable size on paper).
    // `tallestPage`: the page's height in twips that still fits the paper at
    // the scale of its width; the comment ends there.
    PaperLayout(const ReceiptWindow& window, qreal smallestPoints, qreal tallestPage);

    // The page, in twips.
    QSizeF page() const { return page_; }

    // Where a control that is drawn stands on paper, in its parent's twips
    // (the frame's for what is inside it), and its text set for paper.
    struct Placed {
        QRectF box;
        PaperText text;
    };
    // A control not laid out (a hidden one, or one paper leaves out) has none.
    const Placed* placed(const QObject* control) const;
    // Every control laid out, with its place.
    const QHash<const QObject*, Placed>& everyPlaced() const { return placed_; }
    // Where a line inside the frame runs on paper.
    QLineF line(const QObject* line) const { return lines_.value(line); }

private:
    void layOutFrame(const ReceiptWindow& window);
    void layOutPanel(const ReceiptWindow& window);
    Placed& place(const QObject* control, const QRectF& box, const PaperText& text);

    PaperFit fitFor(qreal width, int mostLines = 3) const;

    qreal smallest_, tallest_;
    QSizeF page_;
    QHash<const QObject*, Placed> placed_;
    QHash<const QObject*, QLineF> lines_;
};

// Where a control stands, in twips of its parent: the exact place it was put
// at, or its pixels for a control placed in pixels.
QRectF twipsRect(const QWidget* control);

// Where the text of a control stands inside its box, and the room it has
// across, on screen and on paper alike.
QRectF textArea(const QWidget* control, const QRectF& box);

}  // namespace recibo::receipt
