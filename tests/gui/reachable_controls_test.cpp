// Every control a person can see is one a person can click: in each state
// the windows take (the three kinds of employment, the dialog open, the
// notice, a short receipt and one of 26 lines), every visible, enabled
// control is the widget Qt finds at the point a person aims at, and each
// written receipt line is the grid's. A control covered by another, now or
// after any change of the layout, fails here.

#include <memory>

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include "app/program.h"
#include "gui_driver.h"
#include "program_driver.h"
#include "receipt/receipt_grid.h"
#include "receipt/receipt_window.h"

using namespace program_driver;

namespace {

// What a person can act on: whatever takes the focus or explains itself.
bool isControl(const QWidget* widget)
{
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLineEdit*>(widget)
        || qobject_cast<const QComboBox*>(widget) || qobject_cast<const QPlainTextEdit*>(widget)
        || qobject_cast<const QScrollBar*>(widget)
        || (qobject_cast<const QLabel*>(widget) && !widget->toolTip().isEmpty());
}

// The controls of a window that a click at their aim point does not reach.
QStringList unreachable(const QString& windowName)
{
    QWidget* top = gui::window(windowName);
    if (!top || !top->isVisible())
        return {QStringLiteral("%1 is not shown").arg(windowName)};
    QStringList covered;
    for (QWidget* widget : top->findChildren<QWidget*>()) {
        if (widget->window() != top || !widget->isVisibleTo(top) || !widget->isEnabled() || !isControl(widget))
            continue;
        // A list's own text box is reached through the list.
        if (qobject_cast<QComboBox*>(widget->parentWidget()))
            continue;
        const QPoint point = widget->mapTo(top, gui::aimPoint(widget));
        if (!gui::reaches(top, point, widget))
            covered << QStringLiteral("%1 under %2")
                           .arg(gui::describe(widget), gui::describe(gui::widgetUnder(top, point)));
    }
    if (const auto* grid = top->findChild<recibo::receipt::ReceiptGrid*>()) {
        for (int row = 0;; ++row) {
            const auto* code = grid->findChild<recibo::receipt::GridCell*>(cell("cod", row));
            if (!code || code->isHidden())
                break;
            const QPoint point = grid->mapTo(top, QPoint(grid->width() / 2, code->geometry().center().y() - grid->y()));
            if (!gui::reaches(top, point, grid))
                covered
                    << QStringLiteral("line %1 under %2").arg(row + 1).arg(gui::describe(gui::widgetUnder(top, point)));
        }
    }
    return covered;
}

recibo::payroll::Receipt linesOfReceipt(int earnings, int deductions)
{
    recibo::payroll::Receipt receipt = calculated(typicalValues());
    receipt.explanations.reset();
    const recibo::payroll::ReceiptLine earning = receipt.lines.front(), deduction = receipt.lines.back();
    receipt.lines.assign(static_cast<std::size_t>(earnings), earning);
    receipt.lines.insert(receipt.lines.end(), static_cast<std::size_t>(deductions), deduction);
    return receipt;
}

}  // namespace

class ReachableControlsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { gui::quietPlatformWarnings(); }
    void init()
    {
        program_ = std::make_unique<recibo::app::Program>();
        program_->start();
        QVERIFY(QTest::qWaitForWindowExposed(gui::window(kEntry)));
    }
    void cleanup() { program_.reset(); }

    void everyControlOfEveryState();

private:
    void expectReachable(const char* state, std::initializer_list<QString> windows)
    {
        for (const QString& name : windows) {
            const QStringList covered = unreachable(name);
            QVERIFY2(covered.isEmpty(), qPrintable(QStringLiteral("%1, %2: %3").arg(state, name, covered.join("; "))));
        }
    }

    std::unique_ptr<recibo::app::Program> program_;
};

void ReachableControlsTest::everyControlOfEveryState()
{
    expectReachable("at start", {kEntry});
    gui::click(kEntry, "Command1");
    expectReachable("the notice", {QStringLiteral("error")});
    gui::click(QStringLiteral("error"), "Aceptar");

    gui::click(kEntry, "cargo");
    expectReachable("the dialog open", {kEntry, kDialog});
    gui::type(kDialog, "codcargo", "645");
    gui::click(kDialog, "Command1");
    expectReachable("a position chosen", {kEntry});

    for (const char* level : {"horasmedio", "horassup"}) {
        gui::click(kEntry, level);
        expectReachable(level, {kEntry});
    }
    gui::type(kEntry, "numerohorassup", "12");
    gui::click(kEntry, "Command1");
    expectReachable("a short receipt", {kReceipt, kEntry});
    gui::press(gui::window(kReceipt), Qt::Key_K, Qt::ControlModifier);
    expectReachable("the comparison with the official payslip", {QStringLiteral("compararoficial")});

    // Tall enough for the whole receipt, as on a large screen.
    recibo::receipt::ReceiptWindow* receipt = program_->receiptWindow();
    receipt->showReceipt(linesOfReceipt(20, 6), "08/12/26");
    receipt->resize(receipt->width(), receipt->frame()->geometry().bottom() + 40);
    expectReachable("a receipt of 26 lines", {kReceipt});
}

QTEST_MAIN(ReachableControlsTest)
#include "reachable_controls_test.moc"
