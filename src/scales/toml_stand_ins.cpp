#include "toml_stand_ins.h"

#include <array>

#include "text/utf8.h"

namespace recibo::scales {

namespace {

// The ranges the reader's table misses, each with the first of its
// stand-ins. U+3000, a blank the table knows, keeps its own place unused.
struct Range {
    char32_t first, last, standIn;
};
constexpr std::array<Range, 3> kRanges = {{
    {0x00A1, 0x0499, 0xF0000},
    {0x2C5E, 0x3057, 0xF0400},
    {0xFB26, 0xFEFE, 0xF0800},
}};
constexpr char32_t kFirstStandIn = 0xF0000;
constexpr char32_t kLastStandIn = 0xF0BFF;
constexpr char32_t kIdeographicSpace = 0x3000;

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Each well-formed character of `text` through `swap`, which gives its
// replacement or the character itself; all other bytes as they are.
template <typename Swap>
std::string mapped(std::string_view text, Swap swap)
{
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const text::Decoded character = text::decodeAt(text, at);
        if (!character.valid || character.codePoint < 0x80) {
            out += text[at];
            ++at;
            continue;
        }
        const char32_t replaced = swap(character.codePoint);
        if (replaced == character.codePoint)
            out.append(text, at, character.length);
        else
            appendUtf8(out, replaced);
        at += character.length;
    }
    return out;
}

}  // namespace

std::optional<std::size_t> firstStandIn(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        const text::Decoded character = text::decodeAt(text, at);
        if (character.valid && character.codePoint >= kFirstStandIn && character.codePoint <= kLastStandIn)
            return at;
        at += character.length;
    }
    return std::nullopt;
}

std::string withStandIns(std::string_view text)
{
    return mapped(text, [](char32_t c) -> char32_t {
        for (const Range& range : kRanges)
            if (c >= range.first && c <= range.last && c != kIdeographicSpace)
                return range.standIn + (c - range.first);
        return c;
    });
}

std::string withoutStandIns(std::string_view text)
{
    return mapped(text, [](char32_t c) -> char32_t {
        for (const Range& range : kRanges)
            if (c >= range.standIn && c <= range.standIn + (range.last - range.first))
                return range.first + (c - range.standIn);
        return c;
    });
}

}  // namespace recibo::scales
