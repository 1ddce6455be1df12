#include "message_text.h"

#include <cstdint>
#include <vector>

#include "text/utf8.h"

namespace recibo::payroll {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// Characters that break a line or reorder the text displayed after them.
bool shownEscaped(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F)  // C0 and C1 controls, DEL
        || c == 0x061C                           // Arabic letter mark
        || c == 0x200E || c == 0x200F            // left-to-right and right-to-left marks
        || c == 0x2028 || c == 0x2029            // line and paragraph separators
        || (c >= 0x202A && c <= 0x202E)          // embeddings and overrides
        || (c >= 0x2066 && c <= 0x2069);         // isolates
}

void appendEscape(std::string& out, char32_t c)
{
    switch (c) {
    case '\n': out += "\\n"; return;
    case '\r': out += "\\r"; return;
    case '\t': out += "\\t"; return;
    default: break;
    }
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += kHex[(c >> shift) & 0xF];
}

}  // namespace

std::string quotedForMessage(std::string_view text)
{
    std::string out = "«";
    std::size_t at = 0;
    for (std::size_t shown = 0; at < text.size() && shown < kQuotedCharacters; ++shown) {
        const text::Decoded d = text::decodeAt(text, at);
        if (!d.valid) {
            const auto b = static_cast<unsigned char>(text[at]);
            out += "\\x";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        } else if (shownEscaped(d.codePoint)) {
            appendEscape(out, d.codePoint);
        } else {
            out.append(text.substr(at, d.length));
        }
        at += d.length;
    }
    if (at < text.size())
        out += "…";
    out += "»";
    return out;
}

std::string quotedPathForMessage(std::string_view path)
{
    std::vector<std::size_t> starts;  // where each character begins
    for (std::size_t at = 0; at < path.size(); at += text::decodeAt(path, at).length)
        starts.push_back(at);
    if (starts.size() <= kQuotedCharacters)
        return quotedForMessage(path);
    std::string_view end = path.substr(starts[starts.size() - (kQuotedCharacters - 1)]);
    if (const std::size_t separator = end.find_first_of("/\\");
        separator != std::string_view::npos && separator + 1 < end.size())
        end.remove_prefix(separator);
    std::string quoted = quotedForMessage(end);
    return quoted.insert(std::string_view("«").size(), "…");
}

}  // namespace recibo::payroll
