#include "utf8.h"

#include <cstdint>
#include <cstring>

namespace recibo::text {

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

}  // namespace

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
        return {0, 1, false};  // a continuation byte, an overlong lead, or beyond U+10FFFF
    }
    if (at + length > text.size())
        return {0, 1, false};
    for (std::size_t i = 1; i < length; ++i) {
        if (!isContinuation(byte(i)))
            return {0, 1, false};
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    if (codePoint < smallest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return {0, 1, false};
    return {codePoint, length, true};
}

std::optional<std::size_t> firstInvalidUtf8(std::string_view text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        // Most of a table is ASCII: skip it sixteen, then eight bytes at a time.
        if (i + 16 <= size) {
            std::uint64_t chunk[2];
            std::memcpy(chunk, bytes + i, sizeof chunk);
            if (((chunk[0] | chunk[1]) & 0x8080808080808080ULL) == 0) {
                i += 16;
                continue;
            }
        }
        if (i + 8 <= size) {
            std::uint64_t chunk;
            std::memcpy(&chunk, bytes + i, sizeof chunk);
            if ((chunk & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const Decoded character = decodeAt(text, i);
        if (!character.valid)
            return i;
        i += character.length;
    }
    return std::nullopt;
}

std::size_t cutOffTail(std::string_view text)
{
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if (isContinuation(byte))
            continue;  // look for its lead
        return sequenceLength(byte) > back ? back : 0;
    }
    return 0;  // no lead in reach: the check of the whole text tells what is wrong
}

std::size_t characterCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        count += !isContinuation(static_cast<unsigned char>(c));
    return count;
}

std::size_t characterOffset(std::string_view text, std::size_t index)
{
    std::size_t offset = 0;
    for (std::size_t c = 0; c < index && offset < text.size(); ++c) {
        ++offset;
        while (offset < text.size() && isContinuation(static_cast<unsigned char>(text[offset])))
            ++offset;
    }
    return offset;
}

}  // namespace recibo::text
