#pragma once

#include <string>
#include <string_view>

namespace recibo::payroll {

// Doubles written and read with a point for decimals, whatever the C
// locale: the same bytes on every platform the engine is built for,
// WebAssembly included, whose C++ library has no std::to_chars or
// std::from_chars for floating point. Infinities and NaN are "inf", "-inf"
// and "nan".

// The shortest digits that read back as `value`, laid out without an
// exponent ("0.00015", "100000000000000000000").
std::string shortestFixed(double value);

// The same digits laid out with or without an exponent, whichever is
// shorter, without it on a tie ("1e+20", "123456", "1.5e-07").
std::string shortestText(double value);

// At most `precision` significant digits, no trailing zeros, an exponent
// when it is below -4 or not below `precision` ("1.23456789012346e+20").
std::string generalText(double value, int precision);

// The decimal `text` as the nearest double: "-1234.5", "1e5"; nothing else
// around it. False when it is not such a text; a number too large for a
// double reads as an infinity.
bool readDouble(std::string_view text, double& value);

}  // namespace recibo::payroll
