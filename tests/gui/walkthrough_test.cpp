// The program on a desktop, as a person meets it: an X display with a
// window manager (desktop_session.sh starts both), and only the pointer and
// the keyboard, through xdotool. The offscreen tests hand each event to the
// widget they name; here the X server and the window manager decide which
// window is on top, which widget lies under the pointer and where the
// keyboard goes. The windows and controls are found by name to know where
// to point and what to read back; nothing is clicked or typed through Qt.

#include <functional>
#include <memory>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "app/program.h"
#include "gui_driver.h"
#include "program_driver.h"
#include "receipt/receipt_grid.h"
#include "regional/qt_translations.h"
#include "widgets/window_helpers.h"

using namespace recibo;
using namespace program_driver;

namespace {

constexpr int kSlow = 10000;  // ms: a window shown or a file written
constexpr int kQuick = 4000;  // ms: typing shown, a tooltip up

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString describe(const QWidget* widget)
{
    if (!widget)
        return QStringLiteral("nothing of the program");
    return QStringLiteral("%1 \"%2\" in %3")
        .arg(QLatin1String(widget->metaObject()->className()), widget->objectName(), widget->window()->objectName());
}

// Runs a command to its end, the program answering its events meanwhile.
bool run(const QString& program, const QStringList& arguments, QByteArray* out = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    QDeadlineTimer deadline(kSlow);
    // A dialog's own event loop may see the command end, when it opened one.
    while (process.state() != QProcess::NotRunning && !process.waitForFinished(10) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished();
    }
    if (out)
        *out = process.readAllStandardOutput();
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    qWarning("%s %s failed: %s", qPrintable(program), qPrintable(arguments.join(' ')),
             process.readAllStandardError().constData());
    return false;
}

bool xdotool(const QStringList& arguments)
{
    return run(QStringLiteral("xdotool"), arguments);
}

QPoint centreOf(const QWidget* widget)
{
    return widget->mapToGlobal(widget->rect().center());
}

bool pointAt(const QPoint& global)
{
    // --sync waits for the pointer to move, and forever when it is there already.
    return QCursor::pos() == global
        || xdotool({"mousemove", "--sync", QString::number(global.x()), QString::number(global.y())});
}

bool clickAt(const QPoint& global)
{
    return pointAt(global) && xdotool({"click", "1"});
}

bool clickOn(const QWidget* widget)
{
    return widget && widget->isVisible() && clickAt(centreOf(widget));
}

bool typeText(const QString& text)
{
    return xdotool({"type", "--delay", "30", text});
}

bool pressKeys(const QString& keys)
{
    return xdotool({"key", keys});
}

// Whether the keyboard goes to this window. Qt counts a dialog as active as
// soon as the window it is transient for is: only the focus window tells
// that the window manager has handed it the keyboard.
bool holdsKeyboard(QWidget* window)
{
    return QTest::qWaitFor([window] { return QGuiApplication::focusWindow() == window->windowHandle(); }, kSlow);
}

// The windows the window manager manages, bottom first, as it stacks them.
QList<WId> stacking()
{
    QByteArray out;
    if (!run(QStringLiteral("xprop"), {"-root", "-notype", "_NET_CLIENT_LIST_STACKING"}, &out))
        return {};
    QList<WId> windows;
    for (const QRegularExpressionMatch& id : QRegularExpression("0x[0-9a-f]+").globalMatch(QString::fromLatin1(out)))
        windows << id.captured().toULongLong(nullptr, 16);
    return windows;
}

}  // namespace

// Runs one step of a test; a failed step ends the test.
#define STEP(step)                      \
    do {                                \
        step;                           \
        if (QTest::currentTestFailed()) \
            return;                     \
    } while (false)

class WalkthroughTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QGuiApplication::platformName() == "xcb", "run it through desktop_session.sh, on an X display");
        gui::quietPlatformWarnings();
        regional::installQtTranslations();  // the file dialog as the program shows it
        shots_ = QDir(QCoreApplication::applicationDirPath()).filePath("walkthrough-screens");
        QDir(shots_).removeRecursively();
    }
    void init()
    {
        QVERIFY(pointAt({1, 1}));
        program_ = std::make_unique<app::Program>();
        program_->start();
        QVERIFY(holdsKeyboard(gui::window(kEntry)));
    }
    void cleanup()
    {
        if (QTest::currentTestFailed()) {
            QDir().mkpath(shots_);
            const QString path = QDir(shots_).filePath(QString::fromLatin1(QTest::currentTestFunction()) + ".png");
            QGuiApplication::primaryScreen()->grabWindow(0).save(path);
            qInfo("The screen when it failed: %s", qPrintable(path));
        }
        QToolTip::hideText();
        program_.reset();
        folder_.reset();
    }

    void positionReceipt();
    void planillaOpenedChangedAndSaved();
    // What only a desktop shows: the widget under the pointer, the tooltip
    // of a resting pointer, the windows' stacking, where typing goes.
    void hoursTypedIntoTheirBox();
    void explanationUnderTheRestingPointer();
    void wheelOverTheReceiptMovesIt();
    void selectionDialogStaysAboveTheEntryWindow();
    void keyboardBackInTheEntryWindowWhenTheDialogGoes();
    void typingAfterChoosingATeacherWithAPosition();

private:
    void enterPosition645();
    void calcular();
    void typeInto(QLineEdit* box, const QString& text);
    void whileADialogIsOpen(const QString& keys, const std::function<void(QWidget*)>& inside);
    void openSamplePlanilla();
    void chooseTeacher(int row, const QString& name);

    std::unique_ptr<app::Program> program_;
    std::unique_ptr<QTemporaryDir> folder_;
    QString planilla_;  // the sample planilla's copy, open in the program
    QString shots_;
};

// "Cargo", the code typed into the dialog that opens, "Listo".
void WalkthroughTest::enterPosition645()
{
    QVERIFY(clickOn(gui::control(kEntry, "cargo")));
    QTRY_VERIFY_WITH_TIMEOUT(visible(kDialog), kSlow);
    QVERIFY(holdsKeyboard(gui::window(kDialog)));
    QVERIFY(typeText("645"));
    QTRY_COMPARE(gui::box(kDialog, "codcargo")->text(), QString("645"));
    QVERIFY(clickOn(gui::button(kDialog, "Command1")));
    QTRY_VERIFY(!visible(kDialog));
    QTRY_COMPARE(gui::caption(kEntry, "codcarval"), QString("645"));
}

void WalkthroughTest::calcular()
{
    QVERIFY(clickOn(gui::button(kEntry, "Command1")));
    QTRY_VERIFY_WITH_TIMEOUT(visible(kReceipt), kSlow);
    QVERIFY(holdsKeyboard(gui::window(kReceipt)));
}

// A click into a box, Ctrl+A and the text typed: the box holds the text.
void WalkthroughTest::typeInto(QLineEdit* box, const QString& text)
{
    QVERIFY(clickOn(box));
    // The keyboard follows the click once the window manager has moved it.
    QVERIFY(holdsKeyboard(box->window()));
    QTRY_VERIFY2(box->hasFocus(), qPrintable("the focus is on " + describe(QApplication::focusWidget())));
    QVERIFY(pressKeys("ctrl+a"));
    QVERIFY(typeText(text));
    QVERIFY2(
        QTest::qWaitFor([&] { return box->text() == text; }, kQuick),
        qPrintable(QStringLiteral("the box holds \"%1\"; the click at (%2, %3) went to %4; the keyboard to %5")
                       .arg(box->text())
                       .arg(centreOf(box).x())
                       .arg(centreOf(box).y())
                       .arg(describe(QApplication::widgetAt(centreOf(box))), describe(QApplication::focusWidget()))));
}

// Keys that open a modal dialog, which runs an event loop of its own until
// it closes: `inside` runs within that loop once the dialog has the
// keyboard, and closes it. A dialog left open by a failure is cancelled.
void WalkthroughTest::whileADialogIsOpen(const QString& keys, const std::function<void(QWidget*)>& inside)
{
    bool ran = false;
    QTimer poll;
    poll.setInterval(50);
    connect(&poll, &QTimer::timeout, this, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || QGuiApplication::focusWindow() != dialog->windowHandle())
            return;
        poll.stop();
        ran = true;
        inside(dialog);
        if (dialog->isVisible()) {
            QTest::qFail("the dialog is still open", __FILE__, __LINE__);
            if (auto* d = qobject_cast<QDialog*>(dialog))
                d->reject();
        }
    });
    poll.start();
    QVERIFY(pressKeys(keys));
    QVERIFY2(QTest::qWaitFor([&ran] { return ran; }, kSlow), qPrintable(keys + " opened no dialog"));
}

// A copy of the sample planilla opened with Ctrl+O, its path typed into the
// file dialog.
void WalkthroughTest::openSamplePlanilla()
{
    folder_ = std::make_unique<QTemporaryDir>();
    planilla_ = folder_->filePath("docentes.csv");
    QVERIFY(QFile::copy(RECIBO_EXAMPLE_CSV, planilla_));
    STEP(whileADialogIsOpen("ctrl+o", [this](QWidget* dialog) {
        QVERIFY(qobject_cast<QFileDialog*>(dialog));
        QVERIFY(typeText(planilla_));
        QVERIFY(pressKeys("Return"));
        QTRY_VERIFY(!dialog->isVisible());
    }));
    QTRY_VERIFY(gui::window(kEntry)->windowTitle().endsWith("— docentes.csv[*]"));
    QTRY_VERIFY(gui::control(kEntry, "docentes")->isVisible());
    // Typing the path shows the completion list, which Enter closes with
    // the dialog: the entry window is the active one again, not only the
    // one with the keyboard (its text cursor and tooltips show).
    QTRY_VERIFY(QApplication::activeWindow() == gui::window(kEntry));
}

// A click on the teacher's line in the list.
void WalkthroughTest::chooseTeacher(int row, const QString& name)
{
    auto* teachers = gui::control<QListView>(kEntry, "docentes");
    const QModelIndex teacher = teachers->model()->index(row, 0);
    QVERIFY(teacher.data().toString().startsWith(name));
    QVERIFY(clickAt(teachers->viewport()->mapToGlobal(teachers->visualRect(teacher).center())));
    QTRY_COMPARE(gui::box(kEntry, "docente")->text(), name);
}

void WalkthroughTest::positionReceipt()
{
    STEP(enterPosition645());
    STEP(calcular());
    payroll::EntryValues v;
    v.kind = payroll::EmploymentKind::Position;
    compareGrid(calculated(v));
}

// A teacher clicked in the list, a count typed, Ctrl+S: only that cell of
// the file changes.
void WalkthroughTest::planillaOpenedChangedAndSaved()
{
    STEP(openSamplePlanilla());
    const QByteArray before = contents(planilla_);
    STEP(chooseTeacher(7, "Acosta, Pablo"));
    QLineEdit* km = gui::box(kEntry, "cantkm");
    QCOMPARE(km->text(), QString("120"));
    STEP(typeInto(km, "200"));
    QVERIFY(pressKeys("ctrl+s"));
    QTRY_COMPARE_WITH_TIMEOUT(contents(planilla_),
                              QByteArray(before).replace("Pablo\",medio,0,24,0,24,24,24,5,1,1,0,1,120,",
                                                         "Pablo\",medio,0,24,0,24,24,24,5,1,1,0,1,200,"),
                              kSlow);
}

// The hour box shown by "Hs. N. Medio" takes the click, and the keyboard.
void WalkthroughTest::hoursTypedIntoTheirBox()
{
    QVERIFY(clickOn(gui::control(kEntry, "horasmedio")));
    QLineEdit* hours = gui::box(kEntry, "numerohorasmed");
    QTRY_VERIFY(hours->isVisible());
    STEP(typeInto(hours, "12"));
    STEP(calcular());
    payroll::EntryValues v;
    v.kind = payroll::EmploymentKind::MiddleLevelHours;
    v.numerohorasmed = "12";
    compareGrid(calculated(v, {}));
}

// The pointer resting on a written line of the receipt shows how its
// amount was reached.
void WalkthroughTest::explanationUnderTheRestingPointer()
{
    STEP(enterPosition645());
    STEP(calcular());
    auto* grid = gui::control<receipt::ReceiptGrid>(kReceipt, "rejilla");
    auto* line = gui::window(kReceipt)->findChild<receipt::GridCell*>("Label19(1)");
    QVERIFY(grid && line && !line->isHidden());
    const QPoint point = grid->parentWidget()->mapToGlobal(line->geometry().center());
    const QString explanation = grid->explanationAt(grid->mapFromGlobal(point));
    QVERIFY(!explanation.isEmpty());
    QVERIFY(pointAt(point));
    const QString tip = widgets::readableTip(explanation);
    QVERIFY2(QTest::qWaitFor([&] { return QToolTip::isVisible() && QToolTip::text() == tip; }, kQuick),
             qPrintable(QStringLiteral("under the pointer: %1; tooltip shown: \"%2\"")
                            .arg(describe(QApplication::widgetAt(point)),
                                 QToolTip::isVisible() ? QToolTip::text() : QString())));
}

// The wheel turned over the receipt, not over its bar, moves it.
void WalkthroughTest::wheelOverTheReceiptMovesIt()
{
    STEP(enterPosition645());
    STEP(calcular());
    QWidget* window = gui::window(kReceipt);
    window->resize(window->width(), window->height() / 2);  // a receipt taller than its window
    auto* bar = gui::control<QScrollBar>(kReceipt, "movedor");
    QTRY_VERIFY(bar->maximum() > bar->value());
    const int before = bar->value();
    auto* grid = gui::control<receipt::ReceiptGrid>(kReceipt, "rejilla");
    auto* line = window->findChild<receipt::GridCell*>("Label19(0)");
    QVERIFY(pointAt(grid->parentWidget()->mapToGlobal(line->geometry().center())));
    QVERIFY(xdotool({"click", "5"}));  // the wheel, one notch towards the user
    QTRY_VERIFY_WITH_TIMEOUT(bar->value() > before, kQuick);
}

// A click on the entry window, with the dialog open, leaves the dialog in
// front of it.
void WalkthroughTest::selectionDialogStaysAboveTheEntryWindow()
{
    QWidget* entry = gui::window(kEntry);
    QVERIFY(clickOn(gui::control(kEntry, "cargo")));
    QTRY_VERIFY_WITH_TIMEOUT(visible(kDialog), kSlow);
    QWidget* dialog = gui::window(kDialog);
    QVERIFY(holdsKeyboard(dialog));
    QVERIFY(clickOn(gui::control(kEntry, "Label8")));
    QVERIFY(holdsKeyboard(entry));
    // The window manager raises what it raises at once: for a while after
    // the click the order holds.
    for (int look = 0; look < 6; ++look) {
        const QList<WId> order = stacking();
        QVERIFY2(order.contains(entry->winId()) && order.contains(dialog->winId()),
                 "the window manager does not list both windows");
        QVERIFY2(order.indexOf(dialog->winId()) > order.indexOf(entry->winId()),
                 "the entry window was raised above the selection dialog");
        QTest::qWait(100);
    }
}

// The dialog gone with Escape ("Salir sin datos"), the entry window has the
// keyboard again: what is typed lands in its boxes.
void WalkthroughTest::keyboardBackInTheEntryWindowWhenTheDialogGoes()
{
    QVERIFY(clickOn(gui::control(kEntry, "cargo")));
    QWidget* dialog = gui::window(kDialog);
    QVERIFY(holdsKeyboard(dialog));
    QVERIFY(pressKeys("Escape"));
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), kSlow);
    QVERIFY(holdsKeyboard(gui::window(kEntry)));
    STEP(typeInto(gui::box(kEntry, "docente"), "Perez, Ana"));
}

// A teacher with a position, chosen in the list, fills the selection
// dialog without showing it; the entry window keeps the keyboard.
void WalkthroughTest::typingAfterChoosingATeacherWithAPosition()
{
    STEP(openSamplePlanilla());
    STEP(chooseTeacher(3, "Ramírez, Silvia"));
    QLineEdit* km = gui::box(kEntry, "cantkm");
    STEP(typeInto(km, "200"));
}

QTEST_MAIN(WalkthroughTest)
#include "walkthrough_test.moc"
