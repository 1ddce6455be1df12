#pragma once

// The comparison of an official payslip with the computed receipt as a
// person reads it, on the desktop's window and on the web page alike: every
// amount written to the cent, each row's state in words (so that it reads
// without colour and to a screen reader), the verdict and the likely causes.

#include <span>
#include <string>
#include <utility>
#include <vector>

#include "likely_causes.h"
#include "payroll/receipt.h"
#include "payroll/regional_settings.h"
#include "payslip_check.h"
#include "positions/catalogue.h"

namespace recibo::payslip {

// One row of the comparison as the window shows it and the page prints it.
struct ComparisonRow {
    std::string code;
    std::string description;
    std::string official;    // "1234,56", or "—" when the side has no such line
    std::string computed;    // ours rounded to the cent
    std::string difference;  // the official less ours, only where they differ
    std::string status;      // "Coincide", "Difiere", "Difiere: sólo en el recibo oficial"…
    bool differs = false;
    std::string explanation;  // where our amount comes from; empty for a line we lack
    bool operator==(const ComparisonRow&) const = default;
};

// The lines of `check` (in its order), then the three totals. A differing
// line's explanation ends with the likely causes after which it agrees.
std::vector<ComparisonRow> comparisonRows(const PayslipCheck& check, const payroll::Receipt& receipt,
                                          const payroll::RegionalSettings& settings,
                                          std::span<const Suggestion> causes = {},
                                          const positions::Catalogue& catalogue = positions::catalogue());

// The receipt's own lines before any official amount is typed: ours only.
std::vector<ComparisonRow> receiptRows(const payroll::Receipt& receipt, const payroll::RegionalSettings& settings);

// The official lines as typed, one (code, amount) pair per row: the lines
// that can be compared, and why each of the others cannot ("Fila 3: …").
// A row without an amount is not a line yet.
struct TypedLines {
    std::vector<OfficialLine> lines;
    std::vector<std::string> problems;
    bool operator==(const TypedLines&) const = default;
};
TypedLines readTypedLines(std::span<const std::pair<std::string, std::string>> rows,
                          const payroll::RegionalSettings& settings);

// The verdict of a check and the likely causes in words: what explains all
// of it when something does, the best otherwise, or that nothing does.
struct Verdict {
    std::string text;
    std::vector<std::string> causes;
    bool operator==(const Verdict&) const = default;
};
Verdict verdictOf(const PayslipCheck& check, std::span<const Suggestion> causes,
                  const positions::Catalogue& catalogue = positions::catalogue());

// Said before any official amount is typed.
inline constexpr std::string_view kTypeTheAmounts =
    "Escribí los importes del recibo oficial para compararlos con el calculado.";

}  // namespace recibo::payslip
