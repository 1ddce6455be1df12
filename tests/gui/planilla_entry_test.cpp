// A planilla's rows entered in the desktop program as a user would by
// hand: "Calcular" then shows, for every row of the sample table, the
// receipt recibo-lote computes for it.

#include <fstream>
#include <variant>

#include <QTest>

#include "app/program.h"
#include "gui_driver.h"
#include "program_driver.h"
#include "regional/regional.h"
#include "table/planilla.h"

using namespace recibo;
using namespace program_driver;

class PlanillaEntryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { gui::quietPlatformWarnings(); }

    void everySampleRowGivesReciboLotesReceipt()
    {
        std::ifstream file(RECIBO_EXAMPLE_CSV, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(file), {}};
        auto read = table::Planilla::read(text);
        QVERIFY(std::holds_alternative<table::Planilla>(read));
        const auto& table = std::get<table::Planilla>(read);
        QVERIFY(table.rows() >= 10);

        app::Program program;
        program.start();
        // Each row after the one before, as a school office goes down its list.
        for (std::size_t row = 0; row < table.rows(); ++row) {
            const auto hand = table.handEntry(row);
            const auto input = table.input(row);
            QVERIFY(std::holds_alternative<table::Planilla::HandEntry>(hand));
            program.enter(std::get<table::Planilla::HandEntry>(hand));
            gui::click(kEntry, "Command1");
            const auto& expected = std::get<table::RowInput>(input);
            const auto result = payroll::calculate(expected.entry, expected.position, regional::systemSettings());
            QVERIFY(std::holds_alternative<payroll::Receipt>(result));
            compareGrid(std::get<payroll::Receipt>(result));
            QCOMPARE(gui::caption(kReceipt, "docente"), QString::fromStdString(expected.entry.docente));
        }
    }
};

QTEST_MAIN(PlanillaEntryTest)
#include "planilla_entry_test.moc"
