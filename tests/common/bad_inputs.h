#pragma once

// The bad-input sweep, shared by the desktop program's tests and
// recibo-lote's: the texts a user may leave in a box, what each of them
// stands for under the regional settings at hand, and, for every box the
// calculation reads, whether that text must give a whole receipt or be
// refused naming the box. The expectations follow from how each box is read
// (a name, a signed 16-bit whole number, 0 to 255, a double, money) and from
// where the pay scale caps or multiplies the value, never from a run.

#include <cfloat>
#include <charconv>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "payroll/entry_values.h"
#include "payroll/regional_settings.h"
#include "positions/catalogue.h"

namespace recibo::sweep {

// What a text stands for, read as a number under the regional settings:
// an optional sign, digits grouped by threes with the group separator or not
// grouped at all, optionally the decimal separator and more digits, blanks
// around; nothing else.
enum class Meaning { NotANumber, Number, BeyondEveryDouble };

// How the calculation reads a box's text: copied as it stands, a signed
// 16-bit whole number, 0 to 255, a double, or money (four decimals).
enum class Reading { Text, Integer, Byte, Number, Money };

// The readings a case tells something about, one bit each.
inline constexpr unsigned bitOf(Reading reading)
{
    return 1u << static_cast<unsigned>(reading);
}
inline constexpr unsigned kWholeReadings = bitOf(Reading::Integer) | bitOf(Reading::Byte);
inline constexpr unsigned kNumberReadings = kWholeReadings | bitOf(Reading::Number) | bitOf(Reading::Money);
inline constexpr unsigned kAllReadings = kNumberReadings | bitOf(Reading::Text);

struct BadInput {
    std::string name;  // the case, naming its row: "GroupsOutOfPlace"
    std::string text;  // as typed under the settings at hand
    Meaning meaning = Meaning::NotANumber;
    // For a number: the same number written plainly with a decimal point;
    // what it rounds to, half to even, when that is a plausible whole
    // number; and, with its sign (-1 or +1), whether it is beyond anything
    // a receipt can carry in the boxes it concerns (1e20 and more in any).
    std::string plain;
    std::optional<long long> whole;
    int huge = 0;
    // Where the case belongs: a number at the end of one type's range is
    // only news for boxes of that type.
    unsigned readings = kAllReadings;
};

inline bool concerns(const BadInput& input, Reading reading)
{
    return (input.readings & bitOf(reading)) != 0;
}

namespace detail {

inline std::string expand(std::string_view pattern, const payroll::RegionalSettings& settings)
{
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern.substr(i, 3) == "{d}") {
            text += settings.decimalSeparator;
            i += 2;
        } else if (pattern.substr(i, 3) == "{g}") {
            text += settings.groupSeparator;
            i += 2;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

inline std::string largestDoubleWrittenOut()
{
    char digits[400];
    const auto result = std::to_chars(digits, digits + sizeof digits, DBL_MAX, std::chars_format::fixed);
    return std::string(digits, result.ptr);
}

}  // namespace detail

// Every case, its text written for `settings`: "{d}" in a pattern is the
// decimal separator, "{g}" the group separator, so that "12{g}5" is the
// other region's decimal number under either setting.
inline std::vector<BadInput> badInputs(const payroll::RegionalSettings& settings)
{
    struct Case {
        const char* name;
        std::string pattern;
        Meaning meaning;
        std::string plain;
        std::optional<long long> whole;
        int huge;
        unsigned readings;
    };
    const auto no = [](const char* name, std::string pattern) {
        return Case{name, std::move(pattern), Meaning::NotANumber, {}, std::nullopt, 0, kAllReadings};
    };
    const auto number = [](const char* name, std::string pattern, std::string plain, long long whole,
                           unsigned readings = kNumberReadings) {
        return Case{name, std::move(pattern), Meaning::Number, std::move(plain), whole, 0, readings};
    };
    const auto huge = [](const char* name, std::string pattern, std::string plain, int sign,
                         unsigned readings = kAllReadings) {
        return Case{name, std::move(pattern), Meaning::Number, std::move(plain), std::nullopt, sign, readings};
    };
    const auto beyond = [](const char* name, std::string pattern) {
        return Case{name, std::move(pattern), Meaning::BeyondEveryDouble, {}, std::nullopt, 0, kAllReadings};
    };
    constexpr unsigned kInteger = bitOf(Reading::Integer);
    constexpr unsigned kByte = bitOf(Reading::Byte);
    constexpr unsigned kMoney = bitOf(Reading::Money);
    const std::string largest = detail::largestDoubleWrittenOut();
    const std::string manyThrees(5000, '3');

    const std::vector<Case> cases = {
        // Not numbers at all.
        no("Empty", ""),
        no("BlanksOnly", "   "),
        no("Letters", "doce"),
        no("DigitsThenLetters", "12a"),
        no("LettersThenDigits", "a12"),
        no("ExponentBeyondEveryDouble", "1e999"),
        no("InfinityWord", "inf"),
        no("NotANumberWord", "NaN"),
        no("Hexadecimal", "0x1A"),
        no("DoubleSign", "--12"),
        no("SignAlone", "-"),
        no("SignAfterTheDigits", "12-"),
        no("TypographicMinus", "\u221212"),
        no("BlankBetweenDigits", "1 2"),
        no("DecimalSeparatorAlone", "{d}"),
        no("TwoDecimalSeparators", "1{d}2{d}3"),
        no("GroupsOutOfPlace", "1{g}23{g}4"),
        no("GroupOfTwoDigits", "12{g}34"),
        no("GroupAfterFourDigits", "1234{g}567"),
        no("GroupSeparatorFirst", "{g}123"),
        no("GroupSeparatorLast", "123{g}"),
        no("GroupSeparatorInTheDecimals", "1{d}234{g}5"),
        no("OtherRegionsDecimalSeparator", "12{g}5"),
        no("FullwidthDigits", "\uFF11\uFF12"),
        no("ArabicIndicDigit", "\u0663"),
        no("VulgarFractionHalf", "\u00BD"),
        no("SuperscriptTwo", "\u00B2"),
        no("Enye", "\u00F1"),
        no("Emoji", "\U0001F600"),
        no("DigitsThenEmoji", "12\U0001F600"),
        no("NoBreakSpaceAsGroup", "1\u00A0234"),
        no("HundredThousandLetters", std::string(100000, 'x')),

        // Numbers a receipt can carry.
        number("Plain", "12", "12", 12, kAllReadings),
        number("BlanksAround", "  12  ", "12", 12),
        number("PlusSign", "+12", "12", 12),
        number("LeadingZeros", "007", "7", 7),
        number("Zero", "0", "0", 0),
        number("NegativeZero", "-0", "0", 0),
        number("Negative", "-12", "-12", -12),
        number("NegativeFractionRoundedToZero", "-0{d}4", "-0.4", 0),
        number("NegativeHalfRoundedToZero", "-0{d}5", "-0.5", 0),
        number("NegativeFractionRoundedToMinusOne", "-0{d}6", "-0.6", -1),
        number("Fraction", "12{d}5", "12.5", 12),
        number("HalfDownToEven", "2{d}5", "2.5", 2),
        number("HalfUpToEven", "3{d}5", "3.5", 4),
        number("JustBelowHalf", "2{d}4999", "2.4999", 2),
        number("JustAboveHalf", "2{d}5001", "2.5001", 3),
        number("HalfAtTheFifthDecimal", "1{d}00005", "1.00005", 1),
        number("DecimalSeparatorFirst", "{d}5", "0.5", 0),
        number("DecimalSeparatorLast", "5{d}", "5", 5),
        number("GroupInPlace", "1{g}234", "1234", 1234),
        number("GroupsInPlace", "1{g}234{g}567", "1234567", 1234567),
        number("GroupAndDecimals", "1{g}234{d}5", "1234.5", 1234),
        number("FiveThousandLeadingZeros", std::string(5000, '0') + "12", "12", 12, kAllReadings),
        number("FiveThousandDecimals", "1{d}" + manyThrees, "1." + manyThrees, 1, kAllReadings),
        number("TooSmallForADouble", "0{d}" + std::string(400, '0') + "1", "0", 0, kAllReadings),

        // The ends of a signed 16-bit whole number, reached by rounding too.
        number("IntegerMaximum", "32767", "32767", 32767, kInteger),
        number("GroupedIntegerMaximum", "32{g}767", "32767", 32767, kInteger),
        number("BeyondIntegerMaximum", "32768", "32768", 32768, kInteger),
        number("IntegerMinimum", "-32768", "-32768", -32768, kInteger),
        number("BelowIntegerMinimum", "-32769", "-32769", -32769, kInteger),
        number("IntegerMaximumRoundedDown", "32767{d}4", "32767.4", 32767, kInteger),
        number("BeyondIntegerMaximumByRounding", "32767{d}5", "32767.5", 32768, kInteger),
        number("IntegerMinimumByRoundingToEven", "-32768{d}5", "-32768.5", -32768, kInteger),
        number("BelowIntegerMinimumByRounding", "-32768{d}6", "-32768.6", -32769, kInteger),

        // The ends of 0 to 255, and of the counts whose allowance must stay
        // a 16-bit whole number.
        number("ByteMaximum", "255", "255", 255, kByte),
        number("BeyondByteMaximum", "256", "256", 256, kByte),
        number("ByteMaximumRoundedDown", "255{d}4", "255.4", 255, kByte),
        number("BeyondByteMaximumByRounding", "255{d}5", "255.5", 256, kByte),
        number("MostChildrenAtTheMiddleRate", "197", "197", 197, kByte),
        number("OneChildTooManyAtTheMiddleRate", "198", "198", 198, kByte),
        number("MostDisabledChildren", "37", "37", 37, kByte),
        number("OneDisabledChildTooMany", "38", "38", 38, kByte),

        // The ends of money, in whole units: the top is money no receipt can
        // add up, the bottom a negative task that no line shows.
        huge("MoneyMaximum", "922337203685477", "922337203685477", +1, kMoney),
        huge("BeyondMoneyMaximum", "922337203685478", "922337203685478", +1, kMoney),
        number("MoneyMinimum", "-922337203685477", "-922337203685477", -922337203685477LL, kMoney),
        huge("BelowMoneyMinimum", "-922337203685478", "-922337203685478", -1, kMoney),

        // Numbers no receipt can carry in full.
        huge("TwentyDigits", "100000000000000000000", "100000000000000000000", +1),
        huge("GroupedTwentyDigits", "100{g}000{g}000{g}000{g}000{g}000{g}000", "100000000000000000000", +1),
        huge("NegativeTwentyDigits", "-100000000000000000000", "-100000000000000000000", -1),
        huge("LargestDoubleWrittenOut", largest, largest, +1),

        // Beyond every double.
        beyond("JustBeyondEveryDouble", "1" + std::string(309, '0')),
        beyond("FiveThousandDigits", std::string(5000, '9')),
        beyond("HundredThousandDigits", std::string(100000, '1')),
    };

    std::vector<BadInput> inputs;
    inputs.reserve(cases.size());
    for (const Case& c : cases)
        inputs.push_back(
            {c.name, detail::expand(c.pattern, settings), c.meaning, c.plain, c.whole, c.huge, c.readings});
    return inputs;
}

// For the position code, which is looked up and never read as a number:
// every case but the ends of the number types, then texts that come close to
// a catalogue code, and two that are one.
inline std::vector<BadInput> codeInputs(const payroll::RegionalSettings& settings)
{
    std::vector<BadInput> list;
    for (BadInput& input : badInputs(settings))
        if ((input.readings & kNumberReadings) == kNumberReadings)
            list.push_back(std::move(input));
    const std::pair<const char*, std::string> nearCodes[] = {
        {"CodeAfterABlank", " 645"},      {"CodeBeforeABlank", "645 "},
        {"CodeWithALeadingZero", "0645"}, {"CodeWithDecimals", "645" + settings.decimalSeparator + "0"},
        {"CodeWithASign", "+645"},        {"CodeInFullwidthDigits", "\uFF16\uFF14\uFF15"},
        {"CodeWithABlankInside", "6 45"}, {"FirstTwoDigitsOfACode", "64"},
        {"CodeAndOneDigitMore", "6450"},  {"TheSameCodeAgain", "645"},
        {"CodeOfAnotherPosition", "734"},
    };
    for (const auto& [name, text] : nearCodes)
        list.push_back({name, text, Meaning::NotANumber, {}, std::nullopt, 0, kAllReadings});
    return list;
}

// What the request around the box is, so that the calculation reads it.
enum class Scenario { Position, MiddleLevelHours, HigherLevelHours };

enum class Place { EntryWindow, SelectionDialog };

struct Field {
    std::string_view control;  // the box's name, as failures report it
    std::string_view label;    // the box's name as messages give it to the user
    Place place;
    Scenario scenario;
    Reading reading;
    // Integer and Byte: the whole numbers that give a receipt, after the
    // type's own range and any product that must stay a 16-bit whole number.
    long long lowest = 0, highest = 0;
    // Number: whether a value of 1e20 or more (of either sign) still gives a
    // receipt, because the pay scale caps it or sets it aside.
    bool hugePositiveGivesReceipt = false, hugeNegativeGivesReceipt = false;
    bool readOnly = false;    // on the screen; recibo-lote may still take a cell for it
    bool batchColumn = true;  // recibo-lote has a column of that name
};

// Every box whose text the calculation reads, with the request that makes it
// read it. The children's counts are bounded by their products: the typical
// request's family income is between 3190 and 4540, 166 per child, so 197
// children are the most a 16-bit product holds (198 × 166 = 32868); 880 per
// disabled child allows 37.
inline const std::vector<Field>& sweptFields()
{
    using enum Place;
    using enum Scenario;
    static const std::vector<Field> fields = {
        {"docente", "Apellido y nombre", EntryWindow, Position, Reading::Text},
        // Set by the seniority options alone, and copied to line 010.
        {"porcantig", "Porcentaje de Antigüedad", EntryWindow, Position, Reading::Text, 0, 0, false, false, true,
         false},
        {"numerohorasmed", "Número de horas N. Medio", EntryWindow, MiddleLevelHours, Reading::Number, 0, 0, false,
         false},
        {"numerohorassup", "Número de horas N. Superior", EntryWindow, HigherLevelHours, Reading::Number, 0, 0, false,
         false},
        // At 30 hours or more item 006 is its fixed amount; below, the hours
        // are paid one by one, so a huge negative count overflows.
        {"numhorascod06", "Número de horas con código 06", EntryWindow, MiddleLevelHours, Reading::Number, 0, 0, true,
         false},
        // Item 084 is capped above and 0 for no hours or fewer.
        {"numhorasincen", "Número de horas con incentivo", EntryWindow, MiddleLevelHours, Reading::Number, 0, 0, true,
         true},
        // Item 113 is capped above; below, the hours are paid one by one.
        {"numhorascod113", "Número de horas con código 113", EntryWindow, MiddleLevelHours, Reading::Number, 0, 0, true,
         false},
        // More than 3 days take the whole plus; fewer than 1, nothing.
        {"dinasist", "cantidad de días de inasistencia", EntryWindow, Position, Reading::Number, 0, 0, true, true},
        // Any 16-bit count of kilometres: the amount is capped above, and a
        // negative count gives a negative amount.
        {"cantkm", "cantidad de km semanales", EntryWindow, Position, Reading::Integer, -32768, 32767},
        {"cantidadhijos", "cantidad de hijos", EntryWindow, Position, Reading::Byte, 0, 197},
        {"cantidadhijosdisc", "cantidad de hijos diferenciados", EntryWindow, Position, Reading::Byte, 0, 37},
        // Filled from the catalogue and read-only on the screen; any 16-bit
        // number of points gives a receipt, and the working-day and task lines
        // are left out below one point.
        {"punbas", "Puntos básicos", SelectionDialog, Position, Reading::Integer, -32768, 32767, false, false, true},
        {"compbas", "Comp básico", SelectionDialog, Position, Reading::Number, 0, 0, false, false},
        {"proljor", "Prol. de jornada", SelectionDialog, Position, Reading::Integer, -32768, 32767},
        {"jorcom", "Jorn. completa", SelectionDialog, Position, Reading::Integer, -32768, 32767},
        {"tardif", "Tarea diferenc.", SelectionDialog, Position, Reading::Money},
    };
    return fields;
}

// The text the box must be read as when `input` gives a receipt (written
// plainly, with a decimal point; a name stays as typed), or nothing when the
// run must be refused naming the box.
inline std::optional<std::string> expectedReading(const Field& field, const BadInput& input)
{
    switch (field.reading) {
    case Reading::Text: return input.text;
    case Reading::Integer:
    case Reading::Byte:
        if (input.meaning != Meaning::Number || !input.whole || *input.whole < field.lowest
            || *input.whole > field.highest)
            return std::nullopt;
        return std::to_string(*input.whole);
    case Reading::Number:
        if (input.meaning != Meaning::Number)
            return std::nullopt;
        if ((input.huge > 0 && !field.hugePositiveGivesReceipt) || (input.huge < 0 && !field.hugeNegativeGivesReceipt))
            return std::nullopt;
        return input.plain;
    case Reading::Money:
        // Money ends just beyond ±922337203685477; far below that top a
        // receipt can no longer add it up, while a negative task, shown on
        // no line, adds nothing.
        if (input.meaning != Meaning::Number || input.huge != 0)
            return std::nullopt;
        return input.plain;
    }
    return std::nullopt;
}

// A plain number with the decimal separator of `settings`.
inline std::string localised(std::string plain, const payroll::RegionalSettings& settings)
{
    std::string text;
    for (const char c : plain) {
        if (c == '.')
            text += settings.decimalSeparator;
        else
            text += c;
    }
    return text;
}

// The request of each scenario, as the entry window holds it: the typical
// request (position 645, "Entre 5 y 7 años", the second zone, four
// deductions) with one day of absence, 100 km, two children and one disabled
// child, so that every count box is read; for hours, 12 hours with 10, 5 and
// 7 hours of codes 06, incentive and 113 in place of the position.
inline payroll::EntryValues baselineEntry(Scenario scenario)
{
    using payroll::CheckState;
    payroll::EntryValues v;
    v.docente = "Pérez, María Laura";
    switch (scenario) {
    case Scenario::Position: v.kind = payroll::EmploymentKind::Position; break;
    case Scenario::MiddleLevelHours: v.kind = payroll::EmploymentKind::MiddleLevelHours; break;
    case Scenario::HigherLevelHours: v.kind = payroll::EmploymentKind::HigherLevelHours; break;
    }
    if (scenario != Scenario::Position) {
        (scenario == Scenario::MiddleLevelHours ? v.numerohorasmed : v.numerohorassup) = "12";
        v.numhorascod06 = "10";
        v.numhorasincen = "5";
        v.numhorascod113 = "7";
    }
    v.seniorityOption = 4;
    v.pctantig = 30;
    v.porcantig = "30 %";
    v.zona = 1;
    v.dinasist = "1";
    v.transporte = v.hijos = v.hijosdisc = CheckState::Checked;
    v.cantkm = "100";
    v.cantidadhijos = "2";
    v.cantidadhijosdisc = "1";
    v.iosper = v.aportejub = v.ley4035 = v.agmer = CheckState::Checked;
    return v;
}

// The selection dialog's boxes after typing a catalogue row's code.
inline payroll::SelectedPosition positionOfRow(int row)
{
    const positions::CatalogueRow& r = positions::catalogue()[static_cast<std::size_t>(row)];
    const auto s = [](std::string_view text) { return std::string(text); };
    return {s(r.puntosbasicos), s(r.compbasico),  s(r.proljornada),   s(r.jorcompleta),
            s(r.tareadif),      s(r.codigocargo), s(r.puntosbasicos), s(r.cargox)};
}

// The catalogue row whose code is exactly `text`, read off the stored data.
inline std::optional<int> catalogueRowOfCode(std::string_view text)
{
    for (int row = 0; row < positions::kCatalogueRows; ++row)
        if (positions::catalogue()[static_cast<std::size_t>(row)].codigocargo == text)
            return row;
    return std::nullopt;
}

inline const payroll::SelectedPosition& baselinePosition()
{
    static const payroll::SelectedPosition position = positionOfRow(*catalogueRowOfCode("645"));
    return position;
}

// The request with `text` in the box `control`.
inline void putText(std::string_view control, const std::string& text, payroll::EntryValues& entry,
                    payroll::SelectedPosition& position)
{
    std::string* box = nullptr;
    if (control == "docente")
        box = &entry.docente;
    else if (control == "porcantig")
        box = &entry.porcantig;
    else if (control == "numerohorasmed")
        box = &entry.numerohorasmed;
    else if (control == "numerohorassup")
        box = &entry.numerohorassup;
    else if (control == "numhorascod06")
        box = &entry.numhorascod06;
    else if (control == "numhorasincen")
        box = &entry.numhorasincen;
    else if (control == "numhorascod113")
        box = &entry.numhorascod113;
    else if (control == "dinasist")
        box = &entry.dinasist;
    else if (control == "cantkm")
        box = &entry.cantkm;
    else if (control == "cantidadhijos")
        box = &entry.cantidadhijos;
    else if (control == "cantidadhijosdisc")
        box = &entry.cantidadhijosdisc;
    else if (control == "punbas")
        box = &position.punbas;
    else if (control == "compbas")
        box = &position.compbas;
    else if (control == "proljor")
        box = &position.proljor;
    else if (control == "jorcom")
        box = &position.jorcom;
    else if (control == "tardif")
        box = &position.tardif;
    else if (control == "cargox")
        box = &position.cargox;
    if (box == nullptr)
        throw std::logic_error("no box " + std::string(control));
    *box = text;
}

// Amounts as the receipt shows them ("$ 1234,5", "$-3"), in ten-thousandths;
// nothing when the text is not one.
inline std::optional<long long> shownAmount(std::string_view text, const payroll::RegionalSettings& settings)
{
    if (!text.starts_with('$'))
        return std::nullopt;
    text.remove_prefix(1);
    if (text.starts_with(' '))
        text.remove_prefix(1);
    bool negative = false;
    if (text.starts_with('-')) {
        negative = true;
        text.remove_prefix(1);
    }
    __int128 value = 0;
    int decimals = -1;
    bool digits = false;
    while (!text.empty()) {
        if (decimals < 0 && text.starts_with(settings.decimalSeparator)) {
            decimals = 0;
            text.remove_prefix(settings.decimalSeparator.size());
            continue;
        }
        const char c = text.front();
        if (c < '0' || c > '9' || (decimals >= 0 && ++decimals > 4) || value > INT64_MAX)
            return std::nullopt;
        digits = true;
        value = value * 10 + (c - '0');
        text.remove_prefix(1);
    }
    if (!digits || decimals == 0)
        return std::nullopt;
    for (int d = decimals < 0 ? 0 : decimals; d < 4; ++d)
        value *= 10;
    if (value > INT64_MAX)
        return std::nullopt;
    return static_cast<long long>(negative ? -value : value);
}

}  // namespace recibo::sweep
