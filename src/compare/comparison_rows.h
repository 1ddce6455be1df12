#pragma once

#include <vector>

#include <QString>

#include "payroll/receipt.h"
#include "payroll/regional_settings.h"
#include "payslip/payslip_check.h"

namespace recibo::compare {

// One row of the comparison as the window shows it and the page prints it:
// every text written, the state in words (so that it reads without colour
// and to a screen reader), and the explanation of our amount.
struct ComparisonRow {
    QString code;
    QString description;
    QString official;    // "1234,56", or "—" when the side has no such line
    QString computed;    // ours rounded to the cent
    QString difference;  // the official less ours, only where they differ
    QString status;      // "Coincide", "Difiere", "Sólo en el recibo oficial"…
    bool differs = false;
    QString explanation;  // where our amount comes from; empty for a line we lack
    bool operator==(const ComparisonRow&) const = default;
};

// The lines of `check` (in its order), then the three totals.
std::vector<ComparisonRow> comparisonRows(const payslip::PayslipCheck& check, const payroll::Receipt& receipt,
                                          const payroll::RegionalSettings& settings);

// The receipt's own lines before any official amount is typed: ours only.
std::vector<ComparisonRow> receiptRows(const payroll::Receipt& receipt, const payroll::RegionalSettings& settings);

}  // namespace recibo::compare
