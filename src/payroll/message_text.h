#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace recibo::payroll {

// How many characters of a typed text a message quotes: a message stays one
// short line whatever was pasted into a box or a cell.
inline constexpr std::size_t kQuotedCharacters = 40;

// A text (UTF-8) fit to quote in a one-line message, between « and »: at most
// kQuotedCharacters characters of it, then "…" when it is longer, never cut
// inside a character. Line breaks, other control characters and the marks
// that reorder the text around them (bidirectional overrides, isolates and
// marks) are shown as escapes ("\n", "\u202E"), so that what was typed cannot
// break the message's line or turn the rest of it around; bytes that are not
// UTF-8 are shown as "\xFF".
std::string quotedForMessage(std::string_view text);

// A file's path fit to quote in a one-line message, quoted and escaped the
// same way: whole when short; when longer than kQuotedCharacters, only its
// end after "…", from a folder separator where one falls inside that end,
// so that the file's name is what stays.
std::string quotedPathForMessage(std::string_view path);

}  // namespace recibo::payroll
