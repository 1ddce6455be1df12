// The top-up to the guaranteed minimum, transport by kilometre and the family
// allowances. None of them enters the remunerative base.

#include "pay_scale.h"
#include "run.h"

namespace recibo::payroll {

namespace {

using namespace scale;

bool checked(CheckState state) { return state == CheckState::Checked; }

void guaranteedMinimum(Run& run)
{
    ComputationState& s = run.state();
    s.impminimo = Currency();
    if (run.entry().kind != EmploymentKind::Position || s.puntosbas <= kMinimumBasePointsAbove ||
        s.puntosbas >= kMinimumBasePointsBelow)
        return;

    const Currency sumaminimo = run.sum({s.impjornada, s.impbasico, s.impcompbas, s.impantig, s.imptardif,
                                         s.impplus, s.impincentivo, s.imp113});
    const Currency zone = run.money(s.impzona.toDouble() * kMinimumZoneFactor);
    const Currency assumedBase =
        run.difference(run.difference(run.difference(s.remunerativo, s.imp006), s.imp014), zone);
    const double descminimo = assumedBase.toDouble() * kMinimumAssumedDeductionRate;
    const double net = sumaminimo.toDouble() - descminimo;
    if (net < kMinimumGuaranteed) {
        s.impminimo = run.money(kMinimumGuaranteed - net);
        run.earningsLine("172", "", "Adic para mínimo", s.impminimo);
    }
}

void transport(Run& run)
{
    ComputationState& s = run.state();
    if (!checked(run.entry().transporte)) {
        s.imptransporte = Currency();
        return;
    }
    s.kilometros = run.integer(InputField::Cantkm);
    const double amount = s.kilometros * kTransportPerKilometre * kTransportWeeksPerMonth;
    s.imptransporte =
        amount < kTransportCeilingValue ? run.money(amount, InputField::Cantkm) : kTransportCeiling;
    run.earningsLine("029", "", "transporte por KM", s.imptransporte);
}

std::int16_t childRate(Currency familyIncome)
{
    if (familyIncome <= kChildRateIncomeLow)
        return kChildRateLowIncome;
    if (familyIncome <= kChildRateIncomeHigh)
        return kChildRateMiddleIncome;
    return kChildRateHighIncome;
}

void children(Run& run)
{
    ComputationState& s = run.state();
    if (!checked(run.entry().hijos)) {
        s.canthijos = 0;
        s.imphijos = Currency();
        return;
    }
    s.canthijos = run.byte(InputField::Cantidadhijos);
    // Every earning written so far except transport.
    const Currency familyIncome =
        run.sum({s.impbasico, s.impcompbas, s.imp006, s.imp014, s.impjornada, s.imptardif, s.impantig, s.impplus,
                 s.impminimo, s.impzona, s.impincentivo, s.imp113});
    s.imphijos = run.tracked(
        Currency::fromUnits(run.wholeProduct(s.canthijos, childRate(familyIncome), InputField::Cantidadhijos)),
        InputField::Cantidadhijos);
    run.earningsLine("1001", std::to_string(s.canthijos), "Sal fam hijo", s.imphijos);
}

void disabledChildren(Run& run)
{
    ComputationState& s = run.state();
    if (!checked(run.entry().hijosdisc)) {
        s.canthijosdisc = 0;
        s.imphijosdisc = Currency();
        return;
    }
    s.canthijosdisc = run.byte(InputField::Cantidadhijosdisc);
    s.imphijosdisc = run.tracked(
        Currency::fromUnits(run.wholeProduct(s.canthijosdisc, kDisabledChildRate, InputField::Cantidadhijosdisc)),
        InputField::Cantidadhijosdisc);
    run.earningsLine("1002", std::to_string(s.canthijosdisc), "Sal fam hijo diferenciado",
                     s.imphijosdisc);
}

void largeFamily(Run& run)
{
    ComputationState& s = run.state();
    const int children = s.canthijos + s.canthijosdisc;
    if (children > UINT8_MAX)
        run.fail(InputField::Cantidadhijosdisc,
                 "La suma de hijos (" + std::to_string(s.canthijos) + ") e hijos diferenciados (" +
                     std::to_string(s.canthijosdisc) + ") supera 255.");
    if (children >= kLargeFamilyChildren) {
        s.impfamnum = kLargeFamilyAmount;
        run.earningsLine("1003", std::to_string(children), "Familia numerosa",
                         Currency::fromUnits(s.impfamnum));
    } else {
        s.impfamnum = 0;
    }
}

void spouse(Run& run)
{
    ComputationState& s = run.state();
    if (!checked(run.entry().conyuge)) {
        s.impconyuge = Currency();
        return;
    }
    s.impconyuge = kSpouseAllowance;
    run.earningsLineWithoutQuantity("1010", "Sal fam Cony", s.impconyuge);
}

}  // namespace

void computeAllowances(Run& run)
{
    guaranteedMinimum(run);
    transport(run);
    children(run);
    disabledChildren(run);
    largeFamily(run);
    spouse(run);
}

}  // namespace recibo::payroll
