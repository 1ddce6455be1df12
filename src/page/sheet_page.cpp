#include "sheet_page.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "paper_layout.h"
#include "receipt_layout.h"
#include "twip_units.h"

namespace recibo::receipt {

namespace {

// A line one screen pixel wide.
constexpr qreal kRule = kTwipsPerPixel;
// The grey of the borders of boxes and of the frame.
const QColor kBorder(128, 128, 128);
// The smallest text on paper, in points.
constexpr qreal kSmallestOnPaper = 7;

// Every colour goes to paper as the grey of its brightness.
QColor ink(const QColor& colour)
{
    const int grey = qGray(colour.rgb());
    return QColor(grey, grey, grey, colour.alpha());
}

// Collects the page's parts from the sheet as laid out: what stands in the
// frame goes to the page with the frame's corner as its origin, clipped to
// the frame.
class PageBuilder {
public:
    PageBuilder(const PaperLayout& layout, Page& page) : layout_(layout), page_(page) {}

    void addSheet(const Sheet& sheet)
    {
        if (sheet.paper.alpha() > 0)
            addFill(QRectF(QPointF(0, 0), page_.size), sheet.paper);
        addFrame(sheet);
        for (const SheetText& item : sheet.panel)
            addItem(item);
    }

private:
    void add(std::variant<PageFill, PageOutline, PageLine, PageText> shape)
    {
        page_.parts.push_back({std::move(shape), clip_, origin_});
    }

    void addFill(const QRectF& box, const QColor& colour) { add(PageFill{box, ink(colour)}); }

    void addText(const PaperText& text, const QColor& colour, const QRectF& area, Qt::Alignment alignment)
    {
        if (!text.lines.isEmpty())
            add(PageText{text, ink(colour), area, alignment});
    }

    // A line covers the screen pixels from its end points to the right and
    // downwards; on paper it runs through their middle.
    void addLine(const QLineF& line, const QColor& colour)
    {
        add(PageLine{line.translated(kRule / 2, kRule / 2), ink(colour), kRule});
    }

    // A sunken box of the window: its background and a thin border.
    void addBox(const QRectF& box, const QColor& background)
    {
        addFill(box, background);
        add(PageOutline{box.adjusted(kRule / 2, kRule / 2, -kRule / 2, -kRule / 2), ink(kBorder), kRule,
                        Qt::MiterJoin});
    }

    void addItem(const SheetText& item)
    {
        const PaperLayout::Placed& at = layout_.placed(item);
        switch (item.kind) {
        case SheetKind::Label:
            if (item.background.alpha() > 0)
                addFill(at.box, item.background);
            addText(at.text, item.ink, textArea(item, at.box), item.alignment);
            break;
        case SheetKind::TextBox:
            addBox(at.box, item.background);
            addText(at.text, item.ink, textArea(item, at.box), item.alignment);
            break;
        case SheetKind::CommentBox:
            addBox(at.box, item.background);
            addText(at.text, item.ink, textArea(item, at.box), Qt::AlignLeft | Qt::AlignTop);
            break;
        case SheetKind::Button:
            add(PageOutline{at.box.adjusted(kRule / 2, kRule / 2, -kRule / 2, -kRule / 2), ink(kBorder), kRule,
                            Qt::BevelJoin, 2.0 * kTwipsPerPixel, ink(item.background)});
            addText(at.text, item.ink, at.box, Qt::AlignCenter);
            break;
        case SheetKind::Cell: addText(at.text, item.ink, at.box, item.alignment); break;
        }
    }

    // The frame: its background, its caption at its top left, the border
    // under the caption, and the receipt inside it, cut at its edges.
    void addFrame(const Sheet& sheet)
    {
        const PaperLayout::Placed& at = layout_.frame();
        clip_ = at.box;
        if (sheet.frameGround.alpha() > 0)
            addFill(at.box, sheet.frameGround);
        const qreal captionHeight = at.text.lines.isEmpty() ? 0 : at.text.lineHeight;
        add(PageOutline{at.box.adjusted(kRule * 1.5, captionHeight + kRule / 2, -kRule / 2, -kRule / 2), ink(kBorder),
                        kRule});
        addText(at.text, sheet.frameInk, QRectF(at.box.left() + kRule, at.box.top(), at.box.width(), captionHeight),
                Qt::AlignLeft | Qt::AlignVCenter);
        origin_ = at.box.topLeft();
        for (const SheetText& item : sheet.frameTexts)
            addItem(item);
        for (const SheetLine& rule : sheet.gridRules)
            addLine(layout_.line(rule), rule.colour);
        for (const SheetText& cell : sheet.cells)
            addItem(cell);
        for (const SheetLine& line : sheet.frameLines)
            addLine(layout_.line(line), line.colour);
        origin_ = {};
        clip_ = {};
    }

    const PaperLayout& layout_;
    Page& page_;
    QPointF origin_;  // where the twips of the texts being added start on the page
    QRectF clip_;     // on the page; empty: the page
};

// The sheet laid out for a page `scale` device units to the twip: its texts
// no smaller than the smallest readable size on paper, and no taller than
// the target holds at that scale. Fonts are sized in whole twips (a
// twentieth of a point of the window): the smallest size is rounded up to
// one, or rounding it to the nearest could set a text a little under it.
PaperLayout layOut(const Sheet& sheet, int dpi, const QRectF& target, qreal scale)
{
    const qreal paperPointsPerPoint = dpi > 0 ? scale * 1440 / dpi : 1;
    const qreal smallest = std::ceil(kSmallestOnPaper / paperPointsPerPoint * 20) / 20;
    return PaperLayout(sheet, smallest, target.height() / scale);
}

}  // namespace

PlacedPage placeSheet(const Sheet& sheet, int dpi, const QRectF& target)
{
    // As wide as the target, unless the whole receipt is then too tall for it.
    qreal scale = target.width() / kWindowWidth;
    PaperLayout layout = layOut(sheet, dpi, target, scale);
    if (layout.page().height() * scale > target.height()) {
        layout = layOut(sheet, dpi, target, target.height() / layout.page().height());
        scale = std::min(target.width() / layout.page().width(), target.height() / layout.page().height());
    }
    Page page{layout.page(), {}};
    PageBuilder(layout, page).addSheet(sheet);
    const QPointF at(target.left() + (target.width() - page.size.width() * scale) / 2, target.top());
    return {std::move(page), scale, at};
}

void drawSheet(const Sheet& sheet, QPainter& painter, const QRectF& target)
{
    if (target.isEmpty())
        return;
    drawPlaced(placeSheet(sheet, painter.device() ? painter.device()->logicalDpiY() : 0, target), painter);
}

void drawPlaced(const PlacedPage& placed, QPainter& painter)
{
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.translate(placed.at);
    painter.scale(placed.scale, placed.scale);
    painter.setClipRect(QRectF(QPointF(0, 0), placed.page.size), Qt::IntersectClip);
    paintPage(placed.page, painter);
    painter.restore();
}

}  // namespace recibo::receipt
