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

const ContentLines* PageCompactor::lines(std::string_view raw, bool deflated, const FontWidths& fonts)
{
    std::string_view decoded = raw;
    if (deflated) {
        if (!inflate(raw, inflated_, kLargestContent))
            return nullptr;
        decoded = inflated_;
    }
    if (!splitOperations(decoded, operations_) || !writeMergingGlyphRuns(operations_, fonts, lines_))
        return nullptr;
    return &lines_;
}

bool PageCompactor::compact(std::string_view raw, const PageSource& page, std::string& out)
{
    const ContentLines* read = lines(raw, page.page->deflated, *page.fonts);
    if (!read)
        return false;
    page.blocks->write(*read, page.page->media, text_);
    deflate(text_, out);
    return true;
}

PageContents::PageContents(std::function<bool()> stopped)
    : stopped_(std::move(stopped)), workers_(std::clamp(std::thread::hardware_concurrency(), 1u, kMostThreads))
{}

void PageContents::add(const PageSource& page, QPDFObjGen stream)
{
    pageOf_.emplace(stream, pages_.size());
    pages_.push_back(page);
    made_.push_back(false);
}

void PageContents::provideStreamData(QPDFObjGen const& stream, Pipeline* pipeline)
{
    if (stopped_())
        throw StoppedWriting();
    const std::size_t page = pageOf_.at(stream);
    if (!made_[page])
        runBatch(page);
    const auto data = waiting_.find(page);
    pipeline->write(reinterpret_cast<unsigned char const*>(data->second.data()), data->second.size());
    pipeline->finish();
    waiting_.erase(data);
}

void PageContents::runBatch(std::size_t first)
{
    batch_.clear();
    for (std::size_t page = first; page < pages_.size() && batch_.size() < kBatch; ++page)
        if (!made_[page])
            batch_.push_back(page);
    const std::size_t count = batch_.size();
    // qpdf's objects are for one thread: the bytes are read here, the work
    // is shared out.
    raw_.resize(count);
    data_.resize(count);
    std::vector<char> done(count, false);  // not vector<bool>: written from several threads
    for (std::size_t i = 0; i < count; ++i) {
        const auto buffer = QPDFObjectHandle(pages_[batch_[i]].page->contents).getRawStreamData();
        raw_[i].assign(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
    }
    auto work = [&](std::size_t worker) noexcept {
        for (std::size_t i = worker; i < count; i += workers_.size()) {
            try {
                done[i] = workers_[worker].compact(raw_[i], pages_[batch_[i]], data_[i]);
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
        if (!done[i] && pages_[batch_[i]].page->deflated)
            data_[i] = raw_[i];
        else if (!done[i])
            deflate(raw_[i], data_[i]);
        made_[batch_[i]] = true;
        waiting_[batch_[i]] = std::move(data_[i]);
    }
}

}  // namespace recibo::pdf
