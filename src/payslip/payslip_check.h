#pragma once

// An official payslip, line by line, against the receipt computed for the
// same teacher: which lines agree, which differ and by how much.

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "payroll/currency.h"
#include "payroll/receipt.h"

namespace recibo::payslip {

using payroll::Currency;

// One line of the official payslip as printed: its code and its amount.
struct OfficialLine {
    std::string code;
    Currency amount;
    bool operator==(const OfficialLine&) const = default;
};

// An amount as a payslip prints it: to the cent, a half cent rounded up.
Currency toCents(Currency amount);

// One line code on either side: the official amount, ours, and whether
// they differ. A code a receipt has twice (052) is matched in order.
struct LineCheck {
    std::string code;
    std::optional<Currency> official;
    std::optional<Currency> computed;  // ours, as computed (to the ten-thousandth)
    bool differs = false;
    // The official amount less ours at cents; a missing side counts as zero.
    Currency difference() const;
    bool operator==(const LineCheck&) const = default;
};

// One of the three totals: the official lines of its column added, against
// ours. A payslip adds its lines as printed, to the cent, so its total may
// be a cent or two from ours rounded while every line agrees.
struct TotalCheck {
    std::optional<Currency> official;  // nothing when the sum leaves Currency's range
    Currency computed;                 // ours, as computed
    bool differs = false;
    // The official total less ours at cents.
    std::optional<Currency> difference() const;
    bool operator==(const TotalCheck&) const = default;
};

struct PayslipCheck {
    // Every code on either side: the receipt's lines in its order, then the
    // official lines the receipt does not have.
    std::vector<LineCheck> lines;
    // Earnings, deductions and net pay. An official line of a code no
    // receipt has counts in neither column.
    std::array<TotalCheck, 3> totals;

    bool matches() const;
    int equalLines() const;
};

// Ours and the official amount agree when ours, rounded to the cent as the
// payslip prints it, is the official amount, or when they are less than
// half a cent apart.
PayslipCheck checkPayslip(const payroll::Receipt& computed, std::span<const OfficialLine> official);

}  // namespace recibo::payslip
