#include "receipt_page.h"

#include <cstdint>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "receipt_grid.h"
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

// ---- The window as a sheet ------------------------------------------------------

// Where a control stands, in twips of its parent: the exact place it was put
// at, or its pixels for a control placed in pixels.
QRectF twipsRect(const QWidget* control)
{
    const QVariant twips = control->property("twips");
    if (twips.isValid())
        return QRectF(twips.toRect());
    const QRect pixels = control->geometry();
    return QRectF(pixels.x() * kTwipsPerPixel, pixels.y() * kTwipsPerPixel, pixels.width() * kTwipsPerPixel,
                  pixels.height() * kTwipsPerPixel);
}

QColor groundOf(const QWidget* control)
{
    return control->autoFillBackground() ? control->palette().color(control->backgroundRole())
                                         : QColor(Qt::transparent);
}

QColor colour(const QWidget* control, QPalette::ColorRole role)
{
    return control->palette().color(role);
}

// A control that is drawn on paper, as the sheet holds it; nothing for one
// paper leaves out (the scroll bar, a window of its own).
std::optional<SheetText> sheetText(const QWidget* control)
{
    QVariant design = control->property("designFont");
    SheetText item{control->objectName(),
                   SheetKind::Label,
                   twipsRect(control),
                   {},
                   design.isValid() ? design.value<QFont>() : control->font()};
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        item.text = label->text();
        item.alignment = label->alignment();
        item.indent = std::max(label->indent(), 0) + std::max(label->margin(), 0);
        item.background = groundOf(label);
        item.ink = colour(label, QPalette::WindowText);
    } else if (const auto* box = qobject_cast<const QLineEdit*>(control)) {
        item.kind = SheetKind::TextBox;
        item.text = box->text();
        item.alignment = box->alignment();
        item.background = colour(box, QPalette::Base);
        item.ink = colour(box, QPalette::Text);
    } else if (const auto* comment = qobject_cast<const QPlainTextEdit*>(control)) {
        item.kind = SheetKind::CommentBox;
        item.text = comment->toPlainText();
        item.background = colour(comment, QPalette::Base);
        item.ink = colour(comment, QPalette::Text);
    } else if (const auto* button = qobject_cast<const QPushButton*>(control)) {
        item.kind = SheetKind::Button;
        item.text = button->text();
        item.alignment = Qt::AlignCenter;
        item.background = colour(button, QPalette::Button);
        item.ink = colour(button, QPalette::ButtonText);
    } else {
        return std::nullopt;
    }
    return item;
}

bool drawn(const QObject* child)
{
    const auto* control = qobject_cast<const QWidget*>(child);
    return control && !control->isHidden() && !control->isWindow();
}

SheetLine sheetLine(const QString& name, int x1, int y1, int x2, int y2, const QColor& colour)
{
    return {name, QLineF(x1, y1, x2, y2), colour};
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

Sheet sheetOf(const ReceiptWindow& window)
{
    Sheet sheet;
    sheet.paper = groundOf(&window);
    const QGroupBox* frame = window.frame();
    sheet.frame = twipsRect(frame);
    sheet.frameCaption = frame->title();
    sheet.frameFont = frame->font();
    sheet.frameGround = groundOf(frame);
    sheet.frameInk = colour(frame, QPalette::WindowText);
    for (const QObject* child : frame->children()) {
        if (!drawn(child))
            continue;
        if (const auto* line = qobject_cast<const TwipLine*>(child))
            sheet.frameLines.push_back(sheetLine(line->objectName(), line->x1(), line->y1(), line->x2(), line->y2(),
                                                 colour(line, QPalette::Window)));
        else if (std::optional<SheetText> item = sheetText(static_cast<const QWidget*>(child)))
            sheet.frameTexts.push_back(std::move(*item));
    }
    const ReceiptGrid* grid = window.grid();
    for (const GridRule* rule : grid->rules())
        if (!rule->isHidden())
            sheet.gridRules.push_back(
                sheetLine(rule->objectName(), rule->x1(), rule->y1(), rule->x2(), rule->y2(), Qt::black));
    for (const GridCell* cell : grid->cells())
        if (!cell->isHidden())
            sheet.cells.push_back({cell->objectName(), SheetKind::Cell, QRectF(cell->twips()), cell->text(),
                                   cell->designFont(), cell->alignment(), 0, Qt::transparent,
                                   colour(grid, QPalette::WindowText)});
    for (const QObject* child : window.children())
        if (child != frame && drawn(child))
            if (std::optional<SheetText> item = sheetText(static_cast<const QWidget*>(child)))
                sheet.panel.push_back(std::move(*item));
    return sheet;
}

void drawReceiptPage(const ReceiptWindow& window, QPainter& painter, const QRectF& target)
{
    drawSheet(sheetOf(window), painter, target);
}

}  // namespace recibo::receipt
