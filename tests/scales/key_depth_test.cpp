#include "scales/key_depth.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace recibo::scales {
namespace {

// Only keys count: dots in strings, numbers and comments are not parts.
TEST(KeyDepth, FindsTheFirstKeyOfTooManyParts)
{
    const struct {
        std::string text;
        std::size_t mostParts;
        std::optional<DeepKey> found;
    } cases[] = {
        {"a.b.c = 1", 3, std::nullopt},
        {"a.b.c = 1", 2, DeepKey{1, 1}},
        {"x = 1\n  a . \"b.c\" . 'd' = 1", 2, DeepKey{2, 3}},
        {"[t]\n[[a.b.c]]", 2, DeepKey{2, 3}},
        {"t = {x = 1, a.b.c = 2}", 2, DeepKey{1, 13}},
        {"x = \"a.b.c.d\" # e.f.g.h", 1, std::nullopt},
        {"x = 0.9842\ny = 'v.w.x'", 1, DeepKey{1, 5}},
        {"s = \"\"\"\na.b.c = 1\n\"\"\"\nk.l.m = 1", 2, DeepKey{4, 1}},
        {"s = \"x\\\ny.z\" \nk.l.m = 1", 2, DeepKey{3, 1}},
        {"a.\nb.c = 1", 2, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keyDeeperThan(c.text, c.mostParts), c.found) << c.text;
}

}  // namespace
}  // namespace recibo::scales
