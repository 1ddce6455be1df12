#include "pdf_compaction_module.h"

#include <mutex>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include "pdf/pdf_compaction.h"
#include "pdf/pdf_module.h"

namespace recibo::receipt {

namespace {

// Beside the program as installed (or unpacked anywhere), else this build's.
QString modulePath()
{
    const QString installed = QDir(QCoreApplication::applicationDirPath()).filePath(RECIBO_PDF_MODULE_FROM_BINDIR);
    return QFileInfo::exists(installed) ? installed : QStringLiteral(RECIBO_PDF_MODULE_BUILT);
}

static_assert(int(CompactionResult::Written) == int(pdf::Compaction::Written)
              && int(CompactionResult::Unchanged) == int(pdf::Compaction::Unchanged)
              && int(CompactionResult::WriteFailed) == int(pdf::Compaction::WriteFailed));

ReciboCompactPdf loadCompaction()
{
    // Kept loaded for the rest of the run.
    static QLibrary module(modulePath());
    return reinterpret_cast<ReciboCompactPdf>(module.resolve(pdf::kCompactPdfSymbol));
}

bool writePiece(void* context, const char* piece, std::size_t size)
{
    return (*static_cast<const std::function<bool(std::string_view)>*>(context))(std::string_view(piece, size));
}

}  // namespace

CompactionResult compactBook(std::string_view file, const std::function<bool(std::string_view)>& write)
{
    static std::once_flag loaded;
    static ReciboCompactPdf compact = nullptr;
    std::call_once(loaded, [] { compact = loadCompaction(); });
    if (!compact)
        return CompactionResult::Unchanged;
    // The module's values are pdf::Compaction's, in the same order.
    return static_cast<CompactionResult>(
        compact(file.data(), file.size(), writePiece, const_cast<std::function<bool(std::string_view)>*>(&write)));
}

}  // namespace recibo::receipt
