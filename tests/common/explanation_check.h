#pragma once

// Reads back the operations an explanation writes and evaluates each from
// its own operands with the engine's rounding: "P % ... de $ B" as the
// engine takes a percentage, sums of amounts exactly, anything else in
// doubles with × before + and −. Asides in parentheses are skipped. Used by
// the engine's tests and the calculation fuzz target.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "payroll/currency.h"
#include "payroll/number_text.h"
#include "payroll/regional_settings.h"

namespace recibo::testing::explanation_check {

using payroll::Currency;
using payroll::readNumber;
using payroll::RegionalSettings;

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

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// An amount text read exactly, digit by digit: at most four decimals.
inline std::optional<Currency> exactAmount(std::string_view text, const RegionalSettings& settings)
{
    const bool negative = text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    __int128 raw = 0;
    int decimals = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i).starts_with(settings.decimalSeparator) && decimals < 0) {
            decimals = 0;
            i += settings.decimalSeparator.size() - 1;
            continue;
        }
        if (!isDigit(text[i]) || decimals == 4 || raw > (__int128{1} << 100))
            return std::nullopt;
        raw = raw * 10 + (text[i] - '0');
        decimals += decimals >= 0;
    }
    for (int i = decimals < 0 ? 0 : decimals; i < 4; ++i)
        raw *= 10;
    raw = negative ? -raw : raw;
    if (raw > INT64_MAX || raw < INT64_MIN)
        return std::nullopt;
    return Currency::fromRaw(static_cast<std::int64_t>(raw));
}

// The number at `at` ("-12,5" or "$ 3"), or none.
inline std::optional<Number> numberAt(std::string_view text, std::size_t at, const RegionalSettings& settings)
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
        const auto amount = exactAmount(digits, settings);
        return amount ? std::optional<Number>({amount->toDouble(), amount, end}) : std::nullopt;
    }
    const auto read = readNumber(digits, settings);
    return read.ok() ? std::optional<Number>({read.value, std::nullopt, end}) : std::nullopt;
}

inline std::vector<Token> tokens(std::string_view expression, const RegionalSettings& settings)
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

inline std::optional<Value> evaluate(const std::vector<Token>& t)
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

inline std::string withoutAsides(std::string_view text)
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
inline Checked check(std::string_view explanation, std::string_view amountText, const RegionalSettings& settings)
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
            ? (value->money ? value->money == stated->money : Currency::fromDouble(value->number) == stated->money)
            : value->number == stated->value;
        if (!same)
            return {"an operation that does not give its result: " + std::string(sentence)};
        ++checked.operations;
    }
    const std::size_t last = text.rfind("$ ");
    const auto named = last == std::string::npos ? std::nullopt : numberAt(text, last, settings);
    std::string_view shownText = amountText.substr(amountText.find('$') + 1);
    if (shownText.starts_with(' '))
        shownText.remove_prefix(1);
    const auto shown = exactAmount(shownText, settings);
    if (!named || !shown || named->money != shown)
        checked.problem = "the last amount named is not " + std::string(amountText);
    return checked;
}

}  // namespace recibo::testing::explanation_check
