#pragma once

// The pages' new contents, made while QPDFWriter writes them: a batch of
// pages at a time, shared out among the processor's cores, so that the
// memory held is one batch's whatever the length of the book.

#include <cstddef>
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <qpdf/QPDFObjGen.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include "book_reader.h"
#include "content_lines.h"
#include "content_operations.h"

namespace recibo::pdf {

// One page's content at a time, through buffers kept from page to page.
class PageCompactor {
public:
    explicit PageCompactor(const FontWidths& fonts) : fonts_(fonts) {}

    // The content one operation a line, runs merged; null when it cannot be read.
    const ContentLines* lines(std::string_view raw, bool deflated);
    // The content compacted and deflated in `out`; false when it cannot be
    // read and is better copied as it was.
    bool compact(std::string_view raw, bool deflated, const SharedBlocks& blocks, const Box& media, std::string& out);

private:
    const FontWidths& fonts_;
    std::string inflated_;
    Operations operations_;
    ContentLines lines_;
    std::string text_;
};

// Gives each page's new content stream, deflated, in the order QPDFWriter
// asks for them (the pages' order, where batches pay off). Once `stopped`
// says the output is lost it throws StoppedWriting, which ends QPDFWriter's
// work instead of compacting the rest of the book for nothing.
struct StoppedWriting : std::exception {
    const char* what() const noexcept override { return "writing stopped"; }
};

class PageContents : public QPDFObjectHandle::StreamDataProvider {
public:
    PageContents(const Book& book, const SharedBlocks& blocks, std::function<bool()> stopped);

    // The stream to put in the place of page `page`'s contents.
    void add(std::size_t page, QPDFObjGen stream);

    void provideStreamData(QPDFObjGen const& stream, Pipeline* pipeline) override;

private:
    void runBatch(std::size_t first);

    const Book& book_;
    const SharedBlocks& blocks_;
    std::function<bool()> stopped_;
    std::map<QPDFObjGen, std::size_t> pageOf_;
    std::vector<PageCompactor> workers_;
    std::size_t first_ = 0;  // the batch's first page
    std::vector<std::string> raw_;
    std::vector<std::string> data_;
};

}  // namespace recibo::pdf
