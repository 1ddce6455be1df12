#include "pdf_compaction_module.h"

#include <mutex>

#include <QLibrary>

#include "loaded_module.h"
#include "pdf/pdf_compaction.h"
#include "pdf/pdf_module.h"

namespace recibo::receipt {

namespace {

static_assert(int(CompactionResult::Written) == int(pdf::Compaction::Written)
              && int(CompactionResult::Unchanged) == int(pdf::Compaction::Unchanged)
              && int(CompactionResult::WriteFailed) == int(pdf::Compaction::WriteFailed));

ReciboJoinPdfParts loadJoining()
{
    // Kept loaded for the rest of the run.
    static QLibrary module(loadedModulePath(RECIBO_PDF_MODULE_FROM_BINDIR, RECIBO_PDF_MODULE_BUILT));
    return reinterpret_cast<ReciboJoinPdfParts>(module.resolve(pdf::kJoinPartsSymbol));
}

struct Callbacks {
    const std::function<bool(std::string_view)>& write;
    const std::function<void(std::size_t)>& read;
};

bool writePiece(void* context, const char* piece, std::size_t size)
{
    return static_cast<const Callbacks*>(context)->write(std::string_view(piece, size));
}

void partRead(void* context, std::size_t part)
{
    if (const auto& read = static_cast<const Callbacks*>(context)->read)
        read(part);
}

}  // namespace

CompactionResult joinBook(const std::vector<std::string_view>& parts, const std::vector<PagePlace>& order,
                          const std::function<bool(std::string_view)>& write,
                          const std::function<void(std::size_t)>& read)
{
    static std::once_flag loaded;
    static ReciboJoinPdfParts join = nullptr;
    std::call_once(loaded, [] { join = loadJoining(); });
    if (!join)
        return CompactionResult::Unchanged;
    std::vector<const char*> files;
    std::vector<std::size_t> sizes;
    for (const std::string_view part : parts) {
        files.push_back(part.data());
        sizes.push_back(part.size());
    }
    std::vector<std::size_t> pages;
    for (const PagePlace& place : order) {
        pages.push_back(place.part);
        pages.push_back(place.page);
        pages.push_back(place.under.value_or(pdf::kNoPageUnder));
    }
    // The module's values are pdf::Compaction's, in the same order.
    Callbacks callbacks{write, read};
    return static_cast<CompactionResult>(
        join(files.data(), sizes.data(), files.size(), pages.data(), order.size(), writePiece, partRead, &callbacks));
}

}  // namespace recibo::receipt
