#include "decimal_text.h"

#include <cmath>

// {fmt} and fast_float are used from their headers only: nothing more for
// the Debian package to depend on, and nothing to build for WebAssembly.
#include <fast_float/fast_float.h>
#include <fmt/format.h>

namespace recibo::payroll {

namespace {

// A finite, nonzero double's shortest digits, without leading or trailing
// zeros, and where the decimal point goes among them: `point` digits from
// the left (none or a negative count: zeros come first).
struct ShortestDigits {
    bool negative = false;
    std::string digits;
    int point = 0;
};

// {fmt}'s shortest form ("-1.5e-07", "123.25") taken apart.
ShortestDigits shortestDigits(double value)
{
    const std::string text = fmt::format("{}", value);
    ShortestDigits shortest;
    std::size_t at = 0;
    if (text[at] == '-') {
        shortest.negative = true;
        ++at;
    }
    int point = -1;
    for (; at < text.size() && text[at] != 'e'; ++at) {
        if (text[at] == '.')
            point = static_cast<int>(shortest.digits.size());
        else
            shortest.digits += text[at];
    }
    if (point < 0)
        point = static_cast<int>(shortest.digits.size());
    if (at < text.size())
        point += std::stoi(text.substr(at + 1));
    const std::size_t first = shortest.digits.find_first_not_of('0');
    shortest.digits.erase(0, first);
    point -= static_cast<int>(first);
    shortest.digits.erase(shortest.digits.find_last_not_of('0') + 1);
    shortest.point = point;
    return shortest;
}

// Fractions only: a whole number is written with all its digits, as exact
// as the double is ("99999999999999991611392" for 1e23), the closest of the
// texts as short as the shortest.
std::string fixedLayout(const ShortestDigits& shortest)
{
    const std::string& digits = shortest.digits;
    std::string text = shortest.negative ? "-" : "";
    if (shortest.point <= 0)
        text += "0." + std::string(static_cast<std::size_t>(-shortest.point), '0') + digits;
    else
        text += digits.substr(0, static_cast<std::size_t>(shortest.point)) + "."
            + digits.substr(static_cast<std::size_t>(shortest.point));
    return text;
}

// d.ddde+XX: at least two digits of exponent, as printf writes it.
std::string exponentLayout(const ShortestDigits& shortest)
{
    std::string text = shortest.negative ? "-" : "";
    text += shortest.digits.front();
    if (shortest.digits.size() > 1)
        text += "." + shortest.digits.substr(1);
    const int exponent = shortest.point - 1;
    text += fmt::format("e{}{:02}", exponent < 0 ? '-' : '+', std::abs(exponent));
    return text;
}

bool isWhole(double value)
{
    return std::isfinite(value) && std::trunc(value) == value;
}

// Zero (with its sign), infinities and NaN, as the other forms write them.
bool isPlain(double value)
{
    return value == 0 || !std::isfinite(value);
}

}  // namespace

std::string shortestFixed(double value)
{
    if (isPlain(value))
        return fmt::format("{}", value);
    if (isWhole(value))
        return fmt::format("{:.0f}", value);
    return fixedLayout(shortestDigits(value));
}

std::string shortestText(double value)
{
    if (isPlain(value))
        return fmt::format("{}", value);
    const ShortestDigits shortest = shortestDigits(value);
    std::string fixed = isWhole(value) ? fmt::format("{:.0f}", value) : fixedLayout(shortest);
    std::string exponent = exponentLayout(shortest);
    return exponent.size() < fixed.size() ? exponent : fixed;
}

std::string generalText(double value, int precision)
{
    return fmt::format("{:.{}g}", value, precision);
}

bool readDouble(std::string_view text, double& value)
{
    const char* const end = text.data() + text.size();
    const auto [at, error] = fast_float::from_chars(text.data(), end, value);
    return error == std::errc() && at == end;
}

}  // namespace recibo::payroll
