// The PDF book's compaction on arbitrary files. It reads the file Qt wrote
// for a book, which a full disk, another version of Qt or a damaged
// temporary file can make anything at all. Whatever the bytes:
//   - it ends, without a crash or a sanitizer report;
//   - with a writer that takes every piece it never says the writing failed;
//   - "Unchanged" writes nothing, so that the caller can copy the file;
//   - a file it wrote is a PDF that it reads again as a book it knows,
//     without a warning from qpdf: compacting it again writes it;
//   - the same file gives the same bytes;
//   - joined with its first page beneath the second (as a book's part is),
//     the same holds, but for reading the book again: its pages draw two
//     streams, which no part Qt writes has.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

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

pdf::Compaction joinedOver(std::string_view file, std::string& written)
{
    written.clear();
    return pdf::joinParts({file}, {{0, 1, 0}}, [&written](std::string_view piece) {
        written.append(piece);
        return true;
    });
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
    std::string same;
    fuzz::require(fuzz::compact(file, same) == pdf::Compaction::Written && same == written,
                  "the same file gave other bytes");
    std::string again;
    fuzz::require(fuzz::compact(written, again) == pdf::Compaction::Written, "the file written is not read again");

    std::string joined;
    const pdf::Compaction over = fuzz::joinedOver(file, joined);
    fuzz::require(over != pdf::Compaction::WriteFailed, "a writer that takes everything failed to join");
    fuzz::require(over == pdf::Compaction::Written ? joined.starts_with("%PDF-") : joined.empty(),
                  "a page over another gave no PDF, or \"Unchanged\" wrote something");
    std::string joinedAgain;
    fuzz::require(fuzz::joinedOver(file, joinedAgain) == over && joinedAgain == joined,
                  "the same page over another gave other bytes");
    return 0;
}
