// Whole runs of "Calcular", from the boxes' texts to the receipt.

#include "calculation_test_support.h"

namespace recibo::testing {
namespace {

using Calculation = CalculationTest;

TEST_P(Calculation, TypicalRequestGivesTheWholeReceipt)
{
    entry.docente = "Pérez, Ana María";
    choosePosition("2329");
    position.codigocargo = "645";
    position.cargox = "Asesor Pedag Proyecto 13";
    chooseSeniority(4);  // "Entre 5 y 7 años"
    entry.zona = 1;      // "Alejada radio urbano"
    entry.iosper = entry.aportejub = entry.agmer = CheckState::Checked;

    const Receipt receipt = run();

    const auto E = Column::Earnings;
    const auto D = Column::Deductions;
    const std::vector<ShownLine> expected = {
        {"001", "1", "Asign. de la categoría", L("$2292.2018"), E},
        {"010", "30 %", "Antigüedad", L("$ 687.6605"), E},
        {"078", "20 %", "As. por zona", L("$ 458.4404"), E},
        {"006", "", "Adic. Art 2 y 3 Dcrto 5863/05", "$ 0", E},
        {"014", L("0.7"), "Product Dcrto 5863/05", "$ 0", E},
        {"084", "", "Incentivo de Nación", "$ 165", E},
        {"113", "", "Negro de Nación", "$ 100", E},
        {"188", "7.0", "Plus Productividad", L("$ 240.6812"), E},
        {"505", "3 %", "IOSPER", L("$ 110.3695"), D},
        {"502", "16 %", "Aporte Jub.", L("$ 588.6374"), D},
        {"332", "2 %", "AGMER", L("$ 76.8797"), D},
    };
    EXPECT_EQ(shown(receipt), expected);
    EXPECT_EQ(receipt.thaberes, L("$ 3943.9839"));
    EXPECT_EQ(receipt.tdescuentos, L("$ 775.8866"));
    EXPECT_EQ(receipt.liquido, L("$ 3168.0973"));
    EXPECT_EQ(receipt.state.remunerativo, money(36789839));
    EXPECT_EQ(receipt.docente, "Pérez, Ana María");
    EXPECT_EQ(receipt.header.label11, "Código del cargo");
    EXPECT_EQ(receipt.header.numcargo, "645");
    EXPECT_EQ(receipt.header.punbasicos, "2329");
    EXPECT_EQ(receipt.header.carsel, "Asesor Pedag Proyecto 13");
    EXPECT_TRUE(receipt.header.showsPositionPoints);
    EXPECT_EQ(receipt.rowsWritten(), 11);
}

TEST_P(Calculation, NoKindChosenIsTheNoticeAndNoReceipt)
{
    entry.iosper = CheckState::Checked;
    const Unusable failure = runFailing();
    EXPECT_EQ(failure.where, "");
    EXPECT_EQ(failure.message, "No seleccionaste cargo ni horas");
}

TEST_P(Calculation, PositionEarnings)
{
    choosePosition("1500");
    Receipt receipt = run();
    ASSERT_FALSE(receipt.lines.empty());
    EXPECT_EQ(shown(receipt)[0], (ShownLine{"001", "1", "Asign. de la categoría", L("$1476.3"), Column::Earnings}));
    EXPECT_EQ(findLine(receipt, "002"), nullptr);
    EXPECT_EQ(findLine(receipt, "052"), nullptr);
    EXPECT_EQ(findLine(receipt, "016"), nullptr);
    // With nothing between, the next item takes row 1.
    EXPECT_EQ(receipt.lines[1].code, "006");

    choosePosition("1500", "101", "155", "0", "150");
    receipt = run();
    EXPECT_EQ(codes(receipt)[1], "002");
    EXPECT_EQ(findLine(receipt, "002")->amount, L("$ 99.4042"));
    EXPECT_EQ(findLine(receipt, "052", "Jornada completa")->amount, L("$ 186.465"));
    EXPECT_EQ(findLine(receipt, "052", "Prol. de Jornada"), nullptr);
    EXPECT_EQ(findLine(receipt, "016")->amount, L("$ 147.63"));
}

struct Item006Case {
    const char* name;
    int seniorityOption;  // 0: none ticked
    const char* fullDay;
    const char* base;
    const char* amount;
};

TEST_P(Calculation, Item006ForAPositionFollowsItsTable)
{
    const Item006Case cases[] = {
        {"no bracket counts as the first", 0, "155", "1500", "$ 0"},
        {"5 to 7 years, 1401-1942", 4, "155", "1500", "$ 240"},
        {"5 to 7 years, full day, base from 972", 4, "620", "1500", "$ 435"},
        {"full day, base up to 971", 12, "620", "971", "$ 770"},
        {"full day 619 is not full day", 12, "619", "971", "$ 956"},
        {"below 1 year, base 971", 1, "0", "971", "$ 409"},
        {"below 1 year, base 972", 1, "0", "972", "$ 99"},
        {"base below every range", 2, "0", "574", "$ 581"},
        {"2 to 5 years, base 1169", 3, "0", "1169", "$ 224"},
        {"2 to 5 years, base 1170", 3, "0", "1170", "$ 298"},
        {"2 to 5 years, base 1400", 3, "0", "1400", "$ 298"},
        {"7 to 10 years, base 2220", 5, "0", "2220", "$ 224"},
        {"7 to 10 years, base 2221", 5, "0", "2221", "$ 174"},
        {"over 24 years, base 3429", 12, "0", "3429", "$ 236"},
    };
    for (const Item006Case& c : cases) {
        SCOPED_TRACE(c.name);
        choosePosition(c.base, "0", c.fullDay);
        entry.seniorityOption = c.seniorityOption;
        EXPECT_EQ(amountOf("006"), c.amount);
    }
}

TEST_P(Calculation, NationalItemsOfAPositionChangeAt600FullDayPoints)
{
    choosePosition("1700", "75", "600");
    EXPECT_EQ(amountOf("084"), "$ 330");
    EXPECT_EQ(amountOf("113"), "$ 200");
    choosePosition("1700", "75", "599");
    EXPECT_EQ(amountOf("084"), "$ 165");
    EXPECT_EQ(amountOf("113"), "$ 100");
    entry.opincentivo = CheckState::Unchecked;
    EXPECT_EQ(amountOf("084"), "(absent)");
    entry.opincentivo = CheckState::Grayed;
    EXPECT_EQ(amountOf("084"), "(absent)");
}

struct HoursCase {
    const char* name;
    EmploymentKind kind;
    const char* box;  // which hours box the text goes to
    const char* typed;
    const char* code;  // the line looked at
    const char* quantity;
    const char* amount;
};

TEST_P(Calculation, HoursItemsWithTheirCapsAndQuantities)
{
    const auto M = EmploymentKind::MiddleLevelHours;
    const auto H = EmploymentKind::HigherLevelHours;
    const HoursCase cases[] = {
        {"middle, 29 hours code 06", M, "06", "29", "006", "29", "$ 313.49"},
        {"middle, 30 hours code 06", M, "06", "30", "006", "30", "$ 324.3"},
        {"middle, 45 hours code 06 show 30", M, "06", "45", "006", "30", "$ 324.3"},
        {"middle, 12.5 hours shown as typed", M, "06", "12.5", "006", "12.5", "$ 135.125"},
        {"higher, 14 hours code 06", H, "06", "14", "006", "14", "$ 151.34"},
        {"higher, 15 hours code 06", H, "06", "15", "006", "15", "$ 162.15"},
        {"middle, 30 incentive hours reach the ceiling", M, "incen", "30", "084", "30", "$ 330"},
        {"middle, 29 incentive hours", M, "incen", "29", "084", "29", "$ 319"},
        {"middle, 0 incentive hours", M, "incen", "0", "084", "", "(absent)"},
        {"middle, negative incentive hours", M, "incen", "-3", "084", "", "(absent)"},
        {"higher, 23 incentive hours", H, "incen", "23", "084", "23", "$ 316.25"},
        {"higher, 24 incentive hours", H, "incen", "24", "084", "24", "$ 330"},
        {"middle, 30 hours code 113 stay below the ceiling", M, "113", "30", "113", "30", "$ 199.998"},
        {"middle, 31 hours code 113", M, "113", "31", "113", "30", "$ 200"},
        {"higher, 24 hours code 113", H, "113", "24", "113", "24", "$ 199.9992"},
        {"higher, 25 hours code 113", H, "113", "25", "113", "24", "$ 200"},
        {"middle, no hours code 113", M, "113", "0", "113", "0", "$ 0"},
    };
    for (const HoursCase& c : cases) {
        SCOPED_TRACE(c.name);
        entry = {};
        entry.kind = c.kind;
        std::string& box = std::string_view(c.box) == "06" ? entry.numhorascod06
            : std::string_view(c.box) == "incen"           ? entry.numhorasincen
                                                           : entry.numhorascod113;
        box = L(c.typed);
        const Receipt receipt = run();
        const ReceiptLine* line = findLine(receipt, c.code);
        if (std::string_view(c.amount) == "(absent)") {
            EXPECT_EQ(line, nullptr);
            continue;
        }
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->quantity, L(c.quantity));
        EXPECT_EQ(line->amount, L(c.amount));
    }
}

TEST_P(Calculation, HoursHeaderAndBasicAmount)
{
    entry.kind = EmploymentKind::MiddleLevelHours;
    entry.numerohorasmed = "12";
    Receipt receipt = run();
    EXPECT_EQ(shown(receipt)[0], (ShownLine{"001", "12", "Hs. N. Medio", L("$764.4872"), Column::Earnings}));
    EXPECT_EQ(receipt.header.label11, "Cantidad de horas");
    EXPECT_EQ(receipt.header.numcargo, "12");
    EXPECT_EQ(receipt.header.punbasicos, L("776.76"));
    EXPECT_EQ(receipt.header.carsel, "Horas de nivel medio");
    EXPECT_FALSE(receipt.header.showsPositionPoints);

    entry.kind = EmploymentKind::HigherLevelHours;
    entry.numerohorassup = "12";
    receipt = run();
    EXPECT_EQ(shown(receipt)[0], (ShownLine{"001", "12", "Hs. N. Superior", L("$1026.3238"), Column::Earnings}));
    EXPECT_EQ(receipt.header.punbasicos, L("1042.8"));
    EXPECT_EQ(receipt.header.carsel, "Horas de nivel superior");
}

TEST_P(Calculation, HoursNeverCarryAPositionsAmounts)
{
    choosePosition("1500", "101", "155", "0", "150");  // the dialog still holds a position
    entry.kind = EmploymentKind::MiddleLevelHours;
    entry.numerohorasmed = "10";
    const Receipt receipt = run();
    for (const char* code : {"002", "052", "016", "172"})
        EXPECT_EQ(findLine(receipt, code), nullptr) << code;
    EXPECT_EQ(receipt.state.impjornada, money(0));
    EXPECT_EQ(receipt.state.impcompbas, money(0));
    EXPECT_EQ(receipt.state.imptardif, money(0));
    EXPECT_EQ(receipt.state.sumabase, receipt.state.impbasico);
}

TEST_P(Calculation, NegativeHoursGiveNegativeLinesButNoHiddenDeduction)
{
    entry.kind = EmploymentKind::MiddleLevelHours;
    entry.numerohorasmed = "-2";
    entry.numhorascod06 = "-2";
    entry.numhorascod113 = "-2";
    entry.numhorasincen = "-2";
    entry.dinasist = "1";
    const Receipt receipt = run();
    EXPECT_EQ(findLine(receipt, "001")->amount, L("$-127.4145"));
    EXPECT_EQ(findLine(receipt, "006")->amount, L("$ -21.62"));
    EXPECT_EQ(findLine(receipt, "113")->amount, L("$ -13.3332"));
    EXPECT_EQ(findLine(receipt, "084"), nullptr);
    // The plus is negative, so its absence reduction is not written and
    // must not lower the base either.
    EXPECT_LT(receipt.state.impplus, money(0));
    EXPECT_EQ(findLine(receipt, "440"), nullptr);
    EXPECT_EQ(receipt.state.descinasist, money(0));
    EXPECT_EQ(receipt.tdescuentos, "$ 0");
}

TEST_P(Calculation, EachWorkingDayLineShowsItsOwnAmount)
{
    choosePosition("1500", "0", "155", "100");
    const Receipt receipt = run();
    EXPECT_EQ(findLine(receipt, "052", "Jornada completa")->amount, L("$ 186.465"));
    EXPECT_EQ(findLine(receipt, "052", "Prol. de Jornada")->amount, L("$ 120.3"));
    EXPECT_EQ(receipt.state.impjornada, money(3067650));
}

TEST_P(Calculation, AWorkingDayAmountWithoutItsLineCountsAsNothing)
{
    choosePosition("1500", "0", "-10", "-20");
    const Receipt receipt = run();
    EXPECT_EQ(findLine(receipt, "052"), nullptr);
    EXPECT_EQ(receipt.state.impjornada, money(0));
    EXPECT_EQ(receipt.state.sumabase, money(14763000));
}

TEST_P(Calculation, SeniorityAndZoneLines)
{
    choosePosition("1500");
    EXPECT_EQ(amountOf("010"), "(absent)");
    chooseSeniority(1);  // 0 %
    EXPECT_EQ(amountOf("010"), "(absent)");
    chooseSeniority(9);
    Receipt receipt = run();
    EXPECT_EQ(findLine(receipt, "010")->quantity, "80 %");
    EXPECT_EQ(findLine(receipt, "010")->amount, L("$ 1181.04"));
    chooseSeniority(10);
    EXPECT_EQ(run().lines[1].quantity, "100 %");

    for (int zone : {-1, 0}) {
        entry.zona = zone;
        EXPECT_EQ(amountOf("078"), "(absent)") << zone;
    }
    entry.zona = 4;
    receipt = run();
    EXPECT_EQ(findLine(receipt, "078")->quantity, "120 %");
    EXPECT_EQ(findLine(receipt, "078")->amount, L("$ 1771.56"));
}

TEST_P(Calculation, TransportByKilometre)
{
    choosePosition("1500");
    entry.cantkm = "300";
    EXPECT_EQ(amountOf("029"), "(absent)");  // the box counts only when ticked
    entry.transporte = CheckState::Checked;
    EXPECT_EQ(amountOf("029"), L("$ 328.1779"));
    entry.cantkm = "301";
    EXPECT_EQ(amountOf("029"), L("$ 328.45"));
    entry.cantkm = "-10";
    EXPECT_EQ(amountOf("029"), L("$ -10.9393"));
}

TEST_P(Calculation, FamilyAllowances)
{
    choosePosition("1500");
    entry.hijos = CheckState::Checked;
    entry.cantidadhijos = "0";
    Receipt receipt = run();
    EXPECT_EQ(findLine(receipt, "1001")->quantity, "0");
    EXPECT_EQ(findLine(receipt, "1001")->amount, "$ 0");

    entry.cantidadhijos = "2";
    entry.hijosdisc = CheckState::Checked;
    entry.cantidadhijosdisc = "1";
    receipt = run();
    EXPECT_EQ(findLine(receipt, "1001")->amount, "$ 440");
    EXPECT_EQ(findLine(receipt, "1002")->amount, "$ 880");
    EXPECT_EQ(findLine(receipt, "1003")->quantity, "3");
    EXPECT_EQ(findLine(receipt, "1003")->amount, "$ 3");

    entry.hijos = CheckState::Unchecked;
    entry.cantidadhijosdisc = "3";
    receipt = run();
    EXPECT_EQ(findLine(receipt, "1001"), nullptr);
    EXPECT_EQ(findLine(receipt, "1002")->amount, "$ 2640");
    EXPECT_EQ(findLine(receipt, "1003")->quantity, "3");

    entry.conyuge = CheckState::Checked;
    receipt = run();
    const ReceiptLine* spouse = findLine(receipt, "1010");
    ASSERT_NE(spouse, nullptr);
    EXPECT_EQ(spouse->amount, "$ 15");
    EXPECT_EQ(spouse->description, "Sal fam Cony");
    EXPECT_FALSE(spouse->showsQuantity);
}

TEST_P(Calculation, TheFullestReceiptHas26RowsAndAddsUp)
{
    choosePosition("1000", "1", "1", "1", "1");
    chooseSeniority(2);
    entry.zona = 1;
    entry.transporte = entry.hijos = entry.hijosdisc = entry.conyuge = CheckState::Checked;
    entry.cantkm = "100";
    entry.cantidadhijos = "2";
    entry.cantidadhijosdisc = "1";
    entry.dinasist = "1";
    entry.iosper = entry.osplad = entry.aportejub = entry.ley4035 = entry.agmer = entry.cajacomp = entry.seguro3011 =
        CheckState::Checked;
    const Receipt receipt = run();

    const std::vector<std::string> expected = {"001", "002", "052", "052", "016", "010",  "078",  "006",  "014",
                                               "084", "113", "188", "172", "029", "1001", "1002", "1003", "1010",
                                               "440", "505", "508", "502", "504", "332",  "512",  "510"};
    EXPECT_EQ(codes(receipt), expected);
    EXPECT_EQ(receipt.rowsWritten(), kMaxReceiptLines);

    Currency earnings, deductions;
    for (const ReceiptLine& line : receipt.lines) {
        const auto amount = readCurrency(line.amount.substr(line.amount[1] == ' ' ? 2 : 1), settings());
        ASSERT_TRUE(amount.ok()) << line.amount;
        (line.column == Column::Earnings ? earnings : deductions) =
            *(line.column == Column::Earnings ? earnings : deductions).plus(amount.value);
    }
    EXPECT_EQ(receipt.state.totalhaberes, earnings);
    EXPECT_EQ(receipt.state.totaldescuentos, deductions);
    EXPECT_EQ(*earnings.minus(deductions), receipt.state.impliquido);
}

INSTANTIATE_TEST_SUITE_P(BothSettings, Calculation, kBothSettings, settingsName);

}  // namespace
}  // namespace recibo::testing
