#include "calculation.h"

#include "run.h"

namespace recibo::payroll {

CalculationResult calculate(const EntryValues& entry, const SelectedPosition& position,
                            const RegionalSettings& settings, const PayScale& scale)
{
    if (entry.kind == EmploymentKind::None)
        return Failure{{}, {}, kNoKindChosenMessage};

    // The receipt is written where it is handed out, never copied.
    CalculationResult result(std::in_place_type<Receipt>);
    Receipt& receipt = std::get<Receipt>(result);
    receipt.lines.reserve(kMaxReceiptLines);
    Run run(entry, position, settings, scale, receipt);
    try {
        computeEarnings(run);
        computeSupplements(run);
        computeAllowances(run);
        computeDeductionsAndTotals(run);
    } catch (Failure& failure) {
        result = std::move(failure);
    }
    return result;
}

}  // namespace recibo::payroll
