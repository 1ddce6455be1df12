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
    s.impbasico = run.money(s.puntosbas * scale.pointValue, InputField::Punbas);

    const double compbasx = run.number(InputField::Compbas);
    s.puntosjor = run.integer(InputField::Jorcom);
    s.puntosprol = run.integer(InputField::Proljor);
    s.puntostd = run.currency(InputField::Tardif);
    s.impcompbas = run.money(compbasx * scale.pointValue, InputField::Compbas);
    s.impjorcom = run.money(s.puntosjor * scale.workingDayPointValue, InputField::Jorcom);
    s.impproljor = run.money(s.puntosprol * scale.workingDayPointValue, InputField::Proljor);
    s.imptardif = run.money(s.puntostd.toDouble() * scale.pointValue, InputField::Tardif);
    header.showsPositionPoints = true;

    run.firstLine("1", "Asign. de la categoría", s.impbasico);
    if (compbasx > 0)
        run.earningsLine("002", "", "Comp. de Básico", s.impcompbas);
    else
        s.impcompbas = Currency();
    // Each working-day line shows its own amount; an amount whose line is
    // left out counts as nothing.
    if (s.puntosjor >= 1)
        run.earningsLine("052", "", "Jornada completa", s.impjorcom);
    else
        s.impjorcom = Currency();
    if (s.puntosprol >= 1)
        run.earningsLine("052", "", "Prol. de Jornada", s.impproljor);
    else
        s.impproljor = Currency();
    s.impjornada = run.sum({s.impjorcom, s.impproljor});
    if (s.puntostd > Currency())
        run.earningsLine("016", "", "Tarea diferenciada", s.imptardif);
    else
        s.imptardif = Currency();

    s.imp006 = item006ForPosition(scale, run.entry().seniorityOption, s.puntosjor, s.puntosbas);
    const bool fromThreshold = s.puntosjor >= scale.nationalItemsFullDayThreshold;
    if (run.entry().opincentivo == CheckState::Checked)
        s.impincentivo = fromThreshold ? scale.item084PositionFromThreshold : scale.item084PositionBelowThreshold;
    else
        s.impincentivo = Currency();
    s.imp113 = fromThreshold ? scale.item113PositionFromThreshold : scale.item113PositionBelowThreshold;
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
    s.impbasico = run.money(points * scale.pointValue, level.hoursField);
    header.label11 = "Cantidad de horas";
    header.numcargo = hoursText;
    header.punbasicos = formatPoints(points, run.settings());
    header.carsel = level.carsel;
    header.showsPositionPoints = false;

    s.puntosjor = s.puntosprol = 0;
    s.puntostd = s.impcompbas = s.imptardif = s.impjorcom = s.impproljor = s.impjornada = Currency();

    run.firstLine(hoursText, level.description, s.impbasico);

    const double hours06 = run.number(InputField::Numhorascod06);
    s.imp006 = hours06 >= numbers.item006HourCap ? numbers.item006Fixed
                                                 : run.money(hours06 * scale.item006PerHour, InputField::Numhorascod06);

    const double incentiveHours = run.number(InputField::Numhorasincen);
    if (incentiveHours > 0) {
        const double incentive = incentiveHours * numbers.item084PerHour;
        s.impincentivo = incentive >= scale.item084Ceiling.toDouble() ? scale.item084Ceiling
                                                                      : run.money(incentive, InputField::Numhorasincen);
    } else {
        s.impincentivo = Currency();
    }

    const double item113 = run.number(InputField::Numhorascod113) * numbers.item113PerHour;
    s.imp113 = item113 >= scale.item113Ceiling.toDouble() ? scale.item113Ceiling
                                                          : run.money(item113, InputField::Numhorascod113);
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
