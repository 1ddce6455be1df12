#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "pay_scale.h"

namespace recibo::payroll {

// The twelve seniority options' captions, Option1 to Option12, as the entry
// window shows them.
inline constexpr std::array<std::string_view, kSeniorityOptions> kSeniorityCaptions = {
    "Menos de 1 año",     "Entre 1 y 2 años",   "Entre 2 y 5 años",   "Entre 5 y 7 años",
    "Entre 7 y 10 años",  "Entre 10 y 12 años", "Entre 12 y 15 años", "Entre 15 y 17 años",
    "Entre 17 y 20 años", "Entre 20 y 22 años", "Entre 22 y 24 años", "Más de 24 años",
};

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
