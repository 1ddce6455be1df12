// The later stages of a run, each started from a computation state set up by
// hand, so that the worked examples of the pay scale can be checked exactly.

#include "calculation_test_support.h"
#include "payroll/run.h"

namespace recibo::testing {
namespace {

class Stages : public CalculationTest {
protected:
    Receipt receipt;
    ComputationState& s = receipt.state;

    Receipt& stage(void (*compute)(payroll::Run&))
    {
        payroll::Run run(entry, position, settings(), payroll::builtInPayScale(), receipt);
        compute(run);
        return receipt;
    }

    Unusable failingStage(void (*compute)(payroll::Run&))
    {
        try {
            stage(compute);
        } catch (const Unusable& failure) {
            return failure;
        }
        ADD_FAILURE() << "the stage should have failed";
        return {};
    }
};

TEST_P(Stages, SupplementsWorkedExample)
{
    entry.kind = EmploymentKind::Position;
    entry.pctantig = 30;
    entry.porcantig = "30 %";
    entry.zona = 2;
    s.impbasico = money(10000000);
    s.imp006 = money(1000000);
    s.impincentivo = money(1650000);
    s.imp113 = money(1000000);

    stage(computeSupplements);

    EXPECT_EQ(s.sumabase, money(10000000));
    EXPECT_EQ(s.impantig, money(3000000));
    EXPECT_EQ(s.impzona, money(4000000));
    EXPECT_EQ(s.imp014, money(70000));
    EXPECT_EQ(s.impplus, money(1190000));
    EXPECT_EQ(s.descinasist, money(0));
    EXPECT_EQ(s.remunerativo, money(19260000));
    const auto E = Column::Earnings;
    const std::vector<ShownLine> expected = {
        {"010", "30 %", "Antigüedad", "$ 300", E},
        {"078", "40 %", "As. por zona", "$ 400", E},
        {"006", "", "Adic. Art 2 y 3 Dcrto 5863/05", "$ 100", E},
        {"014", L("0.7"), "Product Dcrto 5863/05", "$ 7", E},
        {"084", "", "Incentivo de Nación", "$ 165", E},
        {"113", "", "Negro de Nación", "$ 100", E},
        {"188", "7.0", "Plus Productividad", "$ 119", E},
    };
    EXPECT_EQ(shown(receipt), expected);
}

TEST_P(Stages, SeniorityRoundsToTheTenThousandth)
{
    entry.kind = EmploymentKind::Position;
    entry.pctantig = 30;
    s.impbasico = money(12345678);
    stage(computeSupplements);
    EXPECT_EQ(s.impantig, money(3703703));
}

TEST_P(Stages, AbsenceReductionOfTheProductivityPlus)
{
    const struct {
        const char* days;
        std::int64_t reduction;  // of a plus of 70
    } cases[] = {
        {"0", 0},           {"1", 175000}, {"2", 350000}, {"3", 525000}, {"10", 700000},
        {"3.0001", 700000}, {"2.5", 0},    {"1.5", 0},    {"-1", 0},     {"0.9999", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.days);
        receipt = {};
        entry.kind = EmploymentKind::Position;
        entry.dinasist = L(c.days);
        s.impbasico = money(10000000);
        stage(computeSupplements);
        EXPECT_EQ(s.impplus, money(700000));
        EXPECT_EQ(s.descinasist, money(c.reduction));
        EXPECT_EQ(s.remunerativo, money(10700000 - c.reduction));
    }
}

// The state of the guaranteed-minimum example: a position of 1000 points.
void setUpMinimumExample(EntryValues& entry, ComputationState& s)
{
    entry.kind = EmploymentKind::Position;
    s.puntosbas = 1000;
    s.impbasico = money(10000000);
    s.impantig = money(1500000);
    s.impplus = money(805000);
    s.imp006 = money(500000);
    s.imp014 = money(35000);
    s.remunerativo = money(12840000);
    s.impincentivo = money(1650000);
    s.imp113 = money(1000000);
}

TEST_P(Stages, GuaranteedMinimumWorkedExample)
{
    setUpMinimumExample(entry, s);
    stage(computeAllowances);
    EXPECT_EQ(s.impminimo, money(2356780));
    EXPECT_EQ(shown(receipt),
              (std::vector<ShownLine>{{"172", "", "Adic para mínimo", L("$ 235.678"), Column::Earnings}}));
}

TEST_P(Stages, GuaranteedMinimumOnlyForPositionsBetween900And1300Points)
{
    for (std::int16_t points : {900, 1300}) {
        receipt = {};
        setUpMinimumExample(entry, s);
        s.puntosbas = points;
        stage(computeAllowances);
        EXPECT_EQ(s.impminimo, money(0)) << points;
        EXPECT_TRUE(receipt.lines.empty()) << points;
    }
    for (std::int16_t points : {901, 1299}) {
        receipt = {};
        setUpMinimumExample(entry, s);
        s.puntosbas = points;
        stage(computeAllowances);
        EXPECT_EQ(s.impminimo, money(2356780)) << points;
    }
    receipt = {};
    setUpMinimumExample(entry, s);
    entry.kind = EmploymentKind::MiddleLevelHours;
    stage(computeAllowances);
    EXPECT_EQ(s.impminimo, money(0));
}

TEST_P(Stages, GuaranteedMinimumReachedExactlyWritesNothing)
{
    entry.kind = EmploymentKind::Position;
    s.puntosbas = 1000;
    s.impbasico = money(14900000);
    stage(computeAllowances);
    EXPECT_TRUE(receipt.lines.empty());

    receipt = {};
    s.puntosbas = 1000;
    s.impbasico = money(14899999);
    stage(computeAllowances);
    EXPECT_EQ(s.impminimo, money(1));
}

TEST_P(Stages, ChildRateFollowsTheFamilyIncome)
{
    const struct {
        std::int64_t income;
        const char* amount;  // for 2 children
    } cases[] = {
        {31900000, "$ 440"}, {31900001, "$ 332"}, {45400000, "$ 332"}, {45400001, "$ 234"}, {0, "$ 440"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.income);
        receipt = {};
        entry.kind = EmploymentKind::MiddleLevelHours;
        entry.hijos = CheckState::Checked;
        entry.cantidadhijos = "2";
        s.impbasico = money(c.income);
        stage(computeAllowances);
        EXPECT_EQ(findLine(receipt, "1001")->amount, c.amount);
    }
}

TEST_P(Stages, FamilyCountsOutOfRangeNameTheirBox)
{
    const struct {
        const char* name;
        std::int64_t income;
        const char* children;
        const char* disabledChildren;  // null: box not ticked
        const char* control;           // null: computes
    } cases[] = {
        {"148 children at 220", 0, "148", nullptr, nullptr},
        {"149 children at 220", 0, "149", nullptr, "cantidadhijos"},
        {"197 children at 166", 40000000, "197", nullptr, nullptr},
        {"198 children at 166", 40000000, "198", nullptr, "cantidadhijos"},
        {"255 children at 117", 50000000, "255", nullptr, nullptr},
        {"256 children", 0, "256", nullptr, "cantidadhijos"},
        {"negative children", 0, "-1", nullptr, "cantidadhijos"},
        {"37 disabled children", 0, "0", "37", nullptr},
        {"38 disabled children", 0, "0", "38", "cantidadhijosdisc"},
        {"children and disabled children above 255", 50000000, "230", "30", "cantidadhijosdisc"},
        {"children and disabled children at 255", 50000000, "225", "30", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        receipt = {};
        entry = {};
        entry.kind = EmploymentKind::MiddleLevelHours;
        entry.hijos = CheckState::Checked;
        entry.cantidadhijos = c.children;
        if (c.disabledChildren != nullptr) {
            entry.hijosdisc = CheckState::Checked;
            entry.cantidadhijosdisc = c.disabledChildren;
        }
        s.impbasico = money(c.income);
        if (c.control == nullptr) {
            EXPECT_NO_THROW(stage(computeAllowances));
            continue;
        }
        const Unusable failure = failingStage(computeAllowances);
        EXPECT_EQ(failure.where, c.control);
        EXPECT_FALSE(failure.message.empty());
    }
}

TEST_P(Stages, DeductionsOfARemunerativeBaseOf1000)
{
    entry.iosper = entry.osplad = entry.aportejub = entry.ley4035 = entry.agmer = entry.cajacomp = entry.seguro3011 =
        CheckState::Checked;
    s.remunerativo = money(10000000);
    s.impincentivo = money(1650000);
    stage(computeDeductionsAndTotals);
    const auto D = Column::Deductions;
    const std::vector<ShownLine> expected = {
        {"505", "3 %", "IOSPER", "$ 30", D},        {"508", "3 %", "OSPLAD", "$ 30", D},
        {"502", "16 %", "Aporte Jub.", "$ 160", D}, {"504", "0,6 %", "Ley 4035", "$ 6", D},
        {"332", "2 %", "AGMER", L("$ 23.3"), D},    {"512", "4,5 %", "Caja Comp.", "$ 45", D},
        {"510", "2 %", "Seguro 3011", "$ 20", D},
    };
    EXPECT_EQ(shown(receipt), expected);
    EXPECT_EQ(receipt.tdescuentos, L("$ 314.3"));
}

TEST_P(Stages, DeductionEdgeCases)
{
    entry.ley4035 = CheckState::Checked;
    entry.iosper = CheckState::Grayed;
    s.remunerativo = money(12345678);
    stage(computeDeductionsAndTotals);
    EXPECT_EQ(shown(receipt),
              (std::vector<ShownLine>{{"504", "0,6 %", "Ley 4035", L("$ 7.4074"), Column::Deductions}}));
    EXPECT_EQ(s.impiosper, money(0));

    receipt = {};
    entry = {};
    entry.seguro3011 = CheckState::Checked;
    stage(computeDeductionsAndTotals);
    EXPECT_EQ(shown(receipt), (std::vector<ShownLine>{{"510", "2 %", "Seguro 3011", "$ 0", Column::Deductions}}));
}

TEST_P(Stages, AbsenceReductionIsTheFirstDeduction)
{
    entry.dinasist = "2";
    entry.iosper = CheckState::Checked;
    s.descinasist = money(350000);
    s.remunerativo = money(10000000);
    stage(computeDeductionsAndTotals);
    ASSERT_EQ(receipt.lines.size(), 2u);
    EXPECT_EQ(shown(receipt)[0], (ShownLine{"440", "2", "Reajuste cod. 188", L("$ 35"), Column::Deductions}));
    EXPECT_EQ(receipt.tdescuentos, L("$ 65"));
}

TEST_P(Stages, TotalsAndANegativeNetPay)
{
    entry.docente = "Gómez";
    entry.aportejub = CheckState::Checked;
    s.impbasico = money(1000000);
    s.remunerativo = money(10000000);
    stage(computeDeductionsAndTotals);
    EXPECT_EQ(receipt.thaberes, "$ 100");
    EXPECT_EQ(receipt.tdescuentos, "$ 160");
    EXPECT_EQ(receipt.liquido, "$ -60");
    EXPECT_EQ(receipt.docente, "Gómez");

    receipt = {};
    entry = {};
    s.impbasico = money(1234567);
    s.impfamnum = 3;
    stage(computeDeductionsAndTotals);
    EXPECT_EQ(receipt.tdescuentos, "$ 0");
    EXPECT_EQ(receipt.liquido, receipt.thaberes);
    EXPECT_EQ(receipt.thaberes, L("$ 126.4567"));
}

INSTANTIATE_TEST_SUITE_P(BothSettings, Stages, kBothSettings, settingsName);

}  // namespace
}  // namespace recibo::testing
