// Takes pictures of the entry window and of a receipt for the documentation:
//   screenshots DIRECTORY [PLANILLA]
// Run it on a display (for instance under xvfb-run), in the regional
// settings the pictures show (LANG=es_AR.UTF-8).

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHelpEvent>
#include <QScreen>
#include <QTimer>
#include <QToolTip>

#include <QTableWidget>

#include "app/planilla_session.h"
#include "app/program.h"
#include "entry/entry_window.h"
#include "gui_driver.h"
#include "payroll/calculation.h"
#include "payroll/seniority.h"
#include "payslip/official_amount.h"
#include "receipt/receipt_grid.h"
#include "regional/regional.h"
#include "selection/selection_dialog.h"

namespace {

void save(const QString& windowName, const QDir& directory, const QString& file)
{
    QWidget* target = gui::window(windowName);
    if (!target || !target->grab().save(directory.filePath(file)))
        qFatal("could not save %s", qPrintable(file));
}

void settle()
{
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        QTest::qWait(25);
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QDir directory(argc > 1 ? argv[1] : ".");
    recibo::app::Program program;
    program.start();
    settle();

    gui::type("ingreso", "docente", "Pérez, María Laura");
    gui::click("ingreso", "cargo");
    settle();
    gui::type("advertencia", "codcargo", "645");
    settle();
    save("advertencia", directory, "advertencia.png");
    gui::click("advertencia", "Command1");
    gui::click("ingreso", "Option4");
    gui::control<QComboBox>("ingreso", "zona")->setCurrentIndex(1);
    for (const char* deduction : {"Iosper", "APORTEJUB", "Ley4035", "AGMER", "Seguro3011"})
        gui::click("ingreso", deduction);
    gui::click("ingreso", "hijos");
    gui::type("ingreso", "cantidadhijos", "2");
    settle();
    save("ingreso", directory, "ingreso.png");
    gui::click("ingreso", "Command1");
    settle();
    save("Haberes", directory, "recibo.png");

    // The official payslip of a teacher paid one seniority bracket more,
    // pasted as a spreadsheet column into the comparison.
    gui::press(gui::window("Haberes"), Qt::Key_K, Qt::ControlModifier);
    settle();
    recibo::payroll::EntryValues paid = program.entryWindow()->values();
    paid.seniorityOption = 5;
    const auto bracket = recibo::payroll::seniorityBracket(5);
    paid.pctantig = bracket.percent;
    paid.porcantig = bracket.text;
    const auto official = recibo::payroll::calculate(paid, program.selectionDialog()->selection().selected(),
                                                     recibo::regional::systemSettings());
    QStringList amounts;
    for (const auto& line : std::get<recibo::payroll::Receipt>(official).lines)
        amounts << QString::fromStdString(recibo::payslip::centsText(line.value, recibo::regional::systemSettings()));
    QApplication::clipboard()->setText(amounts.join(QLatin1Char('\n')));
    auto* lines = gui::control<QTableWidget>("compararoficial", "lineasoficiales");
    gui::clickAt(lines->viewport(), lines->visualRect(lines->model()->index(0, 1)).center());
    gui::press(lines, Qt::Key_V, Qt::ControlModifier);
    auto* comparison = gui::control<QTableWidget>("compararoficial", "comparacion");
    for (int row = 0; row < comparison->rowCount(); ++row)
        if (comparison->item(row, 0)->text() == QStringLiteral("010"))
            gui::clickAt(comparison->viewport(), comparison->visualRect(comparison->model()->index(row, 1)).center());
    settle();
    save("compararoficial", directory, "comparacion.png");
    gui::window("compararoficial")->close();
    gui::click("Haberes", "Volver");
    gui::click("ingreso", "Command1");
    settle();
    save("error", directory, "error.png");

    // The sample planilla beside the form, with a teacher chosen.
    if (argc > 2 && program.planilla().open(QString::fromLocal8Bit(argv[2]))) {
        program.planilla().chooseTeacher(3);
        settle();
        save("ingreso", directory, "planilla.png");

        // The first teacher's receipt, the pointer resting on line 010: the
        // screen's top left, where the receipt and its tooltip are.
        program.planilla().chooseTeacher(0);
        gui::click("ingreso", "Command1");
        settle();
        QWidget* receipt = gui::window("Haberes");
        auto* grid = receipt->findChild<recibo::receipt::ReceiptGrid*>();
        const auto* code = receipt->findChild<recibo::receipt::GridCell*>(QStringLiteral("cod(1)"));
        if (!grid || !code)
            qFatal("no receipt grid");
        const QPoint inGrid(grid->width() / 2, code->geometry().center().y() - grid->y());
        QHelpEvent hover(QEvent::ToolTip, inGrid, grid->mapToGlobal(inGrid));
        QApplication::sendEvent(grid, &hover);
        settle();
        QRect area(receipt->mapToGlobal(QPoint(0, 0)), QSize(830, 420));
        for (const QWidget* shown : QApplication::topLevelWidgets())
            if (shown->inherits("QTipLabel") && shown->isVisible())
                area.setRight(std::max(area.right(), shown->geometry().right() + 8));
        if (!QApplication::primaryScreen()
                 ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                 .save(directory.filePath("explicacion.png")))
            qFatal("could not save explicacion.png");
    }
    return 0;
}
