#include "page_contents.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <utility>

#include <qpdf/Buffer.hh>
#include <qpdf/Pipeline.hh>

#include "flate.h"
#include "glyph_runs.h"
#include "shared_blocks.h"

namespace recibo::pdf {

namespace {

// A page's content that decodes to more than this is left as it was.
constexpr std::size_t kLargestContent = 64 << 20;
constexpr unsigned kMostThreads = 8;
constexpr std::size_t kBatch = 64;

}  // namespace

const ContentLines* PageCompactor::lines(std::string_view raw, bool deflated)
{
    std::string_view decoded = raw;
    if (deflated) {
        if (!inflate(raw, inflated_, kLargestContent))
            return nullptr;
        decoded = inflated_;
    }
    if (!splitOperations(decoded, operations_) || !writeMergingGlyphRuns(operations_, fonts_, lines_))
        return nullptr;
    return &lines_;
}

bool PageCompactor::compact(std::string_view raw, bool deflated, const SharedBlocks& blocks, const Box& media,
                            std::string& out)
{
    const ContentLines* read = lines(raw, deflated);
    if (!read)
        return false;
    blocks.write(*read, media, text_);
    deflate(text_, out);
    return true;
}

PageContents::PageContents(const Book& book, const SharedBlocks& blocks, std::function<bool()> stopped)
    : book_(book), blocks_(blocks), stopped_(std::move(stopped))
{
    const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, kMostThreads);
    for (unsigned i = 0; i < cores; ++i)
        workers_.emplace_back(book.fonts);
}

void PageContents::add(std::size_t page, QPDFObjGen stream)
{
    pageOf_.emplace(stream, page);
}

void PageContents::provideStreamData(QPDFObjGen const& stream, Pipeline* pipeline)
{
    if (stopped_())
        throw StoppedWriting();
    const std::size_t page = pageOf_.at(stream);
    if (page < first_ || page >= first_ + data_.size())
        runBatch(page);
    const std::string& data = data_[page - first_];
    pipeline->write(reinterpret_cast<unsigned char const*>(data.data()), data.size());
    pipeline->finish();
}

void PageContents::runBatch(std::size_t first)
{
    first_ = first;
    const std::size_t count = std::min(kBatch, book_.pages.size() - first);
    // qpdf's objects are for one thread: the bytes are read here, the work
    // is shared out.
    raw_.resize(count);
    data_.resize(count);
    std::vector<char> done(count, false);  // not vector<bool>: written from several threads
    for (std::size_t i = 0; i < count; ++i) {
        const auto buffer = QPDFObjectHandle(book_.pages[first + i].contents).getRawStreamData();
        raw_[i].assign(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
    }
    auto work = [&](std::size_t worker) noexcept {
        for (std::size_t i = worker; i < count; i += workers_.size()) {
            const BookPage& page = book_.pages[first + i];
            try {
                done[i] = workers_[worker].compact(raw_[i], page.deflated, blocks_, page.media, data_[i]);
            } catch (const std::exception&) {
                done[i] = false;
            }
        }
    };
    std::vector<std::thread> threads;
    for (std::size_t worker = 1; worker < std::min<std::size_t>(workers_.size(), count); ++worker) {
        try {
            threads.emplace_back(work, worker);
        } catch (const std::system_error&) {
            break;
        }
    }
    work(0);
    for (auto& thread : threads)
        thread.join();
    // A page that could not be compacted (no memory, no thread to do it) is
    // written as Qt wrote it, deflated as every new content is.
    for (std::size_t i = 0; i < count; ++i) {
        if (done[i])
            continue;
        if (book_.pages[first + i].deflated)
            data_[i] = raw_[i];
        else
            deflate(raw_[i], data_[i]);
    }
}

}  // namespace recibo::pdf
