#include "paper_layout.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <QFontMetricsF>

#include "receipt_layout.h"
#include "twip_units.h"

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

// One text to be set, and the texts it shares its size with.
struct TextToSet {
    const SheetText* item;
    QRectF box;
    QRectF area;
    QString column;
};

}  // namespace

QRectF textArea(const SheetText& item, const QRectF& box)
{
    switch (item.kind) {
    case SheetKind::Label: {
        const qreal indent = item.indent * kTwipsPerPixel;
        QRectF area = box;
        if (item.alignment & Qt::AlignRight)
            area.setRight(area.right() - indent);
        else if (item.alignment & Qt::AlignLeft)
            area.setLeft(area.left() + indent);
        return area;
    }
    case SheetKind::TextBox: return box.adjusted(kBoxInside, 0, -kBoxInside, 0);
    case SheetKind::CommentBox: return box.adjusted(kCommentInside, kCommentInside, -kCommentInside, -kCommentInside);
    case SheetKind::Button:
    case SheetKind::Cell: return box;
    }
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
        const qreal size = oneLineSize(item.item->text, item.item->font, fitFor(item.area.width() - kClear));
        auto known = columnSize.find(item.column);
        if (known == columnSize.end())
            columnSize.insert(item.column, size);
        else
            *known = std::min(*known, size);
    }
    std::vector<PaperText> set;
    for (const TextToSet& item : texts) {
        PaperText text = setOnPaper(item.item->text, item.item->font, columnSize.value(item.column),
                                    fitFor(item.area.width() - kClear));
        if (text.lines.size() > 1)
            flow.open(item.box.bottom(), text.height() - item.area.height());
        set.push_back(std::move(text));
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const QRectF& box = texts[i].box;
        const qreal top = flow(box.top());
        place(texts[i].item, QRectF(box.left(), top, box.width(), flow(box.bottom()) - top), set[i]);
    }
}

// A text of the sheet; the cells of one grid column ("cod(0)", "cod(1)"...)
// and the three totals share a size.
TextToSet textOf(const SheetText& item)
{
    const QString column = isOneOf(item.name, kTotals) ? QStringLiteral("totals")
        : item.kind == SheetKind::Cell                 ? item.name.section('(', 0, 0)
                                                       : item.name;
    return {&item, item.box, textArea(item, item.box), column};
}

}  // namespace

PaperLayout::PaperLayout(const Sheet& sheet, qreal smallestPoints, qreal tallestPage)
    : smallest_(smallestPoints), tallest_(tallestPage)
{
    layOutFrame(sheet);
    layOutPanel(sheet);
}

PaperLayout::Placed& PaperLayout::place(const SheetText* item, const QRectF& box, const PaperText& text)
{
    return placed_[item] = Placed{box, text};
}

PaperFit PaperLayout::fitFor(qreal width, int mostLines) const
{
    return PaperFit{width, smallest_, mostLines, true};
}

// The frame's header, grid and totals, moved down under whatever grew, and
// the frame as tall as the page.
void PaperLayout::layOutFrame(const Sheet& sheet)
{
    std::vector<TextToSet> texts;
    for (const SheetText& item : sheet.frameTexts)
        texts.push_back(textOf(item));
    for (const SheetText& cell : sheet.cells)
        texts.push_back(textOf(cell));

    VerticalFlow flow;
    qreal bottom = 0;
    setTexts(
        texts, [this](qreal width) { return fitFor(width); }, flow,
        [&](const SheetText* item, const QRectF& box, const PaperText& text) {
            place(item, box, text);
            bottom = std::max(bottom, box.bottom());
        });
    const auto runs = [&](const SheetLine& line) {
        const QLineF& at = line.twips;
        lines_.insert(&line, QLineF(at.x1(), flow(at.y1()), at.x2(), flow(at.y2())));
        bottom = std::max(bottom, flow(std::max(at.y1(), at.y2())));
    };
    for (const SheetLine& line : sheet.frameLines)
        runs(line);
    for (const SheetLine& rule : sheet.gridRules)
        runs(rule);

    const QRectF designed(sheet.frame.left(), kFrameAt.top(), sheet.frame.width(), 0);
    page_ = QSizeF(kWindowWidth, std::max<qreal>(kWindowHeight, designed.top() + bottom + kBelowReceipt));
    frame_ = Placed{designed, fitOnPaper(sheet.frameCaption, sheet.frameFont, fitFor(sheet.frame.width()))};
}

// The panel beside the frame, moved down under whatever grew; the margin
// boxes left of the frame stay where they are; the comment continues below
// its box and pushes down what it reaches.
void PaperLayout::layOutPanel(const Sheet& sheet)
{
    const qreal frameLeft = sheet.frame.left();
    std::vector<TextToSet> texts, margin;
    const SheetText* comment = nullptr;
    for (const SheetText& item : sheet.panel) {
        if (item.kind == SheetKind::CommentBox)
            comment = &item;
        else if (item.kind == SheetKind::Button || item.box.right() > frameLeft)
            texts.push_back(textOf(item));
        else
            margin.push_back(textOf(item));
    }

    qreal bottom = 0;
    const auto placeAndMeasure = [&](const SheetText* item, const QRectF& box, const PaperText& text) {
        place(item, box, text);
        bottom = std::max(bottom, box.bottom());
    };
    // A margin box too narrow for its one word at the smallest size widens
    // into the margin, to the right and then to the left, rather than break
    // the word.
    for (TextToSet& item : margin) {
        QFont atSmallest(item.item->font);
        atSmallest.setPointSizeF(std::min(smallest_, item.item->font.pointSizeF()));
        const qreal wanted =
            QFontMetricsF(twipsFont(atSmallest)).horizontalAdvance(item.item->text) + kClear - item.area.width();
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
        const QRectF box = comment->box;
        const QRectF area = textArea(*comment, box);
        const QFont& design = comment->font;
        const qreal lineHeight = QFontMetricsF(twipsFont(design)).lineSpacing();
        const qreal top = flow(box.top());
        const qreal room = tallest_ - kBelowReceipt - top - (box.height() - area.height());
        const int mostLines = std::max(1, int(std::floor(room / lineHeight)) - 2);
        const PaperText text =
            setOnPaper(comment->text, design, design.pointSizeF(), PaperFit{area.width(), smallest_, mostLines, false});
        const qreal height = std::max(flow(box.bottom()) - top, text.height() + (box.height() - area.height()));
        const QRectF grown(box.left(), top, box.width(), height);
        place(comment, grown, text);
        bottom = std::max(bottom, grown.bottom());
        // What stands under the comment moves down when the comment reaches it.
        for (const TextToSet& item : texts) {
            Placed& below = placed_[item.item];
            if (item.box.top() >= box.bottom() && item.box.left() < box.right() && item.box.right() > box.left()
                && below.box.top() < grown.bottom() + kBelowComment) {
                below.box.moveTop(grown.bottom() + kBelowComment);
                bottom = std::max(bottom, below.box.bottom());
            }
        }
    }
    page_.setHeight(std::max(page_.height(), bottom + kBelowReceipt));
    frame_.box.setBottom(page_.height());
}

}  // namespace recibo::receipt
