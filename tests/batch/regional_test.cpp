#include <string>

#include <gtest/gtest.h>

#include "regional/regional.h"

namespace recibo::regional {
namespace {

TEST(Regional, LocaleNames)
{
    struct Case {
        const char* name;
        bool known;
        const char* decimal;  // when known
        const char* group;
    };
    const Case cases[] = {
        {"C", true, ".", ","},
        {"POSIX", true, ".", ","},
        {"es_AR", true, ",", "."},
        {"es_AR.UTF-8", true, ",", "."},
        {"en_US", true, ".", ","},
        {"de_DE@euro", true, ",", "."},
        {"es", true, ",", "."},
        {"es_419", true, ".", ","},
        {"fr_FR", true, ",", "\xE2\x80\xAF"},  // narrow no-break space
        {"", false, nullptr, nullptr},
        {"xx_YY", false, nullptr, nullptr},
        {"es_XX", false, nullptr, nullptr},
        {"espanol", false, nullptr, nullptr},
        {"es_AR_AR", false, nullptr, nullptr},
        {"es__AR", false, nullptr, nullptr},
        {"419", false, nullptr, nullptr},
        {"c", false, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto locale = localeNamed(c.name);
        ASSERT_EQ(locale.has_value(), c.known);
        if (!locale)
            continue;
        const payroll::RegionalSettings settings = settingsOf(*locale);
        EXPECT_EQ(settings.decimalSeparator, c.decimal);
        EXPECT_EQ(settings.groupSeparator, c.group);
    }
}

}  // namespace
}  // namespace recibo::regional
