#pragma once

#include <string>

namespace recibo::payroll {

// The user's regional number settings, as the desktop program and the batch
// tool read them from the system. Separators are UTF-8 texts: some regions
// use a multi-byte character (a no-break space) to group digits.
struct RegionalSettings {
    std::string decimalSeparator = ".";
    std::string groupSeparator = ",";

    static RegionalSettings pointDecimal() { return {".", ","}; }
    static RegionalSettings commaDecimal() { return {",", "."}; }
};

}  // namespace recibo::payroll
