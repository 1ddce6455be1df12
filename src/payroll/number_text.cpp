#include "number_text.h"

#include "decimal_text.h"
#include "rounding.h"

#include <cmath>
#include <cstring>
#include <iterator>
#include <limits>

namespace recibo::payroll {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Separators are one character almost always; comparing that one directly
// keeps the scan of a number free of library calls.
bool startsWith(std::string_view text, std::string_view separator)
{
    if (separator.size() == 1)
        return !text.empty() && text.front() == separator.front();
    return !separator.empty() && text.starts_with(separator);
}

bool sameSeparator(std::string_view a, std::string_view b)
{
    if (a.size() == 1 && b.size() == 1)
        return a.front() == b.front();
    return a == b;
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// What scanning a number text found.
struct ScannedNumber {
    bool negative = false;
    std::uint64_t significand = 0;  // all digits, leading zeros left out
    int significantDigits = 0;      // how many digits `significand` holds
    int decimals = 0;               // digits after the decimal separator
};

// Scans the text as the user's number; false when it is not a number. When
// `plain` is given, the number is also written there in the plain form that
// readDouble reads ("-1234.5").
bool scanNumber(std::string_view text, const RegionalSettings& settings, ScannedNumber& number, std::string* plain)
{
    std::string_view rest = trimBlanks(text);
    if (plain != nullptr)
        plain->clear();
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        number.negative = rest.front() == '-';
        if (number.negative && plain != nullptr)
            plain->push_back('-');
        rest.remove_prefix(1);
    }

    const std::string_view group = settings.groupSeparator;
    const std::string_view decimal = settings.decimalSeparator;
    const bool groupsAllowed = !group.empty() && !sameSeparator(group, decimal);

    std::size_t digits = 0;
    const auto takeDigit = [&](char c) {
        if (plain != nullptr)
            plain->push_back(c);
        ++digits;
        if (c != '0' || number.significantDigits > 0) {
            if (number.significantDigits < 19)
                number.significand = number.significand * 10 + static_cast<std::uint64_t>(c - '0');
            ++number.significantDigits;
        }
    };

    // Integer part: digits, in groups of three after the first group when the
    // group separator is used at all.
    std::size_t groupLength = 0;
    bool grouped = false;
    while (!rest.empty()) {
        if (isDigit(rest.front())) {
            takeDigit(rest.front());
            rest.remove_prefix(1);
            ++groupLength;
        } else if (groupsAllowed && startsWith(rest, group)) {
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

    if (startsWith(rest, decimal)) {
        rest.remove_prefix(decimal.size());
        if (plain != nullptr)
            plain->push_back('.');
        while (!rest.empty() && isDigit(rest.front())) {
            takeDigit(rest.front());
            ++number.decimals;
            rest.remove_prefix(1);
        }
    }
    return rest.empty() && digits > 0;
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Rounds half to even and checks the range of an integer type.
template <typename T>
Reading<T> toWhole(const Reading<double>& number)
{
    if (!number.ok())
        return {number.status, T{}};
    const double rounded = roundHalfToEven(number.value);
    if (rounded < std::numeric_limits<T>::min() || rounded > std::numeric_limits<T>::max())
        return {ReadStatus::OutOfRange, T{}};
    return {ReadStatus::Ok, static_cast<T>(rounded)};
}

}  // namespace

Reading<double> readNumber(std::string_view text, const RegionalSettings& settings)
{
    ScannedNumber number;
    if (!scanNumber(text, settings, number, nullptr))
        return {ReadStatus::NotANumber, 0.0};

    // Up to 15 significant digits the significand is exact in a double, and so
    // is the power of ten: one division is then correctly rounded. That covers
    // everything people type; longer numbers are read digit by digit.
    if (number.significantDigits <= 15 && number.decimals < static_cast<int>(std::size(kExactPowersOfTen))) {
        const double magnitude = static_cast<double>(number.significand) / kExactPowersOfTen[number.decimals];
        return {ReadStatus::Ok, number.negative ? -magnitude : magnitude};
    }

    thread_local std::string plain;
    ScannedNumber rescanned;
    scanNumber(text, settings, rescanned, &plain);
    double value = 0.0;
    if (!readDouble(plain, value))
        return {ReadStatus::NotANumber, 0.0};
    // Too large for a double is out of range; too small reads as zero.
    if (!std::isfinite(value))
        return {ReadStatus::OutOfRange, 0.0};
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

namespace {

// The amount's text written from the right, ending at `end`; returns where
// it begins. Room for 80 characters.
inline char* writeAmount(char* const end, Currency amount, const RegionalSettings& settings, std::string_view prefix)
{
    const std::int64_t raw = amount.raw();
    // The magnitude as unsigned, so that the most negative amount has one too.
    const std::uint64_t magnitude = raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
    const std::uint64_t scale = Currency::kScale;

    // Built in place, from the right, two digits at a time: most amounts then
    // fit in the string's own small buffer and need no allocation.
    static constexpr char kDigitPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char* begin = end;
    // Prefixes and separators are one or two characters almost always.
    const auto prepend = [&begin](std::string_view part) {
        switch (part.size()) {
        case 0: break;
        case 1: *--begin = part[0]; break;
        case 2:
            begin -= 2;
            begin[0] = part[0];
            begin[1] = part[1];
            break;
        default: begin -= part.size(); std::memcpy(begin, part.data(), part.size());
        }
    };

    if (const auto fraction = static_cast<unsigned>(magnitude % scale); fraction != 0) {
        char decimals[4];
        std::memcpy(decimals, kDigitPairs + 2 * (fraction / 100), 2);
        std::memcpy(decimals + 2, kDigitPairs + 2 * (fraction % 100), 2);
        std::size_t count = 4;
        while (decimals[count - 1] == '0')
            --count;
        prepend(std::string_view(decimals, count));
        prepend(std::string_view(settings.decimalSeparator).substr(0, 16));
    }
    std::uint64_t units = magnitude / scale;
    while (units >= 100) {
        begin -= 2;
        std::memcpy(begin, kDigitPairs + 2 * (units % 100), 2);
        units /= 100;
    }
    if (units >= 10) {
        begin -= 2;
        std::memcpy(begin, kDigitPairs + 2 * units, 2);
    } else {
        *--begin = static_cast<char>('0' + units);
    }
    if (raw < 0)
        *--begin = '-';
    prepend(prefix.substr(0, 16));
    return begin;
}

}  // namespace

void formatAmountInto(std::string& out, Currency amount, const RegionalSettings& settings, std::string_view prefix)
{
    char text[80];
    char* const end = text + sizeof text;
    out.assign(writeAmount(end, amount, settings, prefix), end);
}

void appendAmount(std::string& out, Currency amount, const RegionalSettings& settings, std::string_view prefix)
{
    char text[80];
    char* const end = text + sizeof text;
    out.append(writeAmount(end, amount, settings, prefix), end);
}

std::string formatAmount(Currency amount, const RegionalSettings& settings, std::string_view prefix)
{
    std::string text;
    formatAmountInto(text, amount, settings, prefix);
    return text;
}

std::string formatPoints(double value, const RegionalSettings& settings)
{
    if (value == 0)  // no "-0"
        return "0";
    if (!std::isfinite(value))
        return value > 0 ? "Inf" : "-Inf";
    std::string text;
    for (const char c : generalText(value, 15)) {
        if (c == '.')
            text += settings.decimalSeparator;
        else if (c == 'e')
            text += 'E';
        else
            text += c;
    }
    return text;
}

}  // namespace recibo::payroll
