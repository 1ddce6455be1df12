#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "payroll/decimal_text.h"

namespace recibo::payroll {
namespace {

// What this machine's C++ library writes, which the portable texts must
// match byte for byte (the WebAssembly build has no such library).
std::string toChars(double value, std::chars_format format, int precision = -1)
{
    char buffer[400];
    const auto written = precision < 0 ? std::to_chars(buffer, buffer + sizeof buffer, value, format)
                                       : std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return std::string(buffer, written.ptr);
}

std::string toCharsShortest(double value)
{
    char buffer[400];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

void expectSameAsToChars(double value)
{
    SCOPED_TRACE(toChars(value, std::chars_format::scientific, 17));
    EXPECT_EQ(shortestFixed(value), toChars(value, std::chars_format::fixed));
    EXPECT_EQ(shortestText(value), toCharsShortest(value));
    EXPECT_EQ(generalText(value, 15), toChars(value, std::chars_format::general, 15));
    double back = 0;
    EXPECT_TRUE(readDouble(toCharsShortest(value), back));
    EXPECT_EQ(back, value);
}

// The layouts' edges: zeros, where the exponent starts to be shorter, whole
// numbers beyond 2^53 written with all their digits, the extremes.
TEST(DecimalText, WritesWhatToCharsWrites)
{
    const double inf = std::numeric_limits<double>::infinity();
    for (const double value : {0.0,
                               -0.0,
                               1.0,
                               -1.0,
                               0.1,
                               0.5,
                               2.5,
                               1e-4,
                               1.5e-5,
                               1e-7,
                               100.0,
                               1000.0,
                               1e4,
                               1e5,
                               123456.0,
                               1234567.0,
                               1e15,
                               1e16,
                               9007199254740993.0,
                               1.2345678901234567e17,
                               1e21,
                               1e22,
                               1e23,
                               12345.678,
                               0.30000000000000004,
                               5e-324,
                               std::numeric_limits<double>::max(),
                               std::numeric_limits<double>::min(),
                               inf,
                               -inf})
        expectSameAsToChars(value);
}

// Any bit pattern, and amounts and points as the engine holds them.
TEST(DecimalText, WritesWhatToCharsWritesForManyDoubles)
{
    std::mt19937_64 random(20101);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t bits = random();
        double any;
        std::memcpy(&any, &bits, sizeof any);
        if (!std::isnan(any))
            expectSameAsToChars(any);
        expectSameAsToChars(static_cast<double>(random() % 100000000) / 100);
        expectSameAsToChars(static_cast<double>(random() % 1000000) / static_cast<double>(1u << (random() % 20)));
    }
}

TEST(DecimalText, ReadsOnlyAWholeDecimalText)
{
    double value = 0;
    EXPECT_TRUE(readDouble("-1234.5", value));
    EXPECT_EQ(value, -1234.5);
    EXPECT_TRUE(readDouble("1e400", value));
    EXPECT_EQ(value, std::numeric_limits<double>::infinity());
    for (const char* text : {"", "1.5x", " 1", "1,5", "+1", "0x10"})
        EXPECT_FALSE(readDouble(text, value)) << text;
}

}  // namespace
}  // namespace recibo::payroll
