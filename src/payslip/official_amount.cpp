#include "official_amount.h"

#include <cmath>

#include "payroll/number_text.h"
#include "payslip_check.h"

namespace recibo::payslip {

namespace {

constexpr double kBeyondAnyPay = 1e12;

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<payroll::Currency> readOfficialAmount(std::string_view text, const payroll::RegionalSettings& settings)
{
    text = trimmed(text);
    if (text.starts_with('$'))
        text = trimmed(text.substr(1));
    const auto value = payroll::readNumber(text, settings);
    if (!value.ok() || !(std::fabs(value.value) < kBeyondAnyPay))
        return std::nullopt;
    return payroll::Currency::fromDouble(value.value);
}

std::string centsText(payroll::Currency amount, const payroll::RegionalSettings& settings)
{
    const std::int64_t cents = toCents(amount).raw() / (payroll::Currency::kScale / 100);
    // The magnitude as unsigned: the cents of the most negative amount do not fit a signed one.
    const std::uint64_t magnitude =
        cents < 0 ? 0 - static_cast<std::uint64_t>(cents) : static_cast<std::uint64_t>(cents);
    std::string fraction = std::to_string(magnitude % 100);
    if (fraction.size() < 2)
        fraction.insert(0, 1, '0');
    return (cents < 0 ? "-" : "") + std::to_string(magnitude / 100) + settings.decimalSeparator + fraction;
}

}  // namespace recibo::payslip
