#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace recibo::text {

// One character of a UTF-8 text: its code point and its length in bytes. A
// byte that does not start a well-formed sequence is one "character" of its
// own, with no code point: overlong forms, surrogates, code points above
// U+10FFFF and cut-off sequences are not UTF-8.
struct Decoded {
    char32_t codePoint;
    std::size_t length;
    bool valid;
};
Decoded decodeAt(std::string_view text, std::size_t at);

// Where the text stops being well-formed UTF-8 (the offset of the first byte
// of the offending sequence), or nothing when all of it is.
std::optional<std::size_t> firstInvalidUtf8(std::string_view text);

// How many bytes at the end of `text` begin a sequence that the text cuts
// off (0 to 3): a piece of a stream may end in the middle of a character.
std::size_t cutOffTail(std::string_view text);

// How long the sequence that `lead` begins claims to be (1 to 4).
constexpr std::size_t sequenceLength(unsigned char lead)
{
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 1;
}

// How many characters a well-formed text holds.
std::size_t characterCount(std::string_view text);

// Where character `index` (from 0) begins, or the text's size when it holds
// fewer characters.
std::size_t characterOffset(std::string_view text, std::size_t index);

}  // namespace recibo::text
