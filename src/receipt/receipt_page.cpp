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

void drawText(QPainter& painter, const PaperText& text, const QColor& colour, const QRectF& area,
              Qt::Alignment alignment)
{
    if (text.lines.isEmpty())
        return;
    painter.setPen(ink(colour));
    drawPaperText(painter, text, area, alignment);
}

// A sunken box of the window: its background and a thin border.
void drawBox(QPainter& painter, const QRectF& box, const QColor& background)
{
    painter.fillRect(box, ink(background));
    painter.setPen(QPen(ink(kBorder), kRule, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(kRule / 2, kRule / 2, -kRule / 2, -kRule / 2));
}

void drawLabel(QPainter& painter, const QLabel* label, const PaperLayout::Placed& at)
{
    if (label->autoFillBackground())
        painter.fillRect(at.box, ink(label->palette().color(QPalette::Window)));
    drawText(painter, at.text, label->palette().color(QPalette::WindowText), textArea(label, at.box),
             label->alignment());
}

void drawTextBox(QPainter& painter, const QLineEdit* box, const PaperLayout::Placed& at)
{
    drawBox(painter, at.box, box->palette().color(QPalette::Base));
    drawText(painter, at.text, box->palette().color(QPalette::Text), textArea(box, at.box), box->alignment());
}

void drawCommentBox(QPainter& painter, const QPlainTextEdit* box, const PaperLayout::Placed& at)
{
    drawBox(painter, at.box, box->palette().color(QPalette::Base));
    drawText(painter, at.text, box->palette().color(QPalette::Text), textArea(box, at.box),
             Qt::AlignLeft | Qt::AlignTop);
}

void drawButton(QPainter& painter, const QPushButton* button, const PaperLayout::Placed& at)
{
    painter.setPen(QPen(ink(kBorder), kRule));
    painter.setBrush(ink(button->palette().color(QPalette::Button)));
    const QRectF inside = at.box.adjusted(kRule / 2, kRule / 2, -kRule / 2, -kRule / 2);
    painter.drawRoundedRect(inside, 2 * kTwipsPerPixel, 2 * kTwipsPerPixel);
    painter.setBrush(Qt::NoBrush);
    drawText(painter, at.text, button->palette().color(QPalette::ButtonText), at.box, Qt::AlignCenter);
}

// A line covers the screen pixels from its end points to the right and
// downwards; on paper it runs through their middle.
void drawLine(QPainter& painter, const QLineF& line, const QColor& colour)
{
    painter.setPen(QPen(ink(colour), kRule, Qt::SolidLine, Qt::SquareCap));
    painter.drawLine(line.translated(kRule / 2, kRule / 2));
}

// The grid's rules and the texts of its cells, those shown, as the grid
// draws them on screen.
void drawGrid(QPainter& painter, const ReceiptGrid* grid, const PaperLayout& layout)
{
    for (const GridRule* rule : grid->rules())
        if (!rule->isHidden())
            drawLine(painter, layout.line(rule), Qt::black);
    const QColor text = grid->palette().color(QPalette::WindowText);
    for (const GridCell* cell : grid->cells())
        if (const PaperLayout::Placed* at = layout.placed(cell))
            drawText(painter, at->text, text, at->box, cell->alignment());
}

void drawChildren(QPainter& painter, const QWidget* parent, const PaperLayout& layout);

// The frame: its background, its caption at its top left, the border under
// the caption, and the receipt inside it, cut at its edges.
void drawFrame(QPainter& painter, const QGroupBox* frame, const PaperLayout::Placed& at)
{
    if (frame->autoFillBackground())
        painter.fillRect(at.box, ink(frame->palette().color(QPalette::Window)));
    const qreal captionHeight = at.text.lines.isEmpty() ? 0 : at.text.lineHeight;
    painter.setPen(QPen(ink(kBorder), kRule));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(at.box.adjusted(kRule * 1.5, captionHeight + kRule / 2, -kRule / 2, -kRule / 2));
    drawText(painter, at.text, frame->palette().color(QPalette::WindowText),
             QRectF(at.box.left() + kRule, at.box.top(), at.box.width(), captionHeight),
             Qt::AlignLeft | Qt::AlignVCenter);
}

void drawControl(QPainter& painter, const QWidget* control, const PaperLayout& layout)
{
    if (const auto* line = qobject_cast<const TwipLine*>(control)) {
        drawLine(painter, layout.line(line), line->palette().color(QPalette::Window));
        return;
    }
    if (const auto* grid = qobject_cast<const ReceiptGrid*>(control)) {
        drawGrid(painter, grid, layout);
        return;
    }
    const PaperLayout::Placed* at = layout.placed(control);
    if (!at)
        return;
    if (const auto* frame = qobject_cast<const QGroupBox*>(control)) {
        painter.save();
        painter.setClipRect(at->box, Qt::IntersectClip);
        drawFrame(painter, frame, *at);
        painter.translate(at->box.topLeft());
        drawChildren(painter, frame, layout);
        painter.restore();
    } else if (const auto* label = qobject_cast<const QLabel*>(control)) {
        drawLabel(painter, label, *at);
    } else if (const auto* box = qobject_cast<const QLineEdit*>(control)) {
        drawTextBox(painter, box, *at);
    } else if (const auto* comment = qobject_cast<const QPlainTextEdit*>(control)) {
        drawCommentBox(painter, comment, *at);
    } else if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        drawButton(painter, button, *at);
    }
}

// The controls that are not hidden, in their stacking order.
void drawChildren(QPainter& painter, const QWidget* parent, const PaperLayout& layout)
{
    for (const QObject* child : parent->children()) {
        const auto* control = qobject_cast<const QWidget*>(child);
        if (control && !control->isHidden() && !control->isWindow())
            drawControl(painter, control, layout);
    }
}

// The window laid out for a page `scale` device units to the twip: its texts
// no smaller than the smallest readable size on paper, and no taller than
// the target holds at that scale. Fonts are sized in whole twips (a
// twentieth of a point of the window): the smallest size is rounded up to
// one, or rounding it to the nearest could set a text a little under it.
PaperLayout layOut(const ReceiptWindow& window, const QPainter& painter, const QRectF& target, qreal scale)
{
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 0;
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

void drawReceiptPage(const ReceiptWindow& window, QPainter& painter, const QRectF& target)
{
    if (target.isEmpty())
        return;
    // As wide as the target, unless the whole receipt is then too tall for it.
    qreal scale = target.width() / kWindowWidth;
    PaperLayout layout = layOut(window, painter, target, scale);
    if (layout.page().height() * scale > target.height()) {
        layout = layOut(window, painter, target, target.height() / layout.page().height());
        scale = std::min(target.width() / layout.page().width(), target.height() / layout.page().height());
    }
    const QRectF page(QPointF(0, 0), layout.page());

    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.translate(target.left() + (target.width() - page.width() * scale) / 2, target.top());
    painter.scale(scale, scale);
    painter.setClipRect(page, Qt::IntersectClip);
    if (window.autoFillBackground())
        painter.fillRect(page, ink(window.palette().color(window.backgroundRole())));
    drawChildren(painter, &window, layout);
    painter.restore();
}

}  // namespace recibo::receipt
