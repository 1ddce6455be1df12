// The deductions, the totals and the net pay.

#include <algorithm>
#include <array>

#include "run.h"

namespace recibo::payroll {

namespace {

// The rate and the quantity shown come from the scale, in this order.
struct RateDeduction {
    std::string_view code;
    std::string_view description;
    CheckState EntryValues::*box;
    Currency ComputationState::*amount;
    bool includesIncentive;  // AGMER's base includes the national incentive
};

// In the order they are written.
constexpr std::array<RateDeduction, kRateDeductions> kRateDeductionLines = {{
    {"505", "IOSPER", &EntryValues::iosper, &ComputationState::impiosper, false},
    {"508", "OSPLAD", &EntryValues::osplad, &ComputationState::imposplad, false},
    {"502", "Aporte Jub.", &EntryValues::aportejub, &ComputationState::impaportejub, false},
    {"504", "Ley 4035", &EntryValues::ley4035, &ComputationState::impley4035, false},
    {"332", "AGMER", &EntryValues::agmer, &ComputationState::impagmer, true},
    {"512", "Caja Comp.", &EntryValues::cajacomp, &ComputationState::impcajacomp, false},
    {"510", "Seguro 3011", &EntryValues::seguro3011, &ComputationState::impseguro, false},
}};

// The codes of the lines whose amounts the totals add, in the order of the
// sums of computeDeductionsAndTotals; the two working-day lines are both
// 052, each its own term as each is its own line.
constexpr std::string_view kEarningsCodes[] = {"052", "052",  "001",  "002",  "006",  "014", "016", "010", "188",
                                               "172", "1001", "1002", "1003", "1010", "078", "084", "113", "029"};
constexpr std::string_view kDeductionsCodes[] = {"505", "508", "502", "504", "332", "512", "510", "440"};

// A deduction's quantity as the scale writes it ("0,6 %"), with the regional
// decimal separator when it is a plain number of percent, as the numbers of
// the explanation beside it have.
std::string regionalQuantity(std::string_view quantity, const RegionalSettings& settings)
{
    std::string text(quantity);
    const std::size_t mark = text.find_first_of(",.");
    const bool plain = mark != std::string::npos && mark > 0 && text.find_first_of(",.", mark + 1) == std::string::npos
        && text.find_first_not_of("0123456789,. %") == std::string::npos;
    if (plain)
        text.replace(mark, 1, settings.decimalSeparator);
    return text;
}

}  // namespace

std::optional<Column> lineColumn(std::string_view code)
{
    const auto among = [code](const auto& codes) {
        return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
    };
    if (among(kEarningsCodes))
        return Column::Earnings;
    if (among(kDeductionsCodes))
        return Column::Deductions;
    return std::nullopt;
}

void computeDeductionsAndTotals(Run& run)
{
    ComputationState& s = run.state();
    const EntryValues& entry = run.entry();

    if (s.descinasist > Currency()) {
        run.deductionsLine("440", entry.dinasist, "Reajuste cod. 188", s.descinasist);
        if (run.explaining()) [[unlikely]]
            run.explain(run.notes().absence);
    }

    for (std::size_t i = 0; i < kRateDeductionLines.size(); ++i) {
        const RateDeduction& deduction = kRateDeductionLines[i];
        const DeductionRate& rate = run.scale().deductions[i];
        Currency& amount = s.*deduction.amount;
        if (entry.*deduction.box != CheckState::Checked) {
            amount = Currency();
            continue;
        }
        const Currency base = deduction.includesIncentive ? run.sum({s.remunerativo, s.impincentivo}) : s.remunerativo;
        const double unrounded = base.toDouble() * rate.rate;
        amount = run.money(unrounded);
        run.deductionsLine(deduction.code, rate.quantity, deduction.description, amount);
        if (run.explaining()) [[unlikely]] {
            ExplanationText text = run.text();
            const bool withIncentive = deduction.includesIncentive && s.impincentivo != Currency();
            text.say(regionalQuantity(rate.quantity, run.settings()))
                .say(withIncentive ? " del remunerativo y el incentivo: " : " del remunerativo: ");
            text.amount(base).say(" × ").number(rate.rate).equals(amount, unrounded);
            if (base == Currency())
                text.say(" (sin remunerativo)");
            else
                text.say(" (el remunerativo: ")
                    .say(run.explanations().of(run.notes().remunerative))
                    .say(withIncentive ? "; más el incentivo 084)" : ")");
            run.explain(text);
        }
    }

    const std::array<Currency, 18> earnings = {s.impjorcom,
                                               s.impproljor,
                                               s.impbasico,
                                               s.impcompbas,
                                               s.imp006,
                                               s.imp014,
                                               s.imptardif,
                                               s.impantig,
                                               s.impplus,
                                               s.impminimo,
                                               s.imphijos,
                                               s.imphijosdisc,
                                               Currency::fromUnits(s.impfamnum),
                                               s.impconyuge,
                                               s.impzona,
                                               s.impincentivo,
                                               s.imp113,
                                               s.imptransporte};
    const std::array<Currency, 8> deductions = {s.impiosper, s.imposplad,   s.impaportejub, s.impley4035,
                                                s.impagmer,  s.impcajacomp, s.impseguro,    s.descinasist};
    static_assert(
        std::size(kEarningsCodes)
            == std::tuple_size_v<
                decltype(earnings)> && std::size(kDeductionsCodes) == std::tuple_size_v<decltype(deductions)>);
    s.totalhaberes = run.sum(earnings);
    s.totaldescuentos = run.sum(deductions);
    s.impliquido = run.difference(s.totalhaberes, s.totaldescuentos);

    Receipt& receipt = run.receipt();
    run.writeAmount(receipt.thaberes, s.totalhaberes);
    run.writeAmount(receipt.tdescuentos, s.totaldescuentos);
    run.writeAmount(receipt.liquido, s.impliquido);
    if (run.explaining()) [[unlikely]] {
        run.explanations().thaberes =
            run.text().say("Suma de los haberes: ").sum({earnings, kEarningsCodes}, s.totalhaberes).range();
        run.explanations().tdescuentos =
            run.text().say("Suma de los descuentos: ").sum({deductions, kDeductionsCodes}, s.totaldescuentos).range();
        run.explanations().liquido = run.text()
                                         .say("Total haberes menos total descuentos: ")
                                         .amount(s.totalhaberes)
                                         .say(" − ")
                                         .amount(s.totaldescuentos)
                                         .say(" = ")
                                         .amount(s.impliquido)
                                         .range();
    }
    receipt.docente = entry.docente;
}

}  // namespace recibo::payroll
