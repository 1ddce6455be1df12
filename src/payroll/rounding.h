#pragma once

#include <cmath>

namespace recibo::payroll {

// The nearest whole number, ties to even: the rounding of every conversion
// to money and to whole numbers. Adding and taking away 2^52 leaves a double
// no fraction bits, and the addition rounds to nearest, ties to even (the
// processor's default); unlike a call to nearbyint this stays inline.
inline double roundHalfToEven(double value)
{
    constexpr double kTwoToThe52 = 4503599627370496.0;
    if (!(std::fabs(value) < kTwoToThe52))
        return value;  // already whole, or not a number
    return value >= 0 ? (value + kTwoToThe52) - kTwoToThe52 : (value - kTwoToThe52) + kTwoToThe52;
}

}  // namespace recibo::payroll
