#include "pdf_module.h"

#include "pdf_compaction.h"

extern "C" __attribute__((visibility("default"))) int recibo_compact_pdf(const char* file, std::size_t size,
                                                                         ReciboPdfPieceWriter write, void* context)
{
    // Nothing may leave a C function: an exception is a piece not written.
    try {
        return static_cast<int>(recibo::pdf::compactPdf(
            std::string_view(file, size),
            [write, context](std::string_view piece) { return write(context, piece.data(), piece.size()); }));
    } catch (...) {
        return static_cast<int>(recibo::pdf::Compaction::WriteFailed);
    }
}
