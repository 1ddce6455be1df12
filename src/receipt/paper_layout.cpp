#include "paper_layout.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "receipt_grid.h"
#include "receipt_layout.h"
#include "receipt_window.h"
#include "twip_line.h"
#include "twips.h"

namespace recibo::receipt {

namespace {

// The room kept under the receipt's closing line and under the panel, and
// between the comment and what it pushes down.
constexpr qreal kBelowReceipt = 240;
constexpr qreal kBelowComment = 120;

// A text box's border and inner margin, and the comment box's.
constexpr qreal kBoxInside = 4 * kTwipsPerPixel;
constexpr qreal kCommentInside = 5 * kTwipsPerPixel;
// A text keeps a pixel clear of each side of its area, as on screen.
constexpr qreal kClear = 2 * kTwipsPerPixel;

// The totals share one size, as the cells of one grid column do.
const char* const kTotals[] = {"thaberes", "tdescuentos", "liquido"};

QFont designFontOf(const QWidget* control)
{
    const QVariant design = control->property("designFont");
    return design.isValid() ? design.value<QFont>() : control->font();
}

// One text to be set, and the texts it shares its size with.
struct TextToSet {
    const QObject* control;
    QRectF box;
    QRectF area;
    QString text;
    QFont design;
    QString column;
};

}  // namespace

QRectF twipsRect(const QWidget* control)
{
    const QVariant twips = control->property("twips");
    if (twips.isValid())
        return QRectF(twips.toRect());
    const QRect pixels = control->geometry();
    return QRectF(pixels.x() * kTwipsPerPixel, pixels.y() * kTwipsPerPixel, pixels.width() * kTwipsPerPixel,
                  pixels.height() * kTwipsPerPixel);
}

QRectF textArea(const QWidget* control, const QRectF& box)
{
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        const qreal indent = (std::max(label->indent(), 0) + std::max(label->margin(), 0)) * kTwipsPerPixel;
        QRectF area = box;
        if (label->alignment() & Qt::AlignRight)
            area.setRight(area.right() - indent);
        else if (label->alignment() & Qt::AlignLeft)
            area.setLeft(area.left() + indent);
        return area;
    }
    if (qobject_cast<const QLineEdit*>(control))
        return box.adjusted(kBoxInside, 0, -kBoxInside, 0);
    if (qobject_cast<const QPlainTextEdit*>(control))
        return box.adjusted(kCommentInside, kCommentInside, -kCommentInside, -kCommentInside);
    return box;
}

// ---- Flow ----------------------------------------------------------------------

void VerticalFlow::open(qreal at, qreal extra)
{
    if (extra <= 0)
        return;
    for (auto& [edge, gap] : gaps_)
        if (edge == at) {
            gap = std::max(gap, extra);
            return;
        }
    gaps_.emplace_back(at, extra);
}

qreal VerticalFlow::operator()(qreal y) const
{
    qreal moved = y;
    for (const auto& [edge, gap] : gaps_)
        if (edge <= y)
            moved += gap;
    return moved;
}

// ---- Layout --------------------------------------------------------------------

namespace {

// Sets every text, those of one column at the size of the one that needs the
// smallest, and opens a gap under each box that wrapping made taller.
template <typename Place>
void setTexts(const std::vector<TextToSet>& texts, const std::function<PaperFit(qreal)>& fitFor, VerticalFlow& flow,
              const Place& place)
{
    QHash<QString, qreal> columnSize;
    for (const TextToSet& item : texts) {
        const qreal size = oneLineSize(item.text, item.design, fitFor(item.area.width() - kClear));
        auto known = columnSize.find(item.column);
        if (known == columnSize.end())
            columnSize.insert(item.column, size);
        else
            *known = std::min(*known, size);
    }
    std::vector<PaperText> set;
    for (const TextToSet& item : texts) {
        PaperText text =
            setOnPaper(item.text, item.design, columnSize.value(item.column), fitFor(item.area.width() - kClear));
        if (text.lines.size() > 1)
            flow.open(item.box.bottom(), text.height() - item.area.height());
        set.push_back(std::move(text));
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const QRectF& box = texts[i].box;
        const qreal top = flow(box.top());
        place(texts[i].control, QRectF(box.left(), top, box.width(), flow(box.bottom()) - top), set[i]);
    }
}

TextToSet textOf(const QWidget* control, const QString& text, const QString& column = {})
{
    const QRectF box = twipsRect(control);
    return {control,
            box,
            textArea(control, box),
            text,
            designFontOf(control),
            column.isEmpty() ? control->objectName() : column};
}

}  // namespace

PaperLayout::PaperLayout(const ReceiptWindow& window, qreal smallestPoints, qreal tallestPage)
    : smallest_(smallestPoints), tallest_(tallestPage)
{
    layOutFrame(window);
    layOutPanel(window);
}

const PaperLayout::Placed* PaperLayout::placed(const QObject* control) const
{
    const auto found = placed_.constFind(control);
    return found == placed_.cend() ? nullptr : &*found;
}

PaperLayout::Placed& PaperLayout::place(const QObject* control, const QRectF& box, const PaperText& text)
{
    return placed_[control] = Placed{box, text};
}

PaperFit PaperLayout::fitFor(qreal width, int mostLines) const
{
    return PaperFit{width, smallest_, mostLines, true};
}

// The frame's header, grid and totals, moved down under whatever grew, and
// the frame as tall as the page.
void PaperLayout::layOutFrame(const ReceiptWindow& window)
{
    const QGroupBox* frame = window.frame();
    std::vector<TextToSet> texts;
    std::vector<const QObject*> rules;
    for (const QObject* child : frame->children()) {
        const auto* control = qobject_cast<const QWidget*>(child);
        if (!control || control->isHidden())
            continue;
        if (const auto* label = qobject_cast<const QLabel*>(control)) {
            const bool total = std::any_of(std::begin(kTotals), std::end(kTotals), [&](const char* name) {
                return label->objectName() == QLatin1String(name);
            });
            texts.push_back(textOf(label, label->text(), total ? QStringLiteral("totals") : QString()));
        } else if (qobject_cast<const TwipLine*>(control)) {
            rules.push_back(control);
        }
    }
    const ReceiptGrid* grid = window.grid();
    for (const GridCell* cell : grid->cells())
        if (!cell->isHidden()) {
            const QRectF box(cell->twips());
            texts.push_back({cell, box, box, cell->text(), cell->designFont(), cell->objectName().section('(', 0, 0)});
        }

    VerticalFlow flow;
    qreal bottom = 0;
    setTexts(
        texts, [this](qreal width) { return fitFor(width); }, flow,
        [&](const QObject* control, const QRectF& box, const PaperText& text) {
            place(control, box, text);
            bottom = std::max(bottom, box.bottom());
        });
    const auto runs = [&](const QObject* line, int x1, int y1, int x2, int y2) {
        lines_.insert(line, QLineF(x1, flow(y1), x2, flow(y2)));
        bottom = std::max(bottom, flow(std::max(y1, y2)));
    };
    for (const QObject* object : rules) {
        const auto* rule = static_cast<const TwipLine*>(object);
        runs(rule, rule->x1(), rule->y1(), rule->x2(), rule->y2());
    }
    for (const GridRule* rule : grid->rules())
        if (!rule->isHidden())
            runs(rule, rule->x1(), rule->y1(), rule->x2(), rule->y2());

    const QRectF at = twipsRect(frame);
    const QRectF designed(at.left(), kFrameAt.top(), at.width(), 0);
    page_ = QSizeF(kWindowWidth, std::max<qreal>(kWindowHeight, designed.top() + bottom + kBelowReceipt));
    place(frame, designed, fitOnPaper(frame->title(), frame->font(), fitFor(at.width())));
}

// The panel beside the frame, moved down under whatever grew; the margin
// boxes left of the frame stay where they are; the comment continues below
// its box and pushes down what it reaches.
void PaperLayout::layOutPanel(const ReceiptWindow& window)
{
    const QWidget* frame = window.frame();
    const qreal frameLeft = twipsRect(frame).left();
    std::vector<TextToSet> texts, margin;
    const QPlainTextEdit* comment = nullptr;
    for (const QObject* child : window.children()) {
        const auto* control = qobject_cast<const QWidget*>(child);
        if (!control || control == frame || control->isHidden() || control->isWindow()
            || qobject_cast<const QScrollBar*>(control))
            continue;
        if (const auto* box = qobject_cast<const QPlainTextEdit*>(control))
            comment = box;
        else if (const auto* label = qobject_cast<const QLabel*>(control))
            (twipsRect(label).right() > frameLeft ? texts : margin).push_back(textOf(label, label->text()));
        else if (const auto* box = qobject_cast<const QLineEdit*>(control))
            (twipsRect(box).right() > frameLeft ? texts : margin).push_back(textOf(box, box->text()));
        else if (const auto* button = qobject_cast<const QPushButton*>(control))
            texts.push_back(textOf(button, button->text()));
    }

    qreal bottom = 0;
    const auto placeAndMeasure = [&](const QObject* control, const QRectF& box, const PaperText& text) {
        place(control, box, text);
        bottom = std::max(bottom, box.bottom());
    };
    // A margin box too narrow for its one word at the smallest size widens
    // into the margin, to the right and then to the left, rather than break
    // the word.
    for (TextToSet& item : margin) {
        QFont atSmallest(item.design);
        atSmallest.setPointSizeF(std::min(smallest_, item.design.pointSizeF()));
        const qreal wanted =
            QFontMetricsF(twipsFont(atSmallest)).horizontalAdvance(item.text) + kClear - item.area.width();
        const qreal right = std::clamp(wanted, 0.0, std::max(frameLeft - kClear - item.box.right(), 0.0));
        const qreal left = std::clamp(wanted - right, 0.0, std::max(item.box.left() - kClear, 0.0));
        item.box.adjust(-left, 0, right, 0);
        item.area.adjust(-left, 0, right, 0);
    }
    VerticalFlow stays;
    setTexts(
        margin, [this](qreal width) { return fitFor(width); }, stays, placeAndMeasure);
    VerticalFlow flow;
    setTexts(
        texts, [this](qreal width) { return fitFor(width); }, flow, placeAndMeasure);

    if (comment) {
        const QRectF box = twipsRect(comment);
        const QRectF area = textArea(comment, box);
        const QFont design = designFontOf(comment);
        const qreal lineHeight = QFontMetricsF(twipsFont(design)).lineSpacing();
        const qreal top = flow(box.top());
        const qreal room = tallest_ - kBelowReceipt - top - (box.height() - area.height());
        const int mostLines = std::max(1, int(std::floor(room / lineHeight)) - 2);
        const PaperText text = setOnPaper(comment->toPlainText(), design, design.pointSizeF(),
                                          PaperFit{area.width(), smallest_, mostLines, false});
        const qreal height = std::max(flow(box.bottom()) - top, text.height() + (box.height() - area.height()));
        const QRectF grown(box.left(), top, box.width(), height);
        place(comment, grown, text);
        bottom = std::max(bottom, grown.bottom());
        // What stands under the comment moves down when the comment reaches it.
        for (const TextToSet& item : texts) {
            Placed& below = placed_[item.control];
            if (item.box.top() >= box.bottom() && item.box.left() < box.right() && item.box.right() > box.left()
                && below.box.top() < grown.bottom() + kBelowComment) {
                below.box.moveTop(grown.bottom() + kBelowComment);
                bottom = std::max(bottom, below.box.bottom());
            }
        }
    }
    page_.setHeight(std::max(page_.height(), bottom + kBelowReceipt));
    placed_[frame].box.setBottom(page_.height());
}

}  // namespace recibo::receipt
