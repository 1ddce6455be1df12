// Every box that "Calcular" reads, and the selection dialog's own boxes,
// given the texts a user may leave in them: nothing, blanks, letters,
// exponents, numbers at and just beyond the ends of each box's type, halves,
// negative numbers, separators in and out of place, very long texts and
// characters of other scripts. Each case starts from a receipt computed for
// a full request, changes one box and presses "Calcular": the program must
// show the whole receipt the pay scale gives for what the box says, or refuse
// in a message that names the box, leaving the receipt shown before exactly
// as it was. Runs under whatever regional settings it is started with; ctest
// runs it with a decimal comma and with a decimal point.

#include <memory>
#include <optional>
#include <utility>
#include <variant>

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/program.h"
#include "common/bad_inputs.h"
#include "gui_driver.h"
#include "program_driver.h"

using namespace recibo;
using namespace program_driver;
using sweep::BadInput;
using sweep::Field;
using sweep::Place;
using sweep::Scenario;

namespace {

const payroll::RegionalSettings& settings()
{
    static const payroll::RegionalSettings system = regional::systemSettings();
    return system;
}

const std::vector<BadInput>& inputs()
{
    static const std::vector<BadInput> all = sweep::badInputs(settings());
    return all;
}

// The cases for a box that is no number: those that tell about any box.
const std::vector<BadInput>& textInputs()
{
    static const std::vector<BadInput> all = [] {
        std::vector<BadInput> list;
        for (const BadInput& input : inputs())
            if (sweep::concerns(input, sweep::Reading::Text))
                list.push_back(input);
        return list;
    }();
    return all;
}

const std::vector<BadInput>& codes()
{
    static const std::vector<BadInput> all = sweep::codeInputs(settings());
    return all;
}

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Long texts are pasted: nobody types five thousand digits.
void enterText(QLineEdit* box, const QString& text)
{
    constexpr qsizetype kLongestTyped = 64;
    if (text.size() > kLongestTyped)
        gui::paste(box, text);
    else
        gui::typeCharacters(box, text);
}

// What a box holds after the user typed or pasted `text` into it.
QString heldAfterTyping(const QLineEdit* box, const QString& text)
{
    return text.left(box->maxLength());
}

payroll::SelectedPosition positionFor(Scenario scenario)
{
    return scenario == Scenario::Position ? sweep::baselinePosition() : payroll::SelectedPosition{};
}

const char* labelOnTheEntryWindow(std::string_view dialogBox)
{
    if (dialogBox == "punbas")
        return "puncarval";
    if (dialogBox == "compbas")
        return "puncompbasval";
    if (dialogBox == "proljor")
        return "punproljorval";
    if (dialogBox == "jorcom")
        return "punjorcomval";
    return "puntardifval";
}

const char* panelBoxOnTheReceipt(std::string_view dialogBox)
{
    return dialogBox == "punbas" ? "punbasicos" : dialogBox.data();
}

// The request of the scenario, entered as the user would: every count box
// shown and filled, so that the calculation reads each of them.
void enterRequest(Scenario scenario)
{
    if (scenario == Scenario::Position) {
        typicalRequest();
    } else {
        const bool middle = scenario == Scenario::MiddleLevelHours;
        gui::type(kEntry, "docente", "Pérez, María Laura");
        gui::click(kEntry, middle ? "horasmedio" : "horassup");
        gui::type(kEntry, middle ? "numerohorasmed" : "numerohorassup", "12");
        gui::type(kEntry, "numhorascod06", "10");
        gui::type(kEntry, "numhorasincen", "5");
        gui::type(kEntry, "numhorascod113", "7");
        gui::click(kEntry, "Option4");
        gui::choose(gui::control<QComboBox>(kEntry, "zona"), 1);
        for (const char* deduction : {"Iosper", "APORTEJUB", "Ley4035", "AGMER"})
            gui::click(kEntry, deduction);
    }
    gui::click(kEntry, "inasist");
    gui::type(kEntry, "dinasist", "1");
    gui::click(kEntry, "transporte");
    gui::type(kEntry, "cantkm", "100");
    gui::click(kEntry, "hijos");
    gui::type(kEntry, "cantidadhijos", "2");
    gui::click(kEntry, "hijosdisc");
    gui::type(kEntry, "cantidadhijosdisc", "1");
}

// "Listo" is out of reach while the dialog is hidden; choosing hours and
// then "Cargo" again brings it back, holding the position chosen before.
void reopenDialog()
{
    gui::click(kEntry, "horasmedio");
    gui::click(kEntry, "cargo");
}

void pressCalcular()
{
    // The click leaves the focus on the button, so that a refusal visibly moves it.
    gui::click(kEntry, "Command1");
}

payroll::CalculationResult calculate(const payroll::EntryValues& entry, const payroll::SelectedPosition& position)
{
    return payroll::calculate(entry, position, settings());
}

// The receipt's header fields and name as the calculation set them.
void compareHeader(const payroll::Receipt& expected)
{
    QCOMPARE(gui::caption(kReceipt, "docente"), qs(expected.docente));
    QCOMPARE(gui::caption(kReceipt, "carsel"), qs(expected.header.carsel));
    QCOMPARE(gui::caption(kReceipt, "Label11"), qs(expected.header.label11));
    QCOMPARE(gui::box(kReceipt, "numcargo")->text(), qs(expected.header.numcargo));
    QCOMPARE(gui::box(kReceipt, "punbasicos")->text(), qs(expected.header.punbasicos));
}

// The same lines with the same amounts and totals; quantities may show the
// text as typed.
void compareAmounts(const payroll::Receipt& actual, const payroll::Receipt& expected)
{
    const auto amounts = [](const payroll::Receipt& receipt) {
        QStringList list;
        for (const payroll::ReceiptLine& line : receipt.lines)
            list << QStringLiteral("%1 %2 %3").arg(qs(line.code), qs(line.description), qs(line.amount));
        list << qs(receipt.thaberes) << qs(receipt.tdescuentos) << qs(receipt.liquido);
        return list;
    };
    QCOMPARE(amounts(actual), amounts(expected));
}

// The shown receipt adds up: each total is the sum of its column, and the
// net pay their difference.
void checkTotalsAddUp()
{
    long long earnings = 0;
    long long deductions = 0;
    for (int index = 0; index < 54; ++index) {
        const QString name = cell("Label1", index);
        if (gui::isHidden(kReceipt, name))
            continue;
        const auto amount = sweep::shownAmount(gui::caption(kReceipt, name).toStdString(), settings());
        QVERIFY2(amount, qPrintable(name + " = " + gui::caption(kReceipt, name)));
        (index < 27 ? earnings : deductions) += *amount;
    }
    const auto total = [](const char* name) {
        return sweep::shownAmount(gui::caption(kReceipt, name).toStdString(), settings());
    };
    const auto haberes = total("thaberes");
    const auto descuentos = total("tdescuentos");
    const auto liquido = total("liquido");
    QVERIFY(haberes && descuentos && liquido);
    QCOMPARE(*haberes, earnings);
    QCOMPARE(*descuentos, deductions);
    QCOMPARE(*liquido, *haberes - *descuentos);
}

// "Calcular" gave the receipt of `entry` and `position`, shown whole.
void expectReceipt(const payroll::EntryValues& entry, const payroll::SelectedPosition& position)
{
    if (auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        QFAIL(qPrintable("refused: " + message->text()));
    QVERIFY(visible(kReceipt));
    QVERIFY(gui::window(kReceipt)->isEnabled());
    const payroll::CalculationResult result = calculate(entry, position);
    if (const auto* failure = std::get_if<Unusable>(&result))
        QFAIL(qPrintable("the calculation refuses what must give a receipt: " + qs(failure->message)));
    const auto& receipt = std::get<payroll::Receipt>(result);
    compareGrid(receipt);
    if (QTest::currentTestFailed())
        return;
    compareHeader(receipt);
    if (QTest::currentTestFailed())
        return;
    checkTotalsAddUp();
}

// "Calcular" refused, in the message that names the box `label`, quoting
// what it holds; the receipt is as it was.
QMessageBox* expectRefusal(std::string_view label, const QString& held, const QStringList& before)
{
    auto* message = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!message) {
        QTest::qFail("no message refused the run", __FILE__, __LINE__);
        return nullptr;
    }
    [&] {
        QCOMPARE(message->objectName(), QString("datoinvalido"));
        QVERIFY(message->isVisible());
        QVERIFY2(message->text().contains(qs(label)), qPrintable(message->text()));
        if (!held.trimmed().isEmpty()) {
            // Long texts are quoted shortened.
            qsizetype shown = std::min<qsizetype>(held.size(), 20);
            if (held[shown - 1].isHighSurrogate())
                --shown;
            QVERIFY2(message->text().contains("«" + held.left(shown)), qPrintable(message->text()));
        }
        QCOMPARE(receiptSnapshot(), before);
    }();
    return message;
}

}  // namespace

class BadInputSweep : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        gui::quietPlatformWarnings();
        QCOMPARE(QLocale::system().decimalPoint().toStdString(), settings().decimalSeparator);
        // The rows' names must tell the cases apart.
        QStringList names;
        for (const BadInput& input : codes())
            names << qs(input.name);
        QCOMPARE(names.removeDuplicates(), 0);
    }
    void init()
    {
        program_ = std::make_unique<app::Program>();
        program_->start();
        QVERIFY(QTest::qWaitForWindowExposed(gui::window(kEntry)));
    }
    void cleanup() { program_.reset(); }

    void entryWindowBoxes_data() { boxRows(Place::EntryWindow); }
    void entryWindowBoxes();
    void dialogValueBoxes_data() { boxRows(Place::SelectionDialog); }
    void dialogValueBoxes();
    void dialogCodeBox_data() { inputRows(codes()); }
    void dialogCodeBox();
    void dialogNameList_data() { inputRows(textInputs()); }
    void dialogNameList();

private:
    static void boxRows(Place place);
    static void inputRows(const std::vector<BadInput>& list);

    // The scenario's receipt, computed, checked and shown.
    void showGoodReceipt(Scenario scenario);
    // After the text went into the box: "Calcular", and what must follow.
    void calcularWith(const Field& field, QLineEdit* box, const BadInput& input);

    std::unique_ptr<app::Program> program_;
};

void BadInputSweep::boxRows(Place place)
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("input");
    const auto& fields = sweep::sweptFields();
    for (std::size_t f = 0; f < fields.size(); ++f) {
        if (fields[f].place != place)
            continue;
        for (std::size_t i = 0; i < inputs().size(); ++i)
            if (sweep::concerns(inputs()[i], fields[f].reading))
                QTest::newRow(qPrintable(qs(fields[f].control) + "/" + qs(inputs()[i].name)))
                    << static_cast<int>(f) << static_cast<int>(i);
    }
}

void BadInputSweep::inputRows(const std::vector<BadInput>& list)
{
    QTest::addColumn<int>("input");
    for (std::size_t i = 0; i < list.size(); ++i)
        QTest::newRow(qPrintable(qs(list[i].name))) << static_cast<int>(i);
}

namespace {

// The box and the input of the row being run.
std::pair<const Field&, const BadInput&> fetchedCase()
{
    QFETCH(int, field);
    QFETCH(int, input);
    return {sweep::sweptFields()[static_cast<std::size_t>(field)], inputs()[static_cast<std::size_t>(input)]};
}

}  // namespace

void BadInputSweep::showGoodReceipt(Scenario scenario)
{
    enterRequest(scenario);
    pressCalcular();
    expectReceipt(sweep::baselineEntry(scenario), positionFor(scenario));
}

void BadInputSweep::calcularWith(const Field& field, QLineEdit* box, const BadInput& input)
{
    const QString held = box->text();
    payroll::EntryValues entry = sweep::baselineEntry(field.scenario);
    payroll::SelectedPosition position = positionFor(field.scenario);
    sweep::putText(field.control, held.toStdString(), entry, position);

    const QStringList before = receiptSnapshot();
    pressCalcular();

    // A read-only box takes nothing typed: the request is the one shown before.
    const std::optional<std::string> reading =
        field.readOnly ? std::optional<std::string>(held.toStdString()) : sweep::expectedReading(field, input);
    if (reading) {
        expectReceipt(entry, position);
        if (QTest::currentTestFailed() || field.reading == sweep::Reading::Text)
            return;
        // Figure for figure the receipt of the number written plainly.
        payroll::EntryValues plainEntry = sweep::baselineEntry(field.scenario);
        payroll::SelectedPosition plainPosition = positionFor(field.scenario);
        sweep::putText(field.control, sweep::localised(*reading, settings()), plainEntry, plainPosition);
        const auto typed = calculate(entry, position);
        const auto plain = calculate(plainEntry, plainPosition);
        QVERIFY(std::holds_alternative<payroll::Receipt>(plain));
        compareAmounts(std::get<payroll::Receipt>(typed), std::get<payroll::Receipt>(plain));
        return;
    }

    QMessageBox* message = expectRefusal(field.label, held, before);
    if (!message)
        return;
    const bool failed = QTest::currentTestFailed();
    message->accept();
    if (failed)
        return;
    QVERIFY(!QApplication::activeModalWidget());
    // The box keeps the text, with the focus there for correcting it.
    QCOMPARE(box->text(), held);
    if (field.place == Place::EntryWindow)
        QCOMPARE(gui::window(kEntry)->focusWidget(), box);
    const auto result = calculate(entry, position);
    QVERIFY(std::holds_alternative<Unusable>(result));
    QCOMPARE(qs(std::get<Unusable>(result).where), qs(field.control));
}

void BadInputSweep::entryWindowBoxes()
{
    const auto [f, in] = fetchedCase();
    showGoodReceipt(f.scenario);
    if (QTest::currentTestFailed())
        return;
    QLineEdit* box = gui::box(kEntry, qs(f.control));
    QVERIFY(box && box->isVisible());
    const QString before = box->text();
    const QString typed = qs(in.text);
    enterText(box, typed);
    QCOMPARE(box->text(), f.readOnly ? before : heldAfterTyping(box, typed));
    calcularWith(f, box, in);
}

void BadInputSweep::dialogValueBoxes()
{
    const auto [f, in] = fetchedCase();
    showGoodReceipt(f.scenario);
    if (QTest::currentTestFailed())
        return;
    reopenDialog();
    QVERIFY(visible(kDialog));
    QLineEdit* box = gui::box(kDialog, qs(f.control));
    QVERIFY(box);
    const QString lookedUp = box->text();
    const QString typed = qs(in.text);
    const QString onTheReceipt = gui::box(kReceipt, panelBoxOnTheReceipt(f.control))->text();
    enterText(box, typed);
    QCOMPARE(box->text(), f.readOnly ? lookedUp : heldAfterTyping(box, typed));

    // "Listo" copies the texts as they stand, whatever they say, to the
    // entry window; the receipt shown keeps the points it was computed with.
    QVERIFY(gui::button(kDialog, "Command1")->isEnabled());
    gui::click(kDialog, "Command1");
    QVERIFY(!visible(kDialog));
    QVERIFY(gui::button(kEntry, "cargo")->isChecked());
    QCOMPARE(gui::caption(kEntry, labelOnTheEntryWindow(f.control)), box->text());
    QCOMPARE(gui::box(kReceipt, panelBoxOnTheReceipt(f.control))->text(), onTheReceipt);
    calcularWith(f, box, in);
}

void BadInputSweep::dialogCodeBox()
{
    QFETCH(int, input);
    const BadInput& in = codes()[static_cast<std::size_t>(input)];

    showGoodReceipt(Scenario::Position);
    if (QTest::currentTestFailed())
        return;
    reopenDialog();
    QVERIFY(visible(kDialog));
    QLineEdit* code = gui::box(kDialog, "codcargo");
    QVERIFY(gui::clickOn(code));  // clicking into the box empties it
    QCOMPARE(code->text(), QString());
    const QString typed = qs(in.text);
    enterText(code, typed);
    const QString held = heldAfterTyping(code, typed);
    QCOMPARE(code->text(), held);

    const auto* names = gui::control<QComboBox>(kDialog, "cargox");
    QPushButton* listo = gui::control<QPushButton>(kDialog, "Command1");
    QStringList values;
    for (const char* name : {"punbas", "compbas", "proljor", "jorcom", "tardif"})
        values << gui::box(kDialog, name)->text();

    if (const std::optional<int> row = sweep::catalogueRowOfCode(held.toStdString())) {
        // A code of the catalogue: its row, everywhere, ready for "Listo".
        const payroll::SelectedPosition position = sweep::positionOfRow(*row);
        QCOMPARE(values,
                 QStringList({qs(position.punbas), qs(position.compbas), qs(position.proljor), qs(position.jorcom),
                              qs(position.tardif)}));
        QCOMPARE(names->currentIndex(), *row);
        QCOMPARE(names->currentText(), qs(position.cargox));
        QVERIFY(listo->isEnabled());
        gui::click(kDialog, "Command1");
        QVERIFY(!visible(kDialog));
        QVERIFY(gui::button(kEntry, "cargo")->isChecked());
        QCOMPARE(gui::caption(kEntry, "codcarval"), held);
        pressCalcular();
        expectReceipt(sweep::baselineEntry(Scenario::Position), position);
        return;
    }

    // No row: empty values, no name, and "Listo" out of use.
    QCOMPARE(values, QStringList({"", "", "", "", ""}));
    QCOMPARE(names->currentIndex(), -1);
    QCOMPARE(names->currentText(), QString());
    QVERIFY(!listo->isEnabled());

    // "Calcular" reads the empty base points as they stand.
    const QStringList before = receiptSnapshot();
    pressCalcular();
    QMessageBox* message = expectRefusal("No hay un cargo elegido", QString(), before);
    if (!message)
        return;
    message->accept();
    if (QTest::currentTestFailed())
        return;

    gui::click(kDialog, "Command1");
    QVERIFY(visible(kDialog));
    QVERIFY(gui::button(kEntry, "cargo")->isChecked());

    // "Salir sin datos": zeros, the code kept, "Cargo" off; "Calcular" then
    // only gives the notice.
    gui::click(kDialog, "Command2");
    QVERIFY(!visible(kDialog));
    QVERIFY(!gui::button(kEntry, "cargo")->isChecked());
    for (const char* name : {"punbas", "compbas", "proljor", "jorcom", "tardif"})
        QCOMPARE(gui::box(kDialog, name)->text(), QString("0"));
    QCOMPARE(code->text(), held);
    pressCalcular();
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(visible("error"));
    QCOMPARE(receiptSnapshot(), before);
}

void BadInputSweep::dialogNameList()
{
    QFETCH(int, input);
    const BadInput& in = textInputs()[static_cast<std::size_t>(input)];

    showGoodReceipt(Scenario::Position);
    if (QTest::currentTestFailed())
        return;
    reopenDialog();
    QVERIFY(visible(kDialog));
    auto* names = gui::control<QComboBox>(kDialog, "cargox");
    const QString typed = qs(in.text);
    enterText(names->lineEdit(), typed);
    const QString held = heldAfterTyping(names->lineEdit(), typed);
    QCOMPARE(names->currentText(), held);
    // The names that contain the text are offered in a list a click beside
    // it only closes: a person closes it first.
    if (QWidget* offered = names->completer()->popup(); offered->isVisible())
        gui::press(offered, Qt::Key_Escape);

    // A name typed, not picked: the position stays, and so do its values.
    QCOMPARE(gui::box(kDialog, "codcargo")->text(), QString("645"));
    QCOMPARE(gui::box(kDialog, "punbas")->text(), QString("2329"));
    QVERIFY(gui::button(kDialog, "Command1")->isEnabled());
    gui::click(kDialog, "Command1");
    QVERIFY(!visible(kDialog));
    QCOMPARE(gui::caption(kEntry, "cargoselect"), held);

    // The name is copied to the receipt as it stands.
    payroll::SelectedPosition position = sweep::baselinePosition();
    position.cargox = held.toStdString();
    pressCalcular();
    expectReceipt(sweep::baselineEntry(Scenario::Position), position);
}

QTEST_MAIN(BadInputSweep)
#include "bad_input_sweep_test.moc"
