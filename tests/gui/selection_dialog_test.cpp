// The selection dialog as the user drives it: typing a code, picking a name,
// clicking into the code box, "Listo" and "Salir sin datos".

#include <memory>

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "gui_driver.h"
#include "positions/selection_dialog.h"

using recibo::positions::PositionSelection;
using recibo::positions::SelectionDialog;

namespace {

const QString kWin = QStringLiteral("advertencia");

QComboBox* names()
{
    return gui::control<QComboBox>(kWin, "cargox");
}

QStringList valueBoxes()
{
    QStringList texts;
    for (const char* name : {"punbas", "compbas", "proljor", "jorcom", "tardif"})
        texts << gui::box(kWin, name)->text();
    return texts;
}

bool listoEnabled()
{
    return gui::button(kWin, "Command1")->isEnabled();
}

}  // namespace

Q_DECLARE_METATYPE(PositionSelection::Accepted)

class SelectionDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        gui::quietPlatformWarnings();
        qRegisterMetaType<PositionSelection::Accepted>();
    }
    void init()
    {
        dialog_ = std::make_unique<SelectionDialog>(recibo::payroll::RegionalSettings::pointDecimal());
        dialog_->open();
        QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
    }
    void cleanup() { dialog_.reset(); }

    void atCreation();
    void typingACodeKeyByKey_data();
    void typingACodeKeyByKey();
    void typingAnotherCodeReplacesTheRow();
    void pickingTheSecondOfTwoEqualNames();
    void pickingTheNameOfTheCodeAlreadyTyped();
    void clickInTheCodeBox();
    void listoOnANewDialog();
    void listoHandsOverTheShownValues();
    void salirSinDatosAndReopening();
    void editedValuesReachTheCalculation();
    void typingANameSelectsNothing();
    void closingHidesAndKeeps();
    void tabOrderStartsAtTheCode();

private:
    std::unique_ptr<SelectionDialog> dialog_;
};

void SelectionDialogTest::atCreation()
{
    QCOMPARE(dialog_->windowTitle(), QString("Selección de cargo"));
    QCOMPARE(gui::box(kWin, "codcargo")->text(), QString("0"));
    QCOMPARE(valueBoxes(), QStringList({"", "", "", "", ""}));
    QCOMPARE(names()->currentIndex(), -1);
    QCOMPARE(names()->currentText(), QString());
    QCOMPARE(names()->count(), 311);
    QVERIFY(listoEnabled());
    QVERIFY(gui::box(kWin, "punbas")->isReadOnly());
    for (const char* editable : {"codcargo", "compbas", "proljor", "jorcom", "tardif"})
        QVERIFY2(!gui::box(kWin, editable)->isReadOnly(), editable);
    QCOMPARE(gui::button(kWin, "Command1")->text(), QString("Listo"));
    QCOMPARE(gui::button(kWin, "Command2")->text(), QString("Salir sin datos"));
    QCOMPARE(gui::caption(kWin, "Label1"), QString("Seleccione el cargo o el código del cargo"));
    QCOMPARE(names()->toolTip(), QString("Seleccione el cargo"));
    QCOMPARE(gui::box(kWin, "punbas")->toolTip(), QString("Se selecciona automáticamente"));
}

void SelectionDialogTest::typingACodeKeyByKey_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("listo");
    const QStringList none = {"", "", "", "", ""};
    QTest::newRow("6") << "6" << -1 << none << false;
    QTest::newRow("64") << "64" << -1 << none << false;
    QTest::newRow("645") << "645" << 2 << QStringList({"2329", "0", "0", "0", "0"}) << true;
    QTest::newRow("999 is row 0") << "999" << 0 << QStringList({"3146", "0", "0", "0", "0"}) << true;
    QTest::newRow("6450 is no code") << "6450" << -1 << none << false;
    QTest::newRow("letters") << "abc" << -1 << none << false;
}

void SelectionDialogTest::typingACodeKeyByKey()
{
    QFETCH(QString, typed);
    QFETCH(int, row);
    QFETCH(QStringList, values);
    QFETCH(bool, listo);

    gui::type(kWin, "codcargo", typed);
    QCOMPARE(gui::box(kWin, "codcargo")->text(), typed);
    QCOMPARE(names()->currentIndex(), row);
    QCOMPARE(dialog_->selection().nameRow().value_or(-1), row);
    QCOMPARE(valueBoxes(), values);
    QCOMPARE(listoEnabled(), listo);
    if (row >= 0)
        QCOMPARE(names()->currentText(), names()->itemText(row));
    else
        QCOMPARE(names()->currentText(), QString());
}

void SelectionDialogTest::typingAnotherCodeReplacesTheRow()
{
    gui::type(kWin, "codcargo", "633");
    QCOMPARE(names()->currentIndex(), 13);
    QCOMPARE(valueBoxes(), QStringList({"941", "174", "0", "0", "0"}));
    gui::type(kWin, "codcargo", "645");
    QCOMPARE(names()->currentIndex(), 2);
    QCOMPARE(valueBoxes(), QStringList({"2329", "0", "0", "0", "0"}));
    QCOMPARE(QString::fromStdString(dialog_->selection().selected().codigocargo), QString("645"));
    QCOMPARE(QString::fromStdString(dialog_->selection().selected().puntosbasicos), QString("2329"));
}

void SelectionDialogTest::pickingTheSecondOfTwoEqualNames()
{
    names()->setCurrentIndex(14);
    QCOMPARE(names()->currentText(), QString("Bibliotecario"));
    QCOMPARE(gui::box(kWin, "codcargo")->text(), QString("750"));
    QCOMPARE(valueBoxes(), QStringList({"971", "170", "0", "0", "0"}));
    QVERIFY(listoEnabled());
    QCOMPARE(dialog_->selection().nameRow().value_or(-1), 14);
    QCOMPARE(QString::fromStdString(dialog_->selection().selected().codigocargo), QString("750"));
}

void SelectionDialogTest::pickingTheNameOfTheCodeAlreadyTyped()
{
    gui::type(kWin, "codcargo", "750");
    gui::click(kWin, "Command2");   // keeps the code, zeroes the values
    dialog_->open();
    names()->setCurrentIndex(14);
    QCOMPARE(valueBoxes(), QStringList({"971", "170", "0", "0", "0"}));
    QCOMPARE(gui::box(kWin, "codcargo")->text(), QString("750"));
}

void SelectionDialogTest::clickInTheCodeBox()
{
    gui::type(kWin, "codcargo", "645");
    QTest::mouseClick(gui::box(kWin, "codcargo"), Qt::LeftButton);
    QCOMPARE(gui::box(kWin, "codcargo")->text(), QString());
    QCOMPARE(valueBoxes(), QStringList({"", "", "", "", ""}));
    QCOMPARE(names()->currentIndex(), -1);
    QVERIFY(!listoEnabled());
    // Moving into the box with the keyboard is no click.
    gui::type(kWin, "codcargo", "645");
    gui::box(kWin, "codcargo")->setFocus();
    QCOMPARE(gui::box(kWin, "codcargo")->text(), QString("645"));
}

void SelectionDialogTest::listoOnANewDialog()
{
    QSignalSpy listo(dialog_.get(), &SelectionDialog::listoPressed);
    gui::click(kWin, "Command1");
    QCOMPARE(listo.count(), 1);
    const auto accepted = listo.takeFirst().at(0).value<PositionSelection::Accepted>();
    QCOMPARE(accepted.codcargo, std::string("0"));
    QCOMPARE(accepted.punbas, std::string());
    QCOMPARE(accepted.cargoName, std::string());
    QVERIFY(accepted.deselectPosition);
    QVERIFY(!dialog_->isVisible());
}

void SelectionDialogTest::listoHandsOverTheShownValues()
{
    QSignalSpy listo(dialog_.get(), &SelectionDialog::listoPressed);
    gui::type(kWin, "codcargo", "645");
    gui::type(kWin, "jorcom", "12");
    gui::click(kWin, "Command1");
    const auto accepted = listo.takeFirst().at(0).value<PositionSelection::Accepted>();
    QCOMPARE(accepted.codcargo, std::string("645"));
    QCOMPARE(accepted.punbas, std::string("2329"));
    QCOMPARE(accepted.jorcom, std::string("12"));
    QCOMPARE(accepted.cargoName, std::string("Asesor Pedag Proyecto 13"));
    QVERIFY(!accepted.deselectPosition);
}

void SelectionDialogTest::salirSinDatosAndReopening()
{
    QSignalSpy salir(dialog_.get(), &SelectionDialog::salirSinDatosPressed);
    gui::type(kWin, "codcargo", "645");
    gui::click(kWin, "Command2");
    QCOMPARE(salir.count(), 1);
    QVERIFY(!dialog_->isVisible());

    dialog_->open();
    QCOMPARE(gui::box(kWin, "codcargo")->text(), QString("645"));
    QCOMPARE(valueBoxes(), QStringList({"0", "0", "0", "0", "0"}));
    QCOMPARE(names()->currentIndex(), -1);
    QCOMPARE(names()->currentText(), QString());
    QVERIFY(listoEnabled());

    QSignalSpy listo(dialog_.get(), &SelectionDialog::listoPressed);
    gui::click(kWin, "Command1");
    const auto accepted = listo.takeFirst().at(0).value<PositionSelection::Accepted>();
    QCOMPARE(accepted.codcargo, std::string("645"));
    QCOMPARE(accepted.punbas, std::string("0"));
    QVERIFY(!accepted.deselectPosition);
}

void SelectionDialogTest::editedValuesReachTheCalculation()
{
    gui::type(kWin, "codcargo", "645");
    gui::type(kWin, "compbas", "10,5");
    gui::type(kWin, "tardif", "7");
    const auto selected = dialog_->selection().selected();
    QCOMPARE(selected.compbas, std::string("10,5"));
    QCOMPARE(selected.tardif, std::string("7"));
    QCOMPARE(selected.punbas, std::string("2329"));
    QCOMPARE(gui::box(kWin, "compbas")->text(), QString("10,5"));
}

void SelectionDialogTest::typingANameSelectsNothing()
{
    gui::type(kWin, "codcargo", "645");
    QLineEdit* nameLine = names()->lineEdit();
    nameLine->selectAll();
    QTest::keyClicks(nameLine, "Otro cargo");
    QCOMPARE(QString::fromStdString(dialog_->selection().selected().cargox), QString("Otro cargo"));
    QCOMPARE(gui::box(kWin, "codcargo")->text(), QString("645"));
    QCOMPARE(valueBoxes(), QStringList({"2329", "0", "0", "0", "0"}));
}

void SelectionDialogTest::closingHidesAndKeeps()
{
    gui::type(kWin, "codcargo", "645");
    dialog_->close();
    QVERIFY(!dialog_->isVisible());
    dialog_->open();
    QCOMPARE(gui::box(kWin, "codcargo")->text(), QString("645"));
    QCOMPARE(names()->currentIndex(), 2);
}

void SelectionDialogTest::tabOrderStartsAtTheCode()
{
    QWidget* widget = gui::control(kWin, "codcargo");
    QStringList order;
    for (int i = 0; i < 9; ++i) {
        order << widget->objectName();
        do
            widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus) || widget->objectName().isEmpty());
    }
    QCOMPARE(order, QStringList({"codcargo", "punbas", "compbas", "proljor", "jorcom", "tardif", "cargox",
                                 "Command1", "Command2"}));
    QCOMPARE(gui::box(kWin, "tardif")->accessibleName(), QString("Tarea diferenc."));
}

QTEST_MAIN(SelectionDialogTest)
#include "selection_dialog_test.moc"
