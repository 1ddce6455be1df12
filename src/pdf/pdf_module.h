#pragma once

// The compaction as a module loaded when a book is first written (see
// page/pdf_compaction_module.h): libqpdf and the libraries it needs (GnuTLS,
// libjpeg and theirs) are then not loaded by every start of the programs,
// most of which never write a book. A C function, so that nothing of the
// C++ library crosses between the program and the module.

#include <cstddef>

extern "C" {

// Writes a piece of the output; false stops the writing.
using ReciboPdfPieceWriter = bool (*)(void* context, const char* piece, std::size_t size);
// Told that a part has been read (PartRead in pdf_compaction.h).
using ReciboPdfPartRead = void (*)(void* context, std::size_t part);

// joinParts() (pdf_compaction.h): the `partCount` files `parts` of `sizes`
// bytes, and `pageCount` pages in `order`, each as three numbers (its part,
// its page there, the page drawn beneath it there or kNoPageUnder); the
// Compaction's value as an int. Both callbacks get `context`.
using ReciboJoinPdfParts = int (*)(const char* const* parts, const std::size_t* sizes, std::size_t partCount,
                                   const std::size_t* order, std::size_t pageCount, ReciboPdfPieceWriter write,
                                   ReciboPdfPartRead read, void* context);
}

namespace recibo::pdf {
inline constexpr const char* kJoinPartsSymbol = "recibo_join_pdf_parts";
inline constexpr std::size_t kNoPageUnder = static_cast<std::size_t>(-1);
}  // namespace recibo::pdf
