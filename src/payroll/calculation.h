#pragma once

#include <string>
#include <variant>

#include "entry_values.h"
#include "pay_scale.h"
#include "receipt.h"
#include "regional_settings.h"
#include "unusable/unusable.h"

namespace recibo::payroll {

inline constexpr const char* kNoKindChosenMessage = "No seleccionaste cargo ni horas";
// "Cargo" is chosen but no catalogue row is: the base-points box is empty.
inline constexpr const char* kNoPositionChosenMessage =
    "No hay un cargo elegido. Elegí un cargo en «Selección de cargo» (escribí su código o elegí su nombre en la "
    "lista) y apretá «Listo».";

// Why a run produced no receipt: `where` names the box whose text could not be
// used (empty when no kind of employment was chosen) and `text` quotes it.
using CalculationResult = std::variant<Receipt, Unusable>;

// Whether each line and total also gets its explanation, the operation and
// the operands as the run used them. A run without them writes none.
enum class Explain : bool { No, Yes };

// One run of "Calcular": from the entry values and the selected position to
// the complete receipt, or to the first failure the run meets, under the
// pay scale's numbers.
CalculationResult calculate(const EntryValues& entry, const SelectedPosition& position,
                            const RegionalSettings& settings, const PayScale& scale = builtInPayScale(),
                            Explain explain = Explain::No);

}  // namespace recibo::payroll
