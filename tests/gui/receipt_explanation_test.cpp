// The receipt window explains its amounts: hovering a row or a total shows
// the explanation the run wrote; with the keyboard, the grid takes the focus,
// the arrow keys select a row, F1 or Enter shows its explanation, and screen
// readers get it as the selected row's description.

#include <memory>

#include <QHelpEvent>
#include <QLabel>
#include <QTest>
#include <QToolTip>

#include "gui_driver.h"
#include "payroll/calculation.h"
#include "receipt/receipt_grid.h"
#include "receipt/receipt_window.h"

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

    payroll::Receipt receipt_;
    std::unique_ptr<receipt::ReceiptWindow> window_;
    receipt::ReceiptGrid* grid_ = nullptr;
};

void ReceiptExplanationTest::hoveringARowOrATotalShowsItsExplanation()
{
    for (int row = 0; row < receipt_.rowsWritten(); ++row) {
        const auto* code = window_->findChild<receipt::GridCell*>(QStringLiteral("cod(%1)").arg(row));
        QVERIFY(code);
        const QRect cell = code->geometry();
        QPoint inGrid = cell.center() - grid_->pos();
        inGrid.setX(grid_->width() / 2);  // anywhere on the row
        QHelpEvent hover(QEvent::ToolTip, inGrid, grid_->mapToGlobal(inGrid));
        QApplication::sendEvent(grid_, &hover);
        QCOMPARE(QToolTip::text(), explanation(row));
        QVERIFY(!QToolTip::text().isEmpty());
    }
    const payroll::ReceiptExplanations& texts = *receipt_.explanations;
    QCOMPARE(window_->findChild<QLabel*>("liquido")->toolTip(), QString::fromUtf8(texts.of(texts.liquido)));
    QCOMPARE(window_->findChild<QLabel*>("thaberes")->toolTip(), QString::fromUtf8(texts.of(texts.thaberes)));
}

void ReceiptExplanationTest::keyboardSelectsARowAndShowsItsExplanation()
{
    QToolTip::hideText();
    grid_->setFocus(Qt::TabFocusReason);
    QVERIFY(grid_->hasFocus());
    QCOMPARE(grid_->selectedRow(), 0);
    QTest::keyClick(grid_, Qt::Key_Down);
    QTest::keyClick(grid_, Qt::Key_Down);
    QTest::keyClick(grid_, Qt::Key_Up);
    QCOMPARE(grid_->selectedRow(), 1);
    QCOMPARE(grid_->accessibleDescription(), explanation(1));
    QTest::keyClick(grid_, Qt::Key_F1);
    QCOMPARE(QToolTip::text(), explanation(1));
    QTest::keyClick(grid_, Qt::Key_End);
    QTest::keyClick(grid_, Qt::Key_Return);
    QCOMPARE(QToolTip::text(), explanation(receipt_.rowsWritten() - 1));
}

QTEST_MAIN(ReceiptExplanationTest)
#include "receipt_explanation_test.moc"
