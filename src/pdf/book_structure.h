#pragma once

// What the compaction needs to know of a file before it writes a byte: its
// pages with their contents and media boxes, one resource dictionary that
// serves them all, the fonts' glyph widths, and the objects no longer
// needed once every page shares that dictionary.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "glyph_runs.h"
#include "pdf_document.h"
#include "shared_blocks.h"

namespace recibo::pdf {

struct BookPage {
    int object = 0;
    int contents = 0;
    Box media;
    Object dictionary;  // as written, for the entries that are copied
};

struct BookStructure {
    std::vector<BookPage> pages;
    std::vector<int> pageOfContents;  // by object number: the page, or -1
    std::vector<int> pageOfObject;    // by object number: the page, or -1
    std::vector<bool> dropped;        // by object number
    // The resources every page had, joined: a category ("/Font") and its
    // entries ("/F7" → "7 0 R"); entries that are no dictionary by key.
    std::map<std::string, std::map<std::string, std::string>> resources;
    std::map<std::string, std::string> otherResources;
    FontWidths fonts;
};

// Nothing when the file is not as this expects: a page tree with more than
// one level, pages without their own resources or media box, resources
// that contradict one another, a dropped object that something else refers
// to, an object that is not where the table says.
std::optional<BookStructure> readBookStructure(const Document& document);

}  // namespace recibo::pdf
