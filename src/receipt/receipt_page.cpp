#include "receipt_page.h"

#include <algorithm>
#include <cstdint>

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>

#include "receipt_grid.h"
#include "receipt_window.h"
#include "twip_line.h"
#include "twips.h"

namespace recibo::receipt {

namespace {

// ---- The look on paper and back on screen ------------------------------------

constexpr std::uint32_t kPaper = 0xFFFFFF;
constexpr std::uint32_t kFrameAfterPrinting = 0xC0FFC0;    // 192, 255, 192
constexpr std::uint32_t kWindowAfterPrinting = 0x00C0C0;   // 0, 192, 192

// The margin boxes only paper shows, in the order they are shown and hidden.
const char* const kMarginBoxes[] = {"Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9"};

void paint(QWidget* widget, std::uint32_t rgb)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    widget->setPalette(colours);
}

void setShown(ReceiptWindow& window, std::initializer_list<const char*> names, bool shown)
{
    for (const char* name : names)
        window.control(QLatin1String(name))->setVisible(shown);
}

// ---- Drawing in twips --------------------------------------------------------

// A line one screen pixel wide.
constexpr qreal kRule = kTwipsPerPixel;
// The grey of the borders of boxes and of the frame.
const QColor kBorder(128, 128, 128);

// Every colour goes to paper as the grey of its brightness.
QColor ink(const QColor& colour)
{
    const int grey = qGray(colour.rgb());
    return QColor(grey, grey, grey, colour.alpha());
}

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

// A control's font at its size in twips (a point is 20 twips), unhinted so
// that its text keeps the proportions it has on screen at any scale.
QFont twipsFont(const QFont& font)
{
    QFont sized(font);
    if (font.pointSizeF() > 0)
        sized.setPixelSize(qRound(font.pointSizeF() * 20));
    else
        sized.setPixelSize(font.pixelSize() * kTwipsPerPixel);
    sized.setHintingPreference(QFont::PreferNoHinting);
    return sized;
}

void drawText(QPainter& painter, const QFont& font, const QColor& colour, const QRectF& box, const QRectF& textArea,
              int flags, const QString& text)
{
    if (text.isEmpty())
        return;
    painter.save();
    painter.setClipRect(box, Qt::IntersectClip);
    painter.setFont(twipsFont(font));
    painter.setPen(ink(colour));
    painter.drawText(textArea, flags, text);
    painter.restore();
}

void drawText(QPainter& painter, const QWidget* control, QPalette::ColorRole role, const QRectF& box,
              const QRectF& textArea, int flags, const QString& text)
{
    drawText(painter, control->font(), control->palette().color(role), box, textArea, flags, text);
}

// A sunken box of the window: its background and a thin border.
void drawBox(QPainter& painter, const QRectF& box, const QColor& background)
{
    painter.fillRect(box, ink(background));
    painter.save();
    painter.setPen(QPen(ink(kBorder), kRule, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box.adjusted(kRule / 2, kRule / 2, -kRule / 2, -kRule / 2));
    painter.restore();
}

void drawLabel(QPainter& painter, const QLabel* label, const QRectF& box)
{
    if (label->autoFillBackground())
        painter.fillRect(box, ink(label->palette().color(QPalette::Window)));
    const Qt::Alignment alignment = label->alignment();
    const qreal indent = std::max(label->indent(), 0) * kTwipsPerPixel + std::max(label->margin(), 0) * kTwipsPerPixel;
    QRectF area = box;
    if (alignment & Qt::AlignRight)
        area.setRight(area.right() - indent);
    else if (alignment & Qt::AlignLeft)
        area.setLeft(area.left() + indent);
    drawText(painter, label, QPalette::WindowText, box, area, int(alignment), label->text());
}

void drawTextBox(QPainter& painter, const QLineEdit* box, const QRectF& at)
{
    drawBox(painter, at, box->palette().color(QPalette::Base));
    // The border and the box's own margin, as on screen.
    constexpr qreal kInside = 4 * kTwipsPerPixel;
    drawText(painter, box, QPalette::Text, at.adjusted(kRule, kRule, -kRule, -kRule),
             at.adjusted(kInside, 0, -kInside, 0), int(box->alignment()) | Qt::TextSingleLine, box->text());
}

void drawCommentBox(QPainter& painter, const QPlainTextEdit* box, const QRectF& at)
{
    drawBox(painter, at, box->palette().color(QPalette::Base));
    constexpr qreal kInside = 5 * kTwipsPerPixel;
    drawText(painter, box, QPalette::Text, at.adjusted(kRule, kRule, -kRule, -kRule),
             at.adjusted(kInside, kInside, -kInside, -kInside), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
             box->toPlainText());
}

void drawButton(QPainter& painter, const QPushButton* button, const QRectF& at)
{
    painter.save();
    painter.setPen(QPen(ink(kBorder), kRule));
    painter.setBrush(ink(button->palette().color(QPalette::Button)));
    const QRectF inside = at.adjusted(kRule / 2, kRule / 2, -kRule / 2, -kRule / 2);
    painter.drawRoundedRect(inside, 2 * kTwipsPerPixel, 2 * kTwipsPerPixel);
    painter.restore();
    drawText(painter, button, QPalette::ButtonText, at, at, Qt::AlignCenter | Qt::TextSingleLine, button->text());
}

// A line covers the screen pixels from its end points to the right and
// downwards; on paper it runs through their middle.
template <typename Line>
void drawLine(QPainter& painter, const Line* line, const QColor& colour)
{
    painter.save();
    painter.setPen(QPen(ink(colour), kRule, Qt::SolidLine, Qt::SquareCap));
    const QPointF half(kRule / 2, kRule / 2);
    painter.drawLine(QPointF(line->x1(), line->y1()) + half, QPointF(line->x2(), line->y2()) + half);
    painter.restore();
}

template <typename Line>
QRectF placeOfLine(const Line* line)
{
    return QRectF(QPointF(std::min(line->x1(), line->x2()), std::min(line->y1(), line->y2())),
                  QPointF(std::max(line->x1(), line->x2()) + kRule, std::max(line->y1(), line->y2()) + kRule));
}

// The grid's rules and the texts of its cells, those shown and in the part
// being drawn, as the grid draws them on screen.
void drawGrid(QPainter& painter, const ReceiptGrid* grid)
{
    const QRectF visible = painter.clipBoundingRect();
    const auto inView = [&visible](const QRectF& place) { return visible.isEmpty() || place.intersects(visible); };
    for (const GridRule* rule : grid->rules())
        if (!rule->isHidden() && inView(placeOfLine(rule)))
            drawLine(painter, rule, Qt::black);
    const QColor text = grid->palette().color(QPalette::WindowText);
    for (const GridCell* cell : grid->cells()) {
        const QRectF box(cell->twips());
        if (!cell->isHidden() && inView(box))
            drawText(painter, cell->font(), text, box, box, int(cell->alignment()) | Qt::TextSingleLine,
                     cell->text());
    }
}

void drawArrow(QPainter& painter, const QRectF& button, bool up)
{
    const QPointF centre = button.center();
    const qreal half = std::min(button.width(), button.height()) / 4;
    const QPointF tip = centre + QPointF(0, up ? -half / 2 : half / 2);
    const QPointF left = centre + QPointF(-half, up ? half / 2 : -half / 2);
    const QPointF right = centre + QPointF(half, up ? half / 2 : -half / 2);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink(Qt::black));
    painter.drawPolygon(QPolygonF({tip, left, right}));
    painter.restore();
}

// The scroll bar: its trough, the two arrow buttons and the slider where the
// style puts them for the bar's range and value.
void drawScrollBar(QPainter& painter, const QScrollBar* bar, const QRectF& at)
{
    if (bar->width() <= 0 || bar->height() <= 0 || at.isEmpty())
        return;
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    if (bar->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    const auto part = [&](QStyle::SubControl control) {
        const QRect pixels = bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, control, bar);
        const qreal sx = at.width() / bar->width();
        const qreal sy = at.height() / bar->height();
        return QRectF(at.left() + pixels.x() * sx, at.top() + pixels.y() * sy, pixels.width() * sx,
                      pixels.height() * sy)
            .intersected(at);
    };
    const QColor trough = bar->palette().color(QPalette::Window).darker(108);
    const QColor face = bar->palette().color(QPalette::Button);
    drawBox(painter, at, trough);
    const bool vertical = bar->orientation() == Qt::Vertical;
    for (const auto& [control, up] : {std::pair{QStyle::SC_ScrollBarSubLine, true},
                                      std::pair{QStyle::SC_ScrollBarAddLine, false}}) {
        const QRectF button = part(control);
        if (button.isEmpty())
            continue;
        drawBox(painter, button, face);
        if (vertical)
            drawArrow(painter, button, up);
    }
    const QRectF slider = part(QStyle::SC_ScrollBarSlider);
    if (!slider.isEmpty())
        drawBox(painter, slider, face.darker(115));
}

void drawChildren(QPainter& painter, const QWidget* parent);

// The frame: its background, its caption at its top left, the border under
// the caption, and the receipt inside it, cut at its edges.
void drawFrame(QPainter& painter, const QGroupBox* frame, const QRectF& at)
{
    painter.save();
    painter.setClipRect(at, Qt::IntersectClip);
    if (frame->autoFillBackground())
        painter.fillRect(at, ink(frame->palette().color(QPalette::Window)));

    const qreal captionHeight = frame->title().isEmpty() ? 0 : QFontMetricsF(twipsFont(frame->font())).height();
    painter.setPen(QPen(ink(kBorder), kRule));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(at.adjusted(kRule * 1.5, captionHeight + kRule / 2, -kRule / 2, -kRule / 2));
    drawText(painter, frame, QPalette::WindowText, at, QRectF(at.left() + kRule, at.top(), at.width(), captionHeight),
             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, frame->title());

    painter.translate(at.topLeft());
    drawChildren(painter, frame);
    painter.restore();
}

void drawControl(QPainter& painter, const QWidget* control)
{
    if (const auto* line = qobject_cast<const TwipLine*>(control)) {
        drawLine(painter, line, line->palette().color(QPalette::Window));
        return;
    }
    if (const auto* grid = qobject_cast<const ReceiptGrid*>(control)) {
        drawGrid(painter, grid);
        return;
    }
    const QRectF at = twipsRect(control);
    if (const auto* frame = qobject_cast<const QGroupBox*>(control))
        drawFrame(painter, frame, at);
    else if (const auto* label = qobject_cast<const QLabel*>(control))
        drawLabel(painter, label, at);
    else if (const auto* box = qobject_cast<const QLineEdit*>(control))
        drawTextBox(painter, box, at);
    else if (const auto* comment = qobject_cast<const QPlainTextEdit*>(control))
        drawCommentBox(painter, comment, at);
    else if (const auto* button = qobject_cast<const QPushButton*>(control))
        drawButton(painter, button, at);
    else if (const auto* bar = qobject_cast<const QScrollBar*>(control))
        drawScrollBar(painter, bar, at);
}

// Where a control stands, lines included; the grid stands wherever its cells
// do, and leaves out those outside the part drawn itself.
QRectF placeOf(const QWidget* control)
{
    if (const auto* line = qobject_cast<const TwipLine*>(control))
        return placeOfLine(line);
    if (qobject_cast<const ReceiptGrid*>(control))
        return QRectF();
    return twipsRect(control);
}

// The controls that are not hidden, in their stacking order. Those wholly
// outside the part of the window being drawn are left out altogether: cut
// away, their texts would still be found in the document.
void drawChildren(QPainter& painter, const QWidget* parent)
{
    const QRectF visible = painter.clipBoundingRect();
    for (const QObject* child : parent->children()) {
        const auto* control = qobject_cast<const QWidget*>(child);
        if (!control || control->isHidden() || control->isWindow())
            continue;
        const QRectF place = placeOf(control);
        if (!visible.isEmpty() && !place.isNull() && !place.intersects(visible))
            continue;
        drawControl(painter, control);
    }
}

}  // namespace

PaperLook::PaperLook(ReceiptWindow& window) : window_(window), focused_(window.focusWidget())
{
    setShown(window_, {"Volver", "Imprimir", "Salir", "Text1", "Text12"}, false);
    paint(window_.control(QStringLiteral("sosten")), kPaper);
    paint(&window_, kPaper);
    for (const char* name : kMarginBoxes)
        window_.control(QLatin1String(name))->show();
}

PaperLook::~PaperLook()
{
    for (const char* name : kMarginBoxes)
        window_.control(QLatin1String(name))->hide();
    paint(window_.control(QStringLiteral("sosten")), kFrameAfterPrinting);
    paint(&window_, kWindowAfterPrinting);
    setShown(window_, {"Text1", "Text12", "Volver", "Imprimir", "Salir"}, true);
    if (focused_ && focused_->isVisibleTo(&window_))
        focused_->setFocus();
}

void drawReceiptPage(const ReceiptWindow& window, QPainter& painter, const QRectF& target)
{
    const QSizeF area(window.width() * kTwipsPerPixel, window.height() * kTwipsPerPixel);
    if (area.isEmpty() || target.isEmpty())
        return;
    const qreal scale = std::min(target.width() / area.width(), target.height() / area.height());

    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.translate(target.left() + (target.width() - area.width() * scale) / 2, target.top());
    painter.scale(scale, scale);
    const QRectF inner(QPointF(0, 0), area);
    painter.setClipRect(inner, Qt::IntersectClip);
    if (window.autoFillBackground())
        painter.fillRect(inner, ink(window.palette().color(window.backgroundRole())));
    drawChildren(painter, &window);
    painter.restore();
}

}  // namespace recibo::receipt
