#include "sheet.h"

#include <algorithm>
#include <iterator>

#include <QHash>

#include "payroll/entry_values.h"
#include "payroll/receipt.h"
#include "receipt_layout.h"
#include "receipt_look.h"

namespace recibo::receipt {

namespace {

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

SheetKind kindOf(Kind kind)
{
    switch (kind) {
    case Kind::Label: return SheetKind::Label;
    case Kind::TextBox: return SheetKind::TextBox;
    case Kind::CommentBox: return SheetKind::CommentBox;
    case Kind::Button: return SheetKind::Button;
    }
    return SheetKind::Label;
}

// A control of the tables with the text it shows.
SheetText designed(const ControlDesign& design, const QString& shown)
{
    SheetText item{design.name, kindOf(design.kind),     QRectF(design.twips),
                   shown,       designFont(design.look), alignmentOf(design.look)};
    switch (design.kind) {
    case Kind::Label:
        item.indent = indentOf(design.look);
        if (design.look & WhiteBackground)
            item.background = Qt::white;
        break;
    case Kind::TextBox:
        item.alignment = Qt::AlignLeft | Qt::AlignVCenter;  // a text box's own
        [[fallthrough]];
    case Kind::CommentBox:
    case Kind::Button:
        item.background = design.background != kNoBackground ? QColor::fromRgb(design.background) : QColor(Qt::white);
        break;
    }
    return item;
}

// The grid's cells a receipt writes, by name, with their texts: each line's
// code, quantity (unless it shows none), description, and amount in the
// column the line belongs to.
QHash<QString, QString> writtenCells(const payroll::Receipt& receipt)
{
    QHash<QString, QString> cells;
    const int rows = std::min(static_cast<int>(receipt.lines.size()), kGridRows);
    for (int row = 0; row < rows; ++row) {
        const payroll::ReceiptLine& line = receipt.lines[row];
        cells.insert(arrayName("cod", row), text(line.code));
        if (line.showsQuantity)
            cells.insert(arrayName("Label10", row), QString::fromStdString(line.quantity));
        cells.insert(arrayName("Label19", row), text(line.description));
        const int amount = line.column == payroll::Column::Earnings ? row : row + kDeductionsOffset;
        cells.insert(arrayName("Label1", amount), QString::fromStdString(line.amount));
    }
    return cells;
}

}  // namespace

Sheet receiptSheet(const payroll::Receipt& receipt, const payroll::SelectedPosition& position, const QString& date,
                   const QString& title, const QString& comment)
{
    Sheet sheet;
    sheet.frame = QRectF(kFrameAt);
    sheet.frameCaption = QStringLiteral("Recibo de haberes");
    sheet.frameFont = windowFont();

    const payroll::ReceiptHeader& header = receipt.header;
    const LowerPartPlacement lower = placeLowerPart(receipt.rowsWritten());
    const QString totals[] = {QString::fromStdString(receipt.thaberes), QString::fromStdString(receipt.tdescuentos),
                              QString::fromStdString(receipt.liquido)};
    const int totalTops[] = {lower.totalEarningsTop, lower.totalDeductionsTop, lower.netPayTop};
    const QHash<QString, QString> written = {
        {QStringLiteral("docente"), QString::fromStdString(receipt.docente)},
        {QStringLiteral("Label3"), title},
        {QStringLiteral("carsel"), QString::fromStdString(header.carsel)},
        {QStringLiteral("Label11"), text(header.label11)},
        {QStringLiteral("numcargo"), QString::fromStdString(header.numcargo)},
        {QStringLiteral("punbasicos"), QString::fromStdString(header.punbasicos)},
        {QStringLiteral("compbas"), QString::fromStdString(position.compbas)},
        {QStringLiteral("proljor"), QString::fromStdString(position.proljor)},
        {QStringLiteral("jorcom"), QString::fromStdString(position.jorcom)},
        {QStringLiteral("tardif"), QString::fromStdString(position.tardif)},
        {QStringLiteral("Text10"), date},
        {QStringLiteral("Text11"), comment},
        {QLatin1String(kTotals[0]), totals[0]},
        {QLatin1String(kTotals[1]), totals[1]},
        {QLatin1String(kTotals[2]), totals[2]},
    };

    for (const ControlDesign& design : receiptControls()) {
        if (isOneOf(design.name, kScreenOnly) || (!header.showsPositionPoints && isOneOf(design.name, kPositionPoints)))
            continue;
        SheetText item = designed(design, written.value(design.name, design.caption));
        for (int i = 0; i < 3; ++i)
            if (design.name == QLatin1String(kTotals[i]) || design.name == QLatin1String(kTotalCaptions[i]))
                item.box.moveTop(totalTops[i]);
        (design.parent == Parent::Frame ? sheet.frameTexts : sheet.panel).push_back(std::move(item));
    }

    const QHash<QString, QString> cells = writtenCells(receipt);
    for (const ControlDesign& design : receiptGridCells())
        if (const auto found = cells.constFind(design.name); found != cells.cend()) {
            sheet.cells.push_back(designed(design, *found));
            sheet.cells.back().kind = SheetKind::Cell;
        }
    const int rows = std::min(receipt.rowsWritten(), kGridRows);
    for (int row = 0; row < rows; ++row) {
        const LineDesign& rule = receiptGridRules()[static_cast<std::size_t>(row)];
        sheet.gridRules.push_back({rule.name, QLineF(rule.x1, rule.y1, rule.x2, rule.y2)});
    }

    const int lowerRules[] = {lower.line6, lower.line15, lower.line16, lower.line17};
    for (const LineDesign& design : receiptLines()) {
        QLineF line(design.x1, design.y1, design.x2, design.y2);
        if (isOneOf(design.name, kVerticalLines))
            line.setP2(QPointF(design.x2, lower.verticalLinesBottom));
        for (int i = 0; i < 4; ++i)
            if (design.name == QLatin1String(kLowerRules[i]))
                line = QLineF(design.x1, lowerRules[i], design.x2, lowerRules[i]);
        sheet.frameLines.push_back({design.name, line});
    }
    return sheet;
}

}  // namespace recibo::receipt
