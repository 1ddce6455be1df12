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

double Currency::toDouble() const
{
    return static_cast<double>(value_) / static_cast<double>(kScale);
}

std::optional<Currency> Currency::plus(Currency other) const
{
    std::int64_t result;
    if (__builtin_add_overflow(value_, other.value_, &result))
        return std::nullopt;
    return Currency(result);
}

std::optional<Currency> Currency::minus(Currency other) const
{
    std::int64_t result;
    if (__builtin_sub_overflow(value_, other.value_, &result))
        return std::nullopt;
    return Currency(result);
}

std::optional<Currency> Currency::times(std::int64_t factor) const
{
    std::int64_t result;
    if (__builtin_mul_overflow(value_, factor, &result))
        return std::nullopt;
    return Currency(result);
}

}  // namespace recibo::payroll
