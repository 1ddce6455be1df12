// The official payslip compared on the desktop, as a teacher does it: the
// comparison opened from the receipt, the payslip's amounts pasted from a
// spreadsheet and typed, the likely cause read, the comparison printed with
// the receipt, and the payslip kept with the teacher in the planilla.

#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>

#include "app/planilla_session.h"
#include "app/program.h"
#include "page/page_files.h"
#include "payslip/official_amount.h"
#include "pdf_tools.h"
#include "program_driver.h"
#include "receipt/receipt_printer.h"

using namespace program_driver;

namespace {

const QString kCompare = QStringLiteral("compararoficial");

// The receipt's amounts to the cent, one per line, as a spreadsheet column
// copies them.
QString amountColumn(const payroll::Receipt& receipt)
{
    QStringList amounts;
    for (const payroll::ReceiptLine& line : receipt.lines)
        amounts << QString::fromStdString(payslip::centsText(line.value, regional::systemSettings()));
    return amounts.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QTableWidget* officialTable()
{
    return gui::control<QTableWidget>(kCompare, "lineasoficiales");
}

// A click on the official amount of row `row`, then Ctrl+V.
void pasteAmounts(const QString& column, int row = 0)
{
    QTableWidget* table = officialTable();
    QApplication::clipboard()->setText(column);
    QVERIFY(gui::clickAt(table->viewport(), table->visualRect(table->model()->index(row, 1)).center()));
    gui::press(table, Qt::Key_V, Qt::ControlModifier);
}

// The comparison row of `code`, or -1.
int comparisonRow(const QString& code)
{
    const auto* table = gui::control<QTableWidget>(kCompare, "comparacion");
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0)->text() == code)
            return row;
    return -1;
}

}  // namespace

class PayslipCompareTest : public QObject {
    Q_OBJECT

private slots:
    void init() { program_ = std::make_unique<app::Program>(), program_->start(); }
    void cleanup() { program_.reset(); }

    // A payslip made with another seniority is traced back to it; the line
    // that differs is marked in words and explained; typed right, it agrees.
    void aChangedSeniorityIsFound()
    {
        typicalRequest();
        gui::click(kEntry, "Command1");
        QVERIFY(visible(kReceipt));
        gui::press(gui::window(kReceipt), Qt::Key_K, Qt::ControlModifier);
        QVERIFY(QTest::qWaitFor([] { return visible(kCompare); }));
        QCOMPARE(gui::caption(kCompare, "resultado"),
                 "Escribí los importes del recibo oficial para compararlos con el calculado.");

        payroll::EntryValues other = typicalValues();
        other.seniorityOption = 5;
        other.pctantig = 40;
        other.porcantig = "40 %";
        pasteAmounts(amountColumn(calculated(other)));
        QVERIFY2(gui::caption(kCompare, "causas")
                     .contains("Con «Entre 7 y 10 años» en lugar de «Entre 5 y 7 años» coinciden todas las líneas."),
                 qPrintable(gui::caption(kCompare, "causas")));
        const auto* comparison = gui::control<QTableWidget>(kCompare, "comparacion");
        const int seniority = comparisonRow("010");
        QVERIFY(seniority >= 0);
        QCOMPARE(comparison->item(seniority, 5)->text(), "Difiere");
        const QString tip = gui::hoverText(comparison->viewport(),
                                           comparison->visualRect(comparison->model()->index(seniority, 1)).center());
        QVERIFY2(tip.contains("30 % de antigüedad")
                     && tip.contains("Con «Entre 7 y 10 años» en lugar de «Entre 5 y 7 años» coincide esta línea."),
                 qPrintable(tip));

        pasteAmounts(amountColumn(calculated(typicalValues())));
        QCOMPARE(gui::caption(kCompare, "resultado"),
                 "El recibo oficial coincide con el calculado en todas las líneas.");
        QVERIFY(gui::control(kCompare, "causas")->isHidden());
    }

    // An amount typed from the keyboard updates the comparison as it is
    // typed; what is no amount is named, and left out.
    void typedAmountsCompareAsTyped()
    {
        typicalRequest();
        gui::click(kEntry, "Command1");
        gui::press(gui::window(kReceipt), Qt::Key_K, Qt::ControlModifier);
        QVERIFY(QTest::qWaitFor([] { return visible(kCompare); }));
        // From the keyboard alone: the window opens with the first amount current.
        QTableWidget* table = officialTable();
        QCOMPARE(table->window()->focusWidget(), table);
        gui::typeKeys(table, QStringLiteral("12"));
        QVERIFY2(gui::caption(kCompare, "resultado").startsWith("Difieren"),
                 qPrintable(gui::caption(kCompare, "resultado")));
        gui::typeKeys(table, QStringLiteral("abc"));
        QVERIFY2(gui::caption(kCompare, "problemas").contains("Fila 1: «12abc» no es un importe"),
                 qPrintable(gui::caption(kCompare, "problemas")));
    }

    // The comparison prints on a page after the receipt's.
    void printsAfterTheReceipt()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("recibo.pdf");
        program_->printing().setPrinter(std::make_unique<receipt::PdfFile>(path));
        typicalRequest();
        gui::click(kEntry, "Command1");
        gui::press(gui::window(kReceipt), Qt::Key_K, Qt::ControlModifier);
        QVERIFY(QTest::qWaitFor([] { return visible(kCompare); }));
        pasteAmounts(QStringLiteral("1\n"));
        gui::click(kReceipt, "Imprimir");
        QCOMPARE(pdf::pages(path), 2);
        QVERIFY2(pdf::text(path).contains("Comparación con el recibo oficial"), qPrintable(pdf::text(path)));
    }

    // The payslip typed for a teacher of the planilla is saved beside it, in
    // the table recibo-lote --comparar reads, and comes back with the teacher.
    void keptWithTheTeacher()
    {
        QTemporaryDir folder;
        const QString planilla = folder.filePath("docentes.csv");
        QVERIFY(QFile::copy(RECIBO_EXAMPLE_CSV, planilla));
        QVERIFY(program_->planilla().open(planilla));
        QVERIFY(program_->planilla().chooseTeacher(1));
        gui::click(kEntry, "Command1");
        gui::press(gui::window(kReceipt), Qt::Key_K, Qt::ControlModifier);
        QVERIFY(QTest::qWaitFor([] { return visible(kCompare); }));
        pasteAmounts(QStringLiteral("1234,5\n"));
        QVERIFY(gui::window(kEntry)->isWindowModified());
        QVERIFY(program_->planilla().save());
        QFile saved(app::PlanillaSession::officialLinesPath(planilla));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QString firstCode = officialTable()->item(0, 0)->text();
        QCOMPARE(QString::fromUtf8(saved.readAll()), QStringLiteral("fila;cod;importe\n2;%1;1234,50\n").arg(firstCode));

        QVERIFY(program_->planilla().chooseTeacher(0));
        QVERIFY(officialTable()->item(0, 1) == nullptr || officialTable()->item(0, 1)->text().isEmpty());
        QVERIFY(program_->planilla().open(planilla));
        QVERIFY(program_->planilla().chooseTeacher(1));
        QCOMPARE(officialTable()->item(0, 1)->text(), "1234,50");
    }

private:
    std::unique_ptr<app::Program> program_;
};

int main(int argc, char* argv[])
{
    gui::quietPlatformWarnings();
    QApplication application(argc, argv);
    PayslipCompareTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "payslip_compare_test.moc"
