// Scale files: the built-in scale written and read back, a receipt under
// the example scale, and files refused with where and why.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include "batch/batch.h"
#include "payroll/calculation.h"
#include "positions/position_selection.h"
#include "scales/scale.h"

namespace recibo::scales {
namespace {

const std::string kBuiltInText = scaleFileText(builtInScale());

TEST(ScaleFile, BuiltInScaleReadBackIsTheSameScale)
{
    const auto read = parseScale(kBuiltInText, "incluida.toml");
    ASSERT_TRUE(std::holds_alternative<Scale>(read)) << std::get<Unusable>(read).message;
    EXPECT_EQ(std::get<Scale>(read), builtInScale());
}

// Position 645 (2329 base points, no other points), IOSPER, under the
// example scale (the built-in numbers with a point value of 1.1):
//   001  2329 x 1.1                          = 2561.9
//   188  0.07 x 2561.9                       =  179.333
//   084 and 113, below the full-day threshold: 165 and 100
//   505  0.03 x (2561.9 + 179.333) = 82.23699 ->  82.237 (ten-thousandths)
//   total 2561.9 + 165 + 100 + 179.333 = 3006.233; net 3006.233 - 82.237 = 2923.996
TEST(ScaleFile, ExampleScaleReceipt)
{
    const auto read = readScaleFile(RECIBO_EXAMPLE_SCALE);
    ASSERT_TRUE(std::holds_alternative<Scale>(read)) << std::get<Unusable>(read).message;
    const Scale& scale = std::get<Scale>(read);
    positions::PositionSelection dialog(scale.catalogue);
    dialog.setCode("645");
    payroll::EntryValues entry;
    entry.kind = payroll::EmploymentKind::Position;
    entry.iosper = payroll::CheckState::Checked;
    const auto result =
        payroll::calculate(entry, dialog.selected(), payroll::RegionalSettings::pointDecimal(), scale.pay);
    const auto& receipt = std::get<payroll::Receipt>(result);
    std::vector<std::pair<std::string, std::string>> lines;
    for (const payroll::ReceiptLine& line : receipt.lines)
        lines.emplace_back(line.code, line.amount);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"001", "$2561.9"}, {"006", "$ 0"},       {"014", "$ 0"},     {"084", "$ 165"},
        {"113", "$ 100"},   {"188", "$ 179.333"}, {"505", "$ 82.237"}};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(std::make_pair(receipt.thaberes, receipt.liquido),
              std::make_pair(std::string("$ 3006.233"), std::string("$ 2923.996")));
}

// Equal bounds are how a file says there is no band; a file written before
// there was a format number is of the first format.
TEST(ScaleFile, EqualBoundsAndNoFormatNumberAreRead)
{
    std::string text = kBuiltInText;
    for (const auto& [find, replace] : {std::pair<std::string, std::string>{"mas_de = 900", "mas_de = 1300"},
                                        {"bajo_hasta = 3190", "bajo_hasta = 4540"},
                                        {"formato = 1", ""}})
        text.replace(text.find(find), find.size(), replace);
    const auto read = parseScale(text, "sin-tramos.toml");
    ASSERT_TRUE(std::holds_alternative<Scale>(read)) << std::get<Unusable>(read).message;
    EXPECT_EQ(std::get<Scale>(read).pay.minimumBasePointsAbove, std::get<Scale>(read).pay.minimumBasePointsBelow);
}

// Characters the TOML reader must be kept from (see toml_stand_ins.h), at
// the edges of each range, reach the scale as they are written: within a
// line, and after a line-ending backslash, where the reader skips blanks.
TEST(ScaleFile, NamesKeepEveryCharacter)
{
    const std::string_view names[][2] = {
        {"\"\u00a1\u00d1and\u00fa \u0499 \u2c5e \u3000 \u3057 \ufb26 \ufefe\"",
         "\u00a1\u00d1and\u00fa \u0499 \u2c5e \u3000 \u3057 \ufb26 \ufefe"},
        {"\"\"\"\\\n   ¡Año 2026!\"\"\"", "¡Año 2026!"},
    };
    for (const auto& [written, read] : names) {
        std::string text = kBuiltInText;
        const std::string find = "\"Escala de septiembre de 2010\"";
        ASSERT_NE(text.find(find), std::string::npos);
        text.replace(text.find(find), find.size(), written);
        const auto scale = parseScale(text, "nombres.toml");
        ASSERT_TRUE(std::holds_alternative<Scale>(scale)) << std::get<Unusable>(scale).message;
        EXPECT_EQ(std::get<Scale>(scale).name, read);
    }
}

// Every amount in pesos raised alike, as for prices, is a scale; one amount
// a hundred times off is one only when the file says so.
TEST(ScaleFile, AmountsInProportionOrSaidToBeOut)
{
    Scale raised = builtInScale();
    payroll::PayScale& p = raised.pay;
    for (double* value : {&p.pointValue, &p.workingDayPointValue, &p.item006PerHour, &p.middleLevel.item084PerHour,
                          &p.middleLevel.item113PerHour, &p.higherLevel.item084PerHour, &p.higherLevel.item113PerHour,
                          &p.minimumGuaranteed, &p.transportPerKilometre})
        *value *= 2000;
    for (payroll::Currency* amount :
         {&p.middleLevel.item006Fixed, &p.higherLevel.item006Fixed, &p.item084Ceiling, &p.item084PositionBelowThreshold,
          &p.item084PositionFromThreshold, &p.item113Ceiling, &p.item113PositionBelowThreshold,
          &p.item113PositionFromThreshold, &p.transportCeiling, &p.childRateIncomeLow, &p.childRateIncomeHigh,
          &p.spouseAllowance})
        *amount = *amount->times(2000);
    const auto read = parseScale(scaleFileText(raised), "2026.toml");
    ASSERT_TRUE(std::holds_alternative<Scale>(read)) << std::get<Unusable>(read).message;
    EXPECT_EQ(std::get<Scale>(read), raised);

    Scale onPurpose = builtInScale();
    onPurpose.pay.spouseAllowance = payroll::Currency::fromUnits(150000);
    onPurpose.outOfProportion = {"salario_familiar.conyuge"};
    const auto exempt = parseScale(scaleFileText(onPurpose), "a-proposito.toml");
    ASSERT_TRUE(std::holds_alternative<Scale>(exempt)) << std::get<Unusable>(exempt).message;
    EXPECT_EQ(std::get<Scale>(exempt), onPurpose);
}

// The built-in file with one mistake: `find` replaced by `replace`. The
// message names the line holding `at` in the spoilt file and the key.
struct Mistake {
    const char* name;
    std::string find, replace, at, key;
    std::string says = {};  // part of the message, when it matters
};

void PrintTo(const Mistake& m, std::ostream* os)
{
    *os << m.name;
}

std::size_t lineOf(const std::string& text, const std::string& at)
{
    const std::size_t offset = text.find(at);
    return offset == std::string::npos ? 0 : 1 + std::count(text.begin(), text.begin() + offset, '\n');
}

// A key of `parts` parts ("a.a.a") between `before` and `after`.
std::string deepKey(const char* before, int parts, const char* after)
{
    std::string key = before;
    key += "a";
    for (int i = 1; i < parts; ++i)
        key += ".a";
    return key += after;
}

class RefusedFile : public testing::TestWithParam<Mistake> {};

TEST_P(RefusedFile, NamesLineAndKeyAndChangesNothing)
{
    const Mistake& m = GetParam();
    std::string text = kBuiltInText;
    ASSERT_NE(text.find(m.find), std::string::npos);
    text.replace(text.find(m.find), m.find.size(), m.replace);
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / (std::string("recibo-escala-") + m.name + ".toml");
    std::ofstream(file) << text;

    const auto read = readScaleFile(file.string());
    ASSERT_TRUE(std::holds_alternative<Unusable>(read));
    const std::string& message = std::get<Unusable>(read).message;
    EXPECT_EQ(std::get<Unusable>(read).where, m.key);
    EXPECT_NE(message.find("línea " + std::to_string(lineOf(text, m.at)) + ","), std::string::npos) << message;
    if (!m.key.empty()) {
        EXPECT_NE(message.find("clave «" + m.key + "»"), std::string::npos) << message;
    }
    EXPECT_NE(message.find(m.says), std::string::npos) << message;

    // recibo-lote refuses it before reading a row: nothing computed.
    std::istringstream table("docente,tipo,codcargo\nAna,cargo,645\n");
    std::ostringstream out, err;
    EXPECT_EQ(batch::runBatch({"--locale", "C", "--escala", file.string()}, table, out, err), batch::kInputUnusable);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "recibo-lote: " + message + "\n");
    std::filesystem::remove(file);
}

INSTANTIATE_TEST_SUITE_P(
    Mistakes, RefusedFile,
    testing::Values(
        Mistake{"MissingKey", "valor_jornada = 1.203", "", "[punto]", "punto.valor_jornada"},
        Mistake{"UnknownKey", "[punto]\n", "[punto]\nvalr = 1\n", "valr", "punto.valr"},
        Mistake{"MisspelledKey", "valor = 0.9842", "valr = 0.9842", "valr", "punto.valr", "¿quisiste decir «valor»?"},
        Mistake{"MisspelledTable", "[punto]", "[puntos]", "[puntos]", "puntos", "¿quisiste decir «punto»?"},
        Mistake{"UnknownGroupKey", "[punto]\n", "[punto]\nzzzzzz = 1\n", "zzzzzz", "punto.zzzzzz", "borrala (una"},
        Mistake{"WrongType", "valor = 0.9842", "valor = \"0.9842\"", "valor = \"", "punto.valor"},
        Mistake{"WholeNumberWithDecimals", "familia_numerosa = 3", "familia_numerosa = 3.5", "familia_numerosa = 3.5",
                "salario_familiar.familia_numerosa"},
        Mistake{"RateAboveOne", "tasa = 0.03", "tasa = 1.5", "tasa = 1.5", "descuentos.iosper.tasa"},
        Mistake{"PointValueZero", "valor = 0.9842", "valor = 0.0", "valor = 0.0", "punto.valor"},
        Mistake{"Beyond16Bits", "hijo_diferenciado = 880", "hijo_diferenciado = 40000", "hijo_diferenciado",
                "salario_familiar.hijo_diferenciado"},
        Mistake{"FiveDecimals", "conyuge = 15", "conyuge = 15.00001", "conyuge", "salario_familiar.conyuge"},
        Mistake{"BeyondCurrency", "conyuge = 15", "conyuge = 1000000000000000", "conyuge", "salario_familiar.conyuge"},
        Mistake{"BeyondAReceipt", "conyuge = 15", "conyuge = 920000000000000", "conyuge", "salario_familiar.conyuge",
                "de 0 a 1000000000 pesos"},
        Mistake{"ElevenRows", "    [99, 99, 409, 99, 0, 0, 0, 0],\n", "", "tabla = [", "item_006.tabla"},
        Mistake{"BoundsNotAscending", "[971, 1169, 1400", "[971, 1400, 1169", "[971, 1400", "item_006.columnas_hasta"},
        Mistake{"RepeatedCode", "[\"985\", \"Analista T", "[\"999\", \"Analista T", "[\"999\", \"Analista T",
                "nomenclador.cargos, cargo 2 (código)"},
        Mistake{"TwoDigitCode", "[\"645\",", "[\"64\",", "[\"64\",", "nomenclador.cargos, cargo 3 (código)"},
        Mistake{"NoPositions", kBuiltInText.substr(kBuiltInText.find("cargos = [\n")), "cargos = []\n", "cargos = []",
                "nomenclador.cargos"},
        Mistake{"NotToml", "[punto]", "[punto", "[punto", ""},
        Mistake{"AccentedBareKey", "[punto]\n", "[punto]\nvalór = 1\n", "valór", ""},
        Mistake{"AccentedQuotedKey", "[punto]\n", "[punto]\n\"año\" = 1\n", "\"año", "punto.año"},
        Mistake{"PrivateUseCharacter", "[punto]\n", "[punto]\n# \U000F0001\n", "# \U000F0001", "",
                "columna 3: hay un carácter de uso privado (U+F0001)"},
        Mistake{"RepeatedKey", "[punto]\n", "[punto]\nvalor = 1\n", "valor = 0.9842", ""},
        Mistake{"BandUpsideDown", "puntos_basicos_mas_de = 900", "puntos_basicos_mas_de = 1400",
                "puntos_basicos_mas_de = 1400", "minimo.puntos_basicos_mas_de", "ningún cargo cobraría la línea 172"},
        Mistake{"BracketsReversed", "ingreso_bajo_hasta = 3190", "ingreso_bajo_hasta = 5000", "ingreso_bajo_hasta",
                "salario_familiar.ingreso_bajo_hasta", "de menor a mayor"},
        Mistake{"DeductionsTakeTheWholePay", "tasa = 0.16", "tasa = 0.9", "tasa = 0.9",
                "descuentos.aporte_jubilatorio.tasa", "suman 105,1 % del sueldo"},
        Mistake{"PointValueOrdersOff", "valor = 0.9842", "valor = 1000000000", "valor = 1000000000", "punto.valor",
                "unas 1016053648 veces más grande"},
        Mistake{"SpouseOrdersOff", "conyuge = 15", "conyuge = 0.01", "conyuge", "salario_familiar.conyuge",
                "más chico de lo que hace esperar"},
        Mistake{"WeeksOrdersOff", "semanas_por_mes = 4", "semanas_por_mes = 4000", "semanas_por_mes = 4000",
                "transporte.semanas_por_mes", "unas 1000 veces más grande"},
        Mistake{"ExemptNotAnAmount", "fuera_de_proporcion = []", "fuera_de_proporcion = [\"punto\"]",
                "fuera_de_proporcion", "fuera_de_proporcion", "la clave de un importe en pesos o de otro número"},
        Mistake{"NewerFormat", "formato = 1", "formato = 2", "formato", "formato", "instalá la versión nueva"},
        Mistake{"DeepDottedKey", "[punto]\n", deepKey("[punto]\n", 40000, " = 1\n"), "a.a.a", ""},
        Mistake{"DeepHeader", "[punto]\n", deepKey("[", 40000, "]\n"), "[a.a.a", ""},
        Mistake{"DeepArrays", "[punto]\n", "x = " + std::string(40000, '[') + std::string(40000, ']') + "\n[punto]\n",
                "x = [[", ""}),
    [](const testing::TestParamInfo<Mistake>& info) { return info.param.name; });

}  // namespace
}  // namespace recibo::scales
