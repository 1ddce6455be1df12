// The calculation on arbitrary entry values.
//
// The bytes decode into everything "Calcular" reads: the kind of employment,
// every box's text (arbitrary bytes, or text built near the edges of what the
// boxes accept), every check box in any of its three states, the seniority
// option with its percentage, the zone index, the regional settings, and the
// selection dialog either driven as a user drives it (codes typed, names
// picked, boxes edited, "Salir sin datos") or with arbitrary texts in every
// box. Whatever comes out must be one of
//   - the notice "No seleccionaste cargo ni horas", exactly when no kind is
//     chosen;
//   - a failure that names a box this run reads, quotes its text exactly and
//     says something;
//   - a complete receipt: its lines in the fixed order of the items, each
//     amount in its shortest form, the totals equal to the sums of the lines'
//     amounts, the net pay their difference, at most 26 lines, and the lower
//     part placed under the last row.
// and running the same values again gives the same result. Run again with
// explanations, it gives the same receipt, and every operation an
// explanation writes, evaluated from its own operands with the engine's
// rounding, gives the result it states, the last amount it names being its
// line's or total's.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/explanation_check.h"
#include "fuzz_input.h"
#include "payroll/calculation.h"
#include "payroll/number_text.h"
#include "payroll/receipt.h"
#include "positions/catalogue.h"
#include "positions/position_selection.h"

namespace recibo::fuzz {
namespace {

using namespace payroll;

const RegionalSettings kSettings[] = {
    RegionalSettings::pointDecimal(),
    RegionalSettings::commaDecimal(),
    {",", "\xC2\xA0"},      // decimal comma, no-break space between groups
    {".", "\xE2\x80\x99"},  // decimal point, right single quote between groups
};

// Texts at the edges of what the boxes accept. In these patterns D stands
// for the decimal separator, G for the group separator and O for the other
// convention's decimal separator.
constexpr std::string_view kEdgeTexts[] = {
    "",
    " ",
    "0",
    "1",
    "-1",
    "+1",
    "-0",
    "+0",
    "00",
    "007",
    "0D5",
    "1D5",
    "2D5",
    "3D5",
    "-0D5",
    "-1D5",
    "-2D5",
    "0D00005",
    "0D00015",
    "0D00025",
    "1D00005",
    "0D0001",
    "32767",
    "32768",
    "-32768",
    "-32769",
    "32767D4",
    "32767D5",
    "32766D5",
    "-32768D5",
    "-32768D6",
    "-32767D5",
    "32G767",
    "32G768",
    "-32G768",
    "65535",
    "65536",
    "255",
    "256",
    "255D4",
    "255D5",
    "254D5",
    "-0D4",
    "-0D6",
    "-0D5",
    "2",
    "3",
    "4",
    "10",
    "29",
    "30",
    "31",
    "14",
    "15",
    "16",
    "23",
    "24",
    "25",
    "29D99",
    "30D01",
    "37",
    "38",
    "148",
    "149",
    "150",
    "197",
    "198",
    "199",
    "128",
    "127",
    "254",
    "299",
    "300",
    "301",
    "599",
    "600",
    "619",
    "620",
    "900",
    "901",
    "971",
    "972",
    "1169",
    "1170",
    "1299",
    "1300",
    "1400",
    "1401",
    "1500",
    "1942",
    "1943",
    "2220",
    "2221",
    "2329",
    "3146",
    "3190",
    "4540",
    "1490",
    "922337203685477",
    "922337203685477D5807",
    "922337203685477D5808",
    "922337203685478",
    "-922337203685477D5808",
    "-922337203685477D5809",
    "92233720368547D75807",
    "9007199254740993",
    "900719925474099D3",
    "90071992547409D93",
    "937137084771337",
    "9371370847713D37",
    "1000000000000000",
    "100000000000000",
    "10000000000000",
    "1e3",
    "1E3",
    "1e999",
    "1e-999",
    "inf",
    "-inf",
    "nan",
    "NaN",
    "0x10",
    "Infinity",
    "abc",
    "12a",
    "a12",
    "1G000",
    "1G000G000",
    "1G000D5",
    "12G34",
    "G123",
    "1GG000",
    "1G00",
    "1G0000",
    "1234G567",
    "-1G000",
    "D5",
    "5D",
    "D",
    "G",
    "-",
    "+",
    "+-1",
    "--1",
    "- 1",
    "12O5",
    "1O000",
    "1O000O000",
    "1 000",
    "1D2D3",
    "1DD2",
    "\xEF\xBC\x91\xEF\xBC\x92",  // full-width digits
    "\xD9\xA3",                  // Arabic-Indic three
    "\xC2\xA0"
    "12",
    "12\xC2\xA0",
    "\t7\t",
    "7\n",
    "\n",
    "7\r",
    "\xFF",
    "1\x80",
    "\xC3",
    "\xE2\x80",  // broken UTF-8
};

std::string localised(std::string_view pattern, const RegionalSettings& settings)
{
    std::string text;
    for (const char c : pattern) {
        if (c == 'D')
            text += settings.decimalSeparator;
        else if (c == 'G')
            text += settings.groupSeparator;
        else if (c == 'O')
            text += settings.decimalSeparator == "." ? "," : ".";
        else
            text += c;
    }
    return text;
}

constexpr std::uint8_t kSeniorityPercent[] = {0, 10, 15, 30, 40, 50, 60, 70, 80, 100, 110, 120};

class EntryDecoder {
public:
    explicit EntryDecoder(FuzzInput& in) : in_(in), settings_(kSettings[in.choice(4)]) {}

    const RegionalSettings& settings() const { return settings_; }

    // The text of a box the calculation reads as a number.
    std::string boxText()
    {
        if (in_.exhausted())
            return "0";  // the boxes' text at program start
        switch (in_.choice(8)) {
        case 0: return in_.rawText();
        case 1:
        case 2: {
            // The characters numbers are made of, in any order.
            static constexpr char kPieces[] = "0123456789DGO-+ \te";
            std::string pattern;
            const unsigned length = in_.choice(24);
            for (unsigned i = 0; i < length; ++i)
                pattern += kPieces[in_.choice(sizeof kPieces - 1)];
            return localised(pattern, settings_);
        }
        case 3:
        case 4: return localised(kEdgeTexts[in_.twoBytes() % std::size(kEdgeTexts)], settings_);
        case 5: {
            std::string text = std::to_string(static_cast<std::int16_t>(in_.twoBytes()));
            if (in_.choice(2) != 0)
                text += settings_.decimalSeparator + std::to_string(in_.byte());
            return text;
        }
        case 6: {
            // Long runs of digits: beyond a double, or tiny after many zeros.
            const std::size_t length = 1 + in_.twoBytes() % 1024;
            std::string text(length, static_cast<char>('0' + in_.choice(10)));
            switch (in_.choice(5)) {
            case 0: break;
            case 1: text.insert(in_.twoBytes() % length, settings_.decimalSeparator); break;
            case 2: text = "0" + settings_.decimalSeparator + text; break;
            case 3: text = "-" + text; break;
            case 4:
                text = (in_.choice(2) != 0 ? "-0" : "0") + settings_.decimalSeparator + std::string(length, '0')
                    + static_cast<char>('1' + in_.choice(9));
                break;
            }
            return text;
        }
        default: {
            // An edge text with something around it.
            const std::string edge = localised(kEdgeTexts[in_.twoBytes() % std::size(kEdgeTexts)], settings_);
            switch (in_.choice(4)) {
            case 0: return " " + edge + " ";
            case 1: return edge + static_cast<char>(in_.byte());
            case 2: return static_cast<char>(in_.byte()) + edge;
            default: return edge + edge;
            }
        }
        }
    }

    CheckState check() { return static_cast<CheckState>(in_.choice(3)); }

    SelectedPosition position()
    {
        if (in_.choice(2) == 0)
            return positionFromDialog();
        SelectedPosition p;
        p.punbas = boxText();
        p.compbas = boxText();
        p.proljor = boxText();
        p.jorcom = boxText();
        p.tardif = boxText();
        p.codigocargo = in_.rawText();
        p.puntosbasicos = in_.rawText();
        p.cargox = in_.rawText();
        return p;
    }

    EntryValues entry()
    {
        EntryValues e;
        e.kind = static_cast<EmploymentKind>(in_.choice(4));
        e.docente = in_.rawText();
        e.numerohorasmed = boxText();
        e.numerohorassup = boxText();
        e.numhorascod06 = boxText();
        e.numhorasincen = boxText();
        e.numhorascod113 = boxText();
        // The option that is on, and what clicking it left in the window.
        e.seniorityOption = static_cast<int>(in_.choice(13));
        if (e.seniorityOption != 0) {
            e.pctantig = kSeniorityPercent[e.seniorityOption - 1];
            e.porcantig = std::to_string(e.pctantig) + " %";
        }
        e.zona = static_cast<int>(in_.choice(9)) - 2;  // -2 to 6: the five items, none, and beyond
        e.opincentivo = check();
        e.dinasist = boxText();
        e.transporte = check();
        e.cantkm = boxText();
        e.hijos = check();
        e.cantidadhijos = boxText();
        e.hijosdisc = check();
        e.cantidadhijosdisc = boxText();
        e.conyuge = check();
        e.iosper = check();
        e.osplad = check();
        e.aportejub = check();
        e.ley4035 = check();
        e.agmer = check();
        e.cajacomp = check();
        e.seguro3011 = check();
        return e;
    }

private:
    SelectedPosition positionFromDialog()
    {
        using ValueBox = positions::PositionSelection::ValueBox;
        positions::PositionSelection dialog;
        const unsigned steps = in_.choice(8);
        for (unsigned step = 0; step < steps; ++step) {
            switch (in_.choice(7)) {
            case 0:
                dialog.setCode(
                    std::string(positions::catalogue()[in_.twoBytes() % positions::kCatalogueRows].codigocargo));
                break;
            case 1: dialog.setCode(boxText()); break;
            case 2: {
                const unsigned pick = in_.twoBytes();
                if (pick % 16 == 0)
                    dialog.selectName(std::nullopt);
                else
                    dialog.selectName(static_cast<int>(pick % 330) - 10);  // beyond the rows too
                break;
            }
            case 3: dialog.setNameText(in_.rawText()); break;
            case 4: {
                const auto box = static_cast<ValueBox>(in_.choice(5));
                dialog.setValue(box, boxText());
                break;
            }
            case 5: dialog.clickCodeBox(); break;
            default: dialog.salirSinDatos(); break;
            }
        }
        (void)dialog.listo(settings_);
        return dialog.selected();
    }

    FuzzInput& in_;
    const RegionalSettings& settings_;
};

// ---- The receipt's invariants --------------------------------------------

struct Item {
    std::string_view code;
    std::string_view description;  // empty: line 001, whose description follows the kind
};

// Every line the receipt can have, in the order they are written; the
// deductions start at kFirstDeduction.
constexpr Item kItems[] = {
    {"001", ""},
    {"002", "Comp. de Básico"},
    {"052", "Jornada completa"},
    {"052", "Prol. de Jornada"},
    {"016", "Tarea diferenciada"},
    {"010", "Antigüedad"},
    {"078", "As. por zona"},
    {"006", "Adic. Art 2 y 3 Dcrto 5863/05"},
    {"014", "Product Dcrto 5863/05"},
    {"084", "Incentivo de Nación"},
    {"113", "Negro de Nación"},
    {"188", "Plus Productividad"},
    {"172", "Adic para mínimo"},
    {"029", "transporte por KM"},
    {"1001", "Sal fam hijo"},
    {"1002", "Sal fam hijo diferenciado"},
    {"1003", "Familia numerosa"},
    {"1010", "Sal fam Cony"},
    {"440", "Reajuste cod. 188"},
    {"505", "IOSPER"},
    {"508", "OSPLAD"},
    {"502", "Aporte Jub."},
    {"504", "Ley 4035"},
    {"332", "AGMER"},
    {"512", "Caja Comp."},
    {"510", "Seguro 3011"},
};
constexpr std::size_t kFirstDeduction = 18;

std::string_view basicDescription(EmploymentKind kind)
{
    switch (kind) {
    case EmploymentKind::Position: return "Asign. de la categoría";
    case EmploymentKind::MiddleLevelHours: return "Hs. N. Medio";
    case EmploymentKind::HigherLevelHours: return "Hs. N. Superior";
    case EmploymentKind::None: break;
    }
    return {};
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// An amount text read back exactly, in ten-thousandths: the prefix, an
// optional minus sign, the whole units without leading zeros, and at most
// four decimals after the regional separator, the last of them not 0. Any
// other form (group separators, trailing zeros, "-0") is not an amount text.
std::optional<__int128> exactAmount(std::string_view text, std::string_view prefix, const RegionalSettings& settings)
{
    if (!text.starts_with(prefix))
        return std::nullopt;
    text.remove_prefix(prefix.size());
    const bool negative = text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    std::size_t digits = 0;
    while (digits < text.size() && isDigit(text[digits]))
        ++digits;
    if (digits == 0 || digits > 19 || (digits > 1 && text[0] == '0'))
        return std::nullopt;
    __int128 value = 0;
    for (std::size_t i = 0; i < digits; ++i)
        value = value * 10 + (text[i] - '0');
    value *= 10000;
    text.remove_prefix(digits);
    if (!text.empty()) {
        if (!text.starts_with(settings.decimalSeparator))
            return std::nullopt;
        text.remove_prefix(settings.decimalSeparator.size());
        if (text.empty() || text.size() > 4 || text.back() == '0')
            return std::nullopt;
        __int128 fraction = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            if (i < text.size() && !isDigit(text[i]))
                return std::nullopt;
            fraction = fraction * 10 + (i < text.size() ? text[i] - '0' : 0);
        }
        value += fraction;
    }
    if (negative && value == 0)
        return std::nullopt;
    return negative ? -value : value;
}

// The amount of a text, read exactly and checked against the engine's own
// reading of the same text. A double holds every whole number of
// ten-thousandths up to 2^50 with room for the rounding of the decimal
// reading; beyond that the engine's reading may be off by a unit or two,
// which is why amounts are never read back from their texts.
__int128 amountOf(std::string_view text, std::string_view prefix, const RegionalSettings& settings)
{
    const std::optional<__int128> exact = exactAmount(text, prefix, settings);
    FUZZ_CHECK(exact.has_value(), "an amount text is not in its shortest form");
    const Reading<Currency> reading = readCurrency(text.substr(prefix.size()), settings);
    FUZZ_CHECK(reading.ok(), "the engine cannot read back an amount it wrote");
    constexpr __int128 kExactInDouble = __int128{1} << 50;
    if (*exact<kExactInDouble&& * exact> - kExactInDouble)
        FUZZ_CHECK(reading.value.raw() == *exact, "an amount text reads back as another amount");
    return *exact;
}

void checkReceipt(const Receipt& receipt, const EntryValues& entry, const SelectedPosition& position,
                  const RegionalSettings& settings)
{
    FUZZ_CHECK(receipt.lines.size() <= static_cast<std::size_t>(kMaxReceiptLines), "more than 26 lines");
    FUZZ_CHECK(receipt.rowsWritten() == static_cast<int>(receipt.lines.size()), "rows written differ from the lines");

    __int128 earnings = 0;
    __int128 deductions = 0;
    std::size_t next = 0;  // the first item a line may still be
    bool always[4] = {};   // lines 006, 014, 113 and 188 stand on every receipt
    for (const ReceiptLine& line : receipt.lines) {
        std::size_t item = next;
        while (item < std::size(kItems)
               && !(kItems[item].code == line.code
                    && line.description == (item == 0 ? basicDescription(entry.kind) : kItems[item].description)))
            ++item;
        FUZZ_CHECK(item < std::size(kItems), "a line out of order, twice, or unknown");
        next = item + 1;

        const bool deduction = item >= kFirstDeduction;
        FUZZ_CHECK(line.column == (deduction ? Column::Deductions : Column::Earnings), "a line in the wrong column");
        FUZZ_CHECK(line.showsQuantity == (line.code != "1010"), "only line 1010 hides its quantity");
        if (line.code == "1003")
            FUZZ_CHECK(line.amount == "$ 3", "line 1003 is not \"$ 3\"");
        const __int128 amount = amountOf(line.amount, line.code == "001" ? "$" : "$ ", settings);
        (deduction ? deductions : earnings) += amount;

        for (int i = 0; i < 4; ++i)
            always[i] |= line.code == std::string_view(i == 0 ? "006" : i == 1 ? "014" : i == 2 ? "113" : "188");
    }
    FUZZ_CHECK(!receipt.lines.empty() && receipt.lines.front().code == "001", "the receipt does not start with 001");
    FUZZ_CHECK(always[0] && always[1] && always[2] && always[3], "line 006, 014, 113 or 188 is missing");

    const __int128 totalEarnings = amountOf(receipt.thaberes, "$ ", settings);
    const __int128 totalDeductions = amountOf(receipt.tdescuentos, "$ ", settings);
    const __int128 netPay = amountOf(receipt.liquido, "$ ", settings);
    FUZZ_CHECK(totalEarnings == earnings, "total of earnings is not the sum of the earnings lines");
    FUZZ_CHECK(totalDeductions == deductions, "total of deductions is not the sum of the deduction lines");
    FUZZ_CHECK(netPay == totalEarnings - totalDeductions, "net pay is not earnings less deductions");
    FUZZ_CHECK(receipt.state.totalhaberes.raw() == totalEarnings
                   && receipt.state.totaldescuentos.raw() == totalDeductions
                   && receipt.state.impliquido.raw() == netPay,
               "the totals kept differ from the totals shown");

    FUZZ_CHECK(receipt.docente == entry.docente, "the teacher's name is not copied unchanged");
    if (entry.kind == EmploymentKind::Position) {
        FUZZ_CHECK(receipt.header.label11 == "Código del cargo" && receipt.header.numcargo == position.codigocargo
                       && receipt.header.punbasicos == position.puntosbasicos
                       && receipt.header.carsel == position.cargox && receipt.header.showsPositionPoints,
                   "a position's header");
        FUZZ_CHECK(receipt.lines.front().quantity == "1", "a position's line 001 has quantity 1");
    } else {
        const std::string& hours =
            entry.kind == EmploymentKind::MiddleLevelHours ? entry.numerohorasmed : entry.numerohorassup;
        FUZZ_CHECK(receipt.header.label11 == "Cantidad de horas" && receipt.header.numcargo == hours
                       && receipt.lines.front().quantity == hours && !receipt.header.showsPositionPoints,
                   "the hours' header");
    }
}

// The boxes a run of these values reads, by control name, with their texts.
struct Box {
    std::string_view control;
    const std::string* text;
};

std::vector<Box> boxesRead(const EntryValues& e, const SelectedPosition& p)
{
    std::vector<Box> boxes;
    switch (e.kind) {
    case EmploymentKind::Position:
        boxes = {{"punbas", &p.punbas},
                 {"compbas", &p.compbas},
                 {"jorcom", &p.jorcom},
                 {"proljor", &p.proljor},
                 {"tardif", &p.tardif}};
        break;
    case EmploymentKind::MiddleLevelHours:
    case EmploymentKind::HigherLevelHours:
        if (e.kind == EmploymentKind::MiddleLevelHours)
            boxes.push_back({"numerohorasmed", &e.numerohorasmed});
        else
            boxes.push_back({"numerohorassup", &e.numerohorassup});
        boxes.push_back({"numhorascod06", &e.numhorascod06});
        boxes.push_back({"numhorasincen", &e.numhorasincen});
        boxes.push_back({"numhorascod113", &e.numhorascod113});
        break;
    case EmploymentKind::None: break;
    }
    boxes.push_back({"dinasist", &e.dinasist});
    if (e.transporte == CheckState::Checked)
        boxes.push_back({"cantkm", &e.cantkm});
    if (e.hijos == CheckState::Checked)
        boxes.push_back({"cantidadhijos", &e.cantidadhijos});
    if (e.hijosdisc == CheckState::Checked)
        boxes.push_back({"cantidadhijosdisc", &e.cantidadhijosdisc});
    return boxes;
}

void checkFailure(const Unusable& failure, const EntryValues& entry, const SelectedPosition& position)
{
    if (entry.kind == EmploymentKind::None) {
        FUZZ_CHECK(failure.where.empty() && failure.text.empty() && failure.message == kNoKindChosenMessage,
                   "no kind chosen gives exactly the notice");
        return;
    }
    FUZZ_CHECK(failure.message != kNoKindChosenMessage, "the notice although a kind is chosen");
    FUZZ_CHECK(!failure.where.empty() && !failure.message.empty(), "a failure names no box or says nothing");
    const Box* named = nullptr;
    const std::vector<Box> boxes = boxesRead(entry, position);
    for (const Box& box : boxes)
        if (box.control == failure.where)
            named = &box;
    FUZZ_CHECK(named != nullptr, "a failure names a box this run does not read");
    FUZZ_CHECK(failure.text == *named->text, "a failure's text is not its box's text");
    // The message quotes the text; cutting a long one must not split a character.
    if (isValidUtf8(failure.text))
        FUZZ_CHECK(isValidUtf8(failure.message), "a failure's message is not UTF-8");
}

void checkExplanations(const Receipt& receipt, const RegionalSettings& settings)
{
    using testing::explanation_check::check;
    FUZZ_CHECK(receipt.explanations != nullptr, "a receipt asked to explain has no explanations");
    const ReceiptExplanations& texts = *receipt.explanations;
    FUZZ_CHECK(check(texts.of(texts.thaberes), receipt.thaberes, settings).problem.empty()
                   && check(texts.of(texts.tdescuentos), receipt.tdescuentos, settings).problem.empty()
                   && check(texts.of(texts.liquido), receipt.liquido, settings).problem.empty(),
               "a total's explanation does not give its amount");
    for (std::size_t i = 0; i < receipt.lines.size(); ++i)
        FUZZ_CHECK(check(receipt.explanation(i), receipt.lines[i].amount, settings).problem.empty(),
                   "a line's explanation does not give its amount");
}

bool sameLines(const std::vector<ReceiptLine>& a, const std::vector<ReceiptLine>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].code != b[i].code || a[i].quantity != b[i].quantity || a[i].showsQuantity != b[i].showsQuantity
            || a[i].description != b[i].description || a[i].amount != b[i].amount || a[i].column != b[i].column)
            return false;
    return true;
}

bool sameResult(const CalculationResult& a, const CalculationResult& b)
{
    if (a.index() != b.index())
        return false;
    if (const auto* fa = std::get_if<Unusable>(&a)) {
        const auto& fb = std::get<Unusable>(b);
        return *fa == fb;
    }
    const auto& ra = std::get<Receipt>(a);
    const auto& rb = std::get<Receipt>(b);
    return sameLines(ra.lines, rb.lines) && ra.thaberes == rb.thaberes && ra.tdescuentos == rb.tdescuentos
        && ra.liquido == rb.liquido && ra.docente == rb.docente && ra.header.label11 == rb.header.label11
        && ra.header.numcargo == rb.header.numcargo && ra.header.punbasicos == rb.header.punbasicos
        && ra.header.carsel == rb.header.carsel;
}

}  // namespace
}  // namespace recibo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace recibo::fuzz;
    FuzzInput in(data, size);
    EntryDecoder decode(in);
    const recibo::payroll::RegionalSettings& settings = decode.settings();
    const recibo::payroll::SelectedPosition position = decode.position();
    const recibo::payroll::EntryValues entry = decode.entry();

    const recibo::payroll::CalculationResult result = recibo::payroll::calculate(entry, position, settings);
    if (const auto* receipt = std::get_if<recibo::payroll::Receipt>(&result)) {
        FUZZ_CHECK(entry.kind != recibo::payroll::EmploymentKind::None, "a receipt although no kind is chosen");
        checkReceipt(*receipt, entry, position, settings);
    } else {
        checkFailure(std::get<recibo::Unusable>(result), entry, position);
    }
    // Nothing of one run reaches the next.
    FUZZ_CHECK(sameResult(result, recibo::payroll::calculate(entry, position, settings)),
               "the same values computed twice give different results");
    const recibo::payroll::CalculationResult explained = recibo::payroll::calculate(
        entry, position, settings, recibo::payroll::builtInPayScale(), recibo::payroll::Explain::Yes);
    FUZZ_CHECK(sameResult(result, explained), "explaining changes the result");
    if (const auto* receipt = std::get_if<recibo::payroll::Receipt>(&explained))
        checkExplanations(*receipt, settings);
    return 0;
}
