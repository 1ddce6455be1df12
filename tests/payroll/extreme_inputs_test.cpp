// The largest and smallest values each box's type admits, through whole runs
// of "Calcular": points at the ends of an Integer, counts at the end of a
// Byte, hours and amounts up to the largest number a double holds. Each run
// either gives the receipt the pay scale gives, figure for figure, or fails
// naming the box behind the value; an amount is never wrapped, saturated or
// cut to fit.

#include <charconv>
#include <limits>

#include "calculation_test_support.h"

namespace recibo::testing {
namespace {

using ExtremeInputs = CalculationTest;

constexpr auto E = Column::Earnings;
constexpr auto D = Column::Deductions;

// The largest double written out in full: 309 digits, a valid number text.
std::string largestNumber()
{
    char digits[400];
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, std::numeric_limits<double>::max(), std::chars_format::fixed);
    return std::string(digits, end);
}

// The first whole number beyond every double.
std::string beyondLargestNumber()
{
    return "1" + std::string(309, '0');
}

void checkAll(EntryValues& entry)
{
    entry.iosper = entry.osplad = entry.aportejub = entry.ley4035 = entry.agmer = entry.cajacomp = entry.seguro3011 =
        CheckState::Checked;
}

TEST_P(ExtremeInputs, LargestPointsAndCountsComputeExactly)
{
    // Every Integer box of a position at 32767, the highest seniority and
    // zone, the most kilometres and the most children a Byte holds.
    choosePosition("32767", "0", "32767", "32767");
    chooseSeniority(12);
    entry.zona = 4;
    entry.dinasist = "5";
    entry.transporte = entry.hijos = entry.conyuge = CheckState::Checked;
    entry.cantkm = "32767";
    entry.cantidadhijos = "255";
    checkAll(entry);

    const Receipt receipt = run();
    const std::vector<ShownLine> expected = {
        {"001", "1", "Asign. de la categoría", L("$32249.2814"), E},
        {"052", "", "Jornada completa", L("$ 39418.701"), E},
        {"052", "", "Prol. de Jornada", L("$ 39418.701"), E},
        {"010", "120 %", "Antigüedad", L("$ 133304.0201"), E},
        {"078", "120 %", "As. por zona", L("$ 133304.0201"), E},
        {"006", "", "Adic. Art 2 y 3 Dcrto 5863/05", "$ 633", E},
        {"014", L("0.7"), "Product Dcrto 5863/05", L("$ 44.31"), E},
        {"084", "", "Incentivo de Nación", "$ 330", E},
        {"113", "", "Negro de Nación", "$ 200", E},
        {"188", "7.0", "Plus Productividad", L("$ 26438.6307"), E},
        {"029", "", "transporte por KM", L("$ 328.45"), E},
        {"1001", "255", "Sal fam hijo", "$ 29835", E},  // 255 × 117: the highest income's rate
        {"1003", "255", "Familia numerosa", "$ 3", E},
        {"1010", "", "Sal fam Cony", "$ 15", E},
        {"440", "5", "Reajuste cod. 188", L("$ 26438.6307"), D},
        {"505", "3 %", "IOSPER", L("$ 11351.161"), D},
        {"508", "3 %", "OSPLAD", L("$ 11351.161"), D},
        {"502", "16 %", "Aporte Jub.", L("$ 60539.5254"), D},
        {"504", "0,6 %", "Ley 4035", L("$ 2270.2322"), D},
        {"332", "2 %", "AGMER", L("$ 7574.0407"), D},
        {"512", "4,5 %", "Caja Comp.", L("$ 17026.7415"), D},
        {"510", "2 %", "Seguro 3011", L("$ 7567.4407"), D},
    };
    EXPECT_EQ(shown(receipt), expected);
    EXPECT_EQ(receipt.state.remunerativo, money(3783720336));
    EXPECT_EQ(receipt.thaberes, L("$ 435522.1143"));
    EXPECT_EQ(receipt.tdescuentos, L("$ 144118.9332"));
    EXPECT_EQ(receipt.liquido, L("$ 291403.1811"));

    // Rounded half to even, 32767.4 is still 32767.
    position.punbas = position.jorcom = position.proljor = L("32767.4");
    EXPECT_EQ(shown(run()), expected);
}

TEST_P(ExtremeInputs, SmallestPointsAndKilometresComputeExactly)
{
    // Negative points are taken as typed: the basic amount and what is a
    // percentage of it go negative, the working-day lines are left out and
    // count as nothing.
    choosePosition("-32768", "0", "-32768", "-32768");
    chooseSeniority(12);
    entry.zona = 4;
    entry.transporte = CheckState::Checked;
    entry.cantkm = "-32768";
    checkAll(entry);

    const Receipt receipt = run();
    const std::vector<ShownLine> expected = {
        {"001", "1", "Asign. de la categoría", L("$-32250.2656"), E},
        {"010", "120 %", "Antigüedad", L("$ -38700.3187"), E},
        {"078", "120 %", "As. por zona", L("$ -38700.3187"), E},
        {"006", "", "Adic. Art 2 y 3 Dcrto 5863/05", "$ 956", E},
        {"014", L("0.7"), "Product Dcrto 5863/05", L("$ 66.92"), E},
        {"084", "", "Incentivo de Nación", "$ 165", E},
        {"113", "", "Negro de Nación", "$ 100", E},
        {"188", "7.0", "Plus Productividad", L("$ -7675.5632"), E},
        {"029", "", "transporte por KM", L("$ -35845.7803"), E},
        {"505", "3 %", "IOSPER", L("$ -3489.1064"), D},
        {"508", "3 %", "OSPLAD", L("$ -3489.1064"), D},
        {"502", "16 %", "Aporte Jub.", L("$ -18608.5674"), D},
        {"504", "0,6 %", "Ley 4035", L("$ -697.8213"), D},
        {"332", "2 %", "AGMER", L("$ -2322.7709"), D},
        {"512", "4,5 %", "Caja Comp.", L("$ -5233.6596"), D},
        {"510", "2 %", "Seguro 3011", L("$ -2326.0709"), D},
    };
    EXPECT_EQ(shown(receipt), expected);
    EXPECT_EQ(receipt.thaberes, L("$ -151884.3265"));
    EXPECT_EQ(receipt.tdescuentos, L("$ -36167.1029"));
    EXPECT_EQ(receipt.liquido, L("$ -115717.2236"));

    // -32768.5 rounds half to even to -32768, still inside the Integer.
    position.punbas = L("-32768.5");
    EXPECT_EQ(shown(run()), expected);
}

TEST_P(ExtremeInputs, LargestFamilyThatComputes)
{
    // 218 children and the most disabled children whose allowance fits in an
    // Integer (37 × 880 = 32560) make 255, the most a Byte sum holds.
    choosePosition("32767", "0", "32767", "32767");
    entry.hijos = entry.hijosdisc = CheckState::Checked;
    entry.cantidadhijos = "218";
    entry.cantidadhijosdisc = "37";

    const Receipt receipt = run();
    ASSERT_NE(findLine(receipt, "1001"), nullptr);
    EXPECT_EQ(findLine(receipt, "1001")->amount, "$ 25506");  // 218 × 117
    EXPECT_EQ(findLine(receipt, "1002")->amount, "$ 32560");
    EXPECT_EQ(findLine(receipt, "1003")->quantity, "255");
    EXPECT_EQ(receipt.thaberes, L("$ 177567.6812"));
}

TEST_P(ExtremeInputs, JustBeyondATypeFailsNamingTheBox)
{
    const std::string largest = largestNumber();
    const std::string beyond = beyondLargestNumber();
    const struct {
        const char* name;
        std::string text;  // typed into the box, decimal point written as "."
        std::string EntryValues::*entryBox;
        std::string SelectedPosition::*positionBox;
        const char* control;
        const char* messagePart;
    } cases[] = {
        {"base points 32767.5", "32767.5", nullptr, &SelectedPosition::punbas, "punbas", "(de -32768 a 32767)"},
        {"base points -32768.6", "-32768.6", nullptr, &SelectedPosition::punbas, "punbas", "(de -32768 a 32767)"},
        {"full-day points 32767.5", "32767.5", nullptr, &SelectedPosition::jorcom, "jorcom", "(de -32768 a 32767)"},
        {"full-day points -32769", "-32769", nullptr, &SelectedPosition::jorcom, "jorcom", "(de -32768 a 32767)"},
        {"extended-day points 32768", "32768", nullptr, &SelectedPosition::proljor, "proljor", "(de -32768 a 32767)"},
        {"extended-day points -32768.6", "-32768.6", nullptr, &SelectedPosition::proljor, "proljor",
         "(de -32768 a 32767)"},
        {"kilometres 32767.5", "32767.5", &EntryValues::cantkm, nullptr, "cantkm", "(de -32768 a 32767)"},
        {"kilometres -32769", "-32769", &EntryValues::cantkm, nullptr, "cantkm", "(de -32768 a 32767)"},
        {"children 255.5", "255.5", &EntryValues::cantidadhijos, nullptr, "cantidadhijos", "(de 0 a 255)"},
        {"disabled children 256", "256", &EntryValues::cantidadhijosdisc, nullptr, "cantidadhijosdisc", "(de 0 a 255)"},
        // The Currency of the differentiated task ends at 922337203685477.5807;
        // the nearest double above it is beyond.
        {"differentiated task past Currency", "922337203685477.5807", nullptr, &SelectedPosition::tardif, "tardif",
         "fuera del rango permitido para un importe"},
        {"differentiated task beyond a double", beyond, nullptr, &SelectedPosition::tardif, "tardif",
         "fuera del rango permitido para un importe"},
        {"complement beyond a double", beyond, nullptr, &SelectedPosition::compbas, "compbas", "es demasiado grande"},
        {"complement at the largest double", largest, nullptr, &SelectedPosition::compbas, "compbas",
         "da un importe demasiado grande"},
        {"absence days beyond a double", beyond, &EntryValues::dinasist, nullptr, "dinasist", "es demasiado grande"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        entry = {};
        choosePosition("1500");
        entry.transporte = entry.hijos = entry.hijosdisc = CheckState::Checked;
        if (c.entryBox != nullptr)
            entry.*c.entryBox = L(c.text);
        else
            position.*c.positionBox = L(c.text);

        const Unusable failure = runFailing();
        EXPECT_EQ(failure.where, c.control);
        EXPECT_EQ(failure.text, L(c.text));
        EXPECT_NE(failure.message.find(c.messagePart), std::string::npos) << failure.message;
    }
}

TEST_P(ExtremeInputs, CappedHoursBoxesTakeTheirCapUpToTheLargestNumber)
{
    // A trillion middle-level hours still fit an amount; the boxes whose
    // items have a ceiling take it even at the largest double, and so many
    // days of absence take the whole productivity plus.
    const std::string largest = largestNumber();
    entry.kind = EmploymentKind::MiddleLevelHours;
    entry.numerohorasmed = "1000000000000";
    entry.numhorascod06 = entry.numhorasincen = entry.numhorascod113 = entry.dinasist = largest;
    checkAll(entry);

    const Receipt receipt = run();
    // The amounts are the products in double precision converted to
    // Currency; at this size a double no longer carries every ten-thousandth,
    // which is where the last digits of "001" and "188" come from.
    const std::vector<ShownLine> expected = {
        {"001", "1000000000000", "Hs. N. Medio", L("$63707266000000.0128"), E},
        {"006", "30", "Adic. Art 2 y 3 Dcrto 5863/05", L("$ 324.3"), E},
        {"014", L("0.7"), "Product Dcrto 5863/05", L("$ 22.701"), E},
        {"084", "30", "Incentivo de Nación", "$ 330", E},
        {"113", "30", "Negro de Nación", "$ 200", E},
        {"188", "7.0", "Plus Productividad", L("$ 4459508620000.0016"), E},
        {"440", largest, "Reajuste cod. 188", L("$ 4459508620000.0016"), D},
        {"505", "3 %", "IOSPER", L("$ 1911217980010.41"), D},
        {"508", "3 %", "OSPLAD", L("$ 1911217980010.41"), D},
        {"502", "16 %", "Aporte Jub.", L("$ 10193162560055.5216"), D},
        {"504", "0,6 %", "Ley 4035", L("$ 382243596002.082"), D},
        {"332", "2 %", "AGMER", L("$ 1274145320013.5402"), D},
        {"512", "4,5 %", "Caja Comp.", L("$ 2866826970015.6152"), D},
        {"510", "2 %", "Seguro 3011", L("$ 1274145320006.9402"), D},
    };
    EXPECT_EQ(shown(receipt), expected);
    EXPECT_EQ(receipt.header.punbasicos, "64730000000000");  // 15 significant digits
    EXPECT_EQ(receipt.thaberes, L("$ 68166774620877.0154"));
    EXPECT_EQ(receipt.tdescuentos, L("$ 24272468346114.5208"));
    EXPECT_EQ(receipt.liquido, L("$ 43894306274762.4946"));

    // The incentive of a hugely negative count of hours is 0, not a failure.
    entry.numhorasincen = "-" + largest;
    EXPECT_EQ(findLine(run(), "084"), nullptr);
}

TEST_P(ExtremeInputs, HoursTooLargeForTheReceiptFailNamingTheBox)
{
    const std::string largest = largestNumber();
    const struct {
        const char* name;
        EmploymentKind kind;
        std::string EntryValues::*box;
        std::string text;
        int seniorityOption;
        const char* control;
        const char* messagePart;
    } cases[] = {
        {"middle-level hours at the largest double", EmploymentKind::MiddleLevelHours, &EntryValues::numerohorasmed,
         largest, 0, "numerohorasmed", "da un importe demasiado grande"},
        {"higher-level hours at the most negative double", EmploymentKind::HigherLevelHours,
         &EntryValues::numerohorassup, "-" + largest, 0, "numerohorassup", "da un importe demasiado grande"},
        {"higher-level hours beyond a double", EmploymentKind::HigherLevelHours, &EntryValues::numerohorassup,
         beyondLargestNumber(), 0, "numerohorassup", "es demasiado grande"},
        // The basic amount fits; the plus on top of it takes the totals
        // beyond Currency.
        {"hours whose totals pass Currency", EmploymentKind::MiddleLevelHours, &EntryValues::numerohorasmed,
         "14000000000000", 0, "numerohorasmed", "lleva el recibo a importes demasiado grandes"},
        // The seniority percentage is taken of the base exactly in Currency
        // first: 120 times the base no longer fits, although a tenth would.
        {"seniority of a base beyond a 120th of Currency", EmploymentKind::MiddleLevelHours,
         &EntryValues::numerohorasmed, "1000000000000", 12, "numerohorasmed",
         "lleva el recibo a importes demasiado grandes"},
        {"hours with code 06 hugely negative", EmploymentKind::MiddleLevelHours, &EntryValues::numhorascod06,
         "-" + largest, 0, "numhorascod06", "da un importe demasiado grande"},
        {"hours with code 113 hugely negative", EmploymentKind::HigherLevelHours, &EntryValues::numhorascod113,
         "-" + largest, 0, "numhorascod113", "da un importe demasiado grande"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        entry = {};
        entry.kind = c.kind;
        entry.numerohorasmed = entry.numerohorassup = "10";
        entry.*c.box = c.text;
        if (c.seniorityOption != 0)
            chooseSeniority(c.seniorityOption);

        const Unusable failure = runFailing();
        EXPECT_EQ(failure.where, c.control);
        EXPECT_EQ(failure.text, c.text);
        EXPECT_NE(failure.message.find(c.messagePart), std::string::npos) << failure.message;
    }

    // A tenth of the same base still computes.
    entry = {};
    entry.kind = EmploymentKind::MiddleLevelHours;
    entry.numerohorasmed = "1000000000000";
    chooseSeniority(2);
    EXPECT_EQ(run().thaberes, L("$ 74983452082000.0152"));
}

TEST_P(ExtremeInputs, LargestDifferentiatedTask)
{
    // 800 trillion points of differentiated task still give a receipt...
    choosePosition("32767", "0", "0", "0", "800000000000000");
    checkAll(entry);
    const Receipt receipt = run();
    ASSERT_NE(findLine(receipt, "016"), nullptr);
    EXPECT_EQ(findLine(receipt, "016")->amount, "$ 787360000000000");
    EXPECT_EQ(findLine(receipt, "188")->amount, L("$ 55115200002257.4528"));
    EXPECT_EQ(findLine(receipt, "502")->amount, L("$ 134796032005521.0752"));
    EXPECT_EQ(receipt.thaberes, L("$ 842475200034771.7342"));
    EXPECT_EQ(receipt.tdescuentos, L("$ 262009787210734.9"));
    EXPECT_EQ(receipt.liquido, L("$ 580465412824036.8342"));

    // ...while the largest Currency the box reads does not: the remunerative
    // base passes the end of Currency, and the box behind it is named.
    position.tardif = "922337203685477";
    const Unusable failure = runFailing();
    EXPECT_EQ(failure.where, "tardif");
    EXPECT_EQ(failure.text, "922337203685477");
    EXPECT_NE(failure.message.find("lleva el recibo a importes demasiado grandes"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BothSettings, ExtremeInputs, kBothSettings, settingsName);

}  // namespace
}  // namespace recibo::testing
