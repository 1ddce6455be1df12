// The top-up to the guaranteed minimum, transport by kilometre and the family
// allowances. None of them enters the remunerative base.

#include "run.h"

namespace recibo::payroll {

namespace {

bool checked(CheckState state)
{
    return state == CheckState::Checked;
}

void guaranteedMinimum(Run& run)
{
    ComputationState& s = run.state();
    const PayScale& scale = run.scale();
    s.impminimo = Currency();
    if (run.entry().kind != EmploymentKind::Position || s.puntosbas <= scale.minimumBasePointsAbove
        || s.puntosbas >= scale.minimumBasePointsBelow)
        return;

    const Currency sumaminimo = run.sum(
        {s.impjornada, s.impbasico, s.impcompbas, s.impantig, s.imptardif, s.impplus, s.impincentivo, s.imp113});
    const Currency zone = run.money(s.impzona.toDouble() * scale.minimumZoneFactor);
    const Currency assumedBase =
        run.difference(run.difference(run.difference(s.remunerativo, s.imp006), s.imp014), zone);
    const double descminimo = assumedBase.toDouble() * scale.minimumAssumedDeductionRate;
    const double net = sumaminimo.toDouble() - descminimo;
    if (net < scale.minimumGuaranteed) {
        s.impminimo = run.money(scale.minimumGuaranteed - net);
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
    const PayScale& scale = run.scale();
    const double amount = s.kilometros * scale.transportPerKilometre * scale.transportWeeksPerMonth;
    s.imptransporte =
        amount < scale.transportCeiling.toDouble() ? run.money(amount, InputField::Cantkm) : scale.transportCeiling;
    run.earningsLine("029", "", "transporte por KM", s.imptransporte);
}

std::int16_t childRate(const PayScale& scale, Currency familyIncome)
{
    if (familyIncome <= scale.childRateIncomeLow)
        return scale.childRateLowIncome;
    if (familyIncome <= scale.childRateIncomeHigh)
        return scale.childRateMiddleIncome;
    return scale.childRateHighIncome;
}

// Children, or disabled children: the count times the rate, on its line.
// The rate is found only when the box is checked.
template <typename Rate>
void childAllowance(Run& run, CheckState checkBox, InputField countField, std::uint8_t& count, Currency& amount,
                    const Rate& rate, const char* code, const char* description)
{
    if (!checked(checkBox)) {
        count = 0;
        amount = Currency();
        return;
    }
    count = run.byte(countField);
    amount = run.tracked(Currency::fromUnits(run.wholeProduct(count, rate(), countField)), countField);
    run.earningsLine(code, std::to_string(count), description, amount);
}

void children(Run& run)
{
    ComputationState& s = run.state();
    // The child rate's step is set by every earning written so far except transport.
    const auto byFamilyIncome = [&] {
        return childRate(run.scale(),
                         run.sum({s.impbasico, s.impcompbas, s.imp006, s.imp014, s.impjornada, s.imptardif, s.impantig,
                                  s.impplus, s.impminimo, s.impzona, s.impincentivo, s.imp113}));
    };
    childAllowance(run, run.entry().hijos, InputField::Cantidadhijos, s.canthijos, s.imphijos, byFamilyIncome, "1001",
                   "Sal fam hijo");
    childAllowance(
        run, run.entry().hijosdisc, InputField::Cantidadhijosdisc, s.canthijosdisc, s.imphijosdisc,
        [&] { return run.scale().disabledChildRate; }, "1002", "Sal fam hijo diferenciado");
}

void largeFamily(Run& run)
{
    ComputationState& s = run.state();
    const int children = s.canthijos + s.canthijosdisc;
    if (children > UINT8_MAX)
        run.fail(InputField::Cantidadhijosdisc,
                 "La suma de hijos (" + std::to_string(s.canthijos) + ") e hijos diferenciados ("
                     + std::to_string(s.canthijosdisc) + ") supera 255.");
    if (children >= run.scale().largeFamilyChildren) {
        s.impfamnum = run.scale().largeFamilyAmount;
        run.earningsLine("1003", std::to_string(children), "Familia numerosa", Currency::fromUnits(s.impfamnum));
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
    s.impconyuge = run.scale().spouseAllowance;
    run.earningsLineWithoutQuantity("1010", "Sal fam Cony", s.impconyuge);
}

}  // namespace

void computeAllowances(Run& run)
{
    guaranteedMinimum(run);
    transport(run);
    children(run);
    largeFamily(run);
    spouse(run);
}

}  // namespace recibo::payroll
