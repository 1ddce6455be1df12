#pragma once

// A likely cause in the words of the entry window, for a teacher to read:
// "Con «Entre 7 y 10 años» en lugar de «Entre 5 y 7 años» coinciden todas
// las líneas."

#include <string>
#include <string_view>

#include "likely_causes.h"
#include "positions/catalogue.h"

namespace recibo::payslip {

// What was tried when no single change explains the payslip.
inline constexpr std::string_view kNothingExplains =
    "Ningún cambio de un solo dato explica la diferencia: revisá los datos del docente y los importes escritos "
    "del recibo oficial.";

// `suggestion` in words: the change, with the captions the entry window
// shows and the position's name from `catalogue`, then how many lines agree.
std::string describe(const Suggestion& suggestion, const positions::Catalogue& catalogue);
// The change alone: "Con «Entre 7 y 10 años» en lugar de «Entre 5 y 7 años»".
std::string describeChange(const Suggestion& suggestion, const positions::Catalogue& catalogue);

}  // namespace recibo::payslip
