#pragma once

// A PDF of many pages as Qt's QPdfWriter writes it, written again smaller
// and the same to the eye and to text search: runs of glyphs as one TJ,
// the blocks pages share as forms written once, one resource dictionary
// for every page, contents deflated at the highest level, the small
// objects together in object streams. libqpdf reads and writes the file;
// the fonts' data is copied byte for byte.

#include <functional>
#include <string_view>

namespace recibo::pdf {

enum class Compaction {
    Written,      // the smaller file went to the writer
    Unchanged,    // the file is not one this knows well enough: nothing was written
    WriteFailed,  // the writer refused a piece
};

// Gets the output in pieces, in order; false stops the writing.
using PieceWriter = std::function<bool(std::string_view piece)>;

// Reads `file` whole before writing anything, so that a file it does not
// recognise, or one qpdf would have to repair, is told apart before the
// first piece. A page whose content it cannot read is copied as it was.
// The same file gives the same bytes.
Compaction compactPdf(std::string_view file, const PieceWriter& write);

}  // namespace recibo::pdf
