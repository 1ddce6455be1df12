#pragma once

#include <cstdint>
#include <string_view>

namespace recibo::payroll {

// The boxes whose text the calculation reads as a number.
enum class InputField : std::uint8_t {
    Punbas,
    Compbas,
    Jorcom,
    Proljor,
    Tardif,
    Numerohorasmed,
    Numerohorassup,
    Numhorascod06,
    Numhorasincen,
    Numhorascod113,
    Dinasist,
    Cantkm,
    Cantidadhijos,
    Cantidadhijosdisc,
};

// The control's name, as reported with a failure.
std::string_view controlName(InputField field);

// The field's name as the user sees it on the screen, for messages.
std::string_view userLabel(InputField field);

}  // namespace recibo::payroll
