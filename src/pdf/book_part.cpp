#include "book_part.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include <qpdf/Buffer.hh>

#include "flate.h"
#include "page_contents.h"

namespace recibo::pdf {

namespace {

// The forms are chosen from the first pages only, so that the memory they
// take does not grow with the book.
constexpr std::size_t kSamplePages = 32;

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

// Whole points, outwards, so that the box never clips what it must show.
QPDFObjectHandle boxArray(const Box& box)
{
    return QPDFObjectHandle::newArray(std::vector<QPDFObjectHandle>{
        QPDFObjectHandle::newReal(std::floor(box.x0), 0), QPDFObjectHandle::newReal(std::floor(box.y0), 0),
        QPDFObjectHandle::newReal(std::ceil(box.x1), 0), QPDFObjectHandle::newReal(std::ceil(box.y1), 0)});
}

// A stream's dictionary made a form's, of `resources`.
void makeForm(QPDFObjectHandle dictionary, const Box& box, QPDFObjectHandle resources)
{
    dictionary.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    dictionary.replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
    dictionary.replaceKey("/BBox", boxArray(box));
    dictionary.replaceKey("/Resources", resources);
}

// The forms as objects of the file, and the resources every page shares,
// the forms among its XObjects, the pages beneath others among them by the
// names `underNames` gives; the forms' own resources are the pages' without
// the forms.
QPDFObjectHandle addForms(QPDF& pdf, const Book& book, const SharedBlocks& blocks,
                          const std::map<std::size_t, std::string>& underNames)
{
    QPDFObjectHandle joined = book.resources;
    QPDFObjectHandle pageResources = joined.shallowCopy();
    if (blocks.forms().empty() && underNames.empty())
        return pdf.makeIndirectObject(pageResources);
    QPDFObjectHandle formResources = pdf.makeIndirectObject(joined);
    QPDFObjectHandle known = joined.getKey("/XObject");
    QPDFObjectHandle xobjects = known.isDictionary() ? known.shallowCopy() : QPDFObjectHandle::newDictionary();
    std::string data;
    for (const Form& form : blocks.forms()) {
        deflate(form.content, data);
        QPDFObjectHandle stream = QPDFObjectHandle::newStream(&pdf);
        stream.replaceStreamData(data, QPDFObjectHandle::newName("/FlateDecode"), QPDFObjectHandle::newNull());
        makeForm(stream.getDict(), form.box, formResources);
        xobjects.replaceKey(form.name, stream);
    }
    // A page beneath others keeps its content as Qt wrote it: it is written once.
    for (const auto& [page, name] : underNames) {
        const BookPage& under = book.pages[page];
        makeForm(QPDFObjectHandle(under.contents).getDict(), under.media, formResources);
        xobjects.replaceKey(name, under.contents);
    }
    pageResources.replaceKey("/XObject", xobjects);
    return pdf.makeIndirectObject(pageResources);
}

}  // namespace

std::optional<BookPart> readPart(std::unique_ptr<QPDF> pdf, const std::set<std::size_t>& under)
{
    if (pdf->isEncrypted() || !readsCleanly(*pdf))
        return std::nullopt;
    auto book = readBook(*pdf);
    if (!book || pdf->anyWarnings() || (!under.empty() && *under.rbegin() >= book->pages.size()))
        return std::nullopt;
    BookPart part{std::move(pdf), std::move(*book), {}, {}, {}};
    PageCompactor sampler;
    for (std::size_t i = 0; i < std::min(kSamplePages, part.book.pages.size()); ++i) {
        if (under.count(i))
            continue;
        const BookPage& page = part.book.pages[i];
        const auto raw = QPDFObjectHandle(page.contents).getRawStreamData();
        const std::string_view bytes(reinterpret_cast<const char*>(raw->getBuffer()), raw->getSize());
        if (const ContentLines* lines = sampler.lines(bytes, page.deflated, part.book.fonts))
            part.blocks.sample(*lines, page.media);
    }
    const std::string prefix = formPrefix(part.book.resources);
    part.blocks.choose(prefix);
    // The blocks' forms are the prefix and a number.
    std::map<std::size_t, std::string> underNames;
    for (const std::size_t page : under)
        underNames[page] = prefix + "Under" + std::to_string(underNames.size());
    part.resources = addForms(*part.pdf, part.book, part.blocks, underNames);
    for (const auto& [page, name] : underNames)
        part.drawUnder[page] = "q " + name + " Do Q\n";
    return part;
}

}  // namespace recibo::pdf
