#include "calculation.h"

#include "run.h"

namespace recibo::payroll {

CalculationResult calculate(const EntryValues& entry, const SelectedPosition& position,
                            const RegionalSettings& settings)
{
    if (entry.kind == EmploymentKind::None)
        return Failure{{}, {}, kNoKindChosenMessage};

    Receipt receipt;
    receipt.lines.reserve(kMaxReceiptLines);
    Run run(entry, position, settings, receipt);
    try {
        computeEarnings(run);
        computeSupplements(run);
        computeAllowances(run);
        computeDeductionsAndTotals(run);
    } catch (Failure& failure) {
        return std::move(failure);
    }
    return receipt;
}

}  // namespace recibo::payroll
