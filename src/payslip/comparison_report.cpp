#include "comparison_report.h"

#include <algorithm>

#include "official_amount.h"
#include "payroll/message_text.h"
#include "suggestion_text.h"

namespace recibo::payslip {

namespace {

const std::string kNone = "—";

std::string statusOf(const LineCheck& line)
{
    if (!line.differs)
        return "Coincide";
    if (!line.computed)
        return "Difiere: sólo en el recibo oficial";
    if (!line.official)
        return "Difiere: falta en el recibo oficial";
    return "Difiere";
}

ComparisonRow lineRow(const payroll::Receipt& receipt, std::size_t index, const payroll::RegionalSettings& settings)
{
    const payroll::ReceiptLine& line = receipt.lines[index];
    return {std::string(line.code),
            std::string(line.description),
            kNone,
            centsText(line.value, settings),
            {},
            {},
            false,
            std::string(receipt.explanation(index))};
}

// The likely causes after which the line of `code` agrees, to follow its
// explanation.
std::string agreeingHint(const std::string& code, std::span<const Suggestion> causes,
                         const positions::Catalogue& catalogue)
{
    std::string changes;
    for (const Suggestion& cause : causes)
        if (std::find(cause.difieren.begin(), cause.difieren.end(), code) == cause.difieren.end())
            changes += (changes.empty() ? "" : "; o ") + describeChange(cause, catalogue);
    return changes.empty() ? std::string() : changes + " coincide esta línea.";
}

}  // namespace

std::vector<ComparisonRow> receiptRows(const payroll::Receipt& receipt, const payroll::RegionalSettings& settings)
{
    std::vector<ComparisonRow> rows;
    for (std::size_t i = 0; i < receipt.lines.size(); ++i)
        rows.push_back(lineRow(receipt, i, settings));
    return rows;
}

std::vector<ComparisonRow> comparisonRows(const PayslipCheck& check, const payroll::Receipt& receipt,
                                          const payroll::RegionalSettings& settings, std::span<const Suggestion> causes,
                                          const positions::Catalogue& catalogue)
{
    std::vector<ComparisonRow> rows;
    // The check lists the receipt's lines first, in the receipt's order.
    for (std::size_t i = 0; i < check.lines.size(); ++i) {
        const LineCheck& line = check.lines[i];
        ComparisonRow row = i < receipt.lines.size()
            ? lineRow(receipt, i, settings)
            : ComparisonRow{line.code, payroll::lineColumn(line.code) ? kNone : "(código que este programa no calcula)",
                            {},        kNone,
                            {},        {},
                            false,     {}};
        if (line.official)
            row.official = centsText(*line.official, settings);
        row.differs = line.differs;
        row.status = statusOf(line);
        if (line.differs) {
            row.difference = centsText(line.difference(), settings);
            if (const std::string hint = agreeingHint(line.code, causes, catalogue); !hint.empty())
                row.explanation += (row.explanation.empty() ? "" : "\n") + hint;
        }
        rows.push_back(std::move(row));
    }
    const char* const names[] = {"Total haberes", "Total descuentos", "Líquido"};
    const auto totalExplanation = [&receipt](std::size_t i) {
        if (!receipt.explanations)
            return std::string();
        const payroll::ReceiptExplanations& texts = *receipt.explanations;
        const payroll::ReceiptExplanations::Range range[] = {texts.thaberes, texts.tdescuentos, texts.liquido};
        return std::string(texts.of(range[i]));
    };
    for (std::size_t i = 0; i < check.totals.size(); ++i) {
        const TotalCheck& total = check.totals[i];
        const std::optional<payroll::Currency> difference = total.difference();
        rows.push_back({{},
                        names[i],
                        total.official ? centsText(*total.official, settings) : kNone,
                        centsText(total.computed, settings),
                        total.differs && difference ? centsText(*difference, settings) : std::string(),
                        total.differs ? "Difiere" : "Coincide",
                        total.differs,
                        totalExplanation(i)});
    }
    return rows;
}

TypedLines readTypedLines(std::span<const std::pair<std::string, std::string>> rows,
                          const payroll::RegionalSettings& settings)
{
    TypedLines result;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const auto& [code, amount] = rows[row];
        if (amount.empty())
            continue;
        const std::string at = "Fila " + std::to_string(row + 1) + ": ";
        if (code.empty()) {
            result.problems.push_back(at + "falta el código de la línea; escribilo como en el recibo oficial.");
            continue;
        }
        const auto value = readOfficialAmount(amount, settings);
        if (!value) {
            result.problems.push_back(at + payroll::quotedForMessage(amount)
                                      + " no es un importe: escribilo como en el recibo, por ejemplo 1234"
                                      + settings.decimalSeparator + "56.");
            continue;
        }
        result.lines.push_back({code, *value});
    }
    return result;
}

Verdict verdictOf(const PayslipCheck& check, std::span<const Suggestion> causes, const positions::Catalogue& catalogue)
{
    Verdict verdict;
    if (check.matches()) {
        verdict.text = "El recibo oficial coincide con el calculado en todas las líneas.";
        if (std::any_of(check.totals.begin(), check.totals.end(), [](const TotalCheck& t) { return t.differs; }))
            verdict.text += " Algún total difiere: el recibo oficial suma sus líneas ya redondeadas a centavos.";
        return verdict;
    }
    const auto differing = check.lines.size() - static_cast<std::size_t>(check.equalLines());
    verdict.text = differing == 1 ? std::string("Difiere 1 línea del recibo oficial.")
                                  : "Difieren " + std::to_string(differing) + " líneas del recibo oficial.";
    if (causes.empty())
        verdict.causes.emplace_back(kNothingExplains);
    // What explains all of it, when something does; the best otherwise.
    const bool explained = !causes.empty() && causes.front().explainsAll();
    for (const Suggestion& cause : causes)
        if (cause.explainsAll() || !explained)
            verdict.causes.push_back(describe(cause, catalogue));
    return verdict;
}

}  // namespace recibo::payslip
