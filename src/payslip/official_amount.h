#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "payroll/currency.h"
#include "payroll/regional_settings.h"

namespace recibo::payslip {

// An amount as a payslip prints it and a user types or pastes it: in the
// regional decimal convention, with or without "$" before it and spaces
// around it. Nothing when it is no amount or is beyond any pay (a thousand
// million pesos or more either way), which also keeps every sum and
// difference of a payslip's amounts inside Currency's range.
std::optional<payroll::Currency> readOfficialAmount(std::string_view text, const payroll::RegionalSettings& settings);

// An amount to the cent as a payslip prints it ("1234,56", "-0,30"), in the
// regional decimal convention; half a cent is rounded up, as toCents does.
std::string centsText(payroll::Currency amount, const payroll::RegionalSettings& settings);

}  // namespace recibo::payslip
