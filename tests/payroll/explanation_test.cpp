// Explanations: every operation an explanation writes, evaluated from its own
// operands with the engine's rounding, gives the result it states, and the
// last amount it names is the line's (or total's) amount; on many generated
// entries. Then one worked example per kind of line, checked by hand.

#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "calculation_test_support.h"

namespace recibo::testing {
namespace {

// One operand or operator of an operation.
struct Token {
    enum Kind { Number, Times, Plus, Minus, Percent } kind;
    double value = 0;
    std::optional<Currency> money;  // written after "$ "
};

struct Number {
    double value;
    std::optional<Currency> money;
    std::size_t end;
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The number at `at` ("-12,5" or "$ 3"), or none.
std::optional<Number> numberAt(std::string_view text, std::size_t at, const RegionalSettings& settings)
{
    const bool money = text.substr(at).starts_with("$ ");
    std::size_t start = money ? at + 2 : at;
    std::size_t end = start;
    if (end < text.size() && text[end] == '-')
        ++end;
    if (end == text.size() || !isDigit(text[end]))
        return std::nullopt;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    const std::string_view separator = settings.decimalSeparator;
    if (text.substr(end).starts_with(separator) && end + separator.size() < text.size()
        && isDigit(text[end + separator.size()])) {
        end += separator.size();
        while (end < text.size() && isDigit(text[end]))
            ++end;
    }
    const std::string_view digits = text.substr(start, end - start);
    if (money) {
        const auto read = readCurrency(digits, settings);
        return read.ok() ? std::optional<Number>({read.value.toDouble(), read.value, end}) : std::nullopt;
    }
    const auto read = readNumber(digits, settings);
    return read.ok() ? std::optional<Number>({read.value, std::nullopt, end}) : std::nullopt;
}

std::vector<Token> tokens(std::string_view expression, const RegionalSettings& settings)
{
    std::vector<Token> result;
    for (std::size_t at = 0; at < expression.size();) {
        const std::string_view rest = expression.substr(at);
        const bool wordStart = at == 0 || expression[at - 1] == ' ';
        if (rest.starts_with("×")) {
            result.push_back({Token::Times, 0, std::nullopt});
            at += std::string_view("×").size();
        } else if (rest.starts_with("−")) {
            result.push_back({Token::Minus, 0, std::nullopt});
            at += std::string_view("−").size();
        } else if (rest.starts_with("+ ")) {
            result.push_back({Token::Plus, 0, std::nullopt});
            ++at;
        } else if (rest.starts_with("% ")) {
            result.push_back({Token::Percent, 0, std::nullopt});
            ++at;
        } else if (const auto number = wordStart ? numberAt(expression, at, settings) : std::nullopt) {
            result.push_back({Token::Number, number->value, number->money});
            at = number->end;
        } else {
            ++at;
        }
    }
    return result;
}

// The value of an operation: "P % ... de $ B" as the engine takes a
// percentage; sums of amounts exactly; anything else in doubles, × before
// + and −.
struct Value {
    double number;
    std::optional<Currency> money;
};

std::optional<Value> evaluate(const std::vector<Token>& t)
{
    if (t.size() == 3 && t[0].kind == Token::Number && t[1].kind == Token::Percent && t[2].money)
        return Value{t[2].money->times(static_cast<std::int64_t>(t[0].value))->toDouble() / 100, std::nullopt};
    if (t.empty() || t.size() % 2 == 0)
        return std::nullopt;
    bool sumOfAmounts = true;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if ((i % 2 == 0) != (t[i].kind == Token::Number))
            return std::nullopt;
        sumOfAmounts = sumOfAmounts && (i % 2 == 0 ? t[i].money.has_value() : t[i].kind != Token::Times);
    }
    if (sumOfAmounts) {
        Currency total = *t[0].money;
        for (std::size_t i = 1; i < t.size(); i += 2)
            total = *(t[i].kind == Token::Plus ? total.plus(*t[i + 1].money) : total.minus(*t[i + 1].money));
        return Value{total.toDouble(), total};
    }
    double total = 0, product = t[0].value;
    Token::Kind pending = Token::Plus;
    for (std::size_t i = 1; i < t.size(); i += 2) {
        if (t[i].kind == Token::Times) {
            product = product * t[i + 1].value;
            continue;
        }
        total = pending == Token::Plus ? total + product : total - product;
        pending = t[i].kind;
        product = t[i + 1].value;
    }
    return Value{pending == Token::Plus ? total + product : total - product, std::nullopt};
}

std::string withoutAsides(std::string_view text)
{
    std::string result;
    int depth = 0;
    for (const char c : text) {
        depth += c == '(';
        if (depth == 0)
            result += c;
        depth -= c == ')' && depth > 0;
    }
    return result;
}

struct Checked {
    std::string problem;  // empty: sound
    int operations = 0;
};

// Every "operation = result" of each sentence, and the last amount named.
Checked check(std::string_view explanation, std::string_view amountText, const RegionalSettings& settings)
{
    const std::string text = withoutAsides(explanation);
    Checked checked;
    std::size_t sentenceStart = 0;
    while (sentenceStart < text.size()) {
        std::size_t sentenceEnd = text.find(". ", sentenceStart);
        if (sentenceEnd == std::string::npos)
            sentenceEnd = text.size();
        const std::string_view sentence = std::string_view(text).substr(sentenceStart, sentenceEnd - sentenceStart);
        sentenceStart = sentenceEnd + 2;
        const std::size_t equals = sentence.find(" = ");
        if (equals == std::string_view::npos)
            continue;
        std::string_view operation = sentence.substr(0, equals);
        if (const std::size_t colon = operation.rfind(": "); colon != std::string_view::npos)
            operation.remove_prefix(colon + 2);
        const auto stated = numberAt(sentence, equals + 3, settings);
        const auto value = evaluate(tokens(operation, settings));
        if (!stated || !value)
            return {"an operation that cannot be read: " + std::string(sentence)};
        const bool same = stated->money
            ? Currency::fromDouble(value->number) == stated->money && (!value->money || value->money == stated->money)
            : value->number == stated->value;
        if (!same)
            return {"an operation that does not give its result: " + std::string(sentence)};
        ++checked.operations;
    }
    const std::size_t last = text.rfind("$ ");
    const auto named = last == std::string::npos ? std::nullopt : numberAt(text, last, settings);
    const auto shown = readCurrency(amountText.substr(amountText.find('$') + 1), settings);
    if (!named || !shown.ok() || named->money != shown.value)
        checked.problem = "the last amount named is not " + std::string(amountText);
    return checked;
}

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
    const std::string remunerative = "001 + 002 + 078 + 010 + 006 + 014 + 188 − 440";
    const WorkedExample examples[] = {
        {"points", "001", "1300 puntos × 0,9842 por punto = $ 1279,46"},
        {"percentage", "010",
         "30 % de antigüedad de $ 1404,4534 = $ 421,336 (redondeado a cuatro decimales) (la base: 001 + 002)"},
        {"table", "006",
         "Monto de la tabla del ítem 006 para la antigüedad elegida, 1300 puntos básicos y 0 de jornada completa: "
         "$ 298."},
        {"rate of an amount", "014", "$ 298 (006) × 0,07 = $ 20,86"},
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
}

}  // namespace
}  // namespace recibo::testing
