#pragma once

#include <cstdint>
#include <string>

#include "pay_scale.h"

namespace recibo::payroll {

// What choosing one of the twelve seniority options sets: the percentage
// kept for the calculation and the text shown beside the options ("30 %").
struct SeniorityBracket {
    std::uint8_t percent;
    std::string text;
};

// `option` is 1 to 12, Option1 to Option12.
inline SeniorityBracket seniorityBracket(int option, const PayScale& scale = builtInPayScale())
{
    const std::uint8_t percent = scale.seniorityPercent[static_cast<std::size_t>(option - 1)];
    return {percent, std::to_string(percent) + " %"};
}

}  // namespace recibo::payroll
