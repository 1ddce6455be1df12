#pragma once

// Every rate, point value, threshold and fixed amount of the teachers' pay
// scale in force since September 2010. Nothing else in the program writes
// one of these numbers.

#include <array>
#include <cstdint>

#include "currency.h"

namespace recibo::payroll::scale {

// Points into money.
inline constexpr double kPointValue = 0.9842;
inline constexpr double kWorkingDayPointValue = 1.203;
inline constexpr double kPointsPerMiddleLevelHour = 64.73;
inline constexpr double kPointsPerHigherLevelHour = 86.9;

// Item 006 (decree 5863/05 addition) for hours.
inline constexpr double kItem006PerHour = 10.81;
inline constexpr double kItem006MiddleLevelHourCap = 30;
inline constexpr double kItem006HigherLevelHourCap = 15;
inline constexpr Currency kItem006MiddleLevelFixed = Currency::fromRaw(3243000);  // 324.3
inline constexpr Currency kItem006HigherLevelFixed = Currency::fromRaw(1621500);  // 162.15

// Item 084 (national incentive).
inline constexpr double kItem084PerMiddleLevelHour = 11;
inline constexpr double kItem084PerHigherLevelHour = 13.75;
inline constexpr double kItem084CeilingValue = 330;
inline constexpr Currency kItem084Ceiling = Currency::fromUnits(330);
inline constexpr Currency kItem084PositionBelowThreshold = Currency::fromUnits(165);
inline constexpr Currency kItem084PositionFromThreshold = Currency::fromUnits(330);

// Item 113 (national item).
inline constexpr double kItem113PerMiddleLevelHour = 6.6666;
inline constexpr double kItem113PerHigherLevelHour = 8.3333;
inline constexpr double kItem113CeilingValue = 200;
inline constexpr Currency kItem113Ceiling = Currency::fromUnits(200);
inline constexpr Currency kItem113PositionBelowThreshold = Currency::fromUnits(100);
inline constexpr Currency kItem113PositionFromThreshold = Currency::fromUnits(200);

// Full-day points from which a position takes the higher items 084 and 113.
inline constexpr int kNationalItemsFullDayThreshold = 600;

// Hours shown as the quantity of lines 006, 084 and 113 at most.
inline constexpr double kMiddleLevelHoursShownCap = 30;
inline constexpr double kHigherLevelNationalHoursShownCap = 24;

// Item 006 for a position: rows are the seniority brackets (Option1 first),
// columns as described at kItem006Columns.
inline constexpr int kItem006FullDayThreshold = 620;
inline constexpr int kItem006BaseUpToFirstColumn = 971;
// Upper bounds (inclusive) of the base-point columns for full-day < 620;
// above the last bound the last column applies.
inline constexpr std::array<int, 5> kItem006BaseColumnBounds = {971, 1169, 1400, 1942, 2220};
// Columns: 0 full-day >= 620 and base <= 971; 1 full-day >= 620 and base >= 972;
// 2 base <= 971; 3 972-1169; 4 1170-1400; 5 1401-1942; 6 1943-2220; 7 >= 2221.
inline constexpr std::array<std::array<std::int16_t, 8>, 12> kItem006Table = {{
    {99, 99, 409, 99, 0, 0, 0, 0},
    {112, 112, 581, 112, 0, 0, 0, 0},
    {273, 273, 705, 224, 298, 240, 224, 0},
    {472, 435, 733, 242, 298, 240, 224, 0},
    {546, 497, 661, 261, 311, 248, 224, 174},
    {590, 540, 575, 286, 311, 248, 224, 174},
    {633, 559, 578, 323, 323, 252, 236, 199},
    {652, 578, 553, 354, 453, 286, 236, 199},
    {689, 590, 664, 428, 491, 422, 348, 224},
    {733, 609, 826, 540, 509, 410, 385, 224},
    {764, 627, 925, 615, 534, 410, 397, 236},
    {770, 633, 956, 633, 596, 416, 410, 236},
}};

// Seniority brackets: the percentage and its text, Option1 to Option12.
inline constexpr int kSeniorityOptions = 12;
inline constexpr std::array<std::uint8_t, kSeniorityOptions> kSeniorityPercent = {0,  10, 15, 30,  40,  50,
                                                                                  60, 70, 80, 100, 110, 120};

// Zone percentages by the selected index of the zone list, 0 to kZones.
inline constexpr int kZones = 4;
inline constexpr std::array<std::uint8_t, kZones + 1> kZonePercent = {0, 20, 40, 80, 120};

// Decree 5863/05 productivity and the productivity plus.
inline constexpr double kDecreeProductivityRate = 0.07;
inline constexpr Currency kDecreeProductivityQuantity = Currency::fromRaw(7000);  // 0.7, shown as quantity
inline constexpr double kProductivityPlusRate = 0.07;
inline constexpr const char* kProductivityPlusQuantity = "7.0";  // line 188's quantity, as shown

// Absence reduction of the productivity plus, by days of absence 1, 2 and 3;
// more than 3 days take the whole plus.
inline constexpr std::array<double, 3> kAbsenceReductionRate = {0.25, 0.5, 0.75};
inline constexpr double kAbsenceDaysForWholePlus = 3;

// Guaranteed minimum (line 172) for positions with base points in this open range.
inline constexpr int kMinimumBasePointsAbove = 900;
inline constexpr int kMinimumBasePointsBelow = 1300;
inline constexpr double kMinimumGuaranteed = 1490;
inline constexpr double kMinimumZoneFactor = 1.07;
inline constexpr double kMinimumAssumedDeductionRate = 0.196;

// Transport by kilometre (line 029).
inline constexpr double kTransportPerKilometre = 0.2734816;
inline constexpr double kTransportWeeksPerMonth = 4;
inline constexpr double kTransportCeilingValue = 328.45;
inline constexpr Currency kTransportCeiling = Currency::fromRaw(3284500);

// Family allowances.
inline constexpr Currency kChildRateIncomeLow = Currency::fromUnits(3190);
inline constexpr Currency kChildRateIncomeHigh = Currency::fromUnits(4540);
inline constexpr std::int16_t kChildRateLowIncome = 220;
inline constexpr std::int16_t kChildRateMiddleIncome = 166;
inline constexpr std::int16_t kChildRateHighIncome = 117;
inline constexpr std::int16_t kDisabledChildRate = 880;
inline constexpr int kLargeFamilyChildren = 3;
inline constexpr std::int16_t kLargeFamilyAmount = 3;
inline constexpr Currency kSpouseAllowance = Currency::fromUnits(15);

// Deduction rates, applied to the remunerative base.
inline constexpr double kIosperRate = 0.03;
inline constexpr double kOspladRate = 0.03;
inline constexpr double kPensionRate = 0.16;
inline constexpr double kLey4035Rate = 0.006;
inline constexpr double kAgmerRate = 0.02;
inline constexpr double kCajaCompRate = 0.045;
inline constexpr double kSeguro3011Rate = 0.02;

}  // namespace recibo::payroll::scale
