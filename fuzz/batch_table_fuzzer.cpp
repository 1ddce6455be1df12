// recibo-lote on arbitrary tables.
//
// The first byte picks the regional settings (even: "C", odd: "es_AR"); the
// rest is the table, read from standard input. Whatever the table holds:
//   - the exit status is 0, 1 or 2;
//   - on 2, one line on standard error and nothing at all on standard output;
//   - on 0 or 1, nothing on standard error, and standard output is one JSON
//     object per line, UTF-8, numbered "fila" 1, 2, 3... in order, each either
//     a receipt ("lineas") or a failure ("error"), and the status is 1
//     exactly when some row carries "error".

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/batch.h"
#include "fuzz_input.h"

namespace recibo::fuzz {
namespace {

// A small JSON reader that only says whether the text is one JSON value.
class JsonShape {
public:
    explicit JsonShape(std::string_view text) : text_(text) {}

    bool isObject()
    {
        skipBlanks();
        if (peek() != '{' || !value(0))
            return false;
        skipBlanks();
        return at_ == text_.size();
    }

private:
    static constexpr int kDeepest = 16;

    char peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }
    void skipBlanks()
    {
        while (at_ < text_.size()
               && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }
    bool literal(std::string_view word)
    {
        if (text_.substr(at_, word.size()) != word)
            return false;
        at_ += word.size();
        return true;
    }

    bool value(int depth)
    {
        if (depth > kDeepest)
            return false;
        skipBlanks();
        switch (peek()) {
        case '{': return object(depth);
        case '[': return array(depth);
        case '"': return string();
        case 't': return literal("true");
        case 'f': return literal("false");
        case 'n': return literal("null");
        default: return number();
        }
    }

    bool object(int depth)
    {
        ++at_;
        skipBlanks();
        if (peek() == '}') {
            ++at_;
            return true;
        }
        while (true) {
            skipBlanks();
            if (peek() != '"' || !string())
                return false;
            skipBlanks();
            if (peek() != ':')
                return false;
            ++at_;
            if (!value(depth + 1))
                return false;
            skipBlanks();
            if (peek() == '}') {
                ++at_;
                return true;
            }
            if (peek() != ',')
                return false;
            ++at_;
        }
    }

    bool array(int depth)
    {
        ++at_;
        skipBlanks();
        if (peek() == ']') {
            ++at_;
            return true;
        }
        while (true) {
            if (!value(depth + 1))
                return false;
            skipBlanks();
            if (peek() == ']') {
                ++at_;
                return true;
            }
            if (peek() != ',')
                return false;
            ++at_;
        }
    }

    bool string()
    {
        ++at_;
        while (at_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[at_++]);
            if (c == '"')
                return true;
            if (c < 0x20)
                return false;
            if (c == '\\') {
                const char e = peek();
                ++at_;
                if (e == 'u') {
                    for (int i = 0; i < 4; ++i, ++at_) {
                        const char h = peek();
                        if (!((h >= '0' && h <= '9') || (h >= 'a' && h <= 'f') || (h >= 'A' && h <= 'F')))
                            return false;
                    }
                } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos || e == '\0') {
                    return false;
                }
            }
        }
        return false;
    }

    bool number()
    {
        const std::size_t start = at_;
        if (peek() == '-')
            ++at_;
        std::size_t digits = 0;
        while (peek() >= '0' && peek() <= '9') {
            ++at_;
            ++digits;
        }
        return digits > 0 && at_ > start;
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace
}  // namespace recibo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace recibo::fuzz;
    if (size == 0)
        return 0;
    const std::vector<std::string> args = {"--locale", (data[0] & 1) != 0 ? "es_AR" : "C", "-"};
    std::istringstream in(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    std::ostringstream out;
    std::ostringstream err;

    const int status = recibo::batch::runBatch(args, in, out, err);
    const std::string output = out.str();
    const std::string errors = err.str();

    FUZZ_CHECK(status == 0 || status == 1 || status == 2, "an exit status other than 0, 1 or 2");
    if (status == 2) {
        FUZZ_CHECK(output.empty(), "an unusable table wrote to standard output");
        FUZZ_CHECK(!errors.empty() && errors.find('\n') == errors.size() - 1,
                   "an unusable table is not reported in one line");
        return 0;
    }
    FUZZ_CHECK(errors.empty(), "a usable table wrote to standard error");
    FUZZ_CHECK(output.empty() || output.back() == '\n', "the last output line is not ended");
    FUZZ_CHECK(isValidUtf8(output), "the output is not UTF-8");

    std::size_t fila = 0;
    bool someError = false;
    for (std::size_t begin = 0; begin < output.size();) {
        const std::size_t end = output.find('\n', begin);
        const std::string_view line = std::string_view(output).substr(begin, end - begin);
        begin = end + 1;
        ++fila;
        FUZZ_CHECK(line.starts_with("{\"fila\":" + std::to_string(fila) + ","), "rows out of order or lost");
        FUZZ_CHECK(JsonShape(line).isObject(), "an output line is not a JSON object");
        // Inside a JSON string every quote is escaped, so these are keys.
        const bool failed = line.find("\"error\":") != std::string_view::npos;
        const bool computed = line.find("\"lineas\":") != std::string_view::npos;
        FUZZ_CHECK(failed != computed, "a row is neither a receipt nor a failure, or both");
        someError |= failed;
    }
    FUZZ_CHECK((status == 1) == someError, "the exit status does not tell whether a row failed");
    return 0;
}
