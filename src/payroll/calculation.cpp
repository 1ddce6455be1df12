#include "calculation.h"

#include <memory>

#include "run.h"

namespace recibo::payroll {

CalculationResult calculate(const EntryValues& entry, const SelectedPosition& position,
                            const RegionalSettings& settings, const PayScale& scale, Explain explain)
{
    if (entry.kind == EmploymentKind::None)
        return Unusable{kNoKindChosenMessage};

    // The receipt is written where it is handed out, never copied.
    CalculationResult result(std::in_place_type<Receipt>);
    Receipt& receipt = std::get<Receipt>(result);
    receipt.lines.reserve(kMaxReceiptLines);
    Run run(entry, position, settings, scale, receipt);
    // The explanations are allocated only when asked for (the notes are a few
    // offsets): a plain run pays next to nothing for them.
    Run::Notes notes;
    if (explain == Explain::Yes) [[unlikely]] {
        auto explanations = std::make_shared<ReceiptExplanations>();
        explanations->text.reserve(4096);
        run.explainWith(notes, *explanations);
        receipt.explanations = std::move(explanations);
    }
    try {
        computeEarnings(run);
        computeSupplements(run);
        computeAllowances(run);
        computeDeductionsAndTotals(run);
    } catch (Unusable& failure) {
        result = std::move(failure);
    }
    return result;
}

}  // namespace recibo::payroll
