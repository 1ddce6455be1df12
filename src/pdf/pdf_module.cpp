#include "pdf_module.h"

#include "pdf_compaction.h"

extern "C" __attribute__((visibility("default"))) int recibo_join_pdf_parts(
    const char* const* parts, const std::size_t* sizes, std::size_t partCount, const std::size_t* order,
    std::size_t pageCount, ReciboPdfPieceWriter write, ReciboPdfPartRead read, void* context)
{
    // Nothing may leave a C function: an exception is a piece not written.
    try {
        std::vector<std::string_view> files;
        for (std::size_t i = 0; i < partCount; ++i)
            files.emplace_back(parts[i], sizes[i]);
        std::vector<recibo::pdf::PartPage> pages;
        for (std::size_t i = 0; i < pageCount; ++i) {
            const std::size_t under = order[3 * i + 2];
            pages.push_back({order[3 * i], order[3 * i + 1],
                             under == recibo::pdf::kNoPageUnder ? std::nullopt : std::optional(under)});
        }
        return static_cast<int>(recibo::pdf::joinParts(
            files, pages,
            [write, context](std::string_view piece) { return write(context, piece.data(), piece.size()); },
            [read, context](std::size_t part) {
                if (read)
                    read(context, part);
            }));
    } catch (...) {
        return static_cast<int>(recibo::pdf::Compaction::WriteFailed);
    }
}
