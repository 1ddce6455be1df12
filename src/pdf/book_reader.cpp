#include "book_reader.h"

#include <map>
#include <string>

namespace recibo::pdf {

namespace {

bool readBox(QPDFObjectHandle value, Box& box)
{
    if (!value.isArray() || value.getArrayNItems() != 4)
        return false;
    double* corners[] = {&box.x0, &box.y0, &box.x1, &box.y1};
    for (int i = 0; i < 4; ++i)
        if (!value.getArrayItem(i).getValueAsNumber(*corners[i]))
            return false;
    return true;
}

// A stream whose dictionary says nothing but its length and, at most,
// that it is deflated: its bytes are read the same way on every page.
bool plainContents(QPDFObjectHandle contents)
{
    if (!contents.isStream())
        return false;
    QPDFObjectHandle dictionary = contents.getDict();
    for (const std::string& key : dictionary.getKeys())
        if (key != "/Length" && (key != "/Filter" || !dictionary.getKey(key).isNameAndEquals("/FlateDecode")))
            return false;
    return true;
}

// Entries of several pages' resources, compared by how they are written:
// "7 0 R" for a shared object, the value itself for a direct one.
class JoinedResources {
public:
    bool add(QPDFObjectHandle resources)
    {
        if (!resources.isDictionary())
            return false;
        for (const auto& [key, value] : resources.ditems()) {
            QPDFObjectHandle category = value;
            if (!category.isDictionary()) {
                if (!join(others_, key, category))
                    return false;
                continue;
            }
            auto& entries = categories_[key];
            for (const auto& [name, entry] : category.ditems())
                if (!join(entries, name, entry))
                    return false;
        }
        return true;
    }

    QPDFObjectHandle dictionary() const
    {
        QPDFObjectHandle out = QPDFObjectHandle::newDictionary();
        for (const auto& [key, value] : others_)
            out.replaceKey(key, value.first);
        for (const auto& [key, entries] : categories_) {
            QPDFObjectHandle category = QPDFObjectHandle::newDictionary();
            for (const auto& [name, value] : entries)
                category.replaceKey(name, value.first);
            out.replaceKey(key, category);
        }
        return out;
    }

private:
    using Entries = std::map<std::string, std::pair<QPDFObjectHandle, std::string>>;

    static bool join(Entries& entries, const std::string& key, QPDFObjectHandle value)
    {
        std::string written = value.unparse();
        const auto [known, added] = entries.try_emplace(key, value, written);
        return added || known->second.second == written;
    }

    Entries others_;
    std::map<std::string, Entries> categories_;
};

// The widths of every Type0 font with two-byte codes and a CID font under
// it that gives them; other fonts' text is left as it was.
FontWidths readFonts(QPDFObjectHandle resources)
{
    FontWidths fonts;
    QPDFObjectHandle list = resources.getKey("/Font");
    if (!list.isDictionary())
        return fonts;
    for (const auto& [name, value] : list.ditems()) {
        QPDFObjectHandle font = value;
        QPDFObjectHandle descendants = font.getKey("/DescendantFonts");
        if (!font.getKey("/Subtype").isNameAndEquals("/Type0")
            || !font.getKey("/Encoding").isNameAndEquals("/Identity-H") || !descendants.isArray()
            || descendants.getArrayNItems() != 1)
            continue;
        QPDFObjectHandle cidFont = descendants.getArrayItem(0);
        QPDFObjectHandle subtype = cidFont.getKey("/Subtype");
        if (!subtype.isNameAndEquals("/CIDFontType2") && !subtype.isNameAndEquals("/CIDFontType0"))
            continue;
        if (auto widths = GlyphWidths::read(cidFont.getKey("/W"), cidFont.getKey("/DW")))
            fonts.emplace(name, std::move(*widths));
    }
    return fonts;
}

}  // namespace

std::optional<Book> readBook(QPDF& pdf)
{
    Book book;
    JoinedResources resources;
    for (QPDFObjectHandle page : pdf.getAllPages()) {
        BookPage entry{page, page.getKey("/Contents"), false, {}};
        if (!readBox(page.getKey("/MediaBox"), entry.media) || !plainContents(entry.contents)
            || !resources.add(page.getKey("/Resources")))
            return std::nullopt;
        entry.deflated = entry.contents.getDict().hasKey("/Filter");
        book.pages.push_back(std::move(entry));
    }
    if (book.pages.empty())
        return std::nullopt;
    book.resources = resources.dictionary();
    book.fonts = readFonts(book.resources);
    return book;
}

}  // namespace recibo::pdf
