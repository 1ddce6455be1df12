#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "payroll/number_text.h"
#include "regional_test_support.h"

namespace recibo::payroll {
namespace {

using testing::local;
using testing::money;

class NumberText : public ::testing::TestWithParam<RegionalSettings> {
protected:
    const RegionalSettings& settings() const { return GetParam(); }
    // A number as the user of the setting under test writes it: the point is
    // the decimal separator and the comma the group separator.
    std::string typed(const std::string& pointText) const
    {
        std::string result;
        for (char c : pointText) {
            if (c == '.')
                result += settings().decimalSeparator;
            else if (c == ',')
                result += settings().groupSeparator;
            else
                result += c;
        }
        return result;
    }
};

TEST_P(NumberText, ReadsWhatUsersWriteAsNumbers)
{
    const struct {
        const char* text;
        double expected;
    } cases[] = {
        {"0", 0},
        {"12.5", 12.5},
        {"  12.5\t", 12.5},
        {"+3", 3},
        {"-3", -3},
        {"1,234.5", 1234.5},
        {"1,234,567", 1234567},
        {"12,345", 12345},
        {".5", 0.5},
        {"5.", 5},
        {"007", 7},
        {"-.25", -0.25},
        {"999,999.9999", 999999.9999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(typed(c.text));
        const auto reading = readNumber(typed(c.text), settings());
        ASSERT_EQ(reading.status, ReadStatus::Ok);
        EXPECT_EQ(reading.value, c.expected);
    }
}

TEST_P(NumberText, RefusesEverythingElse)
{
    const std::string otherDecimal = settings().decimalSeparator == "." ? "12,5" : "12.5";
    const std::string refused[] = {
        "",
        "   ",
        "abc",
        "12a",
        "a12",
        "1e5",
        "1E5",
        "inf",
        "nan",
        "0x10",
        "--1",
        "+-1",
        "- 5",
        "1 2",
        "+",
        "-",
        typed("."),
        typed("1..5"),
        typed("1.2.3"),
        typed("1,23"),
        typed("1,2345"),
        typed(",123"),
        typed("1234,567"),
        typed("1,234.5,6"),
        typed("12.5,000"),
        otherDecimal,
        "\xd9\xa1\xd9\xa2" /* Arabic-Indic digits */,
        "\xef\xbc\x91" /* fullwidth 1 */,
        std::string("1\0"
                    "2",
                    3),
    };
    for (const std::string& text : refused) {
        SCOPED_TRACE("\"" + text + "\"");
        EXPECT_EQ(readNumber(text, settings()).status, ReadStatus::NotANumber);
    }
}

TEST_P(NumberText, TooLargeForADoubleIsOutOfRangeAndTooSmallIsZero)
{
    EXPECT_EQ(readNumber(std::string(400, '9'), settings()).status, ReadStatus::OutOfRange);
    const auto tiny = readNumber(typed("0." + std::string(400, '0') + "1"), settings());
    ASSERT_EQ(tiny.status, ReadStatus::Ok);
    EXPECT_EQ(tiny.value, 0.0);
}

TEST_P(NumberText, IntegerRoundsHalfToEvenThenChecksItsRange)
{
    const struct {
        const char* text;
        ReadStatus status;
        std::int16_t expected;
    } cases[] = {
        {"0.4", ReadStatus::Ok, 0},
        {"0.5", ReadStatus::Ok, 0},
        {"0.6", ReadStatus::Ok, 1},
        {"1.4", ReadStatus::Ok, 1},
        {"1.5", ReadStatus::Ok, 2},
        {"1.6", ReadStatus::Ok, 2},
        {"-0.4", ReadStatus::Ok, 0},
        {"-0.5", ReadStatus::Ok, 0},
        {"-0.6", ReadStatus::Ok, -1},
        {"-1.4", ReadStatus::Ok, -1},
        {"-1.5", ReadStatus::Ok, -2},
        {"-1.6", ReadStatus::Ok, -2},
        {"2.5", ReadStatus::Ok, 2},
        {"32767", ReadStatus::Ok, 32767},
        {"32767.4", ReadStatus::Ok, 32767},
        {"32767.5", ReadStatus::OutOfRange, 0},
        {"32768", ReadStatus::OutOfRange, 0},
        {"-32768", ReadStatus::Ok, -32768},
        {"-32768.5", ReadStatus::Ok, -32768},
        {"-32768.6", ReadStatus::OutOfRange, 0},
        {"-32769", ReadStatus::OutOfRange, 0},
        {"1,000", ReadStatus::Ok, 1000},
        {"x", ReadStatus::NotANumber, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(typed(c.text));
        const auto reading = readInteger(typed(c.text), settings());
        EXPECT_EQ(reading.status, c.status);
        if (c.status == ReadStatus::Ok) {
            EXPECT_EQ(reading.value, c.expected);
        }
    }
}

TEST_P(NumberText, ByteRoundsHalfToEvenThenChecksItsRange)
{
    const struct {
        const char* text;
        ReadStatus status;
        std::uint8_t expected;
    } cases[] = {
        {"0", ReadStatus::Ok, 0},           {"255", ReadStatus::Ok, 255},
        {"254.5", ReadStatus::Ok, 254},     {"255.5", ReadStatus::OutOfRange, 0},
        {"256", ReadStatus::OutOfRange, 0}, {"-0.4", ReadStatus::Ok, 0},
        {"-0.5", ReadStatus::Ok, 0},        {"-0.6", ReadStatus::OutOfRange, 0},
        {"-1", ReadStatus::OutOfRange, 0},  {"2.5", ReadStatus::Ok, 2},
        {"3.5", ReadStatus::Ok, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(typed(c.text));
        const auto reading = readByte(typed(c.text), settings());
        EXPECT_EQ(reading.status, c.status);
        if (c.status == ReadStatus::Ok) {
            EXPECT_EQ(reading.value, c.expected);
        }
    }
}

TEST_P(NumberText, CurrencyIsTheNumberConvertedLikeAnyDouble)
{
    EXPECT_EQ(readCurrency(typed("150"), settings()).value, money(1500000));
    EXPECT_EQ(readCurrency(typed("0.00005"), settings()).value, money(0));
    EXPECT_EQ(readCurrency(typed("0.00035"), settings()).value, money(4));
    EXPECT_EQ(readCurrency(typed("-2.33335"), settings()).value, money(-23333));  // lies above its tie in binary
    EXPECT_TRUE(readCurrency("922337203685477", settings()).ok());
    EXPECT_EQ(readCurrency("922337203685478", settings()).status, ReadStatus::OutOfRange);
    EXPECT_EQ(readCurrency("abc", settings()).status, ReadStatus::NotANumber);
}

TEST_P(NumberText, AmountsTakeTheirShortestForm)
{
    const struct {
        std::int64_t raw;
        const char* text;
    } cases[] = {
        {4090000, "409"},
        {14763000, "1476.3"},
        {74074, "7.4074"},
        {-5000, "-0.5"},
        {0, "0"},
        {1, "0.0001"},
        {-1, "-0.0001"},
        {12345671000, "1234567.1"},
        {1864650, "186.465"},
        {std::numeric_limits<std::int64_t>::max(), "922337203685477.5807"},
        {std::numeric_limits<std::int64_t>::min(), "-922337203685477.5808"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatAmount(money(c.raw), settings()), local(c.text, settings()));
}

TEST_P(NumberText, PointsShowAtMostFifteenSignificantDigits)
{
    EXPECT_EQ(formatPoints(12 * 64.73, settings()), local("776.76", settings()));
    EXPECT_EQ(formatPoints(12 * 86.9, settings()), local("1042.8", settings()));
    EXPECT_EQ(formatPoints(0.7, settings()), local("0.7", settings()));
    EXPECT_EQ(formatPoints(-0.0, settings()), "0");
    EXPECT_EQ(formatPoints(-2.5 * 64.73, settings()), local("-161.825", settings()));
    EXPECT_EQ(formatPoints(123456789012345.6, settings()), "123456789012346");
    EXPECT_EQ(formatPoints(1e15, settings()), "1E+15");
    EXPECT_EQ(formatPoints(0.00001, settings()), "1E-05");
}

INSTANTIATE_TEST_SUITE_P(BothSettings, NumberText, testing::kBothSettings, testing::settingsName);

}  // namespace
}  // namespace recibo::payroll
