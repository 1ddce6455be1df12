#pragma once

// The operands and operators of a content stream, read from bytes that
// stay in memory: every value keeps a view of its own bytes, so that what
// is copied is copied exactly. A content stream holds no references, so
// "7 0 R" reads as two numbers and an operator.

#include <cstddef>
#include <string_view>
#include <vector>

namespace recibo::pdf {

struct Object {
    enum class Kind { None, Null, Boolean, Number, Name, String, Array, Dictionary, Keyword };

    Kind kind = Kind::None;
    // The value as written, whole: "/F7", "<0001>", "[0 0 595 842]", "Tj".
    std::string_view text;
    // An array's values; a dictionary's keys and values, alternating.
    std::vector<Object> items;

    explicit operator bool() const { return kind != Kind::None; }
    // A number's value; false when this is no number.
    bool number(double& value) const;
};

// Reads values and operators one after another.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    std::size_t at() const { return at_; }
    void skipSpace();
    // The next value or operator; Kind::None, and nothing consumed, when
    // the bytes are neither.
    Object read();

private:
    Object readValue(int depth);
    std::string_view regularToken();

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace recibo::pdf
