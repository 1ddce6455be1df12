#pragma once

// The whole program driven as a teacher uses it, for the tests that start
// it end to end: the windows by name, the typical request, and the receipt
// window read back and compared with the calculation of the same request.

#include <variant>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>

#include "gui_driver.h"
#include "payroll/calculation.h"
#include "receipt/twips.h"
#include "regional/regional.h"

namespace program_driver {

using namespace recibo;

inline const QString kEntry = QStringLiteral("ingreso");
inline const QString kDialog = QStringLiteral("advertencia");
inline const QString kReceipt = QStringLiteral("Haberes");

inline QString cell(const char* array, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

inline bool visible(const QString& windowName)
{
    QWidget* w = gui::window(windowName);
    return w && w->isVisible();
}

// Everything the receipt window shows, to compare two moments.
inline QStringList receiptSnapshot()
{
    QStringList shown;
    QWidget* receipt = gui::window(kReceipt);
    for (QLabel* label : receipt->findChildren<QLabel*>())
        shown << QStringLiteral("%1=%2:%3:%4")
                     .arg(label->objectName(), label->text())
                     .arg(label->isHidden())
                     .arg(label->y());
    for (QLineEdit* box : receipt->findChildren<QLineEdit*>())
        shown << box->objectName() + "=" + box->text();
    for (QWidget* line : receipt->findChildren<QWidget*>(QRegularExpression("^Line")))
        shown << QStringLiteral("%1:%2:%3").arg(line->objectName()).arg(line->isHidden()).arg(line->y());
    // Cells and rules that the grid draws itself, where it does.
    for (QObject* part : receipt->findChildren<QObject*>())
        if (!part->isWidgetType() && part->property("hidden").isValid())
            shown << QStringLiteral("%1=%2:%3:%4:%5")
                         .arg(part->objectName(), part->property("text").toString())
                         .arg(part->property("hidden").toBool())
                         .arg(part->property("twips").toRect().y())
                         .arg(part->property("y1").toInt());
    shown << QStringLiteral("visible=%1").arg(receipt->isVisible());
    return shown;
}

// The typical request: a position by its code, seniority, zone, deductions.
inline void typicalRequest()
{
    gui::type(kEntry, "docente", "Pérez, María Laura");
    gui::click(kEntry, "cargo");
    gui::type(kDialog, "codcargo", "645");
    gui::click(kDialog, "Command1");
    gui::click(kEntry, "Option4");
    gui::choose(gui::control<QComboBox>(kEntry, "zona"), 1);
    for (const char* deduction : {"Iosper", "APORTEJUB", "Ley4035", "AGMER"})
        gui::click(kEntry, deduction);
}

inline payroll::EntryValues typicalValues()
{
    using payroll::CheckState;
    payroll::EntryValues v;
    v.docente = "Pérez, María Laura";
    v.kind = payroll::EmploymentKind::Position;
    v.seniorityOption = 4;
    v.pctantig = 30;
    v.porcantig = "30 %";
    v.zona = 1;
    v.iosper = v.aportejub = v.ley4035 = v.agmer = CheckState::Checked;
    return v;
}

inline const payroll::SelectedPosition kRow2{"2329", "0", "0", "0", "0", "645", "2329", "Asesor Pedag Proyecto 13"};

inline payroll::Receipt calculated(const payroll::EntryValues& v, const payroll::SelectedPosition& p = kRow2)
{
    auto result = payroll::calculate(v, p, regional::systemSettings());
    if (!std::holds_alternative<payroll::Receipt>(result))
        qFatal("the reference request failed: %s", std::get<Unusable>(result).message.c_str());
    return std::get<payroll::Receipt>(result);
}

// The grid shows exactly the lines of `expected`, in order, each in its
// column, and nothing below them.
inline void compareGrid(const payroll::Receipt& expected)
{
    const int n = expected.rowsWritten();
    for (int r = 0; r < n; ++r) {
        const payroll::ReceiptLine& line = expected.lines[r];
        const bool earning = line.column == payroll::Column::Earnings;
        const QString amount = cell("Label1", earning ? r : r + 27);
        QCOMPARE(gui::caption(kReceipt, cell("cod", r)), QString::fromUtf8(line.code.data(), line.code.size()));
        QCOMPARE(gui::caption(kReceipt, cell("Label19", r)),
                 QString::fromUtf8(line.description.data(), line.description.size()));
        QCOMPARE(gui::caption(kReceipt, amount), QString::fromStdString(line.amount));
        QVERIFY(!gui::isHidden(kReceipt, amount));
        QVERIFY(gui::isHidden(kReceipt, cell("Label1", earning ? r + 27 : r)));
        QCOMPARE(gui::isHidden(kReceipt, cell("Label10", r)), !line.showsQuantity);
        if (line.showsQuantity)
            QCOMPARE(gui::caption(kReceipt, cell("Label10", r)), QString::fromStdString(line.quantity));
        QVERIFY(!gui::isHidden(kReceipt, cell("Line8", r)));
    }
    for (int r = n; r < 27; ++r)
        for (const QString& name : {cell("cod", r), cell("Label19", r), cell("Label10", r), cell("Label1", r),
                                    cell("Label1", r + 27), cell("Line8", r)})
            QVERIFY2(gui::isHidden(kReceipt, name), qPrintable(name));
    QCOMPARE(gui::caption(kReceipt, "thaberes"), QString::fromStdString(expected.thaberes));
    QCOMPARE(gui::caption(kReceipt, "tdescuentos"), QString::fromStdString(expected.tdescuentos));
    QCOMPARE(gui::caption(kReceipt, "liquido"), QString::fromStdString(expected.liquido));
    QCOMPARE(receipt::twipsOf(gui::control(kReceipt, "Label15")).top(), 315 * n + 1250);
    QCOMPARE(gui::control(kReceipt, "Line17")->property("y1").toInt(), 315 * n + 2350);
}

}  // namespace program_driver
