#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace recibo::table {

// Where the text stops being well-formed UTF-8 (the offset of the first byte
// of the offending sequence), or nothing when all of it is. Overlong forms,
// surrogates, code points above U+10FFFF and cut-off sequences are not UTF-8.
std::optional<std::size_t> firstInvalidUtf8(std::string_view text);

// How many bytes at the end of `text` begin a sequence that the text cuts
// off (0 to 3): a piece of a stream may end in the middle of a character.
std::size_t cutOffTail(std::string_view text);

}  // namespace recibo::table
