#include "pdf_compaction.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <string>

#include <qpdf/Buffer.hh>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include "book_reader.h"
#include "flate.h"
#include "page_contents.h"
#include "piece_pipeline.h"
#include "shared_blocks.h"

namespace recibo::pdf {

namespace {

// The forms are chosen from the first pages only, so that the memory they
// take does not grow with the book.
constexpr std::size_t kSamplePages = 32;
constexpr int kDeflateLevel = 9;

// Every object read and every stream's bytes found where the file says,
// without a word from qpdf: a file it would have to repair is no book
// this knows, and nothing read later can fail once the writing started.
bool readsCleanly(QPDF& pdf)
{
    for (QPDFObjectHandle object : pdf.getAllObjects()) {
        if (object.isStream())
            object.getRawStreamData();
        else
            object.getTypeCode();
    }
    return !pdf.anyWarnings();
}

// A free name for the forms among the names of the pages' own XObjects.
std::string formPrefix(QPDFObjectHandle resources)
{
    QPDFObjectHandle xobjects = resources.getKey("/XObject");
    const std::set<std::string> names = xobjects.isDictionary() ? xobjects.getKeys() : std::set<std::string>();
    std::string prefix = "/Fm";
    while (std::any_of(names.begin(), names.end(),
                       [&](const std::string& name) { return name.compare(0, prefix.size(), prefix) == 0; }))
        prefix += "x";
    return prefix;
}

// The forms as objects of the file, and the resources every page shares,
// the forms among its XObjects; the forms' own resources are the pages'
// without the forms.
QPDFObjectHandle addForms(QPDF& pdf, const Book& book, const SharedBlocks& blocks)
{
    QPDFObjectHandle joined = book.resources;
    QPDFObjectHandle pageResources = joined.shallowCopy();
    if (blocks.forms().empty())
        return pdf.makeIndirectObject(pageResources);
    QPDFObjectHandle formResources = pdf.makeIndirectObject(joined);
    QPDFObjectHandle known = joined.getKey("/XObject");
    QPDFObjectHandle xobjects = known.isDictionary() ? known.shallowCopy() : QPDFObjectHandle::newDictionary();
    std::string data;
    for (const Form& form : blocks.forms()) {
        deflate(form.content, data);
        QPDFObjectHandle stream = QPDFObjectHandle::newStream(&pdf);
        stream.replaceStreamData(data, QPDFObjectHandle::newName("/FlateDecode"), QPDFObjectHandle::newNull());
        QPDFObjectHandle dictionary = stream.getDict();
        dictionary.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
        dictionary.replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
        // Whole points, outwards, so that the box never clips what it must show.
        dictionary.replaceKey("/BBox",
                              QPDFObjectHandle::newArray(
                                  std::vector<QPDFObjectHandle>{QPDFObjectHandle::newReal(std::floor(form.box.x0), 0),
                                                                QPDFObjectHandle::newReal(std::floor(form.box.y0), 0),
                                                                QPDFObjectHandle::newReal(std::ceil(form.box.x1), 0),
                                                                QPDFObjectHandle::newReal(std::ceil(form.box.y1), 0)}));
        dictionary.replaceKey("/Resources", formResources);
        xobjects.replaceKey(form.name, stream);
    }
    pageResources.replaceKey("/XObject", xobjects);
    return pdf.makeIndirectObject(pageResources);
}

bool isEmptyArray(QPDFObjectHandle value)
{
    return value.isArray() && value.getArrayNItems() == 0;
}

}  // namespace

Compaction compactPdf(std::string_view file, const PieceWriter& write)
{
    if (file.substr(0, 5) != "%PDF-")
        return Compaction::Unchanged;
    PiecePipeline out(write);
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.setAttemptRecovery(false);
        pdf.processMemoryFile("Qt", file.data(), file.size());
        if (pdf.isEncrypted() || !readsCleanly(pdf))
            return Compaction::Unchanged;
        const auto book = readBook(pdf);
        if (!book || pdf.anyWarnings())
            return Compaction::Unchanged;

        // Deflated before the first piece goes out, like everything that may fail.
        Pl_Flate::setCompressionLevel(kDeflateLevel);
        PageCompactor sampler(book->fonts);
        SharedBlocks blocks;
        for (std::size_t i = 0; i < std::min(kSamplePages, book->pages.size()); ++i) {
            const BookPage& page = book->pages[i];
            const auto raw = QPDFObjectHandle(page.contents).getRawStreamData();
            const std::string_view bytes(reinterpret_cast<const char*>(raw->getBuffer()), raw->getSize());
            if (const ContentLines* lines = sampler.lines(bytes, page.deflated))
                blocks.sample(*lines, page.media);
        }
        blocks.choose(formPrefix(book->resources));
        const QPDFObjectHandle resources = addForms(pdf, *book, blocks);

        auto contents = std::make_shared<PageContents>(*book, blocks, [&out] { return out.refused(); });
        for (std::size_t i = 0; i < book->pages.size(); ++i) {
            QPDFObjectHandle page = book->pages[i].page;
            QPDFObjectHandle stream = QPDFObjectHandle::newStream(&pdf);
            stream.replaceStreamData(contents, QPDFObjectHandle::newName("/FlateDecode"), QPDFObjectHandle::newNull());
            contents->add(i, stream.getObjGen());
            page.replaceKey("/Contents", stream);
            page.replaceKey("/Resources", resources);
            if (isEmptyArray(page.getKey("/Annots")))
                page.removeKey("/Annots");
        }

        QPDFWriter writer(pdf);
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

}  // namespace recibo::pdf
