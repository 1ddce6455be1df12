#include "content_syntax.h"

#include <array>
#include <charconv>

namespace recibo::pdf {

namespace {

// Deeper nesting than any real file has is taken for a damaged one, not
// followed down to the end of the stack.
constexpr int kDeepest = 32;

bool isNumberText(std::string_view token)
{
    std::size_t i = (!token.empty() && (token[0] == '+' || token[0] == '-')) ? 1 : 0;
    bool digits = false, point = false;
    for (; i < token.size(); ++i) {
        if (token[i] >= '0' && token[i] <= '9')
            digits = true;
        else if (token[i] == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// What each byte is to the syntax, looked up in one step: a book's content
// streams are read a byte at a time, and are tens of megabytes.
enum ByteClass : unsigned char { kRegular = 0, kSpace = 1, kDelimiter = 2 };

constexpr std::array<unsigned char, 256> kByteClasses = [] {
    std::array<unsigned char, 256> classes{};
    for (const unsigned char c : std::string_view(" \n\r\t\f\0", 6))
        classes[c] = kSpace;
    for (const unsigned char c : std::string_view("()<>[]{}/%"))
        classes[c] = kDelimiter;
    return classes;
}();

unsigned char byteClass(char c)
{
    return kByteClasses[static_cast<unsigned char>(c)];
}

bool isPdfSpace(char c)
{
    return byteClass(c) == kSpace;
}

bool isPdfDelimiter(char c)
{
    return byteClass(c) == kDelimiter;
}

}  // namespace

bool Object::number(double& value) const
{
    if (kind != Kind::Number)
        return false;
    std::string_view digits = text;
    if (!digits.empty() && digits[0] == '+')
        digits.remove_prefix(1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return error == std::errc() && end == digits.data() + digits.size();
}

void Scanner::skipSpace()
{
    while (at_ < text_.size()) {
        if (isPdfSpace(text_[at_])) {
            ++at_;
        } else if (text_[at_] == '%') {
            while (at_ < text_.size() && text_[at_] != '\n' && text_[at_] != '\r')
                ++at_;
        } else {
            return;
        }
    }
}

std::string_view Scanner::regularToken()
{
    const std::size_t start = at_;
    while (at_ < text_.size() && byteClass(text_[at_]) == kRegular)
        ++at_;
    return text_.substr(start, at_ - start);
}

Object Scanner::read()
{
    const std::size_t start = at_;
    Object value = readValue(0);
    if (!value)
        at_ = start;
    return value;
}

Object Scanner::readValue(int depth)
{
    Object value;
    if (depth > kDeepest)
        return value;
    skipSpace();
    if (at_ >= text_.size())
        return value;
    const std::size_t start = at_;
    const char c = text_[at_];
    if (c == '/') {
        ++at_;
        regularToken();
        value.kind = Object::Kind::Name;
    } else if (c == '(') {
        int open = 0;
        for (; at_ < text_.size(); ++at_) {
            if (text_[at_] == '\\')
                ++at_;
            else if (text_[at_] == '(')
                ++open;
            else if (text_[at_] == ')' && --open == 0)
                break;
        }
        if (at_ >= text_.size())
            return value;
        ++at_;
        value.kind = Object::Kind::String;
    } else if (c == '<' && at_ + 1 < text_.size() && text_[at_ + 1] == '<') {
        at_ += 2;
        for (;;) {
            skipSpace();
            if (text_.substr(at_, 2) == ">>")
                break;
            Object key = readValue(depth + 1);
            if (key.kind != Object::Kind::Name)
                return {};
            Object item = readValue(depth + 1);
            if (!item)
                return {};
            value.items.push_back(std::move(key));
            value.items.push_back(std::move(item));
        }
        at_ += 2;
        value.kind = Object::Kind::Dictionary;
    } else if (c == '<') {
        for (++at_; at_ < text_.size() && text_[at_] != '>'; ++at_)
            if (!isHexDigit(text_[at_]) && !isPdfSpace(text_[at_]))
                return {};
        if (at_ >= text_.size())
            return {};
        ++at_;
        value.kind = Object::Kind::String;
    } else if (c == '[') {
        ++at_;
        for (;;) {
            skipSpace();
            if (at_ < text_.size() && text_[at_] == ']')
                break;
            Object item = readValue(depth + 1);
            if (!item)
                return {};
            value.items.push_back(std::move(item));
        }
        ++at_;
        value.kind = Object::Kind::Array;
    } else if (isPdfDelimiter(c)) {
        return value;
    } else {
        const std::string_view token = regularToken();
        if (isNumberText(token)) {
            value.kind = Object::Kind::Number;
        } else if (token == "true" || token == "false") {
            value.kind = Object::Kind::Boolean;
        } else if (token == "null") {
            value.kind = Object::Kind::Null;
        } else {
            value.kind = Object::Kind::Keyword;
        }
    }
    value.text = text_.substr(start, at_ - start);
    return value;
}

}  // namespace recibo::pdf
