#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "payroll/currency.h"
#include "regional_test_support.h"

namespace recibo::payroll {
namespace {

using testing::money;

struct RoundingCase {
    const char* name;
    double value;           // in units
    std::int64_t expected;  // in ten-thousandths
};

// Ties go to the even neighbour at the fourth decimal; everything else to the
// nearest. The rounding applies to value × 10000 as computed in double, so a
// decimal tie that is not exact in binary rounds by where it really lies.
TEST(CurrencyFromDouble, RoundsHalfToEvenAtTheFourthDecimal)
{
    const RoundingCase cases[] = {
        {"+0.4", 0.00004, 0},
        {"+0.5", 0.00005, 0},
        {"+0.6", 0.00006, 1},
        {"+1.4", 0.00014, 1},
        {"+1.5", 10.00015, 100002},
        {"+1.6", 0.00016, 2},
        {"-0.4", -0.00004, 0},
        {"-0.5", -0.00005, 0},
        {"-0.6", -0.00006, -1},
        {"-1.4", -0.00014, -1},
        {"-1.5", -10.00015, -100002},
        {"-1.6", -0.00016, -2},
        {"2.5 to even", 0.00025, 2},
        {"3.5 to even", 0.00035, 4},
        {"0.00015 lies below its tie", 0.00015, 1},
        {"whole", 409, 4090000},
        {"seniority", 370.37034, 3703703},
    };
    for (const RoundingCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto amount = Currency::fromDouble(c.value);
        ASSERT_TRUE(amount.has_value());
        EXPECT_EQ(amount->raw(), c.expected);
    }
}

TEST(CurrencyFromDouble, RefusesWhatDoesNotFitInsteadOfWrapping)
{
    EXPECT_FALSE(Currency::fromDouble(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(Currency::fromDouble(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(Currency::fromDouble(-std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(Currency::fromDouble(922337203685477.6));  // just above the largest amount
    EXPECT_FALSE(Currency::fromDouble(1e300));
    ASSERT_TRUE(Currency::fromDouble(-922337203685477.5808));
    EXPECT_EQ(Currency::fromDouble(-922337203685477.5808)->raw(), std::numeric_limits<std::int64_t>::min());
    ASSERT_TRUE(Currency::fromDouble(922337203685477.0));
}

TEST(CurrencyArithmetic, IsExactAndReportsOverflow)
{
    const Currency largest = money(std::numeric_limits<std::int64_t>::max());
    const Currency smallest = money(std::numeric_limits<std::int64_t>::min());

    EXPECT_EQ(money(1).plus(money(2)), money(3));
    EXPECT_EQ(money(12345678).minus(money(12345679)), money(-1));
    EXPECT_EQ(money(12345678).times(30), money(370370340));

    EXPECT_FALSE(largest.plus(money(1)));
    EXPECT_FALSE(smallest.minus(money(1)));
    EXPECT_FALSE(smallest.times(-1));
    EXPECT_FALSE(money(std::numeric_limits<std::int64_t>::max() / 100 + 1).times(120));
    EXPECT_EQ(largest.minus(largest), money(0));
}

TEST(CurrencyToDouble, GivesTheNearestDouble)
{
    EXPECT_EQ(money(14763000).toDouble(), 1476.3);
    EXPECT_EQ(money(-1).toDouble(), -0.0001);
    EXPECT_EQ(money(0).toDouble(), 0.0);
}

}  // namespace
}  // namespace recibo::payroll
