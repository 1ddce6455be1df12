#include "positions/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace recibo::positions {
namespace {

// The whole number a point field holds; nullopt unless the text is only
// decimal digits without a superfluous leading zero.
std::optional<int> wholeNumber(std::string_view text)
{
    if (text.empty() || (text.size() > 1 && text.front() == '0'))
        return std::nullopt;
    if (!std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// Characters, not bytes, of a UTF-8 text.
std::size_t codePoints(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

TEST(Catalogue, HoldsAllRowsWithNoEmptyField)
{
    const auto& rows = catalogue();
    ASSERT_EQ(rows.size(), kCatalogueRows);
    for (int i = 0; i < kCatalogueRows; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const CatalogueRow& r = rows[i];
        for (std::string_view field :
             {r.codigocargo, r.cargox, r.puntosbasicos, r.compbasico, r.tareadif, r.jorcompleta, r.proljornada})
            EXPECT_FALSE(field.empty());
    }
    EXPECT_EQ(rows[0].cargox, "Analista Princ Tec Doc");
    EXPECT_EQ(rows[kCatalogueRows - 1].codigocargo, "733");
    EXPECT_EQ(rows[kCatalogueRows - 1].cargox, "Visitador");
}

TEST(Catalogue, CodesAreUniqueThreeDigitNumbersFrom600To999)
{
    std::set<std::string_view> seen;
    for (int i = 0; i < kCatalogueRows; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const std::string_view code = catalogue()[i].codigocargo;
        ASSERT_EQ(code.size(), 3u);
        const auto value = wholeNumber(code);
        ASSERT_TRUE(value.has_value());
        EXPECT_GE(*value, 600);
        EXPECT_LE(*value, 999);
        EXPECT_TRUE(seen.insert(code).second) << "duplicate code " << code;
    }
}

TEST(Catalogue, PointFieldsAreWholeNumbersWithinTheirRanges)
{
    const std::set<int> tareadifValues{0, 17, 20, 150};
    const std::set<int> jorcompletaValues{0, 155, 620, 657, 659, 663, 669, 839};
    for (int i = 0; i < kCatalogueRows; ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const CatalogueRow& r = catalogue()[i];
        const auto basicos = wholeNumber(r.puntosbasicos);
        const auto comp = wholeNumber(r.compbasico);
        const auto tarea = wholeNumber(r.tareadif);
        const auto jornada = wholeNumber(r.jorcompleta);
        const auto prolongacion = wholeNumber(r.proljornada);
        ASSERT_TRUE(basicos && comp && tarea && jornada && prolongacion);

        EXPECT_GE(*basicos, 574);
        EXPECT_LE(*basicos, 3429);
        EXPECT_TRUE(r.puntosbasicos.size() == 3 || r.puntosbasicos.size() == 4);
        EXPECT_GE(*comp, 0);
        EXPECT_LE(*comp, 779);
        EXPECT_TRUE(tareadifValues.count(*tarea)) << r.tareadif;
        EXPECT_TRUE(jorcompletaValues.count(*jornada)) << r.jorcompleta;
        EXPECT_GE(*prolongacion, 0);
        EXPECT_LE(*prolongacion, 830);
        // A position has a full working day or an extended one, never both.
        EXPECT_TRUE(*jornada == 0 || *prolongacion == 0) << r.jorcompleta << " / " << r.proljornada;
    }
}

TEST(Catalogue, NamesAreAtMost65Characters)
{
    for (int i = 0; i < kCatalogueRows; ++i)
        EXPECT_LE(codePoints(catalogue()[i].cargox), 65u) << "row " << i;
}

TEST(Catalogue, RepeatedNamesAreExactlyTheTwelveKnownOnesAtTheirRows)
{
    std::map<std::string_view, std::vector<int>> rowsByName;
    for (int i = 0; i < kCatalogueRows; ++i)
        rowsByName[catalogue()[i].cargox].push_back(i);

    std::map<std::string_view, std::vector<int>> repeated;
    for (const auto& [name, rows] : rowsByName) {
        if (rows.size() > 1)
            repeated.emplace(name, rows);
    }

    const std::map<std::string_view, std::vector<int>> expected{
        {"Asistente Social", {6, 7}},
        {"Bibliotecario", {13, 14, 15, 16}},
        {"Director Escuela Adultos 2da Categoría", {68, 69}},
        {"Director Escuela Educación Especial", {74, 75}},
        {"Director Personal Único", {86, 87}},
        {"Maestro De Grado", {149, 150}},
        {"Maestro De Grado Diferenciado", {153, 154}},
        {"Maestro De Grado Jornada Completa", {157, 158}},
        {"Maestro Jardín De Infantes", {197, 198}},
        {"Maestro Nivelador", {203, 204}},
        {"Psicólogo", {222, 223}},
        {"Psicopedagogo", {224, 225}},
    };
    EXPECT_EQ(repeated, expected);
}

TEST(Catalogue, RowsThatDifferOnlyByAnAccentAreDistinct)
{
    const CatalogueRow& plain = catalogue()[94];
    const CatalogueRow& accented = catalogue()[95];
    EXPECT_EQ(plain.cargox, "Fonoaudiologo");
    EXPECT_EQ(accented.cargox, "Fonoaudi\xC3\xB3logo");
    EXPECT_EQ(plain.codigocargo, "943");
    EXPECT_EQ(accented.codigocargo, "764");
}

TEST(Catalogue, IrregularNamesAreKeptExactly)
{
    struct Case {
        int row;
        std::string_view code;
        std::string_view name;
    };
    // Written with byte escapes so that an editor cannot normalise them.
    const Case cases[] = {
        {19, "779", "CAPACITADORES CENTROS LABORALES   Mecl"},
        {295, "795",
         "Vicedirector Dpto. Aplicaci\xC3\xB3n De 2da Categor\xC3\xAD"
         "a "},
        {85, "736", "Director Parque Escolar \"Velquira\""},
        {91, "988", "Director/Rector 1\xC2\xA7 - 2 Turnos"},
        {92, "989", "Director/Rector 1\xC2\xA7 - 3 Turnos"},
        {41, "648", "Director De 1\xC2\xB0 C.E.F."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(c.row));
        EXPECT_EQ(catalogue()[c.row].codigocargo, c.code);
        EXPECT_EQ(catalogue()[c.row].cargox, c.name);
        EXPECT_EQ(catalogue()[c.row].cargox.size(), c.name.size());
    }
    EXPECT_EQ(catalogue()[295].cargox.back(), ' ');
    EXPECT_NE(catalogue()[19].cargox.find("LABORALES   Mecl"), std::string_view::npos);
    EXPECT_EQ(catalogue()[19].cargox.find("LABORALES    "), std::string_view::npos);
}

TEST(Catalogue, RowsKeepTheirFieldsTogether)
{
    struct Case {
        int row;
        CatalogueRow fields;
    };
    const Case cases[] = {
        {0, {"999", "Analista Princ Tec Doc", "3146", "0", "0", "0", "0"}},
        {2, {"645", "Asesor Pedag Proyecto 13", "2329", "0", "0", "0", "0"}},
        {13, {"633", "Bibliotecario", "941", "174", "0", "0", "0"}},
        {14, {"750", "Bibliotecario", "971", "170", "0", "0", "0"}},
        {282,
         {"726",
          "T\xC3\xA9"
          "cnico Diferenciado",
          "1500", "101", "150", "0", "0"}},
        {288,
         {"823",
          "Vicedirector 1era Categor\xC3\xAD"
          "a Jornada Completa",
          "1700", "75", "0", "657", "0"}},
        {293, {"670", "Vicedirector De 1era Cat. Con Prolong. De Jorn.", "1740", "70", "0", "0", "750"}},
        {310, {"733", "Visitador", "1150", "147", "0", "0", "0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(c.row));
        const CatalogueRow& r = catalogue()[c.row];
        EXPECT_EQ(r.codigocargo, c.fields.codigocargo);
        EXPECT_EQ(r.cargox, c.fields.cargox);
        EXPECT_EQ(r.puntosbasicos, c.fields.puntosbasicos);
        EXPECT_EQ(r.compbasico, c.fields.compbasico);
        EXPECT_EQ(r.tareadif, c.fields.tareadif);
        EXPECT_EQ(r.jorcompleta, c.fields.jorcompleta);
        EXPECT_EQ(r.proljornada, c.fields.proljornada);
    }
}

TEST(CatalogueLookup, MatchesTheWholeTextExactly)
{
    struct Case {
        std::string_view code;
        std::optional<int> row;
    };
    const Case cases[] = {
        {"645", 2},   {"999", 0},  {"750", 14},  {"633", 13},  {"733", 310},          {"0", {}},
        {"", {}},     {"6", {}},   {"64", {}},   {"0645", {}}, {" 645", {}},          {"645 ", {}},
        {"6450", {}}, {"601", {}}, {"1000", {}}, {"+645", {}}, {"Bibliotecario", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(findByCode(c.code), c.row) << '"' << c.code << '"';

    const auto row = findByCode("645");
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(catalogue()[*row].cargox, "Asesor Pedag Proyecto 13");
    EXPECT_EQ(catalogue()[*row].puntosbasicos, "2329");
}

TEST(CatalogueLookup, FindsEveryRowByItsOwnCode)
{
    for (int i = 0; i < kCatalogueRows; ++i)
        EXPECT_EQ(findByCode(catalogue()[i].codigocargo), i);
}

TEST(CatalogueLookup, AnEmbeddedNulIsPartOfTheText)
{
    using namespace std::string_view_literals;
    EXPECT_EQ(findByCode("645\0"sv), std::nullopt);
    EXPECT_EQ(findByCode("\0"
                         "645"sv),
              std::nullopt);
}

// A catalogue with texts of its own outlives the one it was copied from, and
// one moved from stays whole: copies share the rows.
TEST(CatalogueCopies, KeepRowsAndLookupsWhateverHappensToTheOriginal)
{
    std::optional<Catalogue> original(std::vector<CatalogueEntry>{{"101", "Uno", "10", "0", "0", "0", "0"},
                                                                  {"102", "Dos", "20", "0", "0", "0", "0"}});
    const Catalogue copy = *original;
    const Catalogue moved = std::move(*original);
    EXPECT_EQ(original->size(), 2);
    original.reset();
    for (const Catalogue* kept : {&copy, &moved}) {
        EXPECT_EQ(kept->findByCode("102"), 1);
        EXPECT_EQ((*kept)[1].cargox, "Dos");
    }
}

}  // namespace
}  // namespace recibo::positions
