#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace recibo::scales {

// toml++ 3.3.0 (Debian 12's) decides whether a character is a blank with a
// generated table that misses three ranges, U+00A1–U+0499, U+2C5E–U+3057
// (but U+3000) and U+FB26–U+FEFE: for those it reaches
// __builtin_unreachable, which is undefined behaviour in a native build and
// a trap in WebAssembly. "á", "ñ", "¿" and "º" are in the first range, and
// the reader asks whether a character is a blank between keys and values,
// after a line-ending backslash in a multi-line text, and while it records
// a value. (toml++ mended the table after 3.3.0; none of those characters
// is a blank.)
//
// So the reader never sees them: each is replaced by its stand-in, one of
// the private-use characters U+F0000–U+F0BFF, which the table answers for,
// and every text taken from the document gets its characters back. One
// character stands for one, so the lines and columns the reader reports are
// the file's own.

// Where a text holds a stand-in of its own, which could not be told from
// one put in (a byte offset): a scale file is refused for it.
std::optional<std::size_t> firstStandIn(std::string_view text);

// The text with each of those characters replaced by its stand-in. Bytes
// that are not UTF-8 are left as they are, for the reader to refuse.
std::string withStandIns(std::string_view text);

// A text taken from the document, with its own characters back.
std::string withoutStandIns(std::string_view text);

}  // namespace recibo::scales
