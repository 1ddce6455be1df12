#include "pdf_document.h"

#include <charconv>

namespace recibo::pdf {

namespace {

bool readCount(Scanner& scanner, std::size_t& value)
{
    const Object token = scanner.read(false);
    double number = 0;
    if (!token.number(number) || number < 0 || number != double(std::size_t(number)))
        return false;
    value = std::size_t(number);
    return true;
}

// Where the table starts, from the "startxref" near the end of the file.
std::optional<std::size_t> tableOffset(std::string_view file)
{
    const std::size_t tail = file.size() > 1024 ? file.size() - 1024 : 0;
    const std::size_t found = file.rfind("startxref");
    if (found == std::string_view::npos || found < tail)
        return std::nullopt;
    Scanner scanner(file, found + 9);
    std::size_t offset = 0;
    if (!readCount(scanner, offset) || offset >= file.size())
        return std::nullopt;
    return offset;
}

}  // namespace

std::optional<Document> Document::read(std::string_view file)
{
    const auto start = tableOffset(file);
    if (!start)
        return std::nullopt;
    Document document;
    document.file_ = file;
    Scanner scanner(file, *start);
    if (!scanner.keyword("xref"))
        return std::nullopt;
    while (!scanner.keyword("trailer")) {
        std::size_t first = 0, count = 0;
        if (!readCount(scanner, first) || !readCount(scanner, count) || count > file.size() / 18)
            return std::nullopt;
        if (document.offsets_.size() < first + count)
            document.offsets_.resize(first + count, kFree);
        for (std::size_t i = first; i < first + count; ++i) {
            std::size_t offset = 0, generation = 0;
            if (!readCount(scanner, offset) || !readCount(scanner, generation))
                return std::nullopt;
            if (scanner.keyword("n")) {
                // Only objects never replaced: generation 0.
                if (generation != 0 || offset >= file.size())
                    return std::nullopt;
                document.offsets_[i] = offset;
            } else if (!scanner.keyword("f")) {
                return std::nullopt;
            }
        }
    }
    document.trailer_ = scanner.read();
    double size = 0;
    const Object* sizeEntry = document.trailer_.get("/Size");
    if (!sizeEntry || !sizeEntry->number(size) || size != double(document.offsets_.size()))
        return std::nullopt;
    if (document.trailer_.get("/Prev") || document.trailer_.get("/Encrypt") || !document.trailer_.get("/Root"))
        return std::nullopt;
    return document;
}

std::optional<IndirectObject> Document::object(int number) const
{
    if (!inUse(number))
        return std::nullopt;
    const std::size_t start = offsets_[number];
    Scanner scanner(file_, start);
    const Object header = scanner.read(false);
    double written = 0;
    if (!header.number(written) || written != number || !scanner.keyword("0") || !scanner.keyword("obj"))
        return std::nullopt;
    IndirectObject found;
    found.value = scanner.read();
    if (!found.value)
        return std::nullopt;
    if (found.value.kind == Object::Kind::Dictionary && scanner.keyword("stream")) {
        std::size_t at = scanner.at();
        if (file_.substr(at, 2) == "\r\n")
            at += 2;
        else if (file_.substr(at, 1) == "\n")
            at += 1;
        else
            return std::nullopt;
        const Object* lengthEntry = found.value.get("/Length");
        double length = -1;
        if (!lengthEntry || (lengthEntry->kind == Object::Kind::Reference && lengthEntry->reference == number))
            return std::nullopt;
        if (!resolved(*lengthEntry).number(length) || length < 0 || length > double(file_.size() - at)
            || length != double(std::size_t(length)))
            return std::nullopt;
        found.stream = file_.substr(at, std::size_t(length));
        scanner = Scanner(file_, at + std::size_t(length));
        if (!scanner.keyword("endstream"))
            return std::nullopt;
    }
    if (!scanner.keyword("endobj"))
        return std::nullopt;
    found.whole = file_.substr(start, scanner.at() - start);
    return found;
}

// Read without looking for a stream, so that a stream's length never leads
// back to reading a stream: a value followed by "endobj", or nothing.
Object Document::resolved(const Object& value) const
{
    if (value.kind != Object::Kind::Reference)
        return value;
    if (!inUse(value.reference))
        return {};
    Scanner scanner(file_, offsets_[value.reference]);
    const Object header = scanner.read(false);
    double written = 0;
    if (!header.number(written) || written != value.reference || !scanner.keyword("0") || !scanner.keyword("obj"))
        return {};
    Object target = scanner.read();
    if (!scanner.keyword("endobj"))
        return {};
    return target;
}

}  // namespace recibo::pdf
