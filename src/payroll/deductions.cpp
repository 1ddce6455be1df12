// The deductions, the totals and the net pay.

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

}  // namespace

void computeDeductionsAndTotals(Run& run)
{
    ComputationState& s = run.state();
    const EntryValues& entry = run.entry();

    if (s.descinasist > Currency())
        run.deductionsLine("440", entry.dinasist, "Reajuste cod. 188", s.descinasist);

    for (std::size_t i = 0; i < kRateDeductionLines.size(); ++i) {
        const RateDeduction& deduction = kRateDeductionLines[i];
        const DeductionRate& rate = run.scale().deductions[i];
        Currency& amount = s.*deduction.amount;
        if (entry.*deduction.box != CheckState::Checked) {
            amount = Currency();
            continue;
        }
        const Currency base = deduction.includesIncentive ? run.sum({s.remunerativo, s.impincentivo}) : s.remunerativo;
        amount = run.money(base.toDouble() * rate.rate);
        run.deductionsLine(deduction.code, rate.quantity, deduction.description, amount);
    }

    s.totalhaberes = run.sum({s.impjornada, s.impbasico, s.impcompbas, s.imp006, s.imp014, s.imptardif, s.impantig,
                              s.impplus, s.impminimo, s.imphijos, s.imphijosdisc, Currency::fromUnits(s.impfamnum),
                              s.impconyuge, s.impzona, s.impincentivo, s.imp113, s.imptransporte});
    s.totaldescuentos = run.sum({s.impiosper, s.imposplad, s.impaportejub, s.impley4035, s.impagmer, s.impcajacomp,
                                 s.impseguro, s.descinasist});
    s.impliquido = run.difference(s.totalhaberes, s.totaldescuentos);

    Receipt& receipt = run.receipt();
    run.writeAmount(receipt.thaberes, s.totalhaberes);
    run.writeAmount(receipt.tdescuentos, s.totaldescuentos);
    run.writeAmount(receipt.liquido, s.impliquido);
    receipt.docente = entry.docente;
}

}  // namespace recibo::payroll
