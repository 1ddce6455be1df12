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

// compactPdf() (pdf_compaction.h): the Compaction's value as an int.
using ReciboCompactPdf = int (*)(const char* file, std::size_t size, ReciboPdfPieceWriter write, void* context);
}

namespace recibo::pdf {
inline constexpr const char* kCompactPdfSymbol = "recibo_compact_pdf";
}
