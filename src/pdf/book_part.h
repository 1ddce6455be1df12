#pragma once

// One file Qt wrote, read for the book its pages go into: its pages, and
// the resources they all will use, with the forms chosen from its first
// pages among them. Each file has its own fonts (Qt subsets them for the
// pages it drew), so its resources and forms serve its own pages only.

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include "book_reader.h"
#include "shared_blocks.h"

namespace recibo::pdf {

struct BookPart {
    std::unique_ptr<QPDF> pdf;  // holds everything below
    Book book;
    SharedBlocks blocks;
    QPDFObjectHandle resources;  // an indirect object of `pdf`
    // By page drawn beneath others: the operations that draw it, as a form
    // of `resources`.
    std::map<std::size_t, std::string> drawUnder;
};

// Nothing when the file is not a book this knows well enough (encrypted,
// one qpdf would have to repair, pages not as readBook expects), or lacks
// one of the pages `under`: pages drawn beneath others, made forms and left
// out of the sample the other forms are chosen from.
std::optional<BookPart> readPart(std::unique_ptr<QPDF> pdf, const std::set<std::size_t>& under = {});

}  // namespace recibo::pdf
