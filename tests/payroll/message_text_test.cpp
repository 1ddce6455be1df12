// Texts quoted in messages: bounded, never cut inside a character, and
// unable to break the message's line or reorder what follows it.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "payroll/message_text.h"

namespace recibo::payroll {
namespace {

struct QuoteCase {
    const char* name;
    std::string text;
    std::string quoted;
};

std::string repeat(std::string_view piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

const std::string k39 = repeat("x", 39);
const std::string k40 = repeat("x", 40);

const QuoteCase kCases[] = {
    {"empty", "", "«»"},
    {"plain", "12a", "«12a»"},
    {"forty characters whole", k40, "«" + k40 + "»"},
    {"forty-one cut after forty", k40 + "y", "«" + k40 + "…»"},
    {"two-byte character counts as one", k39 + "ñy", "«" + k39 + "ñ…»"},
    {"four-byte character at the cut kept whole", k39 + "𝄞𝄞", "«" + k39 + "𝄞…»"},
    {"forty accented letters whole", repeat("é", 40), "«" + repeat("é", 40) + "»"},
    {"line breaks and tab", "a\nb\r\tc", "«a\\nb\\r\\tc»"},
    {"NUL, escape, DEL and C1", std::string("a\0b", 3) + "\x1b\x7f\u0085", "«a\\u0000b\\u001B\\u007F\\u0085»"},
    {"right-to-left override", "12\u202Eab", "«12\\u202Eab»"},
    {"other reordering marks and line separators", "\u202A\u202D\u2066\u2069\u200E\u200F\u061C\u2028\u2029",
     "«\\u202A\\u202D\\u2066\\u2069\\u200E\\u200F\\u061C\\u2028\\u2029»"},
    {"escapes count as one character each", repeat("\n", 41), "«" + repeat("\\n", 40) + "…»"},
    {"bytes that are not UTF-8, overlong or surrogate", "a\xff(\xc0\xaf\xed\xa0\x80\xe2\x82",
     "«a\\xFF(\\xC0\\xAF\\xED\\xA0\\x80\\xE2\\x82»"},
};

TEST(QuotedForMessage, BoundedEscapedAndWhole)
{
    for (const QuoteCase& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(quotedForMessage(c.text), c.quoted);
    }
}

const QuoteCase kPathCases[] = {
    {"short path whole", "/tmp/escala.toml", "«/tmp/escala.toml»"},
    {"forty characters whole", k40, "«" + k40 + "»"},
    {"long path keeps its end from a folder", "/home/maria/Documentos/escalas de 2026/rota-sintaxis.toml",
     "«…/escalas de 2026/rota-sintaxis.toml»"},
    {"long name keeps its last 39 characters", "/a/" + k39 + "yz", "«…" + k39.substr(2) + "yz»"},
    {"Windows folders", "C:\\Users\\" + k39 + "\\r.csv", "«…\\r.csv»"},
    {"escapes kept in the end", repeat("x", 50) + "/a\nb.toml", "«…/a\\nb.toml»"},
};

TEST(QuotedPathForMessage, KeepsTheFileName)
{
    for (const QuoteCase& c : kPathCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(quotedPathForMessage(c.text), c.quoted);
    }
}

}  // namespace
}  // namespace recibo::payroll
