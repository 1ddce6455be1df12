#include "pdf_compaction.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include <qpdf/Pl_Flate.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include "book_part.h"
#include "page_contents.h"
#include "piece_pipeline.h"

namespace recibo::pdf {

namespace {

constexpr int kDeflateLevel = 9;

// Gives the file of part `part`, read by qpdf; it may throw.
using PartOpener = std::function<std::unique_ptr<QPDF>(std::size_t part)>;

std::unique_ptr<QPDF> strictReader()
{
    auto pdf = std::make_unique<QPDF>();
    pdf->setSuppressWarnings(true);
    pdf->setAttemptRecovery(false);
    return pdf;
}

bool isEmptyArray(QPDFObjectHandle value)
{
    return value.isArray() && value.getArrayNItems() == 0;
}

// What the pages of the book have in common, made once in the book: a
// page's type, and an object for each media box they have, written as they
// have it, which the pages of that size share. What a page holds of its own
// is most of what the book holds in memory, all of it until it is written.
class SharedPageParts {
public:
    explicit SharedPageParts(QPDF& book) : book_(book) {}

    QPDFObjectHandle box(QPDFObjectHandle partBox)
    {
        const std::string written = partBox.unparseResolved();
        auto [at, added] = boxes_.try_emplace(written);
        if (added)
            at->second = book_.makeIndirectObject(QPDFObjectHandle::parse(written));
        return at->second;
    }

    QPDFObjectHandle pageType() const { return pageType_; }

private:
    QPDF& book_;
    std::map<std::string, QPDFObjectHandle> boxes_;
    QPDFObjectHandle pageType_ = QPDFObjectHandle::newName("/Page");
};

// A page as Qt writes it: no keys but those the book writes anew, and no
// links.
bool isPlainPage(QPDFObjectHandle page)
{
    static const std::set<std::string> written{"/Type", "/Parent", "/Contents", "/Resources", "/MediaBox", "/Annots"};
    for (const std::string& key : page.getKeys())
        if (!written.count(key))
            return false;
    QPDFObjectHandle links = page.getKey("/Annots");
    return page.getKey("/Type").isNameAndEquals("/Page") && (links.isNull() || isEmptyArray(links));
}

// The page of a part made a page of `book`, of the part's resources copied
// into the book, `resources`, and of `contents`: a new dictionary of
// objects the pages share when it is a page as Qt writes it; otherwise the
// page copied whole, without its page tree, old content or empty links.
QPDFObjectHandle bookPage(QPDF& book, SharedPageParts& shared, QPDFObjectHandle resources, const BookPage& page,
                          QPDFObjectHandle contents)
{
    QPDFObjectHandle from = page.page;
    const QPDFObjectHandle box = shared.box(from.getKey("/MediaBox"));
    if (isPlainPage(from))
        return book.makeIndirectObject(QPDFObjectHandle::newDictionary(
            {{"/Type", shared.pageType()}, {"/MediaBox", box}, {"/Resources", resources}, {"/Contents", contents}}));
    for (const char* key : {"/Contents", "/Parent", "/Resources", "/MediaBox"})
        from.removeKey(key);
    if (isEmptyArray(from.getKey("/Annots")))
        from.removeKey("/Annots");
    QPDFObjectHandle result = book.copyForeignObject(from);
    result.replaceKey("/MediaBox", box);
    result.replaceKey("/Resources", resources);
    result.replaceKey("/Contents", contents);
    return result;
}

// Every stream `from` leads to, copied from a part, made to be written from
// `spool`, byte for byte: the fonts, the forms and the pages beneath others,
// which QPDFWriter would otherwise read again from the part's file, into
// the memory of the process, while it writes the book. Objects in `seen`
// are not gone through again.
void keepCopiedStreams(QPDFObjectHandle from, const std::shared_ptr<ContentSpool>& spool, std::set<QPDFObjGen>& seen)
{
    std::vector<QPDFObjectHandle> next{from};
    while (!next.empty()) {
        QPDFObjectHandle object = next.back();
        next.pop_back();
        if (object.isIndirect() && !seen.insert(object.getObjGen()).second)
            continue;
        if (object.isStream() && !spool->gives(object.getObjGen())) {
            QPDFObjectHandle dictionary = object.getDict();
            const auto bytes = object.getRawStreamData();
            spool->keep(object.getObjGen(), {reinterpret_cast<const char*>(bytes->getBuffer()), bytes->getSize()});
            object.replaceStreamData(spool, dictionary.getKey("/Filter"), dictionary.getKey("/DecodeParms"));
        }
        if (object.isStream())
            next.push_back(object.getDict());
        else if (object.isDictionary())
            for (const auto& [key, value] : object.ditems())
                next.push_back(value);
        else if (object.isArray())
            for (const QPDFObjectHandle& item : object.aitems())
                next.push_back(item);
    }
}

// Reads every part `order` names, one at a time, and makes its pages'
// contents before writing anything, so that a file it does not recognise,
// or one qpdf would have to repair, is told apart before the first piece.
// Each part's pages are copied into a new book and the part let go before
// the next is read: what qpdf holds of the parts is one part's, and the
// contents, with the fonts and forms copied as they are, wait in a
// temporary file. The book keeps the title and creator of the file of its
// first page.
Compaction join(std::size_t partCount, const PartOpener& open, const std::vector<PartPage>& order,
                const PieceWriter& write, const PartRead& read)
{
    if (order.empty())
        return Compaction::Unchanged;
    PiecePipeline out(write);
    try {
        // Deflated before the first piece goes out, like everything that may fail.
        Pl_Flate::setCompressionLevel(kDeflateLevel);
        // The pages beneath others, and the places in the book, by part.
        std::vector<std::set<std::size_t>> unders(partCount);
        std::vector<std::vector<std::size_t>> places(partCount);
        for (std::size_t i = 0; i < order.size(); ++i) {
            const PartPage& at = order[i];
            if (at.part >= partCount)
                return Compaction::Unchanged;
            if (at.under)
                unders[at.part].insert(*at.under);
            places[at.part].push_back(i);
        }
        std::unique_ptr<QPDF> book = strictReader();
        book->emptyPDF();
        auto contents = std::make_shared<ContentSpool>([&out] { return out.refused(); });
        std::vector<QPDFObjectHandle> pages(order.size());
        // One name for every page's filter, as for its box.
        const QPDFObjectHandle deflated = QPDFObjectHandle::newName("/FlateDecode");
        SharedPageParts shared(*book);
        for (std::size_t p = 0; p < partCount; ++p) {
            if (places[p].empty())
                continue;
            std::optional<BookPart> part = readPart(open(p), unders[p]);
            if (!part)
                return Compaction::Unchanged;
            if (p == order.front().part) {
                QPDFObjectHandle info = part->pdf->getTrailer().getKey("/Info");
                if (info.isDictionary()) {
                    book->getTrailer().replaceKey("/Info", book->copyForeignObject(info));
                    std::set<QPDFObjGen> kept;
                    keepCopiedStreams(book->getTrailer().getKey("/Info"), contents, kept);
                }
            }
            std::vector<PageSource> sources;
            std::vector<QPDFObjectHandle> streams;
            const QPDFObjectHandle resources = book->copyForeignObject(part->resources);
            std::set<QPDFObjGen> kept;
            keepCopiedStreams(resources, contents, kept);
            for (const std::size_t i : places[p]) {
                const PartPage& at = order[i];
                if (at.page >= part->book.pages.size() || unders[p].count(at.page))
                    return Compaction::Unchanged;
                const std::string_view before = at.under ? std::string_view(part->drawUnder.at(*at.under)) : "";
                sources.push_back({&part->book.pages[at.page], &part->book.fonts, &part->blocks, before});
                streams.push_back(QPDFObjectHandle::newStream(book.get()));
                streams.back().replaceStreamData(contents, deflated, QPDFObjectHandle::newNull());
            }
            const std::vector<bool> whole = contents->add(sources, streams);
            for (std::size_t k = 0; k < sources.size(); ++k) {
                // A page whose content could not be read draws the page
                // beneath it from a stream of its own, read first.
                QPDFObjectHandle pageContents = streams[k];
                if (!whole[k])
                    pageContents = QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{
                        QPDFObjectHandle::newStream(book.get(), std::string(sources[k].before)), streams[k]});
                const bool plain = isPlainPage(sources[k].page->page);
                pages[places[p][k]] = bookPage(*book, shared, resources, *sources[k].page, pageContents);
                if (!plain)
                    keepCopiedStreams(pages[places[p][k]], contents, kept);
            }
            part.reset();
            if (read)
                read(p);
        }
        QPDFObjectHandle tree = book->getRoot().getKey("/Pages");
        for (QPDFObjectHandle& page : pages)
            page.replaceKey("/Parent", tree);
        tree.replaceKey("/Kids", QPDFObjectHandle::newArray(pages));
        tree.replaceKey("/Count", QPDFObjectHandle::newInteger(static_cast<long long>(pages.size())));
        book->updateAllPagesCache();

        QPDFWriter writer(*book);
        writer.setOutputPipeline(&out);
        writer.setObjectStreamMode(qpdf_o_generate);
        // Deflated streams, the fonts and the new contents, are copied,
        // never inflated to be deflated again.
        writer.setDecodeLevel(qpdf_dl_none);
        // The same book gives the same bytes.
        writer.setDeterministicID(true);
        writer.write();
        return out.refused() ? Compaction::WriteFailed : Compaction::Written;
    } catch (...) {
        // qpdf's exceptions, the memory's, the temporary file's, or the
        // writing stopped for a refused piece: the file is still the
        // caller's to copy when nothing went out yet.
        return out.started() ? Compaction::WriteFailed : Compaction::Unchanged;
    }
}

}  // namespace

Compaction compactPdf(std::string_view file, const PieceWriter& write)
{
    if (file.substr(0, 5) != "%PDF-")
        return Compaction::Unchanged;
    std::unique_ptr<QPDF> pdf;
    std::vector<PartPage> order;
    try {
        pdf = strictReader();
        pdf->processMemoryFile("Qt", file.data(), file.size());
        for (std::size_t page = 0; page < pdf->getAllPages().size(); ++page)
            order.push_back({0, page});
    } catch (...) {
        return Compaction::Unchanged;
    }
    return join(1, [&pdf](std::size_t) { return std::move(pdf); }, order, write, {});
}

Compaction joinParts(const std::vector<std::string_view>& parts, const std::vector<PartPage>& order,
                     const PieceWriter& write, const PartRead& read)
{
    const auto open = [&parts](std::size_t part) {
        auto pdf = strictReader();
        pdf->processMemoryFile("Qt", parts[part].data(), parts[part].size());
        return pdf;
    };
    return join(parts.size(), open, order, write, read);
}

}  // namespace recibo::pdf
