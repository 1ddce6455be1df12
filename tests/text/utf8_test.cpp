#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "text/utf8.h"

namespace recibo::text {
namespace {

TEST(Utf8, WellFormedAndMalformedSequences)
{
    struct Case {
        std::string text;
        std::optional<std::size_t> firstBad;
    };
    const Case cases[] = {
        {"", std::nullopt},
        {"plain ASCII text, longer than eight bytes", std::nullopt},
        {"Gómez Ñandú €uro 𝄞", std::nullopt},
        {"\xC2\x80\xDF\xBF", std::nullopt},                  // U+0080, U+07FF
        {"\xE0\xA0\x80\xEF\xBF\xBF", std::nullopt},          // U+0800, U+FFFF
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", std::nullopt},  // U+10000, U+10FFFF
        {std::string("a\0b", 3), std::nullopt},
        {"abcdefghij\x80", 10},  // lone continuation after the fast path
        {"P\xE9rez", 1},         // Latin-1
        {"\xC0\xAF", 0},         // overlong "/"
        {"\xC1\xBF", 0},
        {"\xE0\x9F\xBF", 0},      // overlong below U+0800
        {"\xED\xA0\x80", 0},      // surrogate U+D800
        {"ok\xED\xBF\xBF", 2},    // surrogate U+DFFF
        {"\xF0\x8F\xBF\xBF", 0},  // overlong below U+10000
        {"\xF4\x90\x80\x80", 0},  // above U+10FFFF
        {"\xF5\x80\x80\x80", 0},
        {"\xFF", 0},
        {"abc\xE2\x82", 3},       // cut off at the end
        {"\xE2\x28\xA1", 0},      // bad second byte
        {"\xF0\x90\x28\xBC", 0},  // bad third byte
        {"12345678\xC3", 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(firstInvalidUtf8(c.text), c.firstBad);
    }
}

}  // namespace
}  // namespace recibo::text
