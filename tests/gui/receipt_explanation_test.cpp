// The receipt window explains its amounts: the pointer resting on a row or a
// total shows the explanation the run wrote; with the keyboard, Tab brings
// the focus to the grid,
// the arrow keys select a row, F1 or Enter shows its explanation, and screen
// readers get it as the selected row's description.

#include <memory>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolTip>

#include "gui_driver.h"
#include "payroll/calculation.h"
#include "receipt/receipt_grid.h"
#include "receipt/receipt_window.h"
#include "widgets/window_helpers.h"

using namespace recibo;

class ReceiptExplanationTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        gui::quietPlatformWarnings();
        payroll::EntryValues entry;
        entry.kind = payroll::EmploymentKind::Position;
        entry.seniorityOption = 4;
        entry.pctantig = 30;
        entry.porcantig = "30 %";
        entry.iosper = entry.conyuge = payroll::CheckState::Checked;
        const payroll::SelectedPosition position{"2329", "0", "0", "0", "0", "645", "2329", "Cargo"};
        receipt_ =
            std::get<payroll::Receipt>(payroll::calculate(entry, position, payroll::RegionalSettings::commaDecimal(),
                                                          payroll::builtInPayScale(), payroll::Explain::Yes));
    }
    void init()
    {
        window_ = std::make_unique<receipt::ReceiptWindow>();
        window_->showReceipt(receipt_, "1/3/2026");
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        grid_ = window_->findChild<receipt::ReceiptGrid*>();
        QVERIFY(grid_);
    }
    void cleanup() { window_.reset(); }

    void hoveringARowOrATotalShowsItsExplanation();
    void keyboardSelectsARowAndShowsItsExplanation();

private:
    QString explanation(int row) const { return QString::fromUtf8(receipt_.explanation(row)); }
    // The tooltip shown, as wide as it is on screen; a long explanation on
    // one line was some 1,400 pixels wide.
    static constexpr int kReadableWidth = 700;
    static int tipWidth()
    {
        for (const QWidget* window : QApplication::topLevelWidgets())
            if (window->inherits("QTipLabel") && window->isVisible())
                return window->width();
        return -1;
    }

    payroll::Receipt receipt_;
    std::unique_ptr<receipt::ReceiptWindow> window_;
    receipt::ReceiptGrid* grid_ = nullptr;
};

// The pointer resting on a row, anywhere along it, or on a total shows its
// explanation; a click selects the row under it.
void ReceiptExplanationTest::hoveringARowOrATotalShowsItsExplanation()
{
    for (int row = 0; row < receipt_.rowsWritten(); ++row) {
        const auto* code = window_->findChild<receipt::GridCell*>(QStringLiteral("cod(%1)").arg(row));
        QVERIFY(code);
        const QPoint inGrid(grid_->width() * 2 / 3, code->geometry().center().y() - grid_->y());
        QCOMPARE(gui::hoverText(grid_, inGrid), widgets::readableTip(explanation(row)));
        QVERIFY(!explanation(row).isEmpty());
        QVERIFY2(tipWidth() <= kReadableWidth, qPrintable(QString::number(tipWidth())));
        QVERIFY(gui::clickAt(grid_, inGrid));
        QCOMPARE(grid_->selectedRow(), row);
    }
    const payroll::ReceiptExplanations& texts = *receipt_.explanations;
    for (const auto& [name, range] : {std::pair{"liquido", texts.liquido}, {"thaberes", texts.thaberes}}) {
        const auto* total = window_->findChild<QLabel*>(name);
        QCOMPARE(gui::hoverText(total, total->rect().center()),
                 widgets::readableTip(QString::fromUtf8(texts.of(range))));
    }
}

void ReceiptExplanationTest::keyboardSelectsARowAndShowsItsExplanation()
{
    QToolTip::hideText();
    // Tab from the comment: it leaves the box, on to the grid.
    auto* comment = window_->findChild<QPlainTextEdit*>("Text11");
    QVERIFY(comment);
    QVERIFY(gui::clickOn(comment));
    QVERIFY(gui::tabTo(grid_));
    QVERIFY(!comment->toPlainText().contains('\t'));
    QCOMPARE(grid_->selectedRow(), 0);
    gui::press(window_.get(), Qt::Key_Down);
    gui::press(window_.get(), Qt::Key_Down);
    gui::press(window_.get(), Qt::Key_Up);
    QCOMPARE(grid_->selectedRow(), 1);
    // A screen reader finds the selected line's explanation on the cell in focus.
    QAccessibleInterface* focused = QAccessible::queryAccessibleInterface(grid_)->focusChild();
    QVERIFY(focused);
    QCOMPARE(focused->text(QAccessible::Description), explanation(1));
    gui::press(window_.get(), Qt::Key_F1);
    QCOMPARE(QToolTip::text(), widgets::readableTip(explanation(1)));
    gui::press(window_.get(), Qt::Key_End);
    gui::press(window_.get(), Qt::Key_Return);
    QCOMPARE(QToolTip::text(), widgets::readableTip(explanation(receipt_.rowsWritten() - 1)));
    // On from the lines, each total shows the focus in the selection's
    // colours, and its own colours again once the focus leaves it.
    const auto corner = [](QLabel* total) { return total->grab().toImage().pixelColor(1, 1); };
    auto* first = window_->findChild<QLabel*>("thaberes");
    const QColor own = corner(first);
    QVERIFY(own != first->palette().color(QPalette::Highlight));
    QVERIFY(gui::tabTo(first));
    QCOMPARE(corner(first), first->palette().color(QPalette::Highlight));
    QVERIFY(gui::tabTo(window_->findChild<QLabel*>("tdescuentos")));
    QCOMPARE(corner(first), own);
}

QTEST_MAIN(ReceiptExplanationTest)
#include "receipt_explanation_test.moc"
