#pragma once

// The pages' new contents: their glyph runs merged and their shared blocks
// drawn as forms, deflated.

#include <cstddef>
#include <cstdio>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <qpdf/QPDFObjGen.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include "book_reader.h"
#include "content_lines.h"
#include "content_operations.h"

namespace recibo::pdf {

// A page of the book being written, with what its content is read and
// written again with: the fonts and the forms of the file it comes from,
// and what is drawn before it (the page beneath it, as a form).
struct PageSource {
    const BookPage* page = nullptr;
    const FontWidths* fonts = nullptr;
    const SharedBlocks* blocks = nullptr;
    std::string_view before = {};
};

// One page's content at a time, through buffers kept from page to page.
class PageCompactor {
public:
    // The content one operation a line, runs of `fonts` merged; null when
    // it cannot be read.
    const ContentLines* lines(std::string_view raw, bool deflated, const FontWidths& fonts);
    // The content of `page` (its bytes `raw`) compacted, after what is
    // drawn before it, and deflated in `out`; false when it cannot be read
    // and is better copied as it was.
    bool compact(std::string_view raw, const PageSource& page, std::string& out);
    // The content as Qt wrote it, deflated, after what is drawn before it;
    // false, and the bytes `raw` as they are, when they cannot be inflated.
    bool copy(std::string_view raw, const PageSource& page, std::string& out);

private:
    std::string inflated_;
    Operations operations_;
    ContentLines lines_;
    std::string text_;
};

// Once `stopped` says the output is lost, QPDFWriter's request for a
// content throws StoppedWriting, which ends its work instead of writing the
// rest of the book for nothing.
struct StoppedWriting : std::exception {
    const char* what() const noexcept override { return "writing stopped"; }
};

// The pages' new contents, made a file's pages at a time before QPDFWriter
// writes a byte, a batch at a time shared out among the processor's cores,
// and kept deflated in a temporary file until QPDFWriter asks for them: so
// the file a page comes from, and everything qpdf read of it, can go as
// soon as its pages are made, and the memory held does not grow with the
// contents of the book.
class ContentSpool : public QPDFObjectHandle::StreamDataProvider {
public:
    // Throws when no temporary file can be made.
    explicit ContentSpool(std::function<bool()> stopped);

    // Makes the contents of `pages`, each for the stream of `streams` at
    // the same place; for each, whether it begins with what is drawn before
    // it, which otherwise needs a stream of its own. Throws when the
    // temporary file cannot take them.
    std::vector<bool> add(const std::vector<PageSource>& pages, const std::vector<QPDFObjectHandle>& streams);
    // Keeps the bytes of `stream`, a stream of the book whose data is read
    // from another file, as they are, for QPDFWriter to ask for here: that
    // file is then not read again. Throws as add() does.
    void keep(QPDFObjGen stream, std::string_view bytes);
    // Whether QPDFWriter asks for the bytes of `stream` here.
    bool gives(QPDFObjGen stream) const { return spooled_.count(stream) != 0; }

    void provideStreamData(QPDFObjGen const& stream, Pipeline* pipeline) override;

private:
    struct Spooled {
        long offset = 0;
        std::size_t size = 0;
    };
    void append(QPDFObjGen stream, std::string_view bytes);
    // Makes pages [first, first + count) of `pages` into data_, and says
    // in `whole` whether each begins with what is drawn before it.
    void runBatch(const std::vector<PageSource>& pages, std::size_t first, std::size_t count, std::vector<bool>& whole);

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
    long end_ = 0;
    std::function<bool()> stopped_;
    std::map<QPDFObjGen, Spooled> spooled_;
    std::vector<PageCompactor> workers_;
    std::vector<std::string> raw_;
    std::vector<std::string> data_;
    std::string read_;
};

}  // namespace recibo::pdf
