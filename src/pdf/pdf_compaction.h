#pragma once

// A PDF of many pages as Qt's QPdfWriter writes it, or several such files
// drawn at once by as many threads, written again as one book, smaller
// and the same to the eye and to text search: runs of glyphs as one TJ,
// the blocks pages share as forms written once, one resource dictionary
// for every page, contents deflated at the highest level, the small
// objects together in object streams. libqpdf reads and writes the files;
// the fonts' data is copied byte for byte.

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace recibo::pdf {

enum class Compaction {
    Written,      // the smaller file went to the writer
    Unchanged,    // the file is not one this knows well enough: nothing was written
    WriteFailed,  // the writer refused a piece
};

// Gets the output in pieces, in order; false stops the writing.
using PieceWriter = std::function<bool(std::string_view piece)>;
// Told that a part has been read and its pages made: its bytes are not
// read again (what the book copies of it as it is, its fonts and the pages
// beneath others, waits with the new contents in a temporary file). Its
// caller may let its memory go.
using PartRead = std::function<void(std::size_t part)>;

// Reads `file` whole before writing anything, so that a file it does not
// recognise, or one qpdf would have to repair, is told apart before the
// first piece. A page whose content it cannot read is copied as it was.
// The same file gives the same bytes.
Compaction compactPdf(std::string_view file, const PieceWriter& write);

// A page of a book drawn in several files: the file, and the page in it,
// both from 0. `under`: a page of the same file drawn beneath it, what
// pages of the file have in common drawn once; itself no page of the book.
struct PartPage {
    std::size_t part = 0;
    std::size_t page = 0;
    std::optional<std::size_t> under = std::nullopt;
};

// The pages `order` names, in that order, from the files `parts`, as one
// book written as compactPdf writes it; each file's pages keep their own
// resources and forms, as their fonts are that file's own subsets. A page
// beneath others is written once, as a form they draw first. Only the
// files `order` names are read, one at a time, in the order of `parts`.
// "Unchanged" when one of them is not a file this knows or `order` names a
// page it does not have.
Compaction joinParts(const std::vector<std::string_view>& parts, const std::vector<PartPage>& order,
                     const PieceWriter& write, const PartRead& read = {});

}  // namespace recibo::pdf
