#pragma once

#include <cstdint>
#include <optional>

#include "rounding.h"

namespace recibo::payroll {

// Money with four decimal places, held as a signed 64-bit count of
// ten-thousandths. Arithmetic is exact; every operation that could leave the
// 64-bit range reports it (an empty optional) instead of wrapping.
class Currency {
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Currency() = default;

    static constexpr Currency fromRaw(std::int64_t tenThousandths) { return Currency(tenThousandths); }

    // Whole units, for the fixed amounts of the pay scale. Only for values that
    // are known to fit (the constants); checked at compile time where constexpr.
    static constexpr Currency fromUnits(std::int64_t units) { return Currency(units * kScale); }

    // The value times 10000 in double precision, rounded to the nearest whole
    // number with ties to even. Not a number, or outside the 64-bit range: empty.
    static std::optional<Currency> fromDouble(double value)
    {
        // 2^63: every double below it (and at or above -2^63) rounds to a
        // value that fits in 64 bits.
        constexpr double kTwoToThe63 = 9223372036854775808.0;
        const double scaled = value * static_cast<double>(kScale);
        if (!(scaled >= -kTwoToThe63 && scaled < kTwoToThe63))
            return std::nullopt;
        return Currency(static_cast<std::int64_t>(roundHalfToEven(scaled)));
    }

    constexpr std::int64_t raw() const { return value_; }

    // The nearest double to raw / 10000.
    double toDouble() const { return static_cast<double>(value_) / static_cast<double>(kScale); }

    std::optional<Currency> plus(Currency other) const
    {
        std::int64_t result;
        if (__builtin_add_overflow(value_, other.value_, &result))
            return std::nullopt;
        return Currency(result);
    }

    std::optional<Currency> minus(Currency other) const
    {
        std::int64_t result;
        if (__builtin_sub_overflow(value_, other.value_, &result))
            return std::nullopt;
        return Currency(result);
    }

    std::optional<Currency> times(std::int64_t factor) const
    {
        std::int64_t result;
        if (__builtin_mul_overflow(value_, factor, &result))
            return std::nullopt;
        return Currency(result);
    }

    constexpr auto operator<=>(const Currency&) const = default;

private:
    constexpr explicit Currency(std::int64_t raw) : value_(raw) {}
    std::int64_t value_ = 0;
};

}  // namespace recibo::payroll
