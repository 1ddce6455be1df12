#include "receipt_page.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

#include "page_parts.h"
#include "paper_layout.h"
#include "receipt_grid.h"
#include "receipt_layout.h"
#include "receipt_window.h"
#include "twip_line.h"
#include "twips.h"
#include "widgets/window_helpers.h"

namespace recibo::receipt {

namespace {

// ---- The look on paper and back on screen ------------------------------------

constexpr std::uint32_t kPaper = 0xFFFFFF;
constexpr std::uint32_t kFrameAfterPrinting = 0xC0FFC0;   // 192, 255, 192
constexpr std::uint32_t kWindowAfterPrinting = 0x00C0C0;  // 0, 192, 192

void paint(QWidget* widget, std::uint32_t rgb)
{
    widgets::fillWith(widget, QPalette::Window, rgb);
}

void setShown(const QList<QWidget*>& controls, bool shown)
{
    for (QWidget* control : controls)
        control->setVisible(shown);
}

// ---- Drawing in twips --------------------------------------------------------

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

// Collects the page's parts from the window's controls, as they are placed
// on paper: a frame's controls are placed in its twips, so they go to the
// page with the frame's corner as their origin, clipped to the frame.
class PageBuilder {
public:
    PageBuilder(const PaperLayout& layout, Page& page) : layout_(layout), page_(page) {}

    // The controls that are not hidden, in their stacking order.
    void addChildren(const QWidget* parent)
    {
        for (const QObject* child : parent->children()) {
            const auto* control = qobject_cast<const QWidget*>(child);
            if (control && !control->isHidden() && !control->isWindow())
                addControl(control);
        }
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

    void addLabel(const QLabel* label, const PaperLayout::Placed& at)
    {
        if (label->autoFillBackground())
            addFill(at.box, label->palette().color(QPalette::Window));
        addText(at.text, label->palette().color(QPalette::WindowText), textArea(label, at.box), label->alignment());
    }

    void addButton(const QPushButton* button, const PaperLayout::Placed& at)
    {
        add(PageOutline{at.box.adjusted(kRule / 2, kRule / 2, -kRule / 2, -kRule / 2), ink(kBorder), kRule,
                        Qt::BevelJoin, 2.0 * kTwipsPerPixel, ink(button->palette().color(QPalette::Button))});
        addText(at.text, button->palette().color(QPalette::ButtonText), at.box, Qt::AlignCenter);
    }

    // The grid's rules and the texts of its cells, those shown, as the grid
    // draws them on screen.
    void addGrid(const ReceiptGrid* grid)
    {
        for (const GridRule* rule : grid->rules())
            if (!rule->isHidden())
                addLine(layout_.line(rule), Qt::black);
        const QColor text = grid->palette().color(QPalette::WindowText);
        for (const GridCell* cell : grid->cells())
            if (const PaperLayout::Placed* at = layout_.placed(cell))
                addText(at->text, text, at->box, cell->alignment());
    }

    // The frame: its background, its caption at its top left, the border
    // under the caption, and the receipt inside it, cut at its edges.
    void addFrame(const QGroupBox* frame, const PaperLayout::Placed& at)
    {
        const QRectF outerClip = clip_;
        const QPointF outerOrigin = origin_;
        const QRectF box = at.box.translated(origin_);
        clip_ = outerClip.isEmpty() ? box : outerClip.intersected(box);
        if (frame->autoFillBackground())
            addFill(at.box, frame->palette().color(QPalette::Window));
        const qreal captionHeight = at.text.lines.isEmpty() ? 0 : at.text.lineHeight;
        add(PageOutline{at.box.adjusted(kRule * 1.5, captionHeight + kRule / 2, -kRule / 2, -kRule / 2), ink(kBorder),
                        kRule});
        addText(at.text, frame->palette().color(QPalette::WindowText),
                QRectF(at.box.left() + kRule, at.box.top(), at.box.width(), captionHeight),
                Qt::AlignLeft | Qt::AlignVCenter);
        origin_ += at.box.topLeft();
        addChildren(frame);
        origin_ = outerOrigin;
        clip_ = outerClip;
    }

    void addControl(const QWidget* control)
    {
        if (const auto* line = qobject_cast<const TwipLine*>(control)) {
            addLine(layout_.line(line), line->palette().color(QPalette::Window));
            return;
        }
        if (const auto* grid = qobject_cast<const ReceiptGrid*>(control)) {
            addGrid(grid);
            return;
        }
        const PaperLayout::Placed* at = layout_.placed(control);
        if (!at)
            return;
        if (const auto* frame = qobject_cast<const QGroupBox*>(control)) {
            addFrame(frame, *at);
        } else if (const auto* label = qobject_cast<const QLabel*>(control)) {
            addLabel(label, *at);
        } else if (const auto* box = qobject_cast<const QLineEdit*>(control)) {
            addBox(at->box, box->palette().color(QPalette::Base));
            addText(at->text, box->palette().color(QPalette::Text), textArea(box, at->box), box->alignment());
        } else if (const auto* comment = qobject_cast<const QPlainTextEdit*>(control)) {
            addBox(at->box, comment->palette().color(QPalette::Base));
            addText(at->text, comment->palette().color(QPalette::Text), textArea(comment, at->box),
                    Qt::AlignLeft | Qt::AlignTop);
        } else if (const auto* button = qobject_cast<const QPushButton*>(control)) {
            addButton(button, *at);
        }
    }

    const PaperLayout& layout_;
    Page& page_;
    QPointF origin_;  // where the twips of the controls being added start on the page
    QRectF clip_;     // on the page; empty: the page
};

// The window laid out for a page `scale` device units to the twip: its texts
// no smaller than the smallest readable size on paper, and no taller than
// the target holds at that scale. Fonts are sized in whole twips (a
// twentieth of a point of the window): the smallest size is rounded up to
// one, or rounding it to the nearest could set a text a little under it.
PaperLayout layOut(const ReceiptWindow& window, int dpi, const QRectF& target, qreal scale)
{
    const qreal paperPointsPerPoint = dpi > 0 ? scale * 1440 / dpi : 1;
    const qreal smallest = std::ceil(kSmallestOnPaper / paperPointsPerPoint * 20) / 20;
    return PaperLayout(window, smallest, target.height() / scale);
}

}  // namespace

PaperLook::PaperLook(ReceiptWindow& window) : window_(window), focused_(window.focusWidget())
{
    setShown(window_.screenOnly(), false);
    paint(window_.frame(), kPaper);
    paint(&window_, kPaper);
    setShown(window_.marginBoxes(), true);
}

PaperLook::~PaperLook()
{
    setShown(window_.marginBoxes(), false);
    paint(window_.frame(), kFrameAfterPrinting);
    paint(&window_, kWindowAfterPrinting);
    setShown(window_.screenOnly(), true);
    if (focused_ && focused_->isVisibleTo(&window_))
        focused_->setFocus();
}

namespace {

// The page of the window as laid out.
Page receiptPage(const ReceiptWindow& window, const PaperLayout& layout)
{
    Page page{layout.page(), {}};
    if (window.autoFillBackground())
        page.parts.push_back(
            {PageFill{QRectF(QPointF(0, 0), page.size), ink(window.palette().color(window.backgroundRole()))}, {}, {}});
    PageBuilder(layout, page).addChildren(&window);
    return page;
}

}  // namespace

PlacedPage placeReceiptPage(const ReceiptWindow& window, int dpi, const QRectF& target)
{
    // As wide as the target, unless the whole receipt is then too tall for it.
    qreal scale = target.width() / kWindowWidth;
    PaperLayout layout = layOut(window, dpi, target, scale);
    if (layout.page().height() * scale > target.height()) {
        layout = layOut(window, dpi, target, target.height() / layout.page().height());
        scale = std::min(target.width() / layout.page().width(), target.height() / layout.page().height());
    }
    Page page = receiptPage(window, layout);
    const QPointF at(target.left() + (target.width() - page.size.width() * scale) / 2, target.top());
    return {std::move(page), scale, at};
}

void drawReceiptPage(const ReceiptWindow& window, QPainter& painter, const QRectF& target)
{
    if (target.isEmpty())
        return;
    const PlacedPage placed = placeReceiptPage(window, painter.device() ? painter.device()->logicalDpiY() : 0, target);
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.translate(placed.at);
    painter.scale(placed.scale, placed.scale);
    painter.setClipRect(QRectF(QPointF(0, 0), placed.page.size), Qt::IntersectClip);
    paintPage(placed.page, painter);
    painter.restore();
}

}  // namespace recibo::receipt
