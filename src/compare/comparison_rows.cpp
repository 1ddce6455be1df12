#include "comparison_rows.h"

#include "payslip/official_amount.h"

namespace recibo::compare {

namespace {

const QString kNone = QStringLiteral("—");

QString cents(payroll::Currency amount, const payroll::RegionalSettings& settings)
{
    return QString::fromStdString(payslip::centsText(amount, settings));
}

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString statusOf(const payslip::LineCheck& line)
{
    if (!line.differs)
        return QStringLiteral("Coincide");
    if (!line.computed)
        return QStringLiteral("Difiere: sólo en el recibo oficial");
    if (!line.official)
        return QStringLiteral("Difiere: falta en el recibo oficial");
    return QStringLiteral("Difiere");
}

ComparisonRow lineRow(const payroll::Receipt& receipt, std::size_t index, const payroll::RegionalSettings& settings)
{
    const payroll::ReceiptLine& line = receipt.lines[index];
    return {fromView(line.code),
            fromView(line.description),
            kNone,
            cents(line.value, settings),
            {},
            {},
            false,
            fromView(receipt.explanation(index))};
}

}  // namespace

std::vector<ComparisonRow> receiptRows(const payroll::Receipt& receipt, const payroll::RegionalSettings& settings)
{
    std::vector<ComparisonRow> rows;
    for (std::size_t i = 0; i < receipt.lines.size(); ++i)
        rows.push_back(lineRow(receipt, i, settings));
    return rows;
}

std::vector<ComparisonRow> comparisonRows(const payslip::PayslipCheck& check, const payroll::Receipt& receipt,
                                          const payroll::RegionalSettings& settings)
{
    std::vector<ComparisonRow> rows;
    // The check lists the receipt's lines first, in the receipt's order.
    for (std::size_t i = 0; i < check.lines.size(); ++i) {
        const payslip::LineCheck& line = check.lines[i];
        ComparisonRow row = i < receipt.lines.size()
            ? lineRow(receipt, i, settings)
            : ComparisonRow{
                QString::fromStdString(line.code),
                payroll::lineColumn(line.code) ? kNone : QStringLiteral("(código que este programa no calcula)"),
                {},
                kNone,
                {},
                {},
                false,
                {}};
        if (line.official)
            row.official = cents(*line.official, settings);
        row.differs = line.differs;
        row.status = statusOf(line);
        if (line.differs)
            row.difference = cents(line.difference(), settings);
        rows.push_back(std::move(row));
    }
    const QString names[] = {QStringLiteral("Total haberes"), QStringLiteral("Total descuentos"),
                             QStringLiteral("Líquido")};
    const auto totalExplanation = [&receipt](std::size_t i) {
        if (!receipt.explanations)
            return QString();
        const payroll::ReceiptExplanations& texts = *receipt.explanations;
        const payroll::ReceiptExplanations::Range range[] = {texts.thaberes, texts.tdescuentos, texts.liquido};
        return fromView(texts.of(range[i]));
    };
    for (std::size_t i = 0; i < check.totals.size(); ++i) {
        const payslip::TotalCheck& total = check.totals[i];
        const std::optional<payroll::Currency> difference = total.difference();
        rows.push_back({{},
                        names[i],
                        total.official ? cents(*total.official, settings) : kNone,
                        cents(total.computed, settings),
                        total.differs && difference ? cents(*difference, settings) : QString(),
                        total.differs ? QStringLiteral("Difiere") : QStringLiteral("Coincide"),
                        total.differs,
                        totalExplanation(i)});
    }
    return rows;
}

}  // namespace recibo::compare
