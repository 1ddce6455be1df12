// Seniority, zone, the decree items, the national items and the productivity
// plus; then the absence reduction and the remunerative base.

#include "run.h"

namespace recibo::payroll {

namespace {

// A percentage of the base: the product exact in Currency, the division by
// 100 in double precision.
Currency percentOf(Run& run, Currency base, std::uint8_t percent)
{
    return run.money(run.product(base, percent).toDouble() / 100);
}

// The quantity of an hours line: the hours as typed, or the level's cap once
// the hours reach it. A position shows no quantity.
std::string hoursQuantity(Run& run, InputField hoursField, double HoursLevelScale::*levelCap)
{
    const EmploymentKind kind = run.entry().kind;
    if (kind == EmploymentKind::Position)
        return {};
    const PayScale& scale = run.scale();
    const double cap = (kind == EmploymentKind::MiddleLevelHours ? scale.middleLevel : scale.higherLevel).*levelCap;
    if (run.number(hoursField) >= cap)
        return std::to_string(static_cast<int>(cap));
    return run.textOf(hoursField);
}

Currency absenceReduction(Run& run, Currency plus)
{
    const double days = run.number(InputField::Dinasist);
    Currency reduction;
    if (days == 1 || days == 2 || days == 3)
        reduction = run.money(plus.toDouble() * run.scale().absenceReductionRate[static_cast<std::size_t>(days) - 1]);
    else if (days > run.scale().absenceDaysForWholePlus)
        reduction = plus;
    // The reduction is written as a deduction only when it is positive; one
    // that is not written must not lower the base either.
    return reduction > Currency() ? reduction : Currency();
}

}  // namespace

void computeSupplements(Run& run)
{
    ComputationState& s = run.state();
    const EntryValues& entry = run.entry();
    const PayScale& scale = run.scale();

    s.sumabase = run.sum({s.impjornada, s.impbasico, s.impcompbas, s.imptardif});

    s.pctantig = entry.pctantig;
    s.impantig = percentOf(run, s.sumabase, s.pctantig);
    if (s.pctantig != 0)
        run.earningsLine("010", entry.porcantig, "Antigüedad", s.impantig);

    s.pctzona = entry.zona >= 0 && entry.zona <= kZones ? scale.zonePercent[entry.zona] : 0;
    if (s.pctzona != 0) {
        s.impzona = percentOf(run, s.sumabase, s.pctzona);
        run.earningsLine("078", std::to_string(s.pctzona) + " %", "As. por zona", s.impzona);
    } else {
        s.impzona = Currency();
    }

    run.earningsLine("006", hoursQuantity(run, InputField::Numhorascod06, &HoursLevelScale::item006HourCap),
                     "Adic. Art 2 y 3 Dcrto 5863/05", s.imp006);

    s.imp014 = run.money(s.imp006.toDouble() * scale.decreeProductivityRate);
    run.earningsLine("014", formatAmount(scale.decreeProductivityQuantity, run.settings()), "Product Dcrto 5863/05",
                     s.imp014);

    if (s.impincentivo > Currency())
        run.earningsLine("084", hoursQuantity(run, InputField::Numhorasincen, &HoursLevelScale::nationalHoursShownCap),
                         "Incentivo de Nación", s.impincentivo);

    run.earningsLine("113", hoursQuantity(run, InputField::Numhorascod113, &HoursLevelScale::nationalHoursShownCap),
                     "Negro de Nación", s.imp113);

    s.impplus = run.money(run.sum({s.sumabase, s.impantig, s.impzona}).toDouble() * scale.productivityPlusRate);
    run.earningsLine("188", scale.productivityPlusQuantity, "Plus Productividad", s.impplus);

    s.descinasist = absenceReduction(run, s.impplus);

    const Currency base = run.sum({s.sumabase, s.impzona, s.impantig, s.imp006, s.imp014, s.impplus});
    s.remunerativo = run.difference(base, s.descinasist);
}

}  // namespace recibo::payroll
