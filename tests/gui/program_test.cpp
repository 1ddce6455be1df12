// The program end to end, as a teacher uses it: the windows found by name,
// driven by clicks and typing, with the receipt checked against the
// calculation of the same request. Runs with the Argentine regional
// settings (decimal comma).

#include <memory>
#include <variant>

#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QLocale>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/program.h"
#include "app/scale_choice.h"
#include "gui_driver.h"
#include "payroll/calculation.h"
#include "program_driver.h"
#include "receipt/twips.h"
#include "regional/regional.h"
#include "scales/scale.h"

using namespace recibo;
using payroll::CheckState;

using namespace program_driver;

class ProgramTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        gui::quietPlatformWarnings();
        QCOMPARE(QLocale::system().decimalPoint(), QString(","));
    }
    void init()
    {
        program_ = std::make_unique<app::Program>();
        program_->start();
        QVERIFY(QTest::qWaitForWindowExposed(gui::window(kEntry)));
    }
    void cleanup() { program_.reset(); }

    void startsWithTheEntryWindowOnly();
    void theTypicalRequest();
    void hoursRequest();
    void noticeWhenNothingIsChosen();
    void volverAndCalcularAtOnce();
    void failureLeavesTheReceiptUntouched();
    void failureInTheDialogsValues();
    void secondRunWithFewerLines();
    void salirSinDatosAndReopening();
    void listoOnANewDialog();
    void hoursOptionHidesTheDialog();
    void cargoAgainBringsTheDialogBack();
    void dialogAndNoticeOpenOverTheEntryWindow();
    void theWindowsShowWhatCalcularUses();
    void receiptClosedFromItsTitleBar();
    void endingTheProgram();
    void anotherScaleWithAPositionChosen();

private:
    std::unique_ptr<app::Program> program_;
};

void ProgramTest::startsWithTheEntryWindowOnly()
{
    QVERIFY(visible(kEntry));
    QVERIFY(!gui::window(kDialog));
    QVERIFY(!gui::window(kReceipt));
    QVERIFY(!gui::window("error"));
}

void ProgramTest::theTypicalRequest()
{
    gui::type(kEntry, "docente", "Pérez, María Laura");
    gui::click(kEntry, "cargo");
    QVERIFY(visible(kDialog));
    gui::type(kDialog, "codcargo", "645");
    QCOMPARE(gui::control<QComboBox>(kDialog, "cargox")->currentText(), QString("Asesor Pedag Proyecto 13"));
    gui::click(kDialog, "Command1");
    QVERIFY(!visible(kDialog));
    QCOMPARE(gui::caption(kEntry, "codcarval"), QString("645"));
    QCOMPARE(gui::caption(kEntry, "puncarval"), QString("2329"));
    QCOMPARE(gui::caption(kEntry, "cargoselect"), QString("Asesor Pedag Proyecto 13"));
    QVERIFY(gui::button(kEntry, "cargo")->isChecked());
    // The receipt's panel is written by "Calcular", with the lines it goes with.
    QVERIFY(!gui::window(kReceipt) || !visible(kReceipt));

    gui::click(kEntry, "Option4");
    gui::choose(gui::control<QComboBox>(kEntry, "zona"), 1);
    for (const char* deduction : {"Iosper", "APORTEJUB", "Ley4035", "AGMER"})
        gui::click(kEntry, deduction);
    gui::click(kEntry, "Command1");

    QVERIFY(visible(kReceipt));
    QVERIFY(gui::window(kReceipt)->isEnabled());
    QVERIFY(visible(kEntry));
    // 2329 points at 0.9842, with a decimal comma and no blank after "$".
    QCOMPARE(gui::caption(kReceipt, "cod(0)"), QString("001"));
    QCOMPARE(gui::caption(kReceipt, "Label19(0)"), QString("Asign. de la categoría"));
    QCOMPARE(gui::caption(kReceipt, "Label1(0)"), QString("$2292,2018"));
    QCOMPARE(gui::caption(kReceipt, "cod(1)"), QString("010"));
    QCOMPARE(gui::caption(kReceipt, "Label10(1)"), QString("30 %"));
    compareGrid(calculated(typicalValues()));

    QCOMPARE(gui::caption(kReceipt, "docente"), QString("Pérez, María Laura"));
    QCOMPARE(gui::box(kReceipt, "Text10")->text(),
             QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    QCOMPARE(gui::caption(kReceipt, "carsel"), QString("Asesor Pedag Proyecto 13"));
    QCOMPARE(gui::caption(kReceipt, "Label11"), QString("Código del cargo"));
    QCOMPARE(gui::box(kReceipt, "numcargo")->text(), QString("645"));
    QCOMPARE(gui::box(kReceipt, "punbasicos")->text(), QString("2329"));
    QCOMPARE(gui::box(kReceipt, "compbas")->text(), QString("0"));

    // The deductions follow the earnings row by row, in their column.
    const payroll::Receipt expected = calculated(typicalValues());
    int firstDeduction = 0;
    while (expected.lines[firstDeduction].column == payroll::Column::Earnings)
        ++firstDeduction;
    QCOMPARE(gui::caption(kReceipt, cell("cod", firstDeduction)), QString("505"));
    QVERIFY(!gui::isHidden(kReceipt, cell("Label1", firstDeduction + 27)));
}

void ProgramTest::hoursRequest()
{
    gui::click(kEntry, "horasmedio");
    gui::type(kEntry, "numerohorasmed", "12");
    gui::click(kEntry, "Command1");
    QVERIFY(visible(kReceipt));
    payroll::EntryValues v;
    v.kind = payroll::EmploymentKind::MiddleLevelHours;
    v.numerohorasmed = "12";
    compareGrid(calculated(v, {}));
    QCOMPARE(gui::caption(kReceipt, "Label11"), QString("Cantidad de horas"));
    QCOMPARE(gui::caption(kReceipt, "carsel"), QString("Horas de nivel medio"));
    QVERIFY(gui::control(kReceipt, "jorcom")->isHidden());
    QVERIFY(!gui::window(kDialog));  // hours never needed the dialog
}

void ProgramTest::noticeWhenNothingIsChosen()
{
    gui::click(kEntry, "Command1");
    QVERIFY(visible("error"));
    QCOMPARE(gui::window("error")->windowTitle(), QString("Error de selección"));
    QCOMPARE(gui::caption("error", "Label1"), QString("No seleccionaste cargo ni horas"));
    QVERIFY(!gui::window(kReceipt));
    QVERIFY(!gui::window("error")->isModal());
    gui::click("error", "Aceptar");
    QVERIFY(!visible("error"));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        gui::click(kEntry, "Command1");
        QVERIFY(visible("error"));
        QTest::keyClick(gui::window("error"), key);
        QVERIFY2(!visible("error"), qPrintable(QKeySequence(key).toString()));
    }
    gui::click(kEntry, "Command1");
    QVERIFY(visible("error"));
}

void ProgramTest::volverAndCalcularAtOnce()
{
    typicalRequest();
    gui::click(kEntry, "Command1");
    const QStringList before = receiptSnapshot();
    gui::click(kReceipt, "Volver");

    QVERIFY(!visible(kReceipt));
    QVERIFY(!gui::window(kReceipt)->isEnabled());
    for (const char* kind : {"cargo", "horasmedio", "horassup"})
        QVERIFY(!gui::button(kEntry, kind)->isChecked());
    for (const char* hidden : {"cargoselect", "codcarval", "puncompbasval", "numerohorasmed", "Label3", "Label4"})
        QVERIFY2(!gui::control(kEntry, hidden)->isVisible(), hidden);
    // Everything else keeps its value.
    QVERIFY(gui::button(kEntry, "Option4")->isChecked());
    QVERIFY(gui::button(kEntry, "AGMER")->isChecked());
    QCOMPARE(gui::box(kDialog, "codcargo")->text(), QString("645"));

    gui::click(kEntry, "Command1");
    QVERIFY(visible("error"));
    QVERIFY(!visible(kReceipt));
    QStringList after = receiptSnapshot();
    after.last() = before.last();  // only its visibility changed, by "Volver"
    QCOMPARE(after, before);
}

void ProgramTest::failureLeavesTheReceiptUntouched()
{
    typicalRequest();
    gui::click(kEntry, "Command1");
    const QStringList before = receiptSnapshot();

    gui::click(kEntry, "horasmedio");
    gui::type(kEntry, "numerohorasmed", "12a");
    gui::click(kEntry, "Command1");

    auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(message);
    QVERIFY(message->isVisible());
    QVERIFY(message->text().contains("«12a»"));
    QVERIFY(message->text().contains("Número de horas N. Medio"));
    QCOMPARE(receiptSnapshot(), before);
    QCOMPARE(gui::box(kEntry, "numerohorasmed")->text(), QString("12a"));
    QCOMPARE(gui::window(kEntry)->focusWidget(), gui::control(kEntry, "numerohorasmed"));
    message->accept();
    QVERIFY(!QApplication::activeModalWidget());

    // Corrected, the same window shows the new receipt.
    gui::type(kEntry, "numerohorasmed", "12");
    gui::click(kEntry, "Command1");
    QCOMPARE(gui::caption(kReceipt, "Label19(0)"), QString("Hs. N. Medio"));
}

void ProgramTest::failureInTheDialogsValues()
{
    typicalRequest();
    gui::click(kEntry, "Command1");
    const QStringList before = receiptSnapshot();
    // The dialog's boxes are read as they stand, accepted or not.
    gui::click(kEntry, "cargo");
    gui::type(kDialog, "jorcom", "muchos");
    gui::click(kEntry, "Command1");
    auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(message);
    QVERIFY(message->text().contains("«muchos»"));
    QVERIFY(message->text().contains("Jorn. completa"));
    message->accept();
    QCOMPARE(receiptSnapshot(), before);
}

void ProgramTest::secondRunWithFewerLines()
{
    typicalRequest();
    for (const char* more : {"Osplad", "cajacomp", "Seguro3011", "conyuge"})
        gui::click(kEntry, more);
    gui::click(kEntry, "Command1");
    payroll::EntryValues many = typicalValues();
    many.osplad = many.cajacomp = many.seguro3011 = many.conyuge = CheckState::Checked;
    const payroll::Receipt first = calculated(many);
    compareGrid(first);

    for (const char* fewer : {"Iosper", "Osplad", "APORTEJUB", "Ley4035", "AGMER", "cajacomp", "Seguro3011", "conyuge"})
        gui::click(kEntry, fewer);
    gui::click(kEntry, "Command1");
    payroll::EntryValues few = typicalValues();
    few.iosper = few.aportejub = few.ley4035 = few.agmer = CheckState::Unchecked;
    const payroll::Receipt second = calculated(few);
    QVERIFY(second.rowsWritten() < first.rowsWritten());
    compareGrid(second);
}

void ProgramTest::salirSinDatosAndReopening()
{
    gui::click(kEntry, "cargo");
    gui::type(kDialog, "codcargo", "645");
    gui::click(kDialog, "Command2");
    QVERIFY(!visible(kDialog));
    QVERIFY(!gui::button(kEntry, "cargo")->isChecked());

    gui::click(kEntry, "cargo");
    QVERIFY(visible(kDialog));
    QCOMPARE(gui::box(kDialog, "codcargo")->text(), QString("645"));
    QCOMPARE(gui::box(kDialog, "punbas")->text(), QString("0"));
    QCOMPARE(gui::control<QComboBox>(kDialog, "cargox")->currentText(), QString());
    gui::click(kDialog, "Command1");
    QCOMPARE(gui::caption(kEntry, "codcarval"), QString("645"));
    QCOMPARE(gui::caption(kEntry, "puncarval"), QString("0"));
    QVERIFY(gui::button(kEntry, "cargo")->isChecked());
}

void ProgramTest::listoOnANewDialog()
{
    gui::click(kEntry, "cargo");
    gui::click(kDialog, "Command1");
    QVERIFY(!gui::button(kEntry, "cargo")->isChecked());
    QVERIFY(gui::control(kEntry, "codcarval")->isVisible());
    QCOMPARE(gui::caption(kEntry, "codcarval"), QString("0"));
    QCOMPARE(gui::caption(kEntry, "puncarval"), QString());
    QCOMPARE(gui::caption(kEntry, "cargoselect"), QString());
    gui::click(kEntry, "Command1");
    QVERIFY(visible("error"));
}

void ProgramTest::hoursOptionHidesTheDialog()
{
    gui::click(kEntry, "cargo");
    gui::type(kDialog, "codcargo", "645");
    gui::click(kDialog, "Command1");
    gui::click(kEntry, "horassup");
    QVERIFY(!visible(kDialog));
    QVERIFY(!gui::control(kEntry, "codcarval")->isVisible());
    QCOMPARE(gui::box(kDialog, "punbas")->text(), QString("2329"));

    gui::click(kEntry, "cargo");
    QVERIFY(visible(kDialog));
    gui::click(kEntry, "horasmedio");
    QVERIFY(!visible(kDialog));
}

// After "Listo", or the dialog closed from its title bar, "Cargo" clicked
// again shows it, in front of the entry window that owns it, with the code
// ready to be typed over.
void ProgramTest::cargoAgainBringsTheDialogBack()
{
    typicalRequest();
    QWidget* dialog = gui::window(kDialog);
    QCOMPARE(dialog->parentWidget(), gui::window(kEntry));
    QVERIFY(dialog->isWindow());
    for (const auto& putAway : {+[](QWidget*) {}, +[](QWidget* d) { gui::closeFromTitleBar(d); }}) {
        putAway(dialog);
        QVERIFY(!visible(kDialog));
        gui::click(kEntry, "cargo");
        QVERIFY(visible(kDialog));
        QCOMPARE(gui::box(kDialog, "codcargo")->selectedText(), QString("645"));
    }
}

// The dialog and the notice belong to the entry window: the window manager
// keeps them above it, and they open over it.
void ProgramTest::dialogAndNoticeOpenOverTheEntryWindow()
{
    QWidget* entry = gui::window(kEntry);
    gui::click(kEntry, "Command1");
    gui::click(kEntry, "cargo");
    for (const QString& name : {QStringLiteral("error"), kDialog}) {
        QWidget* owned = gui::window(name);
        QVERIFY(owned && owned->isVisible());
        QCOMPARE(owned->windowHandle()->transientParent(), entry->windowHandle());
        QVERIFY2(entry->frameGeometry().contains(owned->frameGeometry().center()), qPrintable(name));
    }
}

// What the entry window shows is what "Calcular" uses: "Salir sin datos"
// takes the position away with "Cargo"; another scale puts away a receipt
// computed with the one before.
void ProgramTest::theWindowsShowWhatCalcularUses()
{
    typicalRequest();
    gui::click(kEntry, "cargo");
    gui::click(kDialog, "Command2");
    QVERIFY(!gui::button(kEntry, "cargo")->isChecked());
    QVERIFY(!gui::control(kEntry, "cargoselect")->isVisible());
    QVERIFY(!gui::control(kEntry, "puncarval")->isVisible());

    typicalRequest();
    gui::click(kEntry, "Command1");
    QVERIFY(visible(kReceipt));
    QVERIFY(program_->scaleChoice().choose(RECIBO_EXAMPLE_SCALE));
    QVERIFY(!visible(kReceipt));
    QVERIFY(program_->scaleChoice().choose(QString()));
}

void ProgramTest::receiptClosedFromItsTitleBar()
{
    typicalRequest();
    gui::click(kEntry, "Command1");
    gui::control<QScrollBar>(kReceipt, "movedor")->setValue(400);
    gui::closeFromTitleBar(gui::window(kReceipt));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!gui::window(kReceipt));
    QVERIFY(visible(kEntry));

    gui::click(kEntry, "Command1");
    QVERIFY(visible(kReceipt));
    compareGrid(calculated(typicalValues()));
    // A new window in its design state: the frame in place, the panel's
    // points those of the calculation shown.
    QCOMPARE(receipt::twipsOf(gui::control(kReceipt, "sosten")), QRect(840, 0, 6840, 12000));
    QCOMPARE(gui::control<QScrollBar>(kReceipt, "movedor")->value(), 100);
    QCOMPARE(gui::box(kReceipt, "compbas")->text(), QString("0"));
}

void ProgramTest::endingTheProgram()
{
    QSignalSpy quit(program_.get(), &app::Program::quitRequested);
    gui::click(kEntry, "Command2");
    QCOMPARE(quit.count(), 1);

    typicalRequest();
    gui::click(kEntry, "Command1");
    gui::click(kReceipt, "Salir");
    QCOMPARE(quit.count(), 2);

    // Closing the dialog or the notice only hides it.
    gui::click(kEntry, "cargo");
    gui::closeFromTitleBar(gui::window(kDialog));
    QCOMPARE(quit.count(), 2);
    QVERIFY(gui::window(kDialog));

    gui::closeFromTitleBar(gui::window(kEntry));
    QCOMPARE(quit.count(), 3);
}

// Another scale, whose catalogue gives position 645 other points, chosen
// after "Listo": the entry window shows the new points and subtitle, and
// "Calcular" gives that scale's receipt; the built-in scale then comes back.
void ProgramTest::anotherScaleWithAPositionChosen()
{
    QFile example(RECIBO_EXAMPLE_SCALE);
    QVERIFY(example.open(QIODevice::ReadOnly));
    const QByteArray text =
        example.readAll().replace("\"Asesor Pedag Proyecto 13\", 2329,", "\"Asesor Pedag Proyecto 13\", 2400,");
    QTemporaryDir folder;
    const QString path = folder.filePath("escala.toml");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    file.close();
    const auto read = scales::readScaleFile(path.toStdString());
    QVERIFY(std::holds_alternative<scales::Scale>(read));
    const scales::Scale& scale = std::get<scales::Scale>(read);

    typicalRequest();
    QVERIFY(program_->scaleChoice().choose(path));
    QCOMPARE(gui::caption(kEntry, "puncarval"), QString("2400"));
    QCOMPARE(gui::caption(kEntry, "Label9"), QString::fromStdString(scale.entrySubtitle));
    gui::click(kEntry, "Command1");
    payroll::SelectedPosition row = kRow2;
    row.punbas = row.puntosbasicos = "2400";
    const auto result = payroll::calculate(typicalValues(), row, regional::systemSettings(), scale.pay);
    QVERIFY(std::holds_alternative<payroll::Receipt>(result));
    compareGrid(std::get<payroll::Receipt>(result));

    QVERIFY(program_->scaleChoice().choose(QString()));
    QCOMPARE(gui::caption(kEntry, "puncarval"), QString("2329"));
    gui::click(kEntry, "Command1");
    compareGrid(calculated(typicalValues()));
}

QTEST_MAIN(ProgramTest)
#include "program_test.moc"
