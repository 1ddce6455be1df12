#include "pdf_compaction.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <exception>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "book_structure.h"
#include "content_operations.h"
#include "pdf_document.h"
#include "zlib_streams.h"

namespace recibo::pdf {

namespace {

// The forms are chosen from the first pages only, so that the memory they
// take does not grow with the book.
constexpr std::size_t kSamplePages = 32;
// A page's content that decodes to more than this is left as it was.
constexpr std::size_t kLargestContent = 64 << 20;
constexpr int kDeflateLevel = 9;
constexpr std::size_t kPiece = 256 << 10;
constexpr std::size_t kLargestFile = std::size_t(1) << 30;

// The output, in pieces, with the offset of every object written.
class Output {
public:
    explicit Output(const PieceWriter& write) : write_(write) {}

    void append(std::string_view bytes)
    {
        buffer_.append(bytes);
        written_ += bytes.size();
        if (buffer_.size() >= kPiece)
            flush();
    }
    void appendNumber(std::size_t number)
    {
        char digits[24];
        append(std::string_view(digits, std::to_chars(digits, digits + sizeof digits, number).ptr - digits));
    }
    void beginObject(int number)
    {
        if (offsets_.size() <= std::size_t(number))
            offsets_.resize(number + 1, kNone);
        offsets_[number] = written_;
        appendNumber(number);
        append(" 0 obj\n");
    }
    void stream(std::string_view dictionaryEntries, std::string_view data)
    {
        append("<<\n");
        append(dictionaryEntries);
        append("/Length ");
        appendNumber(data.size());
        append("\n>>\nstream\n");
        append(data);
        append("\nendstream\nendobj\n");
    }
    bool flush()
    {
        failed_ = failed_ || !write_(buffer_);
        buffer_.clear();
        return !failed_;
    }
    bool failed() const { return failed_; }
    std::size_t written() const { return written_; }
    // Where each object starts; kNone for the numbers left free.
    static constexpr std::size_t kNone = std::size_t(-1);
    const std::vector<std::size_t>& offsets() const { return offsets_; }

private:
    const PieceWriter& write_;
    std::string buffer_;
    std::size_t written_ = 0;
    std::vector<std::size_t> offsets_;
    bool failed_ = false;
};

// One page's content at a time, through buffers kept from page to page.
class PageContent {
public:
    explicit PageContent(const FontWidths& fonts) : fonts_(fonts) {}

    // The content one operation a line, runs merged; null when it cannot be read.
    const ContentLines* lines(const IndirectObject& contents)
    {
        std::string_view decoded = contents.stream;
        if (contents.value.get("/Filter")) {
            if (!inflateStream(contents.stream, inflated_, kLargestContent))
                return nullptr;
            decoded = inflated_;
        }
        if (!splitOperations(decoded, operations_) || !writeMergingGlyphRuns(operations_, fonts_, lines_))
            return nullptr;
        return &lines_;
    }

    // The page's content, compacted and deflated, in `out`; false when it
    // cannot be read and is better copied as it was.
    bool compact(const IndirectObject& contents, const SharedBlocks& blocks, const Box& media, std::string& out)
    {
        const ContentLines* read = lines(contents);
        if (!read)
            return false;
        blocks.write(*read, media, text_);
        return deflateStream(text_, kDeflateLevel, out);
    }

private:
    const FontWidths& fonts_;
    std::string inflated_;
    Operations operations_;
    ContentLines lines_;
    std::string text_;
};

// The pages' contents compacted a batch at a time, each batch shared out
// among the processor's cores, so that the memory held is one batch's.
class ContentBatches {
public:
    ContentBatches(const Document& document, const BookStructure& book, const SharedBlocks& blocks)
        : document_(document), book_(book), blocks_(blocks)
    {
        for (int number = 1; number < document.size(); ++number)
            if (book.pageOfContents[number] != -1)
                order_.push_back(number);
        const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, kMostThreads);
        for (unsigned i = 0; i < cores; ++i)
            workers_.emplace_back(book.fonts);
    }

    // The contents object `number` as it is to be written.
    void write(int number, Output& out)
    {
        if (next_ == first_ + done_.size())
            runBatch();
        const auto contents = document_.object(number);
        if (done_[next_ - first_])
            out.stream("/Filter /FlateDecode\n", data_[next_ - first_]);
        else
            out.stream(contents->value.get("/Filter") ? "/Filter /FlateDecode\n" : "", contents->stream);
        ++next_;
    }

private:
    static constexpr unsigned kMostThreads = 8;
    static constexpr std::size_t kBatch = 64;

    void runBatch()
    {
        first_ = next_;
        const std::size_t count = std::min(kBatch, order_.size() - first_);
        data_.resize(count);
        done_.assign(count, false);
        // A page that could not be compacted (no memory, no thread to do it)
        // is copied as Qt wrote it.
        auto work = [&](std::size_t worker) noexcept {
            for (std::size_t i = worker; i < count; i += workers_.size()) {
                const int number = order_[first_ + i];
                try {
                    const auto contents = document_.object(number);
                    done_[i] = contents
                        && workers_[worker].compact(*contents, blocks_, book_.pages[book_.pageOfContents[number]].media,
                                                    data_[i]);
                } catch (const std::exception&) {
                    done_[i] = false;
                }
            }
        };
        std::vector<std::thread> threads;
        for (std::size_t worker = 1; worker < std::min(workers_.size(), count); ++worker) {
            try {
                threads.emplace_back(work, worker);
            } catch (const std::system_error&) {
                break;
            }
        }
        work(0);
        for (auto& thread : threads)
            thread.join();
    }

    const Document& document_;
    const BookStructure& book_;
    const SharedBlocks& blocks_;
    std::vector<int> order_;  // the contents objects, by number
    std::vector<PageContent> workers_;
    std::size_t first_ = 0;  // the batch's first, in order_
    std::size_t next_ = 0;   // the next to write, in order_
    std::vector<std::string> data_;
    std::vector<char> done_;  // not vector<bool>: written from several threads
};

std::string resourceDictionary(const BookStructure& book, const std::vector<std::pair<std::string, int>>& forms)
{
    std::string out = "<<\n";
    for (const auto& [key, value] : book.otherResources)
        out.append(key).append(" ").append(value).append("\n");
    auto categories = book.resources;
    for (const auto& [name, number] : forms)
        categories["/XObject"][name] = std::to_string(number) + " 0 R";
    for (const auto& [category, entries] : categories) {
        out.append(category).append(" <<\n");
        for (const auto& [name, value] : entries)
            out.append(name).append(" ").append(value).append("\n");
        out.append(">>\n");
    }
    return out.append(">>\nendobj\n");
}

// The page's own entries but its resources, now shared, and an empty list
// of annotations.
void writePage(const BookPage& page, const BookStructure& book, int resources, Output& out)
{
    out.append("<<\n");
    const auto& items = page.dictionary.items;
    for (std::size_t i = 0; i < items.size(); i += 2) {
        const Object& value = items[i + 1];
        if (items[i].text == "/Annots"
            && ((value.kind == Object::Kind::Reference && value.reference > 0
                 && std::size_t(value.reference) < book.dropped.size() && book.dropped[value.reference])
                || (value.kind == Object::Kind::Array && value.items.empty())))
            continue;
        out.append(items[i].text);
        out.append(" ");
        if (items[i].text == "/Resources") {
            out.appendNumber(resources);
            out.append(" 0 R");
        } else {
            out.append(value.text);
        }
        out.append("\n");
    }
    out.append(">>\nendobj\n");
}

// A free name for the forms among the names of the pages' own XObjects.
std::string formPrefix(const BookStructure& book)
{
    const auto xobjects = book.resources.find("/XObject");
    std::string prefix = "/Fm";
    while (xobjects != book.resources.end()
           && std::any_of(xobjects->second.begin(), xobjects->second.end(),
                          [&](const auto& entry) { return entry.first.starts_with(prefix); }))
        prefix += "x";
    return prefix;
}

void writeTable(std::size_t size, Output& table)
{
    const std::vector<std::size_t> offsets = table.offsets();
    table.append("xref\n0 ");
    table.appendNumber(size);
    table.append("\n");
    // Free numbers linked from entry 0, each to the next, the last back to 0.
    std::vector<std::size_t> free;
    for (std::size_t number = 1; number < size; ++number)
        if (number >= offsets.size() || offsets[number] == Output::kNone)
            free.push_back(number);
    free.push_back(0);
    char entry[32];
    std::size_t nextFree = 0;
    for (std::size_t number = 0; number < size; ++number) {
        const bool used = number > 0 && number < offsets.size() && offsets[number] != Output::kNone;
        if (used) {
            std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offsets[number]);
        } else {
            std::snprintf(entry, sizeof entry, "%010zu %05d f \n", free[nextFree], number == 0 ? 65535 : 1);
            ++nextFree;
        }
        table.append(std::string_view(entry, 20));
    }
}

}  // namespace

Compaction compactPdf(std::string_view file, const PieceWriter& write)
{
    // Offsets in the table have ten digits: far from this.
    if (file.size() >= kLargestFile)
        return Compaction::Unchanged;
    const auto document = Document::read(file);
    if (!document || !file.starts_with("%PDF-"))
        return Compaction::Unchanged;
    const auto book = readBookStructure(*document);
    if (!book)
        return Compaction::Unchanged;

    PageContent content(book->fonts);
    SharedBlocks blocks;
    for (std::size_t i = 0; i < std::min(kSamplePages, book->pages.size()); ++i) {
        const auto contents = document->object(book->pages[i].contents);
        if (const ContentLines* lines = contents ? content.lines(*contents) : nullptr)
            blocks.sample(*lines, book->pages[i].media);
    }
    blocks.choose(formPrefix(*book));
    // Deflated before the first piece goes out, like everything that may fail.
    std::vector<std::string> formData(blocks.forms().size());
    for (std::size_t i = 0; i < formData.size(); ++i)
        if (!deflateStream(blocks.forms()[i].content, kDeflateLevel, formData[i]))
            return Compaction::Unchanged;

    const int size = document->size();
    const int pageResources = size;
    const int formResources = size + 1;
    std::vector<std::pair<std::string, int>> formObjects;
    for (const Form& form : blocks.forms())
        formObjects.emplace_back(form.name, size + 2 + int(formObjects.size()));

    ContentBatches contents(*document, *book, blocks);
    Output out(write);
    // The header as Qt wrote it, the line that marks the file binary with it.
    std::size_t firstObject = file.size();
    for (int number = 1; number < size; ++number)
        if (const auto object = document->inUse(number) ? document->object(number) : std::nullopt)
            firstObject = std::min<std::size_t>(firstObject, object->whole.data() - file.data());
    out.append(file.substr(0, firstObject));

    for (int number = 1; number < size && !out.failed(); ++number) {
        if (!document->inUse(number) || book->dropped[number])
            continue;
        const auto object = document->object(number);
        // Every object kept was read whole by readBookStructure: the same
        // bytes read again give the same object.
        if (!object)
            return Compaction::WriteFailed;
        if (book->pageOfContents[number] != -1) {
            out.beginObject(number);
            contents.write(number, out);
        } else if (const int page = book->pageOfObject[number]; page != -1) {
            out.beginObject(number);
            writePage(book->pages[page], *book, pageResources, out);
        } else {
            out.beginObject(number);
            // From after "N 0 obj" to "endobj", exactly as it was.
            const std::string_view whole = object->whole;
            const std::size_t body = whole.find("obj") + 3;
            out.append(whole.substr(body + (whole.substr(body, 1) == "\n" ? 1 : 0)));
            out.append("\n");
        }
    }
    out.beginObject(pageResources);
    out.append(resourceDictionary(*book, formObjects));
    if (!formObjects.empty()) {
        out.beginObject(formResources);
        out.append(resourceDictionary(*book, {}));
    }
    for (std::size_t i = 0; i < formObjects.size(); ++i) {
        const Box& box = blocks.forms()[i].box;
        char entries[200];
        std::snprintf(entries, sizeof entries,
                      "/Type /XObject\n/Subtype /Form\n/BBox [%.0f %.0f %.0f %.0f]\n/Resources %d 0 R\n"
                      "/Filter /FlateDecode\n",
                      box.x0, box.y0, box.x1, box.y1, formResources);
        out.beginObject(formObjects[i].second);
        out.stream(entries, formData[i]);
    }

    const std::size_t table = out.written();
    const std::size_t newSize = size + 2 + blocks.forms().size();
    writeTable(newSize, out);
    out.append("trailer\n<<\n/Size ");
    out.appendNumber(newSize);
    out.append("\n");
    const auto& trailer = document->trailer().items;
    for (std::size_t i = 0; i < trailer.size(); i += 2)
        if (trailer[i].text != "/Size")
            out.append(std::string(trailer[i].text) + " " + std::string(trailer[i + 1].text) + "\n");
    out.append(">>\nstartxref\n");
    out.appendNumber(table);
    out.append("\n%%EOF\n");
    out.flush();
    return out.failed() ? Compaction::WriteFailed : Compaction::Written;
}

}  // namespace recibo::pdf
