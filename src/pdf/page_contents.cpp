#include "page_contents.h"

#include <algorithm>
#include <cerrno>
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
    text_.insert(0, page.before);
    deflate(text_, out);
    return true;
}

bool PageCompactor::copy(std::string_view raw, const PageSource& page, std::string& out)
{
    std::string_view decoded = raw;
    if (page.page->deflated && page.before.empty()) {
        out.assign(raw);
        return true;
    }
    if (page.page->deflated) {
        if (!inflate(raw, inflated_, kLargestContent)) {
            out.assign(raw);
            return false;
        }
        decoded = inflated_;
    }
    text_.assign(page.before).append(decoded);
    deflate(text_, out);
    return true;
}

ContentSpool::ContentSpool(std::function<bool()> stopped)
    : file_(std::tmpfile(), &std::fclose),
      stopped_(std::move(stopped)),
      workers_(std::clamp(std::thread::hardware_concurrency(), 1u, kMostThreads))
{
    if (!file_)
        throw std::system_error(errno, std::generic_category(), "temporary file");
}

std::vector<bool> ContentSpool::add(const std::vector<PageSource>& pages, const std::vector<QPDFObjectHandle>& streams)
{
    std::vector<bool> whole(pages.size());
    for (std::size_t first = 0; first < pages.size(); first += kBatch) {
        const std::size_t count = std::min(kBatch, pages.size() - first);
        runBatch(pages, first, count, whole);
        for (std::size_t i = 0; i < count; ++i)
            append(streams[first + i].getObjGen(), data_[i]);
    }
    if (std::fflush(file_.get()) != 0)
        throw std::system_error(errno, std::generic_category(), "temporary file");
    return whole;
}

void ContentSpool::keep(QPDFObjGen stream, std::string_view bytes)
{
    append(stream, bytes);
    if (std::fflush(file_.get()) != 0)
        throw std::system_error(errno, std::generic_category(), "temporary file");
}

void ContentSpool::append(QPDFObjGen stream, std::string_view bytes)
{
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_.get()) != bytes.size())
        throw std::system_error(errno, std::generic_category(), "temporary file");
    spooled_[stream] = {end_, bytes.size()};
    end_ += static_cast<long>(bytes.size());
}

void ContentSpool::provideStreamData(QPDFObjGen const& stream, Pipeline* pipeline)
{
    if (stopped_())
        throw StoppedWriting();
    const Spooled& at = spooled_.at(stream);
    read_.resize(at.size);
    if (std::fseek(file_.get(), at.offset, SEEK_SET) != 0
        || std::fread(read_.data(), 1, at.size, file_.get()) != at.size)
        throw std::system_error(errno, std::generic_category(), "temporary file");
    pipeline->write(reinterpret_cast<unsigned char const*>(read_.data()), read_.size());
    pipeline->finish();
}

void ContentSpool::runBatch(const std::vector<PageSource>& pages, std::size_t first, std::size_t count,
                            std::vector<bool>& whole)
{
    // qpdf's objects are for one thread: the bytes are read here, the work
    // is shared out.
    raw_.resize(count);
    data_.resize(count);
    std::vector<char> done(count, false);  // not vector<bool>: written from several threads
    for (std::size_t i = 0; i < count; ++i) {
        const auto buffer = QPDFObjectHandle(pages[first + i].page->contents).getRawStreamData();
        raw_[i].assign(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
    }
    auto work = [&](std::size_t worker) noexcept {
        for (std::size_t i = worker; i < count; i += workers_.size()) {
            try {
                done[i] = workers_[worker].compact(raw_[i], pages[first + i], data_[i]);
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
    for (std::size_t i = 0; i < count; ++i)
        whole[first + i] = done[i] || workers_.front().copy(raw_[i], pages[first + i], data_[i]);
}

}  // namespace recibo::pdf
