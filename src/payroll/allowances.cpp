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
        const double topUp = scale.minimumGuaranteed - net;
        s.impminimo = run.money(topUp);
        run.earningsLine("172", "", "Adic para mínimo", s.impminimo);
        if (run.explaining()) [[unlikely]] {
            ExplanationText text = run.text();
            text.say("Corresponde porque el cargo tiene ")
                .whole(s.puntosbas)
                .say(" puntos básicos (más de ")
                .whole(scale.minimumBasePointsAbove)
                .say(" y menos de ")
                .whole(scale.minimumBasePointsBelow)
                .say(
                    ") y su neto estimado no llega al mínimo garantizado. El neto estimado son los haberes que "
                    "cuenta el mínimo menos los descuentos que supone (la tasa sobre el remunerativo sin 006, 014 ni "
                    "parte de la zona): ")
                .amount(sumaminimo)
                .say(" − ")
                .amount(assumedBase)
                .say(" × ")
                .number(scale.minimumAssumedDeductionRate)
                .say(" = ")
                .number(net)
                .say(" (sin redondear). Se agrega el mínimo menos el neto: ")
                .say("$ ")
                .number(scale.minimumGuaranteed)
                .say(" − ")
                .number(net)
                .equals(s.impminimo, topUp);
            run.explain(text);
        }
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
    const bool capped = !(amount < scale.transportCeiling.toDouble());
    s.imptransporte = capped ? scale.transportCeiling : run.money(amount, InputField::Cantkm);
    run.earningsLine("029", "", "transporte por KM", s.imptransporte);
    if (run.explaining()) [[unlikely]] {
        ExplanationText text = run.text();
        text.whole(s.kilometros)
            .say(" km × ")
            .number(scale.transportPerKilometre)
            .say(" por km × ")
            .number(scale.transportWeeksPerMonth)
            .say(" semanas");
        if (capped)
            text.say(" llega al tope. Se paga el tope: ").amount(s.imptransporte).say(".");
        else
            text.equals(s.imptransporte, amount);
        if (s.imptransporte == Currency())
            text.say(" (sin kilómetros)");
        run.explain(text);
    }
}

// The child rate of the family income's step, and which step it was.
struct ChildRate {
    std::int16_t rate;
    std::string_view step;  // empty: a rate that no income decides
    Currency income;
};

ChildRate childRate(const PayScale& scale, Currency familyIncome)
{
    if (familyIncome <= scale.childRateIncomeLow)
        return {scale.childRateLowIncome, "el primero, hasta ", familyIncome};
    if (familyIncome <= scale.childRateIncomeHigh)
        return {scale.childRateMiddleIncome, "el segundo, hasta ", familyIncome};
    return {scale.childRateHighIncome, "el tercero, más de ", familyIncome};
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
    const ChildRate found = rate();
    amount = run.tracked(Currency::fromUnits(run.wholeProduct(count, found.rate, countField)), countField);
    run.earningsLine(code, std::to_string(count), description, amount);
    if (run.explaining()) [[unlikely]] {
        ExplanationText text = run.text();
        text.count(count, "hijo", "hijos").say(" × ").amount(Currency::fromUnits(found.rate)).say(" por hijo");
        text.equals(amount, static_cast<double>(count) * found.rate);
        if (!found.step.empty()) {
            const PayScale& scale = run.scale();
            text.say(" (tramo del ingreso familiar ").amount(found.income).say(": ").say(found.step);
            text.amount(found.step.starts_with("el primero") ? scale.childRateIncomeLow : scale.childRateIncomeHigh);
            text.say(")");
        }
        if (count == 0)
            text.say(" (sin hijos)");
        run.explain(text);
    }
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
        [&] {
            return ChildRate{run.scale().disabledChildRate, {}, {}};
        },
        "1002", "Sal fam hijo diferenciado");
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
        if (run.explaining()) [[unlikely]] {
            ExplanationText text = run.text();
            text.count(children, "hijo", "hijos")
                .say(" en total (desde ")
                .whole(run.scale().largeFamilyChildren)
                .say(" corresponde): monto fijo ")
                .amount(Currency::fromUnits(s.impfamnum))
                .say(".");
            run.explain(text);
        }
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
    if (run.explaining()) [[unlikely]] {
        ExplanationText text = run.text();
        text.say("Monto fijo por cónyuge: ").amount(s.impconyuge).say(".");
        run.explain(text);
    }
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
