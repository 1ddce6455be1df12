#include "explanation_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "decimal_text.h"
#include "number_text.h"

namespace recibo::payroll {

ExplanationText& ExplanationText::say(std::string_view text)
{
    out_ += text;
    return *this;
}

ExplanationText& ExplanationText::amount(Currency value)
{
    appendAmount(out_, value, settings_, "$ ");
    return *this;
}

ExplanationText& ExplanationText::number(double value)
{
    const std::string text = shortestFixed(value);
    const std::string_view written = text;
    const std::size_t point = written.find('.');
    if (point == std::string_view::npos) {
        out_ += written;
    } else {
        out_ += written.substr(0, point);
        out_ += settings_.decimalSeparator;
        out_ += written.substr(point + 1);
    }
    return *this;
}

ExplanationText& ExplanationText::whole(long long value)
{
    char buffer[24];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_.append(buffer, written.ptr);
    return *this;
}

ExplanationText& ExplanationText::count(double value, std::string_view one, std::string_view many)
{
    return number(value).say(" ").say(value == 1 ? one : many);
}

ExplanationText& ExplanationText::equals(Currency result, double unrounded)
{
    say(" = ").amount(result);
    // Only a rounding that moved the result by more than the double's own
    // error is stated.
    const double scaled = unrounded * static_cast<double>(Currency::kScale);
    const double error = 1e-6 + 1e-12 * std::fabs(scaled);
    if (std::fabs(scaled - static_cast<double>(result.raw())) <= error)
        return *this;
    // The operands have few decimals: a double this near a half unit
    // stands for a decimal result exactly on it.
    const double halves = std::round(scaled * 2);
    if (std::fabs(scaled * 2 - halves) > 2 * error || std::fmod(std::fabs(halves), 2) != 1) {
        say(" (redondeado a cuatro decimales)");
        return *this;
    }
    // Five decimals: the tie itself, halves / 2 ten-thousandths.
    const long long fifths = static_cast<long long>(halves) * 5;
    const bool down = static_cast<double>(result.raw()) * 2 < halves;
    say(" (la cuenta exacta da ");
    if (fifths < 0)
        say("-");
    const long long magnitude = fifths < 0 ? -fifths : fifths;
    whole(magnitude / 100000).say(settings_.decimalSeparator);
    char decimals[6];
    std::snprintf(decimals, sizeof decimals, "%05lld", magnitude % 100000);
    say(decimals);
    return say(down ? ", justo a mitad de camino; hecha en binario, como la calcula la computadora, da apenas menos "
                      "y se redondea hacia abajo)"
                    : ", justo a mitad de camino; hecha en binario, como la calcula la computadora, da apenas más "
                      "y se redondea hacia arriba)");
}

// Writes each term whose amount is not zero, joined by " + "; false when
// every amount is zero and nothing was written.
template <typename WriteTerm>
bool ExplanationText::terms(Terms terms, const WriteTerm& writeTerm)
{
    bool first = true;
    for (std::size_t i = 0; i < terms.amounts.size(); ++i) {
        if (terms.amounts[i] == Currency())
            continue;
        if (!first)
            say(" + ");
        writeTerm(i);
        first = false;
    }
    return !first;
}

namespace {

// What a teacher calls the lines that the bases and sums are made of.
constexpr std::pair<std::string_view, std::string_view> kShortNames[] = {
    {"052", "jornada"},    {"001", "básico"},    {"002", "comp. básico"},    {"016", "tarea dif."},
    {"010", "antigüedad"}, {"078", "zona"},      {"006", "adicional"},       {"014", "productividad"},
    {"188", "plus"},       {"084", "incentivo"}, {"113", "negro de Nación"}, {"440", "inasistencias"},
};

}  // namespace

ExplanationText& ExplanationText::named(std::string_view code)
{
    for (const auto& [known, name] : kShortNames)
        if (known == code)
            return say(name).say(" ").say(code);
    return say(code);
}

ExplanationText& ExplanationText::codes(Terms terms)
{
    if (!this->terms(terms, [&](std::size_t i) { named(terms.codes[i]); }))
        say("ningún importe");
    return *this;
}

ExplanationText& ExplanationText::sum(Terms terms, Currency result)
{
    if (!this->terms(terms, [&](std::size_t i) { amount(terms.amounts[i]).say(" (").say(terms.codes[i]).say(")"); }))
        amount(Currency());
    return say(" = ").amount(result);
}

}  // namespace recibo::payroll
