#pragma once

// One file Qt wrote, read for the book its pages go into: its pages, and
// the resources they all will use, with the forms chosen from its first
// pages among them. Each file has its own fonts (Qt subsets them for the
// pages it drew), so its resources and forms serve its own pages only.

#include <memory>
#include <optional>

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
};

// Nothing when the file is not a book this knows well enough (encrypted,
// one qpdf would have to repair, pages not as readBook expects).
std::optional<BookPart> readPart(std::unique_ptr<QPDF> pdf);

}  // namespace recibo::pdf
