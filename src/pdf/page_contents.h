#pragma once

// The pages' new contents, made while QPDFWriter writes them: a batch of
// pages at a time, shared out among the processor's cores, so that the
// memory held is one batch's whatever the length of the book.

#include <cstddef>
#include <exception>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include <qpdf/QPDFObjGen.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include "book_reader.h"
#include "content_lines.h"
#include "content_operations.h"

namespace recibo::pdf {

// A page of the book being written, with what its content is read and
// written again with: the fonts and the forms of the file it comes from.
struct PageSource {
    const BookPage* page = nullptr;
    const FontWidths* fonts = nullptr;
    const SharedBlocks* blocks = nullptr;
};

// One page's content at a time, through buffers kept from page to page.
class PageCompactor {
public:
    // The content one operation a line, runs of `fonts` merged; null when
    // it cannot be read.
    const ContentLines* lines(std::string_view raw, bool deflated, const FontWidths& fonts);
    // The content of `page` (its bytes `raw`) compacted and deflated in
    // `out`; false when it cannot be read and is better copied as it was.
    bool compact(std::string_view raw, const PageSource& page, std::string& out);

private:
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
    explicit PageContents(std::function<bool()> stopped);

    // The next page of the book, and the stream to put in the place of its
    // contents.
    void add(const PageSource& page, QPDFObjGen stream);

    void provideStreamData(QPDFObjGen const& stream, Pipeline* pipeline) override;

private:
    // Makes the contents of the next pages from `first` on not yet made.
    void runBatch(std::size_t first);

    std::vector<PageSource> pages_;
    std::function<bool()> stopped_;
    std::map<QPDFObjGen, std::size_t> pageOf_;
    std::vector<PageCompactor> workers_;
    // QPDFWriter asks for the pages nearly in order, but not quite (the
    // copied pages of a joined book come in among the others): a page made
    // in a batch waits here until it is asked for, and is made only once.
    std::vector<char> made_;  // by page
    std::unordered_map<std::size_t, std::string> waiting_;
    std::vector<std::size_t> batch_;
    std::vector<std::string> raw_;
    std::vector<std::string> data_;
};

}  // namespace recibo::pdf
