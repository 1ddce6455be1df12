#pragma once

#include <utility>
#include <vector>

#include <QHash>
#include <QLineF>
#include <QRectF>
#include <QSizeF>

#include "paper_text.h"
#include "sheet.h"

namespace recibo::receipt {

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

// A receipt's sheet laid out for paper. The page is the receipt window at
// its design width with the whole receipt on it, whatever the window's
// height and the scroll bar's position: the frame at its design place and
// tall enough for the teacher's name, every written row, the three totals
// and the closing line, and the panel beside it.
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
    // The layout refers to the texts and lines of `sheet`, which must outlive it.
    PaperLayout(const Sheet& sheet, qreal smallestPoints, qreal tallestPage);

    // The page, in twips.
    QSizeF page() const { return page_; }

    // Where a text stands on paper, in its parent's twips (the frame's for
    // what is inside it), and how it is set for paper; the frame's place on
    // the page, and its caption.
    struct Placed {
        QRectF box;
        PaperText text;
    };
    const Placed& placed(const SheetText& item) const { return placed_.find(&item).value(); }
    const Placed& frame() const { return frame_; }
    // Every text laid out, with its place.
    const QHash<const SheetText*, Placed>& everyPlaced() const { return placed_; }
    // Where a line inside the frame runs on paper.
    QLineF line(const SheetLine& line) const { return lines_.value(&line); }

private:
    void layOutFrame(const Sheet& sheet);
    void layOutPanel(const Sheet& sheet);
    Placed& place(const SheetText* item, const QRectF& box, const PaperText& text);

    PaperFit fitFor(qreal width, int mostLines = 3) const;

    qreal smallest_, tallest_;
    QSizeF page_;
    Placed frame_;
    QHash<const SheetText*, Placed> placed_;
    QHash<const SheetLine*, QLineF> lines_;
};

// Where the text of a sheet's text stands inside its box, and the room it
// has across, on screen and on paper alike.
QRectF textArea(const SheetText& item, const QRectF& box);

}  // namespace recibo::receipt
