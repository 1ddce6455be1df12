#pragma once

// What the compaction needs to know of a book before it writes a byte: its
// pages with their contents and media boxes, one resource dictionary that
// serves them all, and the fonts' glyph widths.

#include <optional>
#include <vector>

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include "glyph_runs.h"
#include "shared_blocks.h"

namespace recibo::pdf {

struct BookPage {
    QPDFObjectHandle page;
    QPDFObjectHandle contents;  // one stream, deflated or not filtered at all
    bool deflated = false;
    Box media;
};

struct Book {
    std::vector<BookPage> pages;
    // Every page's resources joined; a direct dictionary.
    QPDFObjectHandle resources;
    FontWidths fonts;
};

// Nothing when the book is not as this expects: pages without their own
// resources or media box, contents in several streams or with other
// filters, resources that contradict one another.
std::optional<Book> readBook(QPDF& pdf);

}  // namespace recibo::pdf
