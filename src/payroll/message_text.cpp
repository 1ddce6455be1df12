#include "message_text.h"

#include <cstdint>

namespace recibo::payroll {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

// One character of a UTF-8 text: its code point and its length in bytes; a
// byte that does not start a valid sequence is one "character" of its own,
// with no code point.
struct Decoded {
    char32_t codePoint;
    std::size_t length;
    bool valid;
};

Decoded decodeAt(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {lead, 1, true};
    std::size_t length;
    char32_t codePoint;
    char32_t smallest;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, codePoint = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, codePoint = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, codePoint = lead & 0x07, smallest = 0x10000;
    } else {
        return {0, 1, false};
    }
    if (at + length > text.size())
        return {0, 1, false};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return {0, 1, false};
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return {0, 1, false};
    return {codePoint, length, true};
}

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
        const Decoded d = decodeAt(text, at);
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

}  // namespace recibo::payroll
