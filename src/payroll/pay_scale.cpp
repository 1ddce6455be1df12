#include "pay_scale.h"

namespace recibo::payroll {

const PayScale& builtInPayScale()
{
    static const PayScale scale = {
        .pointValue = 0.9842,
        .workingDayPointValue = 1.203,
        .middleLevel = {.pointsPerHour = 64.73,
                        .item006HourCap = 30,
                        .item006Fixed = Currency::fromRaw(3243000),  // 324.3
                        .item084PerHour = 11,
                        .item113PerHour = 6.6666,
                        .nationalHoursShownCap = 30},
        .higherLevel = {.pointsPerHour = 86.9,
                        .item006HourCap = 15,
                        .item006Fixed = Currency::fromRaw(1621500),  // 162.15
                        .item084PerHour = 13.75,
                        .item113PerHour = 8.3333,
                        .nationalHoursShownCap = 24},
        .item006PerHour = 10.81,
        .item006FullDayThreshold = 620,
        .item006BaseUpToFirstColumn = 971,
        .item006BaseColumnBounds = {971, 1169, 1400, 1942, 2220},
        .item006Table = {{
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
        }},
        .item084Ceiling = Currency::fromUnits(330),
        .item084PositionBelowThreshold = Currency::fromUnits(165),
        .item084PositionFromThreshold = Currency::fromUnits(330),
        .item113Ceiling = Currency::fromUnits(200),
        .item113PositionBelowThreshold = Currency::fromUnits(100),
        .item113PositionFromThreshold = Currency::fromUnits(200),
        .nationalItemsFullDayThreshold = 600,
        .seniorityPercent = {0, 10, 15, 30, 40, 50, 60, 70, 80, 100, 110, 120},
        .zonePercent = {0, 20, 40, 80, 120},
        .decreeProductivityRate = 0.07,
        .decreeProductivityQuantity = Currency::fromRaw(7000),  // 0.7
        .productivityPlusRate = 0.07,
        .productivityPlusQuantity = "7.0",
        .absenceReductionRate = {0.25, 0.5, 0.75},
        .absenceDaysForWholePlus = 3,
        .minimumBasePointsAbove = 900,
        .minimumBasePointsBelow = 1300,
        .minimumGuaranteed = 1490,
        .minimumZoneFactor = 1.07,
        .minimumAssumedDeductionRate = 0.196,
        .transportPerKilometre = 0.2734816,
        .transportWeeksPerMonth = 4,
        .transportCeiling = Currency::fromRaw(3284500),  // 328.45
        .childRateIncomeLow = Currency::fromUnits(3190),
        .childRateIncomeHigh = Currency::fromUnits(4540),
        .childRateLowIncome = 220,
        .childRateMiddleIncome = 166,
        .childRateHighIncome = 117,
        .disabledChildRate = 880,
        .largeFamilyChildren = 3,
        .largeFamilyAmount = 3,
        .spouseAllowance = Currency::fromUnits(15),
        // The quantities of Ley 4035 and Caja Comp. carry a decimal comma
        // whatever the regional settings: they are fixed texts.
        .deductions = {{{0.03, "3 %"},
                        {0.03, "3 %"},
                        {0.16, "16 %"},
                        {0.006, "0,6 %"},
                        {0.02, "2 %"},
                        {0.045, "4,5 %"},
                        {0.02, "2 %"}}},
    };
    return scale;
}

}  // namespace recibo::payroll
