#pragma once

// The text of a line's explanation, written in the receipt's number style:
// amounts after "$ " in their shortest form, other numbers in the shortest
// form that reads back as the same double, both with the regional decimal
// separator. Subtraction is "−" and multiplication "×"; a minus sign is "-".

#include <span>
#include <string>
#include <string_view>

#include "currency.h"
#include "receipt.h"
#include "regional_settings.h"

namespace recibo::payroll {

// The amounts of a sum, and beside each (same index) the code of the line
// that shows it.
struct Terms {
    std::span<const Currency> amounts;
    std::span<const std::string_view> codes;
};

// Appends one explanation to the receipt's text of explanations; one at a
// time, `range()` says where it stands once written.
class ExplanationText {
public:
    ExplanationText(const RegionalSettings& settings, std::string& out)
        : settings_(settings), out_(out), begin_(out.size())
    {}

    ExplanationText& say(std::string_view text);
    ExplanationText& amount(Currency amount);  // "$ 12,5"
    ExplanationText& number(double value);     // "0,9842"
    ExplanationText& whole(long long value);
    // "1 hora", "2,5 horas": a count and what it counts, singular for one.
    ExplanationText& count(double value, std::string_view one, std::string_view many);
    // " = $ R", and the rounding when it moved the result. A result that is
    // exactly halfway between two ten-thousandths in decimal but a little
    // off it in binary, where the computation is done, says so and which
    // way it went, rather than leave an operation that seems to round
    // the other way.
    ExplanationText& equals(Currency result, double unrounded);
    // The lines of the terms that are not zero, each by a short name and its
    // code: "jornada 052 + básico 001".
    ExplanationText& codes(Terms terms);
    // A line's code with its short name before it ("inasistencias 440").
    ExplanationText& named(std::string_view code);
    // The terms that are not zero with their codes, "$ 10 (001) + $ 2 (052)",
    // then " = $ R"; "$ 0 = $ 0" when every term is zero.
    ExplanationText& sum(Terms terms, Currency result);

    ReceiptExplanations::Range range() const
    {
        return {static_cast<std::uint32_t>(begin_), static_cast<std::uint32_t>(out_.size())};
    }

private:
    template <typename WriteTerm>
    bool terms(Terms terms, const WriteTerm& writeTerm);

    const RegionalSettings& settings_;
    std::string& out_;
    std::size_t begin_;
};

}  // namespace recibo::payroll
