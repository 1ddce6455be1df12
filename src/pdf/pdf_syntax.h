#pragma once

// PDF's object syntax, read from bytes that stay in memory: every value
// keeps a view of its own bytes, so that what is copied is copied exactly.

#include <cstddef>
#include <string_view>
#include <vector>

namespace recibo::pdf {

struct Object {
    enum class Kind { None, Null, Boolean, Number, Name, String, Array, Dictionary, Reference, Keyword };

    Kind kind = Kind::None;
    // The value as written, whole: "/Font", "<0001>", "[0 0 595 842]", "7 0 R".
    std::string_view text;
    // An array's values; a dictionary's keys and values, alternating.
    std::vector<Object> items;
    // The object number of a reference.
    int reference = 0;

    explicit operator bool() const { return kind != Kind::None; }
    bool isName(std::string_view name) const { return kind == Kind::Name && text == name; }
    // A dictionary's value for `key` (with its slash, "/Type"); null when absent.
    const Object* get(std::string_view key) const;
    // A number's value; false when this is no number.
    bool number(double& value) const;
};

// Reads values and keywords one after another.
class Scanner {
public:
    explicit Scanner(std::string_view text, std::size_t at = 0) : text_(text), at_(at) {}

    std::size_t at() const { return at_; }
    void skipSpace();
    // The next value, references ("7 0 R") among them when `references`;
    // Kind::None, and nothing consumed, when the bytes are no value.
    Object read(bool references = true);
    // Consumes `word` when it comes next, as a whole token.
    bool keyword(std::string_view word);

private:
    Object readValue(bool references, int depth);
    std::string_view regularToken();

    std::string_view text_;
    std::size_t at_;
};

bool isPdfSpace(char c);
bool isPdfDelimiter(char c);

}  // namespace recibo::pdf
