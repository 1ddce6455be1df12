#include "receipt.h"

namespace recibo::payroll {

namespace {
// Row pitch of the receipt grid and the offsets of the lower block below the
// grid's first row, in twips.
constexpr float kRowPitch = 315;
constexpr float kVerticalLinesEnd = 2350;
constexpr float kRuleUnderGrid = 1050;
constexpr float kTotalEarningsTop = 1250;
constexpr float kRuleAfterEarnings = 1550;
constexpr float kTotalDeductionsTop = 1650;
constexpr float kRuleAfterDeductions = 1950;
constexpr float kNetPayTop = 2050;
constexpr float kClosingRule = 2350;
}  // namespace

LowerPartPlacement placeLowerPart(int rowsWritten)
{
    const float base = kRowPitch * static_cast<float>(rowsWritten);
    return {base + kVerticalLinesEnd, base + kRuleUnderGrid,       base + kTotalEarningsTop,
            base + kRuleAfterEarnings, base + kTotalDeductionsTop, base + kRuleAfterDeductions,
            base + kNetPayTop,         base + kClosingRule};
}

}  // namespace recibo::payroll
