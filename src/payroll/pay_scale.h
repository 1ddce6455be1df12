#pragma once

// The numbers of a teachers' pay scale: every rate, point value, threshold
// and fixed amount the calculation uses. The rules (which line, which
// formula, in which order) are the calculation's; a scale only gives them
// their numbers. The scale in force since September 2010 is built in
// (`builtInPayScale()`); newer ones are read from files by src/scales.

#include <array>
#include <cstdint>
#include <string>

#include "currency.h"

namespace recibo::payroll {

// The entry window's fixed structure, not numbers of a scale: twelve
// seniority options (Option1 to Option12) and the zone list's entries 0 to kZones.
inline constexpr int kSeniorityOptions = 12;
inline constexpr int kZones = 4;

// Item 006 for a position: base-point column bounds and table columns.
inline constexpr int kItem006BoundCount = 5;
inline constexpr int kItem006Columns = 8;
inline constexpr int kAbsenceReductionDays = 3;
inline constexpr int kRateDeductions = 7;

// What tells middle-level hours from higher-level hours.
struct HoursLevelScale {
    double pointsPerHour;
    // Item 006: hours times the per-hour amount, or the fixed amount from the cap on.
    double item006HourCap;
    Currency item006Fixed;
    double item084PerHour;  // national incentive
    double item113PerHour;  // national item
    // Hours shown as the quantity of lines 084 and 113 at most.
    double nationalHoursShownCap;

    bool operator==(const HoursLevelScale&) const = default;
};

// One deduction of a rate of the remunerative base, with the quantity its
// line shows (a fixed text, "3 %").
struct DeductionRate {
    double rate;
    std::string quantity;

    bool operator==(const DeductionRate&) const = default;
};

struct PayScale {
    // Points into money.
    double pointValue;
    double workingDayPointValue;  // full and extended working day

    HoursLevelScale middleLevel;
    HoursLevelScale higherLevel;

    // Item 006 (decree 5863/05 addition): per hour, and for a position a
    // table whose rows are the seniority brackets (Option1 first; none counts
    // as the first) and whose columns are: 0 full-day >= threshold and base
    // <= item006BaseUpToFirstColumn; 1 full-day >= threshold and base above
    // it; 2 to 7 the base points up to each bound (inclusive) of
    // item006BaseColumnBounds, the last column above the last bound.
    double item006PerHour;
    int item006FullDayThreshold;
    int item006BaseUpToFirstColumn;
    std::array<int, kItem006BoundCount> item006BaseColumnBounds;
    std::array<std::array<std::int16_t, kItem006Columns>, kSeniorityOptions> item006Table;

    // Items 084 (national incentive) and 113 (national item): the ceiling for
    // hours, and a position's amount below and from the full-day threshold.
    Currency item084Ceiling;
    Currency item084PositionBelowThreshold;
    Currency item084PositionFromThreshold;
    Currency item113Ceiling;
    Currency item113PositionBelowThreshold;
    Currency item113PositionFromThreshold;
    int nationalItemsFullDayThreshold;

    // Seniority percentages, Option1 to Option12; zone percentages by the
    // zone list's selected index.
    std::array<std::uint8_t, kSeniorityOptions> seniorityPercent;
    std::array<std::uint8_t, kZones + 1> zonePercent;

    // Decree 5863/05 productivity (line 014) and the productivity plus (line
    // 188), each with the quantity its line shows.
    double decreeProductivityRate;
    Currency decreeProductivityQuantity;
    double productivityPlusRate;
    std::string productivityPlusQuantity;

    // Absence reduction of the plus for 1, 2 and 3 days; more days than
    // absenceDaysForWholePlus take the whole plus.
    std::array<double, kAbsenceReductionDays> absenceReductionRate;
    double absenceDaysForWholePlus;

    // Guaranteed minimum (line 172) for base points in the open range.
    int minimumBasePointsAbove;
    int minimumBasePointsBelow;
    double minimumGuaranteed;
    double minimumZoneFactor;
    double minimumAssumedDeductionRate;

    // Transport by kilometre (line 029).
    double transportPerKilometre;
    double transportWeeksPerMonth;
    Currency transportCeiling;

    // Family allowances.
    Currency childRateIncomeLow;
    Currency childRateIncomeHigh;
    std::int16_t childRateLowIncome;
    std::int16_t childRateMiddleIncome;
    std::int16_t childRateHighIncome;
    std::int16_t disabledChildRate;
    int largeFamilyChildren;
    std::int16_t largeFamilyAmount;
    Currency spouseAllowance;

    // Deductions in the order they are written: IOSPER, OSPLAD, pension, Ley
    // 4035, AGMER, Caja Comp., Seguro 3011.
    std::array<DeductionRate, kRateDeductions> deductions;

    bool operator==(const PayScale&) const = default;
};

// The scale in force since September 2010.
const PayScale& builtInPayScale();

}  // namespace recibo::payroll
