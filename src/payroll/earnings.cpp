// The first earnings of a receipt: the position's or the hours' basic amount,
// the position's complements, and the amounts of the decree and national items
// that the supplements write later.

#include "run.h"

namespace recibo::payroll {

namespace {

// What tells middle-level hours from higher-level hours: the boxes and
// texts here, the numbers in the scale.
struct HoursLevel {
    InputField hoursField;
    std::string_view description;  // of line 001
    std::string_view carsel;
    HoursLevelScale PayScale::*numbers;
};

constexpr HoursLevel kMiddleLevel = {InputField::Numerohorasmed, "Hs. N. Medio", "Horas de nivel medio",
                                     &PayScale::middleLevel};
constexpr HoursLevel kHigherLevel = {InputField::Numerohorassup, "Hs. N. Superior", "Horas de nivel superior",
                                     &PayScale::higherLevel};

// Item 006 for a position: the seniority bracket picks the row (none counts
// as the first), the full-day and base points pick the column.
Currency item006ForPosition(const PayScale& scale, int seniorityOption, std::int16_t fullDayPoints,
                            std::int16_t basePoints)
{
    const std::size_t row = seniorityOption >= 1 && seniorityOption <= kSeniorityOptions ? seniorityOption - 1 : 0;
    std::size_t column;
    if (fullDayPoints >= scale.item006FullDayThreshold) {
        column = basePoints <= scale.item006BaseUpToFirstColumn ? 0 : 1;
    } else {
        column = 2;
        while (column - 2 < scale.item006BaseColumnBounds.size()
               && basePoints > scale.item006BaseColumnBounds[column - 2])
            ++column;
    }
    return Currency::fromUnits(scale.item006Table[row][column]);
}

// "N puntos × V por punto = $ R" for the line written last.
[[gnu::noinline, gnu::cold]] void explainPointsLine(Run& run, double points, double pointValue, Currency amount,
                                                    double unrounded)
{
    ExplanationText text = run.text();
    text.number(points).say(" puntos × ").number(pointValue).say(" por punto").equals(amount, unrounded);
    run.explain(text);
}

void positionEarnings(Run& run)
{
    ComputationState& s = run.state();
    const SelectedPosition& position = run.position();
    ReceiptHeader& header = run.receipt().header;
    const PayScale& scale = run.scale();

    // The dialog fills the base points from the catalogue row and the user
    // cannot type into that box: empty means no row was chosen, which the
    // user mends in the dialog, not in the box.
    if (position.punbas.empty())
        run.fail(InputField::Punbas, kNoPositionChosenMessage);
    s.puntosbas = run.integer(InputField::Punbas);
    header.label11 = "Código del cargo";
    header.numcargo = position.codigocargo;
    header.punbasicos = position.puntosbasicos;
    header.carsel = position.cargox;
    const double basic = s.puntosbas * scale.pointValue;
    s.impbasico = run.money(basic, InputField::Punbas);

    const double compbasx = run.number(InputField::Compbas);
    s.puntosjor = run.integer(InputField::Jorcom);
    s.puntosprol = run.integer(InputField::Proljor);
    s.puntostd = run.currency(InputField::Tardif);
    const double complement = compbasx * scale.pointValue;
    const double fullDay = s.puntosjor * scale.workingDayPointValue;
    const double extendedDay = s.puntosprol * scale.workingDayPointValue;
    const double differentiated = s.puntostd.toDouble() * scale.pointValue;
    s.impcompbas = run.money(complement, InputField::Compbas);
    s.impjorcom = run.money(fullDay, InputField::Jorcom);
    s.impproljor = run.money(extendedDay, InputField::Proljor);
    s.imptardif = run.money(differentiated, InputField::Tardif);
    header.showsPositionPoints = true;

    const auto explainPoints = [&](double points, double pointValue, Currency amount, double unrounded) {
        if (run.explaining()) [[unlikely]]
            explainPointsLine(run, points, pointValue, amount, unrounded);
    };
    run.firstLine("1", "Asign. de la categoría", s.impbasico);
    explainPoints(s.puntosbas, scale.pointValue, s.impbasico, basic);
    if (compbasx > 0) {
        run.earningsLine("002", "", "Comp. de Básico", s.impcompbas);
        explainPoints(compbasx, scale.pointValue, s.impcompbas, complement);
    } else {
        s.impcompbas = Currency();
    }
    // Each working-day line shows its own amount; an amount whose line is
    // left out counts as nothing.
    if (s.puntosjor >= 1) {
        run.earningsLine("052", "", "Jornada completa", s.impjorcom);
        explainPoints(s.puntosjor, scale.workingDayPointValue, s.impjorcom, fullDay);
    } else {
        s.impjorcom = Currency();
    }
    if (s.puntosprol >= 1) {
        run.earningsLine("052", "", "Prol. de Jornada", s.impproljor);
        explainPoints(s.puntosprol, scale.workingDayPointValue, s.impproljor, extendedDay);
    } else {
        s.impproljor = Currency();
    }
    s.impjornada = run.sum({s.impjorcom, s.impproljor});
    if (s.puntostd > Currency()) {
        run.earningsLine("016", "", "Tarea diferenciada", s.imptardif);
        explainPoints(s.puntostd.toDouble(), scale.pointValue, s.imptardif, differentiated);
    } else {
        s.imptardif = Currency();
    }

    s.imp006 = item006ForPosition(scale, run.entry().seniorityOption, s.puntosjor, s.puntosbas);
    const bool fromThreshold = s.puntosjor >= scale.nationalItemsFullDayThreshold;
    if (run.entry().opincentivo == CheckState::Checked)
        s.impincentivo = fromThreshold ? scale.item084PositionFromThreshold : scale.item084PositionBelowThreshold;
    else
        s.impincentivo = Currency();
    s.imp113 = fromThreshold ? scale.item113PositionFromThreshold : scale.item113PositionBelowThreshold;

    if (run.explaining()) [[unlikely]] {
        Run::Notes& notes = run.notes();
        notes.item006 = run.text()
                            .say("Monto de la tabla del ítem 006 para la antigüedad elegida, ")
                            .whole(s.puntosbas)
                            .say(" puntos básicos y ")
                            .whole(s.puntosjor)
                            .say(" de jornada completa: ")
                            .amount(s.imp006)
                            .say(s.imp006 == Currency() ? " (la tabla no da monto para este cargo)." : ".")
                            .range();
        const std::string threshold = std::to_string(scale.nationalItemsFullDayThreshold);
        const std::string fullDayNote =
            (fromThreshold ? threshold + " puntos o más" : "menos de " + threshold + " puntos")
            + " de jornada completa";
        notes.item084 = run.text()
                            .say("Monto fijo de un cargo con ")
                            .say(fullDayNote)
                            .say(": ")
                            .amount(s.impincentivo)
                            .say(".")
                            .range();
        notes.item113 =
            run.text().say("Monto fijo de un cargo con ").say(fullDayNote).say(": ").amount(s.imp113).say(".").range();
    }
}

// "H horas × R por hora = $ R", or the ceiling that applies, for an hours item.
ReceiptExplanations::Range hoursNote(Run& run, double hours, double perHour, Currency amount, double unrounded,
                                     bool capped, std::string_view zeroReason)
{
    ExplanationText text = run.text();
    text.count(hours, "hora", "horas").say(" × ").number(perHour).say(" por hora");
    if (capped)
        return text.say(" llega al tope. Se paga el tope: ").amount(amount).say(".").range();
    text.equals(amount, unrounded);
    if (amount == Currency())
        text.say(" (").say(zeroReason).say(")");
    return text.range();
}

void hoursEarnings(Run& run, const HoursLevel& level)
{
    ComputationState& s = run.state();
    ReceiptHeader& header = run.receipt().header;
    const std::string& hoursText = run.textOf(level.hoursField);
    const PayScale& scale = run.scale();
    const HoursLevelScale& numbers = scale.*level.numbers;

    const double hours = run.number(level.hoursField);
    const double points = hours * numbers.pointsPerHour;
    const double basic = points * scale.pointValue;
    s.impbasico = run.money(basic, level.hoursField);
    header.label11 = "Cantidad de horas";
    header.numcargo = hoursText;
    header.punbasicos = formatPoints(points, run.settings());
    header.carsel = level.carsel;
    header.showsPositionPoints = false;

    s.puntosjor = s.puntosprol = 0;
    s.puntostd = s.impcompbas = s.imptardif = s.impjorcom = s.impproljor = s.impjornada = Currency();

    run.firstLine(hoursText, level.description, s.impbasico);
    if (run.explaining()) [[unlikely]] {
        ExplanationText text = run.text();
        text.count(hours, "hora", "horas")
            .say(" × ")
            .number(numbers.pointsPerHour)
            .say(" puntos por hora × ")
            .number(scale.pointValue)
            .say(" por punto")
            .equals(s.impbasico, basic);
        if (s.impbasico == Currency())
            text.say(" (sin horas)");
        run.explain(text);
    }

    const double hours06 = run.number(InputField::Numhorascod06);
    const bool capped06 = hours06 >= numbers.item006HourCap;
    const double item006 = hours06 * scale.item006PerHour;
    s.imp006 = capped06 ? numbers.item006Fixed : run.money(item006, InputField::Numhorascod06);
    if (run.explaining()) [[unlikely]]
        run.notes().item006 = capped06
            ? run.text()
                  .say("Desde ")
                  .number(numbers.item006HourCap)
                  .say(" horas, monto fijo: ")
                  .amount(s.imp006)
                  .say(".")
                  .range()
            : hoursNote(run, hours06, scale.item006PerHour, s.imp006, item006, false, "sin horas del ítem 006");

    const double incentiveHours = run.number(InputField::Numhorasincen);
    if (incentiveHours > 0) {
        const double incentive = incentiveHours * numbers.item084PerHour;
        const bool capped = incentive >= scale.item084Ceiling.toDouble();
        s.impincentivo = capped ? scale.item084Ceiling : run.money(incentive, InputField::Numhorasincen);
        if (run.explaining()) [[unlikely]]
            run.notes().item084 =
                hoursNote(run, incentiveHours, numbers.item084PerHour, s.impincentivo, incentive, capped, {});
    } else {
        s.impincentivo = Currency();
    }

    const double hours113 = run.number(InputField::Numhorascod113);
    const double item113 = hours113 * numbers.item113PerHour;
    const bool capped113 = item113 >= scale.item113Ceiling.toDouble();
    s.imp113 = capped113 ? scale.item113Ceiling : run.money(item113, InputField::Numhorascod113);
    if (run.explaining()) [[unlikely]]
        run.notes().item113 =
            hoursNote(run, hours113, numbers.item113PerHour, s.imp113, item113, capped113, "sin horas del ítem 113");
}

}  // namespace

void computeEarnings(Run& run)
{
    switch (run.entry().kind) {
    case EmploymentKind::Position: positionEarnings(run); break;
    case EmploymentKind::MiddleLevelHours: hoursEarnings(run, kMiddleLevel); break;
    case EmploymentKind::HigherLevelHours: hoursEarnings(run, kHigherLevel); break;
    case EmploymentKind::None: break;
    }
}

}  // namespace recibo::payroll
