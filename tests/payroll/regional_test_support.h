#pragma once

// Every engine test runs under a point-decimal and a comma-decimal setting.
// Numbers in the tests are written with a point; `local` turns them into the
// text a user of the setting under test types or sees.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "payroll/currency.h"
#include "payroll/number_text.h"
#include "payroll/regional_settings.h"

namespace recibo::payroll {

// Lets GoogleTest print money readably in failure messages.
inline void PrintTo(const Currency& amount, std::ostream* out)
{
    *out << formatAmount(amount, RegionalSettings::pointDecimal()) << " (raw " << amount.raw() << ")";
}

inline void PrintTo(const RegionalSettings& settings, std::ostream* out)
{
    *out << "decimal '" << settings.decimalSeparator << "', group '" << settings.groupSeparator << "'";
}

}  // namespace recibo::payroll

namespace recibo::testing {

using payroll::RegionalSettings;

inline std::string local(std::string text, const RegionalSettings& settings)
{
    std::string result;
    for (char c : text) {
        if (c == '.')
            result += settings.decimalSeparator;
        else
            result += c;
    }
    return result;
}

inline payroll::Currency money(std::int64_t raw)
{
    return payroll::Currency::fromRaw(raw);
}

inline const auto kBothSettings = ::testing::Values(RegionalSettings::pointDecimal(), RegionalSettings::commaDecimal());

inline std::string settingsName(const ::testing::TestParamInfo<RegionalSettings>& info)
{
    return info.param.decimalSeparator == "." ? "PointDecimal" : "CommaDecimal";
}

}  // namespace recibo::testing
