#include "pdf_compaction.h"

#include <memory>
#include <optional>
#include <set>

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

// The page of `part` made a page of `book`, which is one part's file: its
// own resources replaced by the part's shared ones, its content by a new
// stream that `contents` makes, after the part's page `under` when it has
// one; a page of another part is copied without its page tree or old
// content.
QPDFObjectHandle bookPage(QPDF& book, const BookPart& part, const BookPage& page, std::optional<std::size_t> under,
                          const std::shared_ptr<PageContents>& contents)
{
    QPDFObjectHandle result = page.page;
    result.removeKey("/Contents");
    result.replaceKey("/Resources", part.resources);
    if (isEmptyArray(result.getKey("/Annots")))
        result.removeKey("/Annots");
    if (part.pdf.get() != &book) {
        result.removeKey("/Parent");
        result = book.copyForeignObject(result);
    }
    QPDFObjectHandle stream = QPDFObjectHandle::newStream(&book);
    stream.replaceStreamData(contents, QPDFObjectHandle::newName("/FlateDecode"), QPDFObjectHandle::newNull());
    contents->add({&page, &part.book.fonts, &part.blocks}, stream.getObjGen());
    if (!under) {
        result.replaceKey("/Contents", stream);
        return result;
    }
    // A page's content may be several streams, read as one.
    QPDFObjectHandle drawUnder = part.drawUnder.at(*under);
    if (part.pdf.get() != &book)
        drawUnder = book.copyForeignObject(drawUnder);
    result.replaceKey("/Contents", QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{drawUnder, stream}));
    return result;
}

// Reads every part `order` names before writing anything, so that a file
// it does not recognise, or one qpdf would have to repair, is told apart
// before the first piece. The book is written from the file of the first
// page's part, its title and creator kept, its page tree made the pages in
// `order`: what of the file no page uses any longer is not written.
Compaction join(std::size_t partCount, const PartOpener& open, const std::vector<PartPage>& order,
                const PieceWriter& write)
{
    if (order.empty())
        return Compaction::Unchanged;
    PiecePipeline out(write);
    try {
        // Deflated before the first piece goes out, like everything that may fail.
        Pl_Flate::setCompressionLevel(kDeflateLevel);
        // The pages beneath others, by part.
        std::vector<std::set<std::size_t>> unders(partCount);
        for (const PartPage& at : order) {
            if (at.part >= partCount)
                return Compaction::Unchanged;
            if (at.under)
                unders[at.part].insert(*at.under);
        }
        std::vector<std::optional<BookPart>> parts(partCount);
        QPDF* book = nullptr;
        auto contents = std::make_shared<PageContents>([&out] { return out.refused(); });
        std::vector<QPDFObjectHandle> pages;
        pages.reserve(order.size());
        for (const PartPage& at : order) {
            std::optional<BookPart>& part = parts[at.part];
            if (!part && !(part = readPart(open(at.part), unders[at.part])))
                return Compaction::Unchanged;
            if (at.page >= part->book.pages.size() || unders[at.part].count(at.page))
                return Compaction::Unchanged;
            if (!book)
                book = part->pdf.get();
            pages.push_back(bookPage(*book, *part, part->book.pages[at.page], at.under, contents));
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
        // qpdf's exceptions, the memory's, or the writing stopped for a
        // refused piece: the file is still the caller's to copy when
        // nothing went out yet.
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
    return join(
        1, [&pdf](std::size_t) { return std::move(pdf); }, order, write);
}

Compaction joinParts(const std::vector<std::string_view>& parts, const std::vector<PartPage>& order,
                     const PieceWriter& write)
{
    const auto open = [&parts](std::size_t part) {
        auto pdf = strictReader();
        pdf->processMemoryFile("Qt", parts[part].data(), parts[part].size());
        return pdf;
    };
    return join(parts.size(), open, order, write);
}

}  // namespace recibo::pdf
