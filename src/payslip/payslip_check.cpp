#include "payslip_check.h"

#include <algorithm>
#include <cstdlib>

namespace recibo::payslip {

namespace {

constexpr std::int64_t kCent = Currency::kScale / 100;

bool agree(Currency official, Currency computed)
{
    const std::int64_t apart = official.raw() - computed.raw();
    return toCents(computed) == official || (apart < kCent / 2 && apart > -kCent / 2);
}

}  // namespace

Currency toCents(Currency amount)
{
    const std::int64_t raw = amount.raw();
    const std::int64_t cents = raw >= 0 ? (raw + kCent / 2) / kCent : -((-raw + kCent / 2) / kCent);
    return Currency::fromRaw(cents * kCent);
}

Currency LineCheck::difference() const
{
    const Currency ours = computed ? toCents(*computed) : Currency();
    return Currency::fromRaw((official ? official->raw() : 0) - ours.raw());
}

std::optional<Currency> TotalCheck::difference() const
{
    return official ? official->minus(toCents(computed)) : std::nullopt;
}

bool PayslipCheck::matches() const
{
    return std::none_of(lines.begin(), lines.end(), [](const LineCheck& line) { return line.differs; });
}

int PayslipCheck::equalLines() const
{
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [](const LineCheck& line) { return !line.differs; }));
}

PayslipCheck checkPayslip(const payroll::Receipt& computed, std::span<const OfficialLine> official)
{
    PayslipCheck check;
    std::vector<bool> used(official.size(), false);
    for (const payroll::ReceiptLine& line : computed.lines) {
        LineCheck& checked = check.lines.emplace_back();
        checked.code = std::string(line.code);
        checked.computed = line.value;
        for (std::size_t i = 0; i < official.size(); ++i)
            if (!used[i] && official[i].code == line.code) {
                used[i] = true;
                checked.official = official[i].amount;
                break;
            }
        // A line of ours the payslip leaves out differs only when it pays something.
        checked.differs = checked.official ? !agree(*checked.official, line.value) : !agree(Currency(), line.value);
    }
    for (std::size_t i = 0; i < official.size(); ++i)
        if (!used[i])
            check.lines.push_back(
                {official[i].code, official[i].amount, std::nullopt, !agree(official[i].amount, Currency())});
    std::optional<Currency> earnings = Currency(), deductions = Currency();
    for (const OfficialLine& line : official)
        if (const auto column = payroll::lineColumn(line.code)) {
            std::optional<Currency>& sum = *column == payroll::Column::Earnings ? earnings : deductions;
            sum = sum ? sum->plus(line.amount) : std::nullopt;
        }
    const std::optional<Currency> net = earnings && deductions ? earnings->minus(*deductions) : std::nullopt;
    const auto total = [](std::optional<Currency> official, Currency computed) {
        return TotalCheck{official, computed, !official || !agree(*official, computed)};
    };
    const payroll::ComputationState& ours = computed.state;
    check.totals = {total(earnings, ours.totalhaberes), total(deductions, ours.totaldescuentos),
                    total(net, ours.impliquido)};
    return check;
}

}  // namespace recibo::payslip
