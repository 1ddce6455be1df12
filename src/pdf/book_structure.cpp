#include "book_structure.h"

#include <set>

namespace recibo::pdf {

namespace {

bool isEmptyArray(const Object& value)
{
    return value.kind == Object::Kind::Array && value.items.empty();
}

void collectReferences(const Object& value, std::set<int>& out)
{
    if (value.kind == Object::Kind::Reference)
        out.insert(value.reference);
    for (const Object& item : value.items)
        collectReferences(item, out);
}

bool readBox(const Object* value, Box& box)
{
    return value && value->kind == Object::Kind::Array && value->items.size() == 4 && value->items[0].number(box.x0)
        && value->items[1].number(box.y0) && value->items[2].number(box.x1) && value->items[3].number(box.y1);
}

class Reader {
public:
    explicit Reader(const Document& document) : document_(document)
    {
        book_.pageOfContents.assign(document.size(), -1);
        book_.pageOfObject.assign(document.size(), -1);
        book_.dropped.assign(document.size(), false);
    }

    std::optional<BookStructure> read()
    {
        const Object catalog = document_.resolved(*document_.trailer().get("/Root"));
        const Object* pagesEntry = catalog.get("/Pages");
        if (!pagesEntry || pagesEntry->kind != Object::Kind::Reference)
            return std::nullopt;
        const Object tree = document_.resolved(*pagesEntry);
        const Object* kids = tree.get("/Kids");
        if (!tree.get("/Type") || !tree.get("/Type")->isName("/Pages") || !kids || kids->kind != Object::Kind::Array
            || kids->items.empty())
            return std::nullopt;
        for (const Object& kid : kids->items)
            if (kid.kind != Object::Kind::Reference || !readPage(kid.reference))
                return std::nullopt;
        if (!onlyKeptReferred() || !readFonts())
            return std::nullopt;
        return std::move(book_);
    }

private:
    bool readPage(int number)
    {
        if (!document_.inUse(number) || book_.pageOfObject[number] != -1)
            return false;
        auto page = document_.object(number);
        if (!page || !page->stream.empty() || !page->value.get("/Type") || !page->value.get("/Type")->isName("/Page"))
            return false;
        BookPage entry;
        entry.object = number;
        const Object* contents = page->value.get("/Contents");
        const Object* resources = page->value.get("/Resources");
        if (!readBox(page->value.get("/MediaBox"), entry.media) || !contents || !resources
            || contents->kind != Object::Kind::Reference || !readContents(contents->reference))
            return false;
        entry.contents = contents->reference;
        if (resources->kind == Object::Kind::Reference && !drop(resources->reference))
            return false;
        if (!joinResources(document_.resolved(*resources)))
            return false;
        if (const Object* annotations = page->value.get("/Annots"); annotations
            && annotations->kind == Object::Kind::Reference && isEmptyArray(document_.resolved(*annotations))
            && !drop(annotations->reference))
            return false;
        entry.dictionary = std::move(page->value);
        book_.pageOfObject[number] = int(book_.pages.size());
        book_.pageOfContents[entry.contents] = int(book_.pages.size());
        book_.pages.push_back(std::move(entry));
        return true;
    }

    // An object the compacted book leaves out; a reference to no object of
    // the table is no book this reader knows.
    bool drop(int number)
    {
        if (!document_.inUse(number))
            return false;
        book_.dropped[number] = true;
        return true;
    }

    // A stream of its own, with no other filter than /FlateDecode.
    bool readContents(int number)
    {
        if (!document_.inUse(number) || book_.pageOfContents[number] != -1)
            return false;
        auto contents = document_.object(number);
        if (!contents || contents->value.kind != Object::Kind::Dictionary)
            return false;
        const auto& items = contents->value.items;
        for (std::size_t i = 0; i < items.size(); i += 2) {
            if (items[i].text == "/Length") {
                if (items[i + 1].kind == Object::Kind::Reference && !drop(items[i + 1].reference))
                    return false;
            } else if (items[i].text != "/Filter" || !items[i + 1].isName("/FlateDecode")) {
                return false;
            }
        }
        return true;
    }

    bool joinResources(const Object& resources)
    {
        if (resources.kind != Object::Kind::Dictionary)
            return false;
        for (std::size_t i = 0; i < resources.items.size(); i += 2) {
            const std::string key(resources.items[i].text);
            const Object category = document_.resolved(resources.items[i + 1]);
            collectReferences(resources.items[i + 1], resourceReferences_);
            if (category.kind != Object::Kind::Dictionary) {
                auto [known, added] = book_.otherResources.emplace(key, std::string(category.text));
                if (!added && known->second != category.text)
                    return false;
                continue;
            }
            auto& entries = book_.resources[key];
            for (std::size_t j = 0; j < category.items.size(); j += 2) {
                auto [known, added] =
                    entries.emplace(std::string(category.items[j].text), std::string(category.items[j + 1].text));
                if (!added && known->second != category.items[j + 1].text)
                    return false;
            }
        }
        return true;
    }

    // Every object that stays must be readable where the table says, and
    // none may refer to one that goes.
    bool onlyKeptReferred()
    {
        std::set<int> referred = resourceReferences_;
        for (const auto& [category, entries] : book_.resources)
            for (const auto& [name, value] : entries)
                collectReferences(Scanner(value).read(), referred);
        for (int number = 1; number < document_.size(); ++number) {
            if (!document_.inUse(number) || book_.dropped[number] || book_.pageOfContents[number] != -1)
                continue;
            if (const int page = book_.pageOfObject[number]; page != -1) {
                const auto& items = book_.pages[page].dictionary.items;
                for (std::size_t i = 0; i < items.size(); i += 2)
                    if (items[i].text != "/Resources" && items[i].text != "/Annots")
                        collectReferences(items[i + 1], referred);
                continue;
            }
            const auto object = document_.object(number);
            if (!object)
                return false;
            collectReferences(object->value, referred);
        }
        collectReferences(document_.trailer(), referred);
        for (int number = 1; number < document_.size(); ++number)
            if (book_.dropped[number] && (book_.pageOfObject[number] != -1 || book_.pageOfContents[number] != -1))
                return false;
        for (int number : referred)
            if (number > 0 && number < document_.size() && book_.dropped[number])
                return false;
        return true;
    }

    // The widths of every Type0 font with two-byte codes and a CID font
    // under it that gives them; other fonts' text is left as it was.
    bool readFonts()
    {
        const auto fonts = book_.resources.find("/Font");
        if (fonts == book_.resources.end())
            return true;
        for (const auto& [name, value] : fonts->second) {
            const Object font = document_.resolved(Scanner(value).read());
            const Object* encoding = font.get("/Encoding");
            const Object* descendants = font.get("/DescendantFonts");
            if (!font.get("/Subtype") || !font.get("/Subtype")->isName("/Type0") || !encoding
                || !encoding->isName("/Identity-H") || !descendants)
                continue;
            const Object list = document_.resolved(*descendants);
            if (list.kind != Object::Kind::Array || list.items.size() != 1)
                continue;
            const Object cidFont = document_.resolved(list.items[0]);
            if (!cidFont.get("/Subtype")
                || !(cidFont.get("/Subtype")->isName("/CIDFontType2")
                     || cidFont.get("/Subtype")->isName("/CIDFontType0")))
                continue;
            const Object* widths = cidFont.get("/W");
            if (!widths)
                continue;
            const Object resolvedWidths = document_.resolved(*widths);
            const Object* defaultWidth = cidFont.get("/DW");
            if (auto read = GlyphWidths::read(&resolvedWidths, defaultWidth))
                book_.fonts.emplace(name, std::move(*read));
        }
        return true;
    }

    const Document& document_;
    BookStructure book_;
    std::set<int> resourceReferences_;
};

}  // namespace

std::optional<BookStructure> readBookStructure(const Document& document)
{
    return Reader(document).read();
}

}  // namespace recibo::pdf
