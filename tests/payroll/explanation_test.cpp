// Explanations: every operation an explanation writes, evaluated from its own
// operands with the engine's rounding, gives the result it states, and the
// last amount it names is the line's (or total's) amount; on many generated
// entries. Then one worked example per kind of line, checked by hand.

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "calculation_test_support.h"
#include "common/explanation_check.h"
#include "payroll/explanation_text.h"

namespace recibo::testing {
namespace {

using explanation_check::check;
using explanation_check::Checked;

// Many entries of every kind, drawn from a fixed seed.
std::vector<std::pair<EntryValues, SelectedPosition>> generatedEntries(const RegionalSettings& settings, int count)
{
    std::mt19937 random(20101);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const auto decimal = [&](int high) {
        std::string text = std::to_string(pick(0, high));
        if (pick(0, 2) == 0)
            text += settings.decimalSeparator + std::to_string(pick(0, 9999));
        return text;
    };
    const auto box = [&] { return pick(0, 1) == 0 ? CheckState::Unchecked : CheckState::Checked; };
    std::vector<std::pair<EntryValues, SelectedPosition>> entries;
    for (int i = 0; i < count; ++i) {
        EntryValues e;
        SelectedPosition p;
        e.kind = static_cast<EmploymentKind>(pick(1, 3));
        p.punbas = std::to_string(pick(0, 3000));
        p.compbas = pick(0, 3) == 0 ? decimal(400) : "0";
        p.jorcom = std::to_string(pick(0, 3) == 0 ? pick(0, 900) : 0);
        p.proljor = std::to_string(pick(0, 3) == 0 ? pick(0, 900) : 0);
        p.tardif = pick(0, 3) == 0 ? decimal(300) : "0";
        e.numerohorasmed = e.numerohorassup = decimal(40);
        e.numhorascod06 = decimal(30);
        e.numhorasincen = decimal(30);
        e.numhorascod113 = decimal(30);
        e.seniorityOption = pick(0, 12);
        e.pctantig = e.seniorityOption == 0 ? 0 : builtInPayScale().seniorityPercent[e.seniorityOption - 1];
        e.porcantig = std::to_string(e.pctantig) + " %";
        e.zona = pick(-1, 4);
        e.opincentivo = box();
        e.dinasist = std::to_string(pick(0, 6));
        e.transporte = box();
        e.cantkm = std::to_string(pick(0, 400));
        e.hijos = box();
        e.cantidadhijos = std::to_string(pick(0, 6));
        e.hijosdisc = box();
        e.cantidadhijosdisc = std::to_string(pick(0, 3));
        e.conyuge = box();
        e.iosper = e.osplad = e.aportejub = box();
        e.ley4035 = e.agmer = box();
        e.cajacomp = e.seguro3011 = box();
        entries.emplace_back(std::move(e), std::move(p));
    }
    return entries;
}

class Explanations : public ::testing::TestWithParam<RegionalSettings> {};

TEST_P(Explanations, EveryOperationGivesItsAmountAndPlainRunsWriteNone)
{
    int receipts = 0, operations = 0;
    for (const auto& [entry, position] : generatedEntries(GetParam(), 4000)) {
        const auto explained = calculate(entry, position, GetParam(), builtInPayScale(), Explain::Yes);
        const auto plain = calculate(entry, position, GetParam());
        ASSERT_EQ(explained.index(), plain.index());
        if (plain.index() != 0)
            continue;
        const Receipt& receipt = std::get<Receipt>(explained);
        const Receipt& plainReceipt = std::get<Receipt>(plain);
        ASSERT_EQ(shown(receipt), shown(plainReceipt));
        ASSERT_EQ(plainReceipt.explanations, nullptr);
        const ReceiptExplanations& texts = *receipt.explanations;
        std::vector<std::pair<std::string_view, std::string_view>> all = {
            {texts.of(texts.thaberes), receipt.thaberes},
            {texts.of(texts.tdescuentos), receipt.tdescuentos},
            {texts.of(texts.liquido), receipt.liquido}};
        for (std::size_t i = 0; i < receipt.lines.size(); ++i)
            all.emplace_back(receipt.explanation(i), receipt.lines[i].amount);
        for (const auto& [explanation, amount] : all) {
            const Checked checked = check(explanation, amount, GetParam());
            ASSERT_EQ(checked.problem, "") << explanation;
            operations += checked.operations;
        }
        ++receipts;
    }
    // Most entries compute, and most explanations hold an operation.
    EXPECT_GT(receipts, 3000);
    EXPECT_GT(operations, receipts * 10);
}

INSTANTIATE_TEST_SUITE_P(Settings, Explanations, kBothSettings);

// The evaluator itself: it refuses an operation that does not give its result.
TEST(ExplanationCheck, FindsAWrongOperation)
{
    const RegionalSettings comma = RegionalSettings::commaDecimal();
    EXPECT_EQ(check("2329 puntos × 0,9842 por punto = $ 2292,2018", "$2292,2018", comma).problem, "");
    EXPECT_NE(check("2329 puntos × 0,9842 por punto = $ 2292,2019", "$2292,2019", comma).problem, "");
    EXPECT_NE(check("30 % de $ 100 = $ 30", "$ 31", comma).problem, "");
    EXPECT_NE(check("$ 10 (001) + $ 2 (052) = $ 13", "$ 13", comma).problem, "");
}

// One worked example per kind of line, figured by hand from the built-in scale.
struct WorkedExample {
    const char* name;
    std::string_view code;
    std::string explanation;
};

TEST(ExplanationExamples, OnePerKindOfLine)
{
    const RegionalSettings comma = RegionalSettings::commaDecimal();
    EntryValues e;
    e.kind = EmploymentKind::Position;
    const SelectedPosition position{"1300", "127", "0", "0", "0", "600", "1300", "Cargo"};
    e.seniorityOption = 4;
    e.pctantig = 30;
    e.porcantig = "30 %";
    e.zona = 1;
    e.opincentivo = e.transporte = e.hijos = e.conyuge = e.iosper = e.agmer = CheckState::Checked;
    e.dinasist = "2";
    e.cantkm = "30";
    e.cantidadhijos = "2";
    const Receipt receipt = std::get<Receipt>(calculate(e, position, comma, builtInPayScale(), Explain::Yes));
    const std::string remunerative =
        "básico 001 + comp. básico 002 + zona 078 + antigüedad 010 + adicional 006 + productividad 014 + plus 188 − "
        "inasistencias 440";
    const WorkedExample examples[] = {
        {"points", "001", "1300 puntos × 0,9842 por punto = $ 1279,46"},
        {"percentage", "010",
         "30 % de antigüedad (entre 5 y 7 años) de $ 1404,4534 = $ 421,336 (redondeado a cuatro decimales) (la base: "
         "básico 001 + comp. básico 002)"},
        {"percentage of the zone", "078",
         "20 % por zona (Alejada radio urbano) de $ 1404,4534 = $ 280,8907 (redondeado a cuatro decimales) (la base: "
         "básico 001 + comp. básico 002)"},
        {"table", "006",
         "Monto de la tabla del ítem 006 para la antigüedad elegida, 1300 puntos básicos y 0 de jornada completa: "
         "$ 298."},
        {"rate of an amount", "014",
         "Productividad del decreto 5863/05, sobre el ítem 006: $ 298 (006) × 0,07 = $ 20,86"},
        {"fixed for a position", "084", "Monto fijo de un cargo con menos de 600 puntos de jornada completa: $ 165."},
        {"transport", "029", "30 km × 0,2734816 por km × 4 semanas = $ 32,8178 (redondeado a cuatro decimales)"},
        {"children", "1001",
         "2 hijos × $ 220 por hijo = $ 440 (tramo del ingreso familiar $ 2838,0077: el primero, hasta $ 3190)"},
        {"absence", "440", "Plus de $ 147,4676 por 2 días de inasistencia: $ 147,4676 × 0,5 = $ 73,7338"},
        {"deduction", "505",
         "3 % del remunerativo: $ 2499,2739 × 0,03 = $ 74,9782 (redondeado a cuatro decimales) (el remunerativo: "
             + remunerative + ")"},
        {"deduction with the incentive", "332",
         "2 % del remunerativo y el incentivo: $ 2664,2739 × 0,02 = $ 53,2855 (redondeado a cuatro decimales) (el "
         "remunerativo: "
             + remunerative + "; más el incentivo 084)"},
    };
    for (const WorkedExample& example : examples) {
        const ReceiptLine* line = findLine(receipt, example.code);
        ASSERT_NE(line, nullptr) << example.name;
        EXPECT_EQ(receipt.explanation(static_cast<std::size_t>(line - receipt.lines.data())), example.explanation)
            << example.name;
    }
    EXPECT_EQ(receipt.explanations->of(receipt.explanations->liquido),
              "Total haberes menos total descuentos: $ 3325,8255 − $ 201,9975 = $ 3123,828");

    // Hours, with a zero line and two ceilings; and the guaranteed minimum.
    EntryValues hours;
    hours.kind = EmploymentKind::MiddleLevelHours;
    hours.numerohorasmed = "12";
    hours.numhorasincen = "40";
    hours.numhorascod113 = "3";
    hours.hijos = hours.conyuge = hours.transporte = CheckState::Checked;
    hours.cantidadhijos = "3";
    hours.cantkm = "1000";
    const Receipt hoursReceipt = std::get<Receipt>(calculate(hours, {}, comma, builtInPayScale(), Explain::Yes));
    EntryValues positionEntry;
    positionEntry.kind = EmploymentKind::Position;
    const SelectedPosition minimum{"1000", "0", "0", "0", "0", "645", "1000", "Cargo"};
    const Receipt minimumReceipt =
        std::get<Receipt>(calculate(positionEntry, minimum, comma, builtInPayScale(), Explain::Yes));
    const std::pair<const Receipt*, WorkedExample> more[] = {
        {&hoursReceipt,
         {"hours", "001",
          "12 horas × 64,73 puntos por hora × 0,9842 por punto = $ 764,4872 (redondeado a cuatro decimales)"}},
        {&hoursReceipt, {"zero", "006", "0 horas × 10,81 por hora = $ 0 (sin horas del ítem 006)"}},
        {&hoursReceipt, {"hours ceiling", "084", "40 horas × 11 por hora llega al tope. Se paga el tope: $ 330."}},
        {&hoursReceipt,
         {"transport ceiling", "029",
          "1000 km × 0,2734816 por km × 4 semanas llega al tope. Se paga el tope: $ 328,45."}},
        {&hoursReceipt, {"large family", "1003", "3 hijos en total (desde 3 corresponde): monto fijo $ 3."}},
        {&hoursReceipt, {"spouse", "1010", "Monto fijo por cónyuge: $ 15."}},
        {&minimumReceipt,
         {"guaranteed minimum", "172",
          "Corresponde porque el cargo tiene 1000 puntos básicos (más de 900 y menos de 1300) y su neto estimado no "
          "llega al mínimo garantizado. El neto estimado son los haberes que cuenta el mínimo menos los descuentos que "
          "supone (la tasa sobre el remunerativo sin 006, 014 ni parte de la zona): $ 1318,094 − $ 1053,094 × 0,196 = "
          "1111,687576 (sin redondear). Se agrega el mínimo menos el neto: $ 1490 − 1111,687576 = $ 378,3124 "
          "(redondeado a cuatro decimales)"}},
    };
    for (const auto& [computed, example] : more) {
        const ReceiptLine* line = findLine(*computed, example.code);
        ASSERT_NE(line, nullptr) << example.name;
        EXPECT_EQ(computed->explanation(static_cast<std::size_t>(line - computed->lines.data())), example.explanation)
            << example.name;
    }
}

// A result exactly halfway between two ten-thousandths in decimal is a
// little off it in binary: the explanation says which way it went, rather
// than state an operation that rounds the other way.
TEST(ExplanationRounding, SaysWhatTheAmountReallyIs)
{
    const struct {
        double unrounded;
        std::int64_t raw;
        RegionalSettings settings;
        std::string said;
    } rows[] = {
        {4472.905 * 0.03, 1341871, RegionalSettings::commaDecimal(),
         " = $ 134,1871 (la cuenta exacta da 134,18715, justo a mitad de camino; hecha en binario, como la calcula la "
         "computadora, da apenas menos y se redondea hacia abajo)"},
        {1.00015, 10002, RegionalSettings::pointDecimal(),
         " = $ 1.0002 (la cuenta exacta da 1.00015, justo a mitad de camino; hecha en binario, como la calcula la "
         "computadora, da apenas más y se redondea hacia arriba)"},
        {1234.55 * 0.03, 370365, RegionalSettings::commaDecimal(), " = $ 37,0365"},
        {30 * 0.2734816 * 4, 328178, RegionalSettings::commaDecimal(), " = $ 32,8178 (redondeado a cuatro decimales)"},
    };
    for (const auto& row : rows) {
        std::string out;
        ExplanationText(row.settings, out).equals(Currency::fromRaw(row.raw), row.unrounded);
        EXPECT_EQ(out, row.said) << row.unrounded;
    }
}

// A count of one is singular; a deduction names the incentive only when
// there is one, and writes its rate with the regional decimal mark; the
// total lists each line the receipt shows, the two working-day lines (both
// 052) apart.
TEST(ExplanationExamples, WordingFollowsTheReceipt)
{
    const RegionalSettings point = RegionalSettings::pointDecimal();
    const auto computed = [&](const EntryValues& e, const SelectedPosition& position) {
        return std::get<Receipt>(calculate(e, position, point, builtInPayScale(), Explain::Yes));
    };
    const auto explanation = [](const Receipt& receipt, std::string_view code) {
        const ReceiptLine* line = findLine(receipt, code);
        return line ? std::string(receipt.explanation(static_cast<std::size_t>(line - receipt.lines.data())))
                    : std::string("no line ") + std::string(code);
    };
    EntryValues e;
    e.kind = EmploymentKind::Position;
    e.hijos = CheckState::Checked;
    e.cantidadhijos = "1";
    e.dinasist = "1";
    const Receipt position = computed(e, {"1300", "0", "100", "200", "0", "600", "1300", "Cargo"});
    EntryValues hours;
    hours.kind = EmploymentKind::MiddleLevelHours;
    hours.numerohorasmed = "1";
    hours.agmer = hours.ley4035 = CheckState::Checked;
    const Receipt hour = computed(hours, {});

    const std::pair<std::string, std::string> starts[] = {
        {explanation(position, "1001"), "1 hijo × "},
        {explanation(hour, "001"), "1 hora × "},
        {explanation(hour, "332"), "2 % del remunerativo: $ "},
        {explanation(hour, "504"), "0.6 % del remunerativo: $ "},
    };
    for (const auto& [text, start] : starts)
        EXPECT_TRUE(text.starts_with(start)) << text;
    EXPECT_NE(explanation(position, "440").find(" por 1 día de inasistencia"), std::string::npos);
    const std::string total(position.explanations->of(position.explanations->thaberes));
    std::vector<std::string> workingDays;
    for (const ReceiptLine& line : position.lines)
        if (line.code == "052")
            workingDays.push_back(line.amount + " (052)");
    ASSERT_EQ(workingDays.size(), 2u);
    EXPECT_TRUE(total.starts_with("Suma de los haberes: " + workingDays[0] + " + " + workingDays[1] + " + ")) << total;
}

}  // namespace
}  // namespace recibo::testing
