// Seniority, zone, the decree items, the national items and the productivity
// plus; then the absence reduction and the remunerative base.

#include <array>
#include <cctype>
#include <string>

#include "run.h"
#include "seniority.h"
#include "zones.h"

namespace recibo::payroll {

namespace {

// A percentage of the base: the product exact in Currency, the division by
// 100 in double precision.
struct Percentage {
    Currency amount;
    double unrounded;
};

Percentage percentOf(Run& run, Currency base, std::uint8_t percent)
{
    const double unrounded = run.product(base, percent).toDouble() / 100;
    return {run.money(unrounded), unrounded};
}

// "P % <what> de $ B = $ R (la base: ...)" for the line written last.
void explainPercentage(Run& run, std::uint8_t percent, std::string_view what, Currency base, Percentage result,
                       Terms baseTerms)
{
    ExplanationText text = run.text();
    text.whole(percent).say(" % ").say(what).say(" de ").amount(base).equals(result.amount, result.unrounded);
    text.say(" (la base: ").codes(baseTerms).say(")");
    run.explain(text);
}

// "de antigüedad", and the bracket when the option that is on gives the
// percentage computed with: "de antigüedad (entre 5 y 7 años)".
std::string seniorityWhat(const EntryValues& entry, const PayScale& scale)
{
    std::string what = "de antigüedad";
    const int option = entry.seniorityOption;
    if (option < 1 || option > kSeniorityOptions || seniorityBracket(option, scale).percent != entry.pctantig)
        return what;
    std::string caption(kSeniorityCaptions[static_cast<std::size_t>(option - 1)]);
    caption[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(caption[0])));  // "Entre", "Más": ASCII
    return what + " (" + caption + ")";
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
    if (days == 1 || days == 2 || days == 3) {
        const double rate = run.scale().absenceReductionRate[static_cast<std::size_t>(days) - 1];
        const double unrounded = plus.toDouble() * rate;
        reduction = run.money(unrounded);
        if (run.explaining()) [[unlikely]] {
            ExplanationText text = run.text();
            text.say("Plus de ").amount(plus).say(" por ").count(days, "día", "días").say(" de inasistencia: ");
            text.amount(plus).say(" × ").number(rate).equals(reduction, unrounded);
            run.notes().absence = text.range();
        }
    } else if (days > run.scale().absenceDaysForWholePlus) {
        reduction = plus;
        if (run.explaining()) [[unlikely]]
            run.notes().absence = run.text()
                                      .say("Más de ")
                                      .number(run.scale().absenceDaysForWholePlus)
                                      .say(" días de inasistencia: se descuenta todo el plus, ")
                                      .amount(plus)
                                      .say(".")
                                      .range();
    }
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

    const std::array<Currency, 4> baseAmounts = {s.impjornada, s.impbasico, s.impcompbas, s.imptardif};
    static constexpr std::string_view kBaseCodes[] = {"052", "001", "002", "016"};
    const Terms baseTerms{baseAmounts, kBaseCodes};
    s.sumabase = run.sum(baseAmounts);

    s.pctantig = entry.pctantig;
    const Percentage seniority = percentOf(run, s.sumabase, s.pctantig);
    s.impantig = seniority.amount;
    if (s.pctantig != 0) {
        run.earningsLine("010", entry.porcantig, "Antigüedad", s.impantig);
        if (run.explaining()) [[unlikely]]
            explainPercentage(run, s.pctantig, seniorityWhat(entry, scale), s.sumabase, seniority, baseTerms);
    }

    s.pctzona = entry.zona >= 0 && entry.zona <= kZones ? scale.zonePercent[entry.zona] : 0;
    if (s.pctzona != 0) {
        const Percentage zone = percentOf(run, s.sumabase, s.pctzona);
        s.impzona = zone.amount;
        run.earningsLine("078", std::to_string(s.pctzona) + " %", "As. por zona", s.impzona);
        if (run.explaining()) [[unlikely]]
            explainPercentage(run, s.pctzona,
                              "por zona (" + std::string(kZoneNames[static_cast<std::size_t>(entry.zona)]) + ")",
                              s.sumabase, zone, baseTerms);
    } else {
        s.impzona = Currency();
    }

    run.earningsLine("006", hoursQuantity(run, InputField::Numhorascod06, &HoursLevelScale::item006HourCap),
                     "Adic. Art 2 y 3 Dcrto 5863/05", s.imp006);
    if (run.explaining()) [[unlikely]]
        run.explain(run.notes().item006);

    const double item014 = s.imp006.toDouble() * scale.decreeProductivityRate;
    s.imp014 = run.money(item014);
    run.earningsLine("014", formatAmount(scale.decreeProductivityQuantity, run.settings()), "Product Dcrto 5863/05",
                     s.imp014);
    if (run.explaining()) [[unlikely]] {
        ExplanationText text = run.text();
        text.say("Productividad del decreto 5863/05, sobre el ítem 006: ")
            .amount(s.imp006)
            .say(" (006) × ")
            .number(scale.decreeProductivityRate)
            .equals(s.imp014, item014);
        if (s.imp014 == Currency())
            text.say(" (sin importe en el ítem 006)");
        run.explain(text);
    }

    if (s.impincentivo > Currency()) {
        run.earningsLine("084", hoursQuantity(run, InputField::Numhorasincen, &HoursLevelScale::nationalHoursShownCap),
                         "Incentivo de Nación", s.impincentivo);
        if (run.explaining()) [[unlikely]]
            run.explain(run.notes().item084);
    }

    run.earningsLine("113", hoursQuantity(run, InputField::Numhorascod113, &HoursLevelScale::nationalHoursShownCap),
                     "Negro de Nación", s.imp113);
    if (run.explaining()) [[unlikely]]
        run.explain(run.notes().item113);

    const Currency plusBase = run.sum({s.sumabase, s.impantig, s.impzona});
    const double plus = plusBase.toDouble() * scale.productivityPlusRate;
    s.impplus = run.money(plus);
    run.earningsLine("188", scale.productivityPlusQuantity, "Plus Productividad", s.impplus);
    if (run.explaining()) [[unlikely]] {
        ExplanationText text = run.text();
        text.amount(plusBase).say(" × ").number(scale.productivityPlusRate).equals(s.impplus, plus);
        const std::array<Currency, 6> amounts = {s.impjornada, s.impbasico, s.impcompbas,
                                                 s.imptardif,  s.impantig,  s.impzona};
        static constexpr std::string_view kCodes[] = {"052", "001", "002", "016", "010", "078"};
        text.say(" (la base: ").codes({amounts, kCodes}).say(")");
        run.explain(text);
    }

    s.descinasist = absenceReduction(run, s.impplus);

    const Currency base = run.sum({s.sumabase, s.impzona, s.impantig, s.imp006, s.imp014, s.impplus});
    s.remunerativo = run.difference(base, s.descinasist);
    if (run.explaining()) [[unlikely]] {
        // The lines of the sum by their codes, those of the base first.
        const std::array<Currency, 9> amounts = {s.impjornada, s.impbasico, s.impcompbas, s.imptardif, s.impzona,
                                                 s.impantig,   s.imp006,    s.imp014,     s.impplus};
        static constexpr std::string_view kCodes[] = {"052", "001", "002", "016", "078", "010", "006", "014", "188"};
        ExplanationText text = run.text();
        text.codes({amounts, kCodes});
        if (s.descinasist != Currency())
            text.say(" − ").named("440");
        run.notes().remunerative = text.range();
    }
}

}  // namespace recibo::payroll
