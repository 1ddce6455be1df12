// The PDF book's compaction on arbitrary files. It reads the file Qt wrote
// for a book, which a full disk, another version of Qt or a damaged
// temporary file can make anything at all. Whatever the bytes:
//   - it ends, without a crash or a sanitizer report;
//   - with a writer that takes every piece it never says the writing failed;
//   - "Unchanged" writes nothing, so that the caller can copy the file;
//   - a file it wrote is a PDF: it starts as one and ends with its
//     cross-reference table, whose offsets point at the objects they name;
//     and compacting it again does not fail either.

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "pdf/pdf_compaction.h"

namespace recibo::fuzz {
namespace {

void require(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "pdf_compaction_fuzzer: %s\n", what);
        std::abort();
    }
}

pdf::Compaction compact(std::string_view file, std::string& written)
{
    written.clear();
    return pdf::compactPdf(file, [&written](std::string_view piece) {
        written.append(piece);
        return true;
    });
}

// Every object in use in the table is where the table says: "N 0 obj".
void checkTable(const std::string& file)
{
    const std::size_t start = file.rfind("startxref");
    require(start != std::string::npos, "no startxref");
    std::size_t table = 0;
    const char* digits = file.data() + file.find_first_of("0123456789", start);
    std::from_chars(digits, file.data() + file.size(), table);
    require(file.compare(table, 4, "xref") == 0, "startxref does not point at the table");
    std::size_t line = file.find('\n', file.find('\n', table) + 1) + 1;  // past "xref" and "0 N"
    for (std::size_t number = 0; line + 20 <= start && file[line] != 't'; ++number, line += 20) {
        if (file[line + 17] != 'n')
            continue;
        std::size_t offset = 0;
        std::from_chars(file.data() + line, file.data() + line + 10, offset);
        const std::string name = std::to_string(number) + " 0 obj";
        require(file.compare(offset, name.size(), name) == 0, "an offset does not point at its object");
    }
}

}  // namespace
}  // namespace recibo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace recibo;
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    std::string written;
    const pdf::Compaction result = fuzz::compact(file, written);
    fuzz::require(result != pdf::Compaction::WriteFailed, "a writer that takes everything failed");
    if (result == pdf::Compaction::Unchanged) {
        fuzz::require(written.empty(), "\"Unchanged\" wrote something");
        return 0;
    }
    fuzz::require(written.starts_with("%PDF-"), "the file written is no PDF");
    fuzz::checkTable(written);
    std::string again;
    fuzz::require(fuzz::compact(written, again) != pdf::Compaction::WriteFailed, "compacting again failed");
    return 0;
}
