#pragma once

#include <span>
#include <variant>
#include <vector>

#include <QColor>
#include <QLineF>
#include <QRectF>
#include <QSizeF>

#include "paper_text.h"

class QPainter;

namespace recibo::receipt {

// A receipt page as data: what is drawn where, in twips, in greys, in
// drawing order. Nothing in it refers to a window:
// it is drawn by paintPage onto a printer, a PDF writer or an image, and can
// be written out in other forms.

// A filled rectangle.
struct PageFill {
    QRectF box;
    QColor grey;
    bool operator==(const PageFill&) const = default;
};

// The outline of a rectangle (corners rounded by `radius`), filled inside
// with `fill` when it is not transparent.
struct PageOutline {
    QRectF box;
    QColor grey;
    qreal width = 0;
    Qt::PenJoinStyle join = Qt::BevelJoin;
    qreal radius = 0;
    QColor fill = Qt::transparent;
    bool operator==(const PageOutline&) const = default;
};

// A straight line, its ends squared.
struct PageLine {
    QLineF line;
    QColor grey;
    qreal width = 0;
    bool operator==(const PageLine&) const = default;
};

// A text set for paper inside `area`, aligned as given.
struct PageText {
    PaperText text;
    QColor grey;
    QRectF area;
    Qt::Alignment alignment;
    bool operator==(const PageText&) const = default;
};

// One of the above, in twips from `origin` on the page (the corner of the
// frame it stands in), drawn only inside `clip` (in the page's twips; the
// whole page when it is empty).
struct PagePart {
    std::variant<PageFill, PageOutline, PageLine, PageText> shape;
    QRectF clip;
    QPointF origin;
    bool operator==(const PagePart&) const = default;
};

struct Page {
    QSizeF size;
    std::vector<PagePart> parts;
    bool operator==(const Page&) const = default;
};

// Consecutive parts that share a clip and an origin: drawn, or written, in
// one setting of them.
struct PageRun {
    QRectF clip;
    QPointF origin;
    std::span<const PagePart> parts;

    bool plain() const { return clip.isEmpty() && origin.isNull(); }
};
std::vector<PageRun> runsOf(const Page& page);

// Draws `page` with its top left corner at the painter's origin, one twip to
// a unit of the painter's coordinates (scale the painter to fit).
void paintPage(const Page& page, QPainter& painter);

}  // namespace recibo::receipt
