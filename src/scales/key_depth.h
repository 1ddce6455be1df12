#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace recibo::scales {

// Where a TOML text names a key of more parts than `mostParts` ("a.b.c" has
// three), whether in an assignment, a table header or an inline table: the
// line and column (from 1) where that key starts. The TOML reader follows
// such a key by recursion, one level per part, so a file of some tens of
// thousands of parts ends the program on a stack overflow; this looks at
// the text alone, in one pass, and never recurses. Quoted strings and
// comments are skipped (their dots are not key separators).
struct DeepKey {
    std::size_t line = 0;
    std::size_t column = 0;
    bool operator==(const DeepKey&) const = default;
};
std::optional<DeepKey> keyDeeperThan(std::string_view text, std::size_t mostParts);

}  // namespace recibo::scales
