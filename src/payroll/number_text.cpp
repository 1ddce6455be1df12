#include "number_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace recibo::payroll {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Scans the text as the user's number and writes it, in the plain form that
// from_chars reads ("-1234.5"), into `plain`. Returns false when the text is
// not a number. `integerIsZero` tells whether the integer part has only zeros.
bool toPlainForm(std::string_view text, const RegionalSettings& settings, std::string& plain,
                 bool& integerIsZero)
{
    std::string_view rest = trimBlanks(text);
    plain.clear();
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        if (rest.front() == '-')
            plain.push_back('-');
        rest.remove_prefix(1);
    }

    const std::string_view group = settings.groupSeparator;
    const std::string_view decimal = settings.decimalSeparator;
    const bool groupsAllowed = !group.empty() && group != decimal;

    // Integer part: digits, in groups of three after the first group when the
    // group separator is used at all.
    std::size_t digits = 0;
    std::size_t groupLength = 0;
    bool grouped = false;
    integerIsZero = true;
    while (!rest.empty()) {
        if (isDigit(rest.front())) {
            if (rest.front() != '0')
                integerIsZero = false;
            plain.push_back(rest.front());
            rest.remove_prefix(1);
            ++digits;
            ++groupLength;
        } else if (groupsAllowed && rest.starts_with(group)) {
            if (groupLength == 0 || (grouped ? groupLength != 3 : groupLength > 3))
                return false;
            grouped = true;
            groupLength = 0;
            rest.remove_prefix(group.size());
        } else {
            break;
        }
    }
    if (grouped && groupLength != 3)
        return false;

    if (!decimal.empty() && rest.starts_with(decimal)) {
        rest.remove_prefix(decimal.size());
        plain.push_back('.');
        while (!rest.empty() && isDigit(rest.front())) {
            plain.push_back(rest.front());
            rest.remove_prefix(1);
            ++digits;
        }
    }
    return rest.empty() && digits > 0;
}

// Rounds half to even and checks the range of an integer type.
template <typename T>
Reading<T> toWhole(const Reading<double>& number)
{
    if (!number.ok())
        return {number.status, T{}};
    const double rounded = std::nearbyint(number.value);
    if (rounded < std::numeric_limits<T>::min() || rounded > std::numeric_limits<T>::max())
        return {ReadStatus::OutOfRange, T{}};
    return {ReadStatus::Ok, static_cast<T>(rounded)};
}

}  // namespace

Reading<double> readNumber(std::string_view text, const RegionalSettings& settings)
{
    thread_local std::string plain;
    bool integerIsZero = true;
    if (!toPlainForm(text, settings, plain, integerIsZero))
        return {ReadStatus::NotANumber, 0.0};

    double value = 0.0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too small for a double is as good as zero; too large is out of range.
        if (!integerIsZero)
            return {ReadStatus::OutOfRange, 0.0};
        value = plain.front() == '-' ? -0.0 : 0.0;
    } else if (error != std::errc() || end != plain.data() + plain.size()) {
        return {ReadStatus::NotANumber, 0.0};
    }
    return {ReadStatus::Ok, value};
}

Reading<std::int16_t> readInteger(std::string_view text, const RegionalSettings& settings)
{
    return toWhole<std::int16_t>(readNumber(text, settings));
}

Reading<std::uint8_t> readByte(std::string_view text, const RegionalSettings& settings)
{
    return toWhole<std::uint8_t>(readNumber(text, settings));
}

Reading<Currency> readCurrency(std::string_view text, const RegionalSettings& settings)
{
    const Reading<double> number = readNumber(text, settings);
    if (!number.ok())
        return {number.status, Currency()};
    const std::optional<Currency> amount = Currency::fromDouble(number.value);
    if (!amount)
        return {ReadStatus::OutOfRange, Currency()};
    return {ReadStatus::Ok, *amount};
}

std::string formatAmount(Currency amount, const RegionalSettings& settings, std::string_view prefix)
{
    const std::int64_t raw = amount.raw();
    // The magnitude as unsigned, so that the most negative amount has one too.
    const std::uint64_t magnitude = raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
    const std::uint64_t scale = Currency::kScale;

    // Built in place, from the right: most amounts then fit in the string's
    // own small buffer and need no allocation.
    char text[80];
    char* const end = text + sizeof text;
    char* begin = end;
    const auto prepend = [&begin](std::string_view part) {
        begin -= part.size();
        part.copy(begin, part.size());
    };

    std::uint64_t fraction = magnitude % scale;
    if (fraction != 0) {
        int decimals = 4;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --decimals;
        }
        for (; decimals > 0; --decimals, fraction /= 10)
            *--begin = static_cast<char>('0' + fraction % 10);
        prepend(std::string_view(settings.decimalSeparator).substr(0, 16));
    }
    std::uint64_t units = magnitude / scale;
    do {
        *--begin = static_cast<char>('0' + units % 10);
        units /= 10;
    } while (units != 0);
    if (raw < 0)
        *--begin = '-';
    prepend(prefix.substr(0, 16));
    return std::string(begin, end);
}

std::string formatPoints(double value, const RegionalSettings& settings)
{
    if (value == 0)   // no "-0"
        return "0";
    if (!std::isfinite(value))
        return value > 0 ? "Inf" : "-Inf";
    char buffer[40];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text;
    for (const char* c = buffer; c != end; ++c) {
        if (*c == '.')
            text += settings.decimalSeparator;
        else if (*c == 'e')
            text += 'E';
        else
            text += *c;
    }
    return text;
}

}  // namespace recibo::payroll
