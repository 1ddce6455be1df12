#pragma once

#include <array>
#include <string_view>

#include "pay_scale.h"

namespace recibo::payroll {

// The zone list's entries 0 to kZones, as the entry window shows them.
inline constexpr std::array<std::string_view, kZones + 1> kZoneNames = {
    "Común", "Alejada radio urbano", "Desfavorable", "Muy desfavorable", "Zona Inhóspita",
};

}  // namespace recibo::payroll
