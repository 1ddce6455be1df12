#include "currency.h"

#include <cmath>

namespace recibo::payroll {

namespace {
// 2^63 as a double: every double below it (and at or above -2^63) rounds to
// a value that fits in 64 bits.
constexpr double kTwoToThe63 = 9223372036854775808.0;
}  // namespace

std::optional<Currency> Currency::fromDouble(double value)
{
    const double scaled = value * static_cast<double>(kScale);
    if (!(scaled >= -kTwoToThe63 && scaled < kTwoToThe63))
        return std::nullopt;
    // The default floating-point environment rounds to nearest, ties to even.
    return Currency(static_cast<std::int64_t>(std::nearbyint(scaled)));
}

}  // namespace recibo::payroll
