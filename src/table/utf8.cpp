#include "utf8.h"

#include <cstdint>
#include <cstring>

namespace recibo::table {

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
        const unsigned char lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        unsigned char secondMin = 0x80, secondMax = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                secondMin = 0xA0;  // overlong below U+0800
            else if (lead == 0xED)
                secondMax = 0x9F;  // surrogates U+D800 to U+DFFF
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                secondMin = 0x90;  // overlong below U+10000
            else if (lead == 0xF4)
                secondMax = 0x8F;  // above U+10FFFF
        } else {
            return i;  // a continuation byte, an overlong lead, or beyond U+10FFFF
        }
        if (size - i < length)
            return i;
        if (bytes[i + 1] < secondMin || bytes[i + 1] > secondMax)
            return i;
        for (std::size_t k = 2; k < length; ++k)
            if ((bytes[i + k] & 0xC0) != 0x80)
                return i;
        i += length;
    }
    return std::nullopt;
}

std::size_t cutOffTail(std::string_view text)
{
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue;  // a continuation byte: look for its lead
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC2 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;  // no lead in reach: the check of the whole text tells what is wrong
}

}  // namespace recibo::table
