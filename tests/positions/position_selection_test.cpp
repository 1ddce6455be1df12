#include "positions/position_selection.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "positions/catalogue.h"

namespace recibo::positions {
namespace {

using payroll::RegionalSettings;
using Box = PositionSelection::ValueBox;

// Everything the dialog shows or keeps, for comparing two dialogs whole.
struct State {
    std::string code;
    std::optional<int> nameRow;
    std::string nameText;
    std::optional<int> codeListRow;
    std::optional<int> pointsListRow;
    std::vector<std::string> values;  // punbas, compbas, proljor, jorcom, tardif
    bool listoEnabled;

    bool operator==(const State&) const = default;
};

std::ostream& operator<<(std::ostream& os, const State& s)
{
    auto row = [](std::optional<int> r) { return r ? std::to_string(*r) : std::string("none"); };
    os << "{code \"" << s.code << "\", name row " << row(s.nameRow) << " \"" << s.nameText << "\", code row "
       << row(s.codeListRow) << ", points row " << row(s.pointsListRow) << ", values";
    for (const auto& v : s.values)
        os << " \"" << v << '"';
    return os << ", listo " << (s.listoEnabled ? "on" : "off") << '}';
}

State stateOf(const PositionSelection& d)
{
    return {d.code(),
            d.nameRow(),
            d.nameText(),
            d.codeListRow(),
            d.pointsListRow(),
            {d.value(Box::Punbas), d.value(Box::Compbas), d.value(Box::Proljor), d.value(Box::Jorcom),
             d.value(Box::Tardif)},
            d.listoEnabled()};
}

// The state that showing catalogue row r in full leads to.
State rowShown(int r)
{
    const CatalogueRow& row = catalogue()[r];
    return {std::string(row.codigocargo),
            r,
            std::string(row.cargox),
            r,
            r,
            {std::string(row.puntosbasicos), std::string(row.compbasico), std::string(row.proljornada),
             std::string(row.jorcompleta), std::string(row.tareadif)},
            true};
}

// No row anywhere, empty value boxes, "Listo" disabled.
State nothingFound(const std::string& code)
{
    return {code, std::nullopt, "", std::nullopt, std::nullopt, {"", "", "", "", ""}, false};
}

void typeCode(PositionSelection& d, const std::string& code)
{
    d.clickCodeBox();
    for (std::size_t n = 1; n <= code.size(); ++n)
        d.setCode(code.substr(0, n));
}

TEST(PositionSelection, StartsWithCodeZeroAndNothingSelected)
{
    const PositionSelection d;
    EXPECT_EQ(stateOf(d), (State{"0", std::nullopt, "", std::nullopt, std::nullopt, {"", "", "", "", ""}, true}));
}

TEST(PositionSelection, TypingACodeFindsTheRowOnlyWhenComplete)
{
    PositionSelection d;
    d.clickCodeBox();
    d.setCode("6");
    EXPECT_EQ(stateOf(d), nothingFound("6"));
    d.setCode("64");
    EXPECT_EQ(stateOf(d), nothingFound("64"));
    d.setCode("645");
    EXPECT_EQ(stateOf(d), rowShown(2));
    EXPECT_EQ(d.nameText(), "Asesor Pedag Proyecto 13");
    EXPECT_EQ(d.value(Box::Punbas), "2329");
    EXPECT_EQ(d.value(Box::Compbas), "0");
    EXPECT_EQ(d.value(Box::Proljor), "0");
    EXPECT_EQ(d.value(Box::Jorcom), "0");
    EXPECT_EQ(d.value(Box::Tardif), "0");
    EXPECT_TRUE(d.listoEnabled());
}

TEST(PositionSelection, TypingACodeAndPickingItsNameLeadToTheSameStateForEveryRow)
{
    for (int r = 0; r < kCatalogueRows; ++r) {
        SCOPED_TRACE("row " + std::to_string(r));
        PositionSelection typed;
        typeCode(typed, std::string(catalogue()[r].codigocargo));
        PositionSelection picked;
        picked.selectName(r);
        EXPECT_EQ(stateOf(typed), rowShown(r));
        EXPECT_EQ(stateOf(picked), rowShown(r));
    }
}

TEST(PositionSelection, RepeatedNamesAreReachedThroughTheirOwnRows)
{
    PositionSelection d;
    d.selectName(13);
    EXPECT_EQ(d.code(), "633");
    d.selectName(14);
    EXPECT_EQ(stateOf(d), rowShown(14));
    EXPECT_EQ(d.code(), "750");
    EXPECT_EQ(d.value(Box::Punbas), "971");
    EXPECT_EQ(d.value(Box::Compbas), "170");
    EXPECT_EQ(d.nameText(), "Bibliotecario");

    // And back from a code to the first of them.
    d.setCode("633");
    EXPECT_EQ(stateOf(d), rowShown(13));
}

TEST(PositionSelection, AnUnknownCodeAfterAFoundOneClearsEverything)
{
    for (const std::string unknown : {"6450", "64", "0645", " 645", "645 ", "601", "abc"}) {
        SCOPED_TRACE('"' + unknown + '"');
        PositionSelection d;
        d.setCode("645");
        d.setCode(unknown);
        EXPECT_EQ(stateOf(d), nothingFound(unknown));
    }
}

TEST(PositionSelection, AnUnknownCodeClearsANameTypedIntoTheList)
{
    PositionSelection d;
    d.clickCodeBox();
    d.setNameText("Biblio");
    EXPECT_EQ(d.nameText(), "Biblio");
    d.setCode("7");
    EXPECT_EQ(stateOf(d), nothingFound("7"));
}

TEST(PositionSelection, ClickingIntoTheCodeBoxEmptiesItAndDisablesListo)
{
    PositionSelection d;
    d.setCode("726");
    ASSERT_TRUE(d.listoEnabled());
    d.clickCodeBox();
    EXPECT_EQ(stateOf(d), nothingFound(""));

    // On a new dialog too: the code "0" goes and "Listo" turns off.
    PositionSelection fresh;
    fresh.clickCodeBox();
    EXPECT_EQ(stateOf(fresh), nothingFound(""));
}

TEST(PositionSelection, HandlersRunOnlyWhenTheValueChanges)
{
    PositionSelection d;
    d.setCode("750");
    d.setValue(Box::Compbas, "200");
    d.setValue(Box::Tardif, "17");

    d.setCode("750");  // the same text: nothing runs
    EXPECT_EQ(d.value(Box::Compbas), "200");
    EXPECT_EQ(d.value(Box::Tardif), "17");

    d.selectName(14);  // the row already selected: nothing runs
    EXPECT_EQ(d.value(Box::Compbas), "200");
    EXPECT_EQ(d.value(Box::Tardif), "17");
    EXPECT_EQ(d.value(Box::Punbas), "971");
}

TEST(PositionSelection, OutOfRangeRowsSelectNothing)
{
    PositionSelection d;
    d.setCode("645");
    d.selectName(kCatalogueRows);
    EXPECT_EQ(d.nameRow(), std::nullopt);
    EXPECT_EQ(d.nameText(), "");
    d.selectName(-1);
    EXPECT_EQ(d.nameRow(), std::nullopt);
}

TEST(PositionSelection, SalirSinDatosKeepsTheCodeAndZeroesTheValues)
{
    PositionSelection d;
    d.setCode("726");
    d.salirSinDatos();
    EXPECT_EQ(stateOf(d), (State{"726", std::nullopt, "", std::nullopt, 282, {"0", "0", "0", "0", "0"}, true}));

    // "Listo" then hands over zeros with the previous code.
    for (const auto& settings : {RegionalSettings::pointDecimal(), RegionalSettings::commaDecimal()}) {
        const auto accepted = d.listo(settings);
        EXPECT_EQ(accepted.codcargo, "726");
        EXPECT_EQ(accepted.punbas, "0");
        EXPECT_EQ(accepted.compbas, "0");
        EXPECT_EQ(accepted.proljor, "0");
        EXPECT_EQ(accepted.jorcom, "0");
        EXPECT_EQ(accepted.tardif, "0");
        EXPECT_EQ(accepted.cargoName, "");
        EXPECT_FALSE(accepted.deselectPosition);
    }

    // The calculation reads the boxes and the selected list rows: the code
    // list lost its row, the base-points list kept it.
    const auto selected = d.selected();
    EXPECT_EQ(selected.punbas, "0");
    EXPECT_EQ(selected.codigocargo, "");
    EXPECT_EQ(selected.puntosbasicos, "1500");
    EXPECT_EQ(selected.cargox, "");
}

TEST(PositionSelection, SalirSinDatosKeepsListoAsItWas)
{
    PositionSelection d;
    d.setCode("12");
    ASSERT_FALSE(d.listoEnabled());
    d.salirSinDatos();
    EXPECT_EQ(stateOf(d),
              (State{"12", std::nullopt, "", std::nullopt, std::nullopt, {"0", "0", "0", "0", "0"}, false}));
}

TEST(PositionSelection, PickingTheNameOfTheKeptCodeAfterSalirSinDatosShowsAllItsValues)
{
    PositionSelection d;
    d.setCode("726");
    d.salirSinDatos();
    d.selectName(282);
    EXPECT_EQ(stateOf(d), rowShown(282));
    EXPECT_EQ(d.value(Box::Compbas), "101");
    EXPECT_EQ(d.value(Box::Tardif), "150");
}

TEST(PositionSelection, RetypingTheKeptCodeAfterSalirSinDatosShowsAllItsValues)
{
    PositionSelection d;
    d.setCode("823");
    d.salirSinDatos();
    typeCode(d, "823");
    EXPECT_EQ(stateOf(d), rowShown(288));
    EXPECT_EQ(d.value(Box::Jorcom), "657");
}

struct ListoCase {
    const char* label;
    std::string code;  // typed; "-" keeps the new dialog's code
    bool deselect;
};

void PrintTo(const ListoCase& c, std::ostream* os)
{
    *os << c.label;
}

// A case, read under decimal comma (true) or decimal point (false).
class ListoTest : public ::testing::TestWithParam<std::tuple<ListoCase, bool>> {};

TEST_P(ListoTest, HandsOverTheBoxesAndDeselectsOnlyForNoCode)
{
    const auto& [c, comma] = GetParam();
    const RegionalSettings settings = comma ? RegionalSettings::commaDecimal() : RegionalSettings::pointDecimal();
    PositionSelection d;
    if (c.code != "-")
        typeCode(d, c.code);
    const auto accepted = d.listo(settings);
    EXPECT_EQ(accepted.codcargo, d.code());
    EXPECT_EQ(accepted.punbas, d.value(Box::Punbas));
    EXPECT_EQ(accepted.compbas, d.value(Box::Compbas));
    EXPECT_EQ(accepted.proljor, d.value(Box::Proljor));
    EXPECT_EQ(accepted.jorcom, d.value(Box::Jorcom));
    EXPECT_EQ(accepted.tardif, d.value(Box::Tardif));
    EXPECT_EQ(accepted.cargoName, d.nameText());
    EXPECT_EQ(accepted.deselectPosition, c.deselect);
}

std::string listoName(const ::testing::TestParamInfo<ListoTest::ParamType>& info)
{
    const auto& [c, comma] = info.param;
    return std::string(c.label) + (comma ? "_comma" : "_point");
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ListoTest,
    ::testing::Combine(::testing::Values(ListoCase{"NewDialog", "-", true}, ListoCase{"Found645", "645", false},
                                         ListoCase{"Found999", "999", false}, ListoCase{"Found750", "750", false},
                                         ListoCase{"EmptyAfterClick", "", true}),
                       ::testing::Bool()),
    listoName);

TEST(PositionSelection, ListoOnANewDialogHandsOverEmptyValues)
{
    for (const auto& settings : {RegionalSettings::pointDecimal(), RegionalSettings::commaDecimal()}) {
        const PositionSelection d;
        const auto accepted = d.listo(settings);
        EXPECT_EQ(accepted.codcargo, "0");
        EXPECT_EQ(accepted.punbas, "");
        EXPECT_EQ(accepted.compbas, "");
        EXPECT_EQ(accepted.proljor, "");
        EXPECT_EQ(accepted.jorcom, "");
        EXPECT_EQ(accepted.tardif, "");
        EXPECT_EQ(accepted.cargoName, "");
        EXPECT_TRUE(accepted.deselectPosition);
    }
}

TEST(PositionSelection, ListoKeepsIrregularNamesExactly)
{
    for (const int row : {19, 295, 85}) {
        SCOPED_TRACE("row " + std::to_string(row));
        PositionSelection d;
        d.selectName(row);
        const auto accepted = d.listo(RegionalSettings::commaDecimal());
        EXPECT_EQ(accepted.cargoName, catalogue()[row].cargox);
        EXPECT_EQ(d.selected().cargox, catalogue()[row].cargox);
        EXPECT_FALSE(accepted.deselectPosition);
    }
    PositionSelection d;
    d.selectName(295);
    EXPECT_EQ(d.selected().cargox.back(), ' ');
}

TEST(PositionSelection, SelectedGivesWhatTheCalculationReads)
{
    PositionSelection d;
    EXPECT_EQ(d.selected().punbas, "");
    EXPECT_EQ(d.selected().codigocargo, "");
    EXPECT_EQ(d.selected().puntosbasicos, "");
    EXPECT_EQ(d.selected().cargox, "");

    d.setCode("823");
    auto s = d.selected();
    EXPECT_EQ(s.punbas, "1700");
    EXPECT_EQ(s.compbas, "75");
    EXPECT_EQ(s.proljor, "0");
    EXPECT_EQ(s.jorcom, "657");
    EXPECT_EQ(s.tardif, "0");
    EXPECT_EQ(s.codigocargo, "823");
    EXPECT_EQ(s.puntosbasicos, "1700");
    EXPECT_EQ(s.cargox,
              "Vicedirector 1era Categor\xC3\xAD"
              "a Jornada Completa");

    // The boxes are read as they stand, edits included, accepted or not.
    d.setValue(Box::Compbas, "80");
    d.setValue(Box::Jorcom, "620");
    d.setValue(Box::Proljor, "100");
    d.setValue(Box::Tardif, "17");
    s = d.selected();
    EXPECT_EQ(s.compbas, "80");
    EXPECT_EQ(s.jorcom, "620");
    EXPECT_EQ(s.proljor, "100");
    EXPECT_EQ(s.tardif, "17");
    EXPECT_EQ(s.punbas, "1700");

    // Another code: every field follows the new row.
    d.setCode("670");
    s = d.selected();
    EXPECT_EQ(s.punbas, "1740");
    EXPECT_EQ(s.compbas, "70");
    EXPECT_EQ(s.proljor, "750");
    EXPECT_EQ(s.jorcom, "0");
    EXPECT_EQ(s.codigocargo, "670");
    EXPECT_EQ(s.puntosbasicos, "1740");
}

}  // namespace
}  // namespace recibo::positions
