// The entry window on its own: its controls, its show/hide and reset rules,
// the seniority percentage and the values it hands to the calculation.

#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "entry/entry_window.h"
#include "gui_driver.h"

using recibo::entry::EntryWindow;
using recibo::payroll::CheckState;
using recibo::payroll::EmploymentKind;

namespace {

const QString kWin = QStringLiteral("ingreso");

bool shown(const char* name)
{
    QWidget* widget = gui::control(kWin, name);
    if (!widget)
        qFatal("no control %s", name);
    return widget->isVisible();
}

QString textOf(const char* name)
{
    return gui::box(kWin, name)->text();
}

bool checked(const char* name)
{
    return gui::button(kWin, name)->isChecked();
}

const QStringList kHourCounts = {"numerohorasmed", "numerohorassup", "numhorascod06", "numhorasincen",
                                 "numhorascod113"};
const QStringList kPositionBlock = {"cargoselect",   "codcartit",     "codcarval",    "puncartit",    "puncarval",
                                    "punproljortit", "punproljorval", "punjorcomtit", "punjorcomval", "puntardiftit",
                                    "puntardifval",  "puncompbastit", "puncompbasval"};

}  // namespace

class EntryWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { gui::quietPlatformWarnings(); }
    void init()
    {
        window_ = std::make_unique<EntryWindow>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void controlsAtStart_data();
    void controlsAtStart();
    void nothingChosenAtStart();
    void cargoHidesAndResetsEveryHourCount();
    void hoursOptionsShowTheirCounts();
    void switchingHoursKeepsTheExtraCounts();
    void handlersRunOnlyOnRealChanges();
    void enterPressesCalcular_data();
    void enterPressesCalcular();
    void countBoxes_data();
    void countBoxes();
    void seniority_data();
    void seniority();
    void optionGroupsAreIndependent();
    void tabLandsOnTheChosenSeniority();
    void incentive();
    void zoneIndex();
    void valuesAsTyped();
    void acceptedPositionFillsTheBlock();
    void hoursOptionHidesThePositionBlock();
    void deselectingCargoRunsNothing();
    void returnToDataEntry();
    void hourCountsAndPositionBlockNeverShowTogether();
    void tabOrderRunsDownTheForm();
    void everyInputHasAnAccessibleName();
    void closingAsksToEnd();

private:
    std::unique_ptr<EntryWindow> window_;
};

void EntryWindowTest::controlsAtStart_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<QString>("tip");

    const QString hours = "Ingrese la cantidad de horas";
    const QList<std::tuple<const char*, const char*, bool, QString>> rows = {
        {"docente", "", true, ""},
        {"cargo", "Cargo", true, "Seleccione para evaluar un cargo"},
        {"horasmedio", "Hs. N. Medio", true, "Seleccione para evaluar horas de nivel medio"},
        {"horassup", "Hs. N. Superior", true, "Seleccione para evaluar horas de nivel superior"},
        {"numerohorasmed", "0", false, hours},
        {"Label3", "Número de horas N. Medio", false, ""},
        {"numerohorassup", "0", false, hours},
        {"Label4", "Número de horas N. Superior", false, ""},
        {"numhorascod06", "0", false, hours},
        {"numhorasincen", "0", false, hours},
        {"numhorascod113", "0", false, hours},
        {"codcartit", "Código del cargo", false, ""},
        {"puncartit", "Puntaje del cargo", false, ""},
        {"puncompbastit", "Comp de Básico", false, ""},
        {"punproljortit", "Puntos prol jorn", false, ""},
        {"punjorcomtit", "Puntos Jor comp", false, ""},
        {"puntardiftit", "Puntos tarea difer", false, ""},
        {"cargoselect", "", false, ""},
        {"opincentivo", "Incentivo en cargos", true, "Deshabilite si no se cobra"},
        {"Text1", "Si", true, ""},
        {"transporte", "Transporte", true, ""},
        {"cantkm", "0", false, "¿Cuántos Km semanales?"},
        {"mensajekm", "cantidad de km semanales", false, ""},
        {"zona", "Ubicación Escuela (Zona)", true, ""},
        {"inasist", "Inasistencias Just", true, "Haga Click si tiene inasistencias"},
        {"dinasist", "0", false, "Cantidad de días."},
        {"hijos", "Hijos", true, ""},
        {"cantidadhijos", "0", false, "¿Cuántos Hijos?"},
        {"hijosdisc", "Hijos Diferenc", true, ""},
        {"cantidadhijosdisc", "0", false, "¿Cuántos Hijos?"},
        {"conyuge", "Conyuge", true, ""},
        {"Iosper", "IOSPER", true, ""},
        {"Osplad", "OSPLAD", true, ""},
        {"AGMER", "AGMER", true, ""},
        {"APORTEJUB", "Aporte jubilatorio", true, ""},
        {"cajacomp", "Caja compensadora", true, ""},
        {"Ley4035", "Ley 4035", true, ""},
        {"Seguro3011", "Seguro (3011)", true, ""},
        {"porcantig", "0 %", true, "Porcentaje de Antigüedad"},
        {"Option1", "Menos de 1 año", true, "0 %"},
        {"Option12", "Más de 24 años", true, "120 %"},
        {"Command1", "Calcular", true, "Genera el recibo"},
        {"Command2", "Salir", true, ""},
    };
    for (const auto& [name, text, visible, tip] : rows)
        QTest::newRow(name) << QString(name) << QString::fromUtf8(text) << visible << tip;
}

void EntryWindowTest::controlsAtStart()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(bool, visible);
    QFETCH(QString, tip);

    QWidget* widget = gui::control(kWin, name);
    QVERIFY2(widget, qPrintable(name));
    QString shownText;
    if (auto* box = qobject_cast<QLineEdit*>(widget))
        shownText = box->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        shownText = button->text();
    else if (auto* label = qobject_cast<QLabel*>(widget))
        shownText = label->text();
    else if (auto* list = qobject_cast<QComboBox*>(widget))
        shownText = list->currentText();
    QCOMPARE(shownText, text);
    QCOMPARE(widget->isVisible(), visible);
    QCOMPARE(widget->toolTip(), tip);
}

void EntryWindowTest::nothingChosenAtStart()
{
    QCOMPARE(window_->windowTitle(), QString("Ingreso de datos"));
    const auto v = window_->values();
    QCOMPARE(v.kind, EmploymentKind::None);
    QCOMPARE(v.seniorityOption, 0);
    QCOMPARE(v.pctantig, 0);
    QCOMPARE(v.zona, -1);
    QCOMPARE(v.opincentivo, CheckState::Checked);
    QVERIFY(gui::box(kWin, "porcantig")->isReadOnly());
    for (const char* deduction : {"Iosper", "Osplad", "AGMER", "APORTEJUB", "cajacomp", "Ley4035", "Seguro3011"})
        QVERIFY(!checked(deduction));
}

void EntryWindowTest::cargoHidesAndResetsEveryHourCount()
{
    gui::click(kWin, "horasmedio");
    for (const char* name : {"numerohorasmed", "numhorascod06", "numhorasincen", "numhorascod113"})
        gui::type(kWin, name, "7");
    gui::click(kWin, "cargo");
    for (const QString& name : kHourCounts) {
        QVERIFY2(!gui::control(kWin, name)->isVisible(), qPrintable(name));
        QCOMPARE(gui::box(kWin, name)->text(), QString("0"));
    }
    for (const char* label : {"Label3", "Label4", "Label5", "Label6", "Label7"})
        QVERIFY2(!shown(label), label);
}

void EntryWindowTest::hoursOptionsShowTheirCounts()
{
    gui::click(kWin, "horasmedio");
    QVERIFY(shown("numerohorasmed") && shown("Label3"));
    QVERIFY(!shown("numerohorassup") && !shown("Label4"));
    for (const char* name : {"numhorascod06", "numhorasincen", "numhorascod113", "Label5", "Label6", "Label7"})
        QVERIFY2(shown(name), name);

    gui::click(kWin, "horassup");
    QVERIFY(shown("numerohorassup") && shown("Label4"));
    QVERIFY(!shown("numerohorasmed") && !shown("Label3"));
    for (const char* name : {"numhorascod06", "numhorasincen", "numhorascod113"})
        QVERIFY2(shown(name), name);
}

void EntryWindowTest::switchingHoursKeepsTheExtraCounts()
{
    gui::click(kWin, "horassup");
    gui::type(kWin, "numerohorassup", "12");
    gui::type(kWin, "numhorascod06", "3");
    gui::type(kWin, "numhorasincen", "4");
    gui::type(kWin, "numhorascod113", "5");
    gui::click(kWin, "horasmedio");
    QCOMPARE(textOf("numerohorassup"), QString("0"));
    QCOMPARE(textOf("numhorascod06"), QString("3"));
    QCOMPARE(textOf("numhorasincen"), QString("4"));
    QCOMPARE(textOf("numhorascod113"), QString("5"));

    gui::type(kWin, "numerohorasmed", "20");
    gui::click(kWin, "horassup");
    QCOMPARE(textOf("numerohorasmed"), QString("0"));
    QCOMPARE(textOf("numhorascod06"), QString("3"));
}

void EntryWindowTest::handlersRunOnlyOnRealChanges()
{
    QSignalSpy position(window_.get(), &EntryWindow::positionChosen);
    QSignalSpy hours(window_.get(), &EntryWindow::hoursChosen);
    gui::click(kWin, "cargo");
    // Already selected: "Cargo" still brings the dialog back, from the
    // keyboard too; the hours options change nothing.
    gui::click(kWin, "cargo");
    gui::press(window_.get(), Qt::Key_Space);  // the focus stays on "Cargo" after its click
    QCOMPARE(position.count(), 3);
    gui::click(kWin, "horasmedio");
    gui::click(kWin, "horasmedio");
    gui::click(kWin, "horassup");
    QCOMPARE(hours.count(), 2);
    QCOMPARE(position.count(), 3);

    // A count typed while the box is shown stays while other boxes are used.
    gui::click(kWin, "hijos");
    gui::type(kWin, "cantidadhijos", "2");
    gui::click(kWin, "conyuge");
    QCOMPARE(textOf("cantidadhijos"), QString("2"));
}

void EntryWindowTest::enterPressesCalcular_data()
{
    QTest::addColumn<QString>("focused");
    QTest::addColumn<bool>("calcular");
    QTest::newRow("teacher's name") << "docente" << true;
    QTest::newRow("check box") << "hijos" << true;
    QTest::newRow("option") << "Option4" << true;
    QTest::newRow("zone list") << "zona" << true;
    QTest::newRow("Calcular") << "Command1" << true;
    QTest::newRow("Salir, which has the focus") << "Command2" << false;
}

void EntryWindowTest::enterPressesCalcular()
{
    QFETCH(QString, focused);
    QFETCH(bool, calcular);
    QSignalSpy calcularPressed(window_.get(), &EntryWindow::calcularPressed);
    QSignalSpy salirPressed(window_.get(), &EntryWindow::salirPressed);
    // The focus brought there by a click, or by Tab to a button (a click
    // would press it).
    QWidget* widget = gui::control(kWin, focused);
    if (!qobject_cast<QPushButton*>(widget))
        QVERIFY(gui::clickOn(widget));
    QVERIFY(gui::tabTo(widget));
    gui::press(window_.get(), Qt::Key_Return);
    QCOMPARE(calcularPressed.count(), calcular ? 1 : 0);
    QCOMPARE(salirPressed.count(), calcular ? 0 : 1);
}

void EntryWindowTest::countBoxes_data()
{
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("label");
    QTest::newRow("inasist") << "inasist"
                             << "dinasist"
                             << "";
    QTest::newRow("hijos") << "hijos"
                           << "cantidadhijos"
                           << "";
    QTest::newRow("hijosdisc") << "hijosdisc"
                               << "cantidadhijosdisc"
                               << "";
    QTest::newRow("transporte") << "transporte"
                                << "cantkm"
                                << "mensajekm";
}

void EntryWindowTest::countBoxes()
{
    QFETCH(QString, check);
    QFETCH(QString, count);
    QFETCH(QString, label);
    QWidget* box = gui::control(kWin, count);
    QWidget* caption = label.isEmpty() ? nullptr : gui::control(kWin, label);

    gui::click(kWin, check);
    QVERIFY(box->isVisible());
    if (caption)
        QVERIFY(caption->isVisible());
    gui::type(kWin, count, "4");

    gui::click(kWin, check);
    QVERIFY(!box->isVisible());
    if (caption)
        QVERIFY(!caption->isVisible());
    QCOMPARE(gui::box(kWin, count)->text(), QString("0"));

    gui::click(kWin, check);
    QVERIFY(box->isVisible());
    QCOMPARE(gui::box(kWin, count)->text(), QString("0"));
}

void EntryWindowTest::seniority_data()
{
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("percent");
    const QList<std::tuple<const char*, int>> brackets = {
        {"Menos de 1 año", 0},       {"Entre 1 y 2 años", 10},    {"Entre 2 y 5 años", 15},
        {"Entre 5 y 7 años", 30},    {"Entre 7 y 10 años", 40},   {"Entre 10 y 12 años", 50},
        {"Entre 12 y 15 años", 60},  {"Entre 15 y 17 años", 70},  {"Entre 17 y 20 años", 80},
        {"Entre 20 y 22 años", 100}, {"Entre 22 y 24 años", 110}, {"Más de 24 años", 120},
    };
    int option = 1;
    for (const auto& [caption, percent] : brackets) {
        QTest::newRow(caption) << option << QString::fromUtf8(caption) << percent;
        ++option;
    }
}

void EntryWindowTest::seniority()
{
    QFETCH(int, option);
    QFETCH(QString, caption);
    QFETCH(int, percent);
    const QString name = QStringLiteral("Option%1").arg(option);
    // Start from another bracket, so that the choice is a real change.
    gui::click(kWin, option == 1 ? "Option12" : "Option1");

    QCOMPARE(gui::button(kWin, name)->text(), caption);
    QCOMPARE(gui::button(kWin, name)->toolTip(), QStringLiteral("%1 %").arg(percent));
    gui::click(kWin, name);
    QCOMPARE(textOf("porcantig"), QStringLiteral("%1 %").arg(percent));
    const auto v = window_->values();
    QCOMPARE(int(v.pctantig), percent);
    QCOMPARE(v.seniorityOption, option);
    QCOMPARE(QString::fromStdString(v.porcantig), QStringLiteral("%1 %").arg(percent));
}

// Tab into the seniority options lands on the one chosen (not on the last
// one that had the focus), and the next Tab leaves the group.
void EntryWindowTest::tabLandsOnTheChosenSeniority()
{
    gui::click(kWin, "Option2");
    recibo::payroll::EntryValues teacher = window_->values();
    teacher.seniorityOption = 7;  // as a planilla's teacher is entered
    window_->enter(teacher);
    QVERIFY(gui::clickOn(gui::control(kWin, "conyuge")));
    gui::press(window_.get(), Qt::Key_Tab);
    QCOMPARE(window_->focusWidget()->objectName(), QString("Option7"));
    gui::press(window_.get(), Qt::Key_Tab);
    QCOMPARE(window_->focusWidget()->objectName(), QString("porcantig"));
}

void EntryWindowTest::optionGroupsAreIndependent()
{
    gui::click(kWin, "horassup");
    gui::click(kWin, "Option9");
    QVERIFY(checked("horassup"));
    gui::click(kWin, "cargo");
    QVERIFY(checked("Option9"));
    QCOMPARE(textOf("porcantig"), QString("80 %"));
    gui::click(kWin, "Option10");
    QCOMPARE(textOf("porcantig"), QString("100 %"));  // there is no 90 % bracket
    QVERIFY(checked("cargo"));
}

void EntryWindowTest::incentive()
{
    gui::click(kWin, "opincentivo");
    QCOMPARE(textOf("Text1"), QString("No"));
    QCOMPARE(window_->values().opincentivo, CheckState::Unchecked);
    gui::click(kWin, "opincentivo");
    QCOMPARE(textOf("Text1"), QString("Si"));
    QCOMPARE(window_->values().opincentivo, CheckState::Checked);
}

void EntryWindowTest::zoneIndex()
{
    auto* zona = gui::control<QComboBox>(kWin, "zona");
    QCOMPARE(zona->count(), 5);
    QCOMPARE(zona->itemText(4), QString("Zona Inhóspita"));
    gui::choose(zona, 3);
    QCOMPARE(window_->values().zona, 3);
    // Typing over the chosen zone leaves no zone chosen.
    gui::typeCharacters(zona->lineEdit(), "Otra");
    QCOMPARE(window_->values().zona, -1);
    gui::choose(zona, 0);
    QCOMPARE(window_->values().zona, 0);
}

void EntryWindowTest::valuesAsTyped()
{
    gui::type(kWin, "docente", "Gómez, Ana");
    gui::click(kWin, "horasmedio");
    gui::type(kWin, "numerohorasmed", "1.5x");
    gui::click(kWin, "transporte");
    gui::type(kWin, "cantkm", " 40 ");
    gui::click(kWin, "conyuge");
    gui::click(kWin, "Osplad");
    gui::click(kWin, "cajacomp");
    const auto v = window_->values();
    QCOMPARE(QString::fromStdString(v.docente), QString("Gómez, Ana"));
    QCOMPARE(v.kind, EmploymentKind::MiddleLevelHours);
    QCOMPARE(v.numerohorasmed, std::string("1.5x"));
    QCOMPARE(v.cantkm, std::string(" 40 "));
    QCOMPARE(v.transporte, CheckState::Checked);
    QCOMPARE(v.conyuge, CheckState::Checked);
    QCOMPARE(v.osplad, CheckState::Checked);
    QCOMPARE(v.cajacomp, CheckState::Checked);
    QCOMPARE(v.iosper, CheckState::Unchecked);
    QCOMPARE(v.hijos, CheckState::Unchecked);
    QCOMPARE(v.cantidadhijos, std::string("0"));
}

void EntryWindowTest::acceptedPositionFillsTheBlock()
{
    gui::click(kWin, "cargo");
    window_->showAcceptedPosition({"750", "971", "1", "2", "3", "170", "Bibliotecario", false});
    for (const QString& name : kPositionBlock)
        QVERIFY2(gui::control(kWin, name)->isVisible(), qPrintable(name));
    QCOMPARE(gui::caption(kWin, "cargoselect"), QString("Bibliotecario"));
    QCOMPARE(gui::caption(kWin, "codcarval"), QString("750"));
    QCOMPARE(gui::caption(kWin, "puncarval"), QString("971"));
    QCOMPARE(gui::caption(kWin, "punproljorval"), QString("1"));
    QCOMPARE(gui::caption(kWin, "punjorcomval"), QString("2"));
    QCOMPARE(gui::caption(kWin, "puntardifval"), QString("3"));
    QCOMPARE(gui::caption(kWin, "puncompbasval"), QString("170"));
    QVERIFY(checked("cargo"));
}

void EntryWindowTest::hoursOptionHidesThePositionBlock()
{
    gui::click(kWin, "cargo");
    window_->showAcceptedPosition({"645", "2329", "0", "0", "0", "0", "Asesor Pedag Proyecto 13", false});
    gui::click(kWin, "horassup");
    for (const QString& name : kPositionBlock)
        QVERIFY2(!gui::control(kWin, name)->isVisible(), qPrintable(name));
    QCOMPARE(gui::caption(kWin, "codcarval"), QString("645"));  // hidden, not cleared
}

void EntryWindowTest::deselectingCargoRunsNothing()
{
    gui::click(kWin, "cargo");
    QSignalSpy position(window_.get(), &EntryWindow::positionChosen);
    window_->deselectPosition();
    QVERIFY(!checked("cargo") && !checked("horasmedio") && !checked("horassup"));
    QCOMPARE(window_->values().kind, EmploymentKind::None);
    // The group still works: choosing "Cargo" again is a real change.
    gui::click(kWin, "cargo");
    QCOMPARE(position.count(), 1);
}

void EntryWindowTest::returnToDataEntry()
{
    gui::click(kWin, "Option5");
    gui::click(kWin, "Iosper");
    gui::click(kWin, "horassup");
    gui::type(kWin, "numerohorassup", "10");
    gui::type(kWin, "numhorascod06", "2");
    window_->returnToDataEntry();

    QVERIFY(!checked("cargo") && !checked("horasmedio") && !checked("horassup"));
    for (const char* name : {"numerohorasmed", "numerohorassup", "Label3", "Label4"})
        QVERIFY2(!shown(name), name);
    for (const QString& name : kPositionBlock)
        QVERIFY(!gui::control(kWin, name)->isVisible());
    // Everything else stays as it was, the extra hour counts included.
    QVERIFY(shown("numhorascod06"));
    QCOMPARE(textOf("numhorascod06"), QString("2"));
    QCOMPARE(textOf("numerohorassup"), QString("10"));
    QVERIFY(checked("Option5") && checked("Iosper"));
    QCOMPARE(window_->values().pctantig, 40);
}

// They share one place on the window: every way through the options keeps
// at most one of them on screen.
void EntryWindowTest::hourCountsAndPositionBlockNeverShowTogether()
{
    const auto oneAtATime = [] {
        bool hours = false, block = false;
        for (const QString& name : kHourCounts)
            hours = hours || gui::control(kWin, name)->isVisible();
        for (const QString& name : kPositionBlock)
            block = block || gui::control(kWin, name)->isVisible();
        return !(hours && block);
    };
    const recibo::positions::PositionSelection::Accepted accepted{"645", "2329", "0", "0", "0", "0", "Asesor", false};
    gui::click(kWin, "horasmedio");
    QVERIFY(oneAtATime());
    gui::click(kWin, "cargo");
    window_->showAcceptedPosition(accepted);
    QVERIFY(oneAtATime());
    window_->returnToDataEntry();
    gui::click(kWin, "horassup");
    QVERIFY(oneAtATime());
    window_->returnToDataEntry();
    QVERIFY(oneAtATime());
    gui::click(kWin, "cargo");
    window_->showAcceptedPosition(accepted);
    QVERIFY(oneAtATime());
    gui::click(kWin, "horasmedio");
    QVERIFY(oneAtATime());
}

void EntryWindowTest::tabOrderRunsDownTheForm()
{
    QCOMPARE(QApplication::focusWidget(), gui::control(kWin, "docente"));
    QStringList order;
    QWidget* widget = gui::control(kWin, "docente");
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != gui::control(kWin, "docente") && order.size() < 100);
    const QStringList expected = {"docente",        "cargo",          "horasmedio",    "horassup",
                                  "numerohorasmed", "numerohorassup", "numhorascod06", "numhorasincen",
                                  "numhorascod113", "opincentivo",    "Text1",         "zona"};
    QCOMPARE(order.mid(0, expected.size()), expected);
    QVERIFY(order.indexOf("conyuge") < order.indexOf("Option1"));
    QVERIFY(order.indexOf("Option12") < order.indexOf("porcantig"));
    QVERIFY(order.indexOf("porcantig") < order.indexOf("Iosper"));
    QVERIFY(order.indexOf("Seguro3011") < order.indexOf("Command1"));
    QCOMPARE(order.indexOf("Command2"), order.indexOf("Command1") + 1);
}

void EntryWindowTest::everyInputHasAnAccessibleName()
{
    for (QWidget* input : window_->findChildren<QWidget*>()) {
        if (!qobject_cast<QLineEdit*>(input) && !qobject_cast<QComboBox*>(input))
            continue;
        if (qobject_cast<QComboBox*>(input->parentWidget()))
            continue;  // the list's own text line
        QVERIFY2(!input->accessibleName().isEmpty(), qPrintable(input->objectName()));
    }
    QCOMPARE(gui::control(kWin, "numerohorasmed")->accessibleName(), QString("Número de horas N. Medio"));
    QCOMPARE(gui::control<QLabel>(kWin, "Label1")->buddy(), gui::control(kWin, "docente"));
    QCOMPARE(gui::control<QLabel>(kWin, "mensajekm")->buddy(), gui::control(kWin, "cantkm"));
}

void EntryWindowTest::closingAsksToEnd()
{
    QSignalSpy closed(window_.get(), &EntryWindow::closedByUser);
    gui::closeFromTitleBar(window_.get());
    QCOMPARE(closed.count(), 1);
}

QTEST_MAIN(EntryWindowTest)
#include "entry_window_test.moc"
