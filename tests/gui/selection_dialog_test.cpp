// The selection dialog as the user drives it: typing a code, picking a name,
// clicking into the code box, "Listo" and "Salir sin datos".

#include <memory>

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "gui_driver.h"
#include "selection/selection_dialog.h"

using recibo::positions::PositionSelection;
using recibo::selection::SelectionDialog;

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
    void typingANameSelectsNothing_data();
    void typingANameSelectsNothing();
    void aCodeTypedAtOnceReplacesTheOldOne();
    void keys_data();
    void keys();
    void equalNamesShowTheirCodesInTheList();
    void nameListRowsReadTheCatalogue_data();
    void nameListRowsReadTheCatalogue();
    void closingUndoesWhatWasTyped();
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
    QVERIFY(gui::pickFromList(names(), 14));
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
    gui::click(kWin, "Command2");  // keeps the code, zeroes the values
    dialog_->open();
    QVERIFY(gui::pickFromList(names(), 14));
    QCOMPARE(valueBoxes(), QStringList({"971", "170", "0", "0", "0"}));
    QCOMPARE(gui::box(kWin, "codcargo")->text(), QString("750"));
}

void SelectionDialogTest::clickInTheCodeBox()
{
    gui::type(kWin, "codcargo", "645");
    QVERIFY(gui::clickOn(gui::box(kWin, "codcargo")));
    QCOMPARE(gui::box(kWin, "codcargo")->text(), QString());
    QCOMPARE(valueBoxes(), QStringList({"", "", "", "", ""}));
    QCOMPARE(names()->currentIndex(), -1);
    QVERIFY(!listoEnabled());
    // Moving into the box with the keyboard is no click.
    gui::type(kWin, "codcargo", "645");
    gui::press(dialog_.get(), Qt::Key_Tab);
    gui::press(dialog_.get(), Qt::Key_Backtab);
    QCOMPARE(dialog_->focusWidget(), gui::control(kWin, "codcargo"));
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

void SelectionDialogTest::typingANameSelectsNothing_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("finish");  // the key that ends the typing, or 0
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("values");
    const QStringList row2 = {"2329", "0", "0", "0", "0"};
    QTest::newRow("after a code") << "645" << 0 << 2 << row2;
    QTest::newRow("after a code, Enter") << "645" << int(Qt::Key_Return) << 2 << row2;
    QTest::newRow("no row, Enter") << "0" << int(Qt::Key_Return) << -1 << QStringList({"", "", "", "", ""});
}

// A name equal to a catalogue row's, even in another case, is no search: it
// is only the name handed over.
void SelectionDialogTest::typingANameSelectsNothing()
{
    QFETCH(QString, code);
    QFETCH(int, finish);
    QFETCH(int, row);
    QFETCH(QStringList, values);
    gui::type(kWin, "codcargo", code);
    QLineEdit* nameLine = names()->lineEdit();
    gui::typeCharacters(nameLine, "bibliotecario");
    // The names offered as it is typed are closed as a person does first.
    if (QWidget* offered = names()->completer()->popup(); offered->isVisible())
        gui::press(offered, Qt::Key_Escape);
    if (finish)
        gui::press(dialog_.get(), Qt::Key(finish));
    QCOMPARE(QString::fromStdString(dialog_->selection().selected().cargox), QString("bibliotecario"));
    QCOMPARE(names()->currentText(), QString("bibliotecario"));
    QCOMPARE(names()->currentIndex(), row);
    QCOMPARE(gui::box(kWin, "codcargo")->text(), code);
    QCOMPARE(valueBoxes(), values);
}

// The dialog opens with its code selected: the first key replaces it.
void SelectionDialogTest::aCodeTypedAtOnceReplacesTheOldOne()
{
    for (const char* code : {"645", "999"}) {
        QCOMPARE(dialog_->focusWidget(), gui::control(kWin, "codcargo"));
        gui::typeKeys(dialog_.get(), code);
        QCOMPARE(gui::box(kWin, "codcargo")->text(), QString(code));
        QVERIFY(listoEnabled());
        dialog_->hide();
        gui::box(kWin, "punbas")->setFocus();
        dialog_->open();
    }
}

void SelectionDialogTest::keys_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("listo");
    QTest::addColumn<int>("salir");
    QTest::newRow("Enter presses Listo") << "645"
                                         << "codcargo" << int(Qt::Key_Return) << 1 << 0;
    QTest::newRow("keypad Enter too") << "645"
                                      << "jorcom" << int(Qt::Key_Enter) << 1 << 0;
    QTest::newRow("Enter with Listo out of use") << "64"
                                                 << "codcargo" << int(Qt::Key_Return) << 0 << 0;
    QTest::newRow("Enter on Salir sin datos") << "645"
                                              << "Command2" << int(Qt::Key_Return) << 0 << 1;
    QTest::newRow("Escape is Salir sin datos") << "645"
                                               << "codcargo" << int(Qt::Key_Escape) << 0 << 1;
}

void SelectionDialogTest::keys()
{
    QFETCH(QString, code);
    QFETCH(QString, focused);
    QFETCH(int, key);
    QFETCH(int, listo);
    QFETCH(int, salir);
    QSignalSpy listoPressed(dialog_.get(), &SelectionDialog::listoPressed);
    QSignalSpy salirPressed(dialog_.get(), &SelectionDialog::salirSinDatosPressed);
    gui::type(kWin, "codcargo", code);
    QWidget* widget = gui::control(kWin, focused);
    QVERIFY(gui::tabTo(widget));
    gui::press(dialog_.get(), Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(listoPressed.count(), listo);
    QCOMPARE(salirPressed.count(), salir);
    QCOMPARE(dialog_->isVisible(), listo + salir == 0);
}

// The four "Bibliotecario" rows look different in the drop-down list (each
// shows its code), and the one picked shows the bare name.
void SelectionDialogTest::equalNamesShowTheirCodesInTheList()
{
    QAbstractItemView* view = names()->view();
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.widget = view;
    option.rect = QRect(0, 0, 400, 24);
    QList<QImage> rows;
    for (int row = 13; row <= 16; ++row) {
        QCOMPARE(names()->itemText(row), QString("Bibliotecario"));
        QImage image(option.rect.size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        view->itemDelegate()->paint(&painter, option, names()->model()->index(row, 0));
        painter.end();
        QVERIFY2(!rows.contains(image), qPrintable(QString("row %1 looks like another").arg(row)));
        rows << image;
    }
    QVERIFY(gui::pickFromList(names(), 15));
    QCOMPARE(names()->currentText(), QString("Bibliotecario"));
    QCOMPARE(QString::fromStdString(dialog_->selection().selected().cargox), QString("Bibliotecario"));
}

// Closing the window is a cancel: what was typed since it opened is undone,
// so that "Calcular" keeps using the position the entry window shows.
void SelectionDialogTest::closingUndoesWhatWasTyped()
{
    gui::type(kWin, "codcargo", "645");
    gui::click(kWin, "Command1");
    dialog_->open();
    gui::type(kWin, "codcargo", "650");
    gui::closeFromTitleBar(dialog_.get());
    QVERIFY(!dialog_->isVisible());
    QCOMPARE(QString::fromStdString(dialog_->selection().selected().codigocargo), QString("645"));
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
    QCOMPARE(order,
             QStringList(
                 {"codcargo", "punbas", "compbas", "proljor", "jorcom", "tardif", "cargox", "Command1", "Command2"}));
    QCOMPARE(gui::box(kWin, "tardif")->accessibleName(), QString("Tarea diferenc."));
}

QTEST_MAIN(SelectionDialogTest)
// Each row of the name list: the name shown and completed, the code beside
// it, and both together for a screen reader; another scale's catalogue
// replaces the rows.
void SelectionDialogTest::nameListRowsReadTheCatalogue_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("code");
    QTest::newRow("first") << 0 << "Analista Princ Tec Doc"
                           << "999";
    QTest::newRow("645") << 2 << "Asesor Pedag Proyecto 13"
                         << "645";
    QTest::newRow("last") << 310 << "Visitador"
                          << "733";
}

void SelectionDialogTest::nameListRowsReadTheCatalogue()
{
    QFETCH(int, row);
    QFETCH(QString, name);
    QFETCH(QString, code);
    QComboBox* names = gui::control<QComboBox>(kWin, "cargox");
    QCOMPARE(names->count(), 311);
    QCOMPARE(names->itemText(row), name);
    QCOMPARE(names->itemData(row, Qt::EditRole).toString(), name);
    QCOMPARE(names->itemData(row).toString(), code);
    QCOMPARE(names->itemData(row, Qt::AccessibleTextRole).toString(), name + ", código " + code);
    QCOMPARE(names->itemData(311).isValid(), false);

    const recibo::positions::Catalogue other(
        std::vector<recibo::positions::CatalogueEntry>{{"101", "Otro cargo", "10", "0", "0", "0", "0"}});
    dialog_->setCatalogue(other);
    QCOMPARE(names->count(), 1);
    QCOMPARE(names->itemText(0), QString("Otro cargo"));
    dialog_->setCatalogue(recibo::positions::catalogue());
}

#include "selection_dialog_test.moc"
