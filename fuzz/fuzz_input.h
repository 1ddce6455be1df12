#pragma once

// Reading a fuzzer's bytes as a sequence of small decisions. Every decision
// takes bytes from the front; once the bytes run out every further byte is 0,
// so any input, however short, decodes to complete entry values.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace recibo::fuzz {

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool exhausted() const { return at_ >= size_; }

    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

    // 0 to count - 1.
    unsigned choice(unsigned count) { return byte() % count; }

    std::uint16_t twoBytes()
    {
        const unsigned high = byte();
        return static_cast<std::uint16_t>(high << 8 | byte());
    }

    // Up to `length` bytes as they come, fewer when the input ends.
    std::string bytes(std::size_t length)
    {
        const std::size_t available = at_ < size_ ? size_ - at_ : 0;
        if (length > available)
            length = available;
        std::string text(reinterpret_cast<const char*>(data_ + at_), length);
        at_ += length;
        return text;
    }

    // A text of arbitrary bytes: a length byte then that many bytes; the
    // lengths 250 to 255 build a long text by repeating a short piece.
    std::string rawText()
    {
        const unsigned length = byte();
        if (length < 250)
            return bytes(length);
        const std::size_t total = 64 * (std::size_t{byte()} + 1);  // up to 16 KiB
        const std::string piece = bytes(1 + choice(16));
        std::string text;
        if (piece.empty())
            return text;
        text.reserve(total + piece.size());
        while (text.size() < total)
            text += piece;
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
inline bool isValidUtf8(std::string_view text)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        std::size_t length;
        unsigned char low = 0x80, high = 0xBF;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0;
            if (c == 0xED)
                high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90;
            if (c == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (n - i < length || s[i + 1] < low || s[i + 1] > high)
            return false;
        for (std::size_t k = 2; k < length; ++k)
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

}  // namespace recibo::fuzz

// A broken invariant: say which, then stop the process so the fuzzer keeps
// the input that broke it.
#define FUZZ_CHECK(condition, what)                                                           \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            std::fprintf(stderr, "broken invariant: %s (%s:%d)\n", what, __FILE__, __LINE__); \
            __builtin_trap();                                                                 \
        }                                                                                     \
    } while (false)
