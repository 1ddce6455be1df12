#include "explanation_text.h"

#include <charconv>
#include <cmath>

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
    char buffer[400];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (error != std::errc()) {
        out_ += "(número demasiado largo)";
        return *this;
    }
    const std::string_view written(buffer, static_cast<std::size_t>(end - buffer));
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

ExplanationText& ExplanationText::equals(Currency result, double unrounded)
{
    say(" = ").amount(result);
    // Only a rounding that moved the result by more than the double's own
    // error is stated.
    const double scaled = unrounded * static_cast<double>(Currency::kScale);
    if (std::fabs(scaled - static_cast<double>(result.raw())) > 1e-6 + 1e-12 * std::fabs(scaled))
        say(" (redondeado a cuatro decimales)");
    return *this;
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

ExplanationText& ExplanationText::codes(Terms terms)
{
    if (!this->terms(terms, [&](std::size_t i) { say(terms.codes[i]); }))
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
