#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "currency.h"
#include "regional_settings.h"

namespace recibo::payroll {

// Reading the text of a box as a number, the way the user wrote it under the
// regional settings: optional blanks around, an optional sign, digits with
// the group separator only between groups of three in the integer part, and
// optionally the decimal separator followed by more digits. Nothing else is
// a number: no exponents, no "inf" or "nan", no hexadecimal, no trailing text.
enum class ReadStatus { Ok, NotANumber, OutOfRange };

template <typename T>
struct Reading {
    ReadStatus status = ReadStatus::NotANumber;
    T value{};
    bool ok() const { return status == ReadStatus::Ok; }
};

// A double, correctly rounded from the decimal text. A number too large for
// a double is out of range.
Reading<double> readNumber(std::string_view text, const RegionalSettings& settings);

// Signed 16-bit: the number rounded half to even, then range checked.
Reading<std::int16_t> readInteger(std::string_view text, const RegionalSettings& settings);

// 0 to 255: the number rounded half to even, then range checked.
Reading<std::uint8_t> readByte(std::string_view text, const RegionalSettings& settings);

// The number converted to Currency as any double is.
Reading<Currency> readCurrency(std::string_view text, const RegionalSettings& settings);

// The shortest decimal form of an amount: no group separators, no trailing
// zeros, at most four decimals, a leading minus sign when negative; after
// the prefix, when one is given ("$ " on the receipt).
std::string formatAmount(Currency amount, const RegionalSettings& settings, std::string_view prefix = {});
// The same, written over `text` (whose buffer is reused).
void formatAmountInto(std::string& text, Currency amount, const RegionalSettings& settings,
                      std::string_view prefix = {});
// The same, appended to `text`.
void appendAmount(std::string& text, Currency amount, const RegionalSettings& settings, std::string_view prefix = {});

// A double as text with at most 15 significant digits and no trailing zeros,
// with the regional decimal separator (used for the points of hours).
std::string formatPoints(double value, const RegionalSettings& settings);

}  // namespace recibo::payroll
