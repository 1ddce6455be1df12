// The planilla in the desktop program: a teacher chosen, changed and saved
// back changes only that teacher's cell in the file; a changed form is not
// left without asking; a new teacher starts from the form as the program
// opens; a refused planilla changes nothing; a planilla named on the
// command line opens at start as the menu opens it.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include "app/planilla_session.h"
#include "app/program.h"
#include "app/reading_progress.h"
#include "app/settings.h"
#include "entry/entry_window.h"
#include "gui_driver.h"
#include "payroll/calculation.h"
#include "payslip/official_file.h"
#include "program_driver.h"
#include "regional/regional.h"
#include "selection/selection_dialog.h"

using namespace recibo;
using namespace program_driver;
using Answer = app::PlanillaSession::Answer;
using Settle = app::PlanillaSession::Settle;
Q_DECLARE_METATYPE(Answer)

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// The official lines saved beside the planilla at `path`; none when the
// file cannot be read.
payslip::OfficialLines savedOfficialLines(const QString& path)
{
    const auto read =
        payslip::readOfficialLines(QFile::encodeName(app::PlanillaSession::officialLinesPath(path)).toStdString(),
                                   regional::systemSettings(), "oficial");
    const auto* lines = std::get_if<payslip::OfficialLines>(&read);
    return lines ? *lines : payslip::OfficialLines();
}

QByteArray officialText(const payslip::OfficialLines& lines)
{
    return QByteArray::fromStdString(payslip::writeOfficialLines(lines, regional::systemSettings()));
}

// What the form shows, control by control: each named control of the entry
// window (the planilla's panel beside it left out) and of the selection
// dialog, hidden or with its text, tick or choice.
QStringList formShown(app::Program& program)
{
    QStringList shown;
    for (QWidget* window : std::initializer_list<QWidget*>{program.entryWindow(), program.selectionDialog()}) {
        const QWidget* panel = window->findChild<QWidget*>("planilla");
        for (const QWidget* control : window->findChildren<QWidget*>()) {
            if (control->objectName().isEmpty() || control->window() != window || control == panel
                || (panel && panel->isAncestorOf(control)))
                continue;
            QString state;
            if (!control->isVisibleTo(window))
                state = "hidden";
            else if (const auto* box = qobject_cast<const QLineEdit*>(control))
                state = box->text();
            else if (const auto* button = qobject_cast<const QAbstractButton*>(control))
                state = button->isChecked() ? "on" : "off";
            else if (const auto* list = qobject_cast<const QComboBox*>(control))
                state = QStringLiteral("%1 %2").arg(list->currentIndex()).arg(list->currentText());
            shown << control->objectName() + "=" + state;
        }
    }
    return shown;
}

}  // namespace

class PlanillaSessionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { gui::quietPlatformWarnings(); }
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        path_ = folder_->filePath("docentes.csv");
        QVERIFY(QFile::copy(RECIBO_EXAMPLE_CSV, path_));
        // A table no program can use: a column neither knows.
        writeFile(folder_->filePath("mala.csv"), "docente,sueldo\nAna,1\n");
        asked_.clear();
        told_.clear();
        startProgram();
    }
    void cleanup() { program_.reset(); }

    void savingOneTeacherChangesOnlyThatCell()
    {
        const QByteArray before = contents(path_);
        QVERIFY(session_->open(path_));
        QVERIFY(session_->chooseTeacher(3));
        QCOMPARE(gui::box(kEntry, "cantkm")->text(), QString("150"));
        QWidget* entry = gui::window(kEntry);
        QVERIFY(!entry->isWindowModified());
        gui::type(kEntry, "cantkm", "200");
        // Changed and not saved: marked in the title, as any document.
        QVERIFY(entry->isWindowModified() && entry->windowTitle().endsWith("docentes.csv[*]"));
        QVERIFY(session_->save());
        QVERIFY(!entry->isWindowModified());
        QCOMPARE(contents(path_),
                 QByteArray(before).replace("Silvia\",cargo,739,0,0,0,0,0,3,3,1,0,1,150,",
                                            "Silvia\",cargo,739,0,0,0,0,0,3,3,1,0,1,200,"));
        QVERIFY(asked_.isEmpty() && told_.isEmpty());
    }

    // A reading that takes its time shows its progress over the entry window,
    // and "Cancelar" there stops it. The reading is a stand-in that goes on
    // until it is told to stop (or ten seconds pass).
    void aLongReadingShowsItsProgressAndCancelStopsIt()
    {
        const auto endless = [](const QString&, const table::Planilla::Progress& progress) -> app::OpenedPlanilla {
            QElapsedTimer running;
            running.start();
            for (std::size_t done = 0; running.elapsed() < 10000; done = (done + 1) % 100) {
                if (!progress(done, 100))
                    return planilla::PlanillaFile::Stopped{};
                QThread::msleep(5);
            }
            return Unusable{"never stopped"};
        };
        QWindow* over = nullptr;
        QTimer cancel;
        connect(&cancel, &QTimer::timeout, [&] {
            auto* dialog = gui::window(kEntry)->findChild<QProgressDialog*>("leyendoplanilla");
            if (!dialog || !dialog->isVisible())
                return;
            cancel.stop();
            over = dialog->windowHandle()->transientParent();
            QVERIFY(gui::clickOn(dialog->findChild<QPushButton*>()));
        });
        cancel.start(20);
        const auto opened = app::openShowingProgress(gui::window(kEntry), path_, 0, endless);
        QVERIFY(std::holds_alternative<planilla::PlanillaFile::Stopped>(opened));
        QCOMPARE(over, gui::window(kEntry)->windowHandle());
    }

    // A row that cannot be computed is marked, and the pointer resting on it
    // says why; a name of half a million characters is shortened, not laid out.
    void listMarksRowsThatCannotBeComputedAndShortensLongNames()
    {
        writeFile(path_, "docente,tipo,zona\n" + QByteArray(1 << 19, 'x') + ",cargo,1\nAna,cargo,7\n");
        QVERIFY(session_->open(path_));
        QVERIFY(listedText(0).size() < 100);
        QVERIFY2(listedText(1).startsWith("⚠ Ana"), qPrintable(listedText(1)));
        const QRect ana = teachers()->visualRect(teachers()->model()->index(1, 0));
        QVERIFY2(gui::hoverText(teachers()->viewport(), ana.center()).contains("zona"),
                 qPrintable(gui::hoverText(teachers()->viewport(), ana.center())));
    }

    // Someone else changed the file since it was opened: saving keeps their
    // rows, and a teacher they changed too is asked about; keeping theirs
    // shows their version in the form.
    void savingOverOthersChangesKeepsThem()
    {
        const QByteArray before = contents(path_);
        QVERIFY(session_->open(path_));
        QVERIFY(session_->chooseTeacher(3));
        gui::type(kEntry, "cantkm", "200");
        const auto sosaElsewhere = [](QByteArray text) { return text.replace("Sosa, Lucía", "Sosa, Lucía B."); };
        writeFile(path_, sosaElsewhere(before));
        QVERIFY(session_->save());
        QVERIFY(asked_.isEmpty());
        const QByteArray both = sosaElsewhere(before).replace(",150,", ",200,");
        QCOMPARE(contents(path_), both);

        gui::type(kEntry, "cantkm", "220");
        writeFile(path_, QByteArray(both).replace(",200,", ",175,"));
        settle_ = Settle::KeepTheirs;
        QVERIFY(session_->save());
        QCOMPARE(asked_.size(), 1);
        QVERIFY2(asked_[0].contains("cambió en el disco"), qPrintable(asked_[0]));
        QCOMPARE(contents(path_), QByteArray(both).replace(",200,", ",175,"));
        QCOMPARE(gui::box(kEntry, "cantkm")->text(), QString("175"));
        QVERIFY(!gui::window(kEntry)->isWindowModified());
    }

    // The official lines typed for a teacher stay that teacher's when someone
    // else added a teacher above and removed another before a save here;
    // those of the teacher removed go with the teacher.
    void officialLinesFollowTheirTeachersOverOthersChanges()
    {
        QVERIFY(session_->open(path_));
        const std::vector<payslip::OfficialLine> lines{{"001", payroll::Currency::fromUnits(1234)}};
        for (const std::size_t row : {4, 6}) {
            QVERIFY(session_->chooseTeacher(row));
            session_->setOfficialLines(lines);
            QVERIFY(session_->save());
        }
        QVERIFY(session_->chooseTeacher(3));
        gui::type(kEntry, "cantkm", "200");
        QList<QByteArray> rows = contents(path_).split('\n');
        rows.removeAt(7);  // the teacher of row 6
        rows.insert(1, "Nueva,cargo,645,0,0,0,0,0,1,0,1,0,0,0,0,0,0,0,0,1,0,1,1,1,0,0");
        writeFile(path_, rows.join('\n'));
        QVERIFY(session_->save());
        QVERIFY(asked_.isEmpty() && told_.isEmpty());
        // Row 4, one down, is the file's row 6 ("fila" counts from 1).
        QVERIFY(savedOfficialLines(path_) == payslip::OfficialLines({{6, lines}}));
    }

    // What someone else saved in the official lines' file since it was read
    // here is kept at a save here, but the lines typed here for the form's
    // teacher (row 0, "fila" 1); a file they left unreadable is not
    // written over.
    void officialLinesSavedMeanwhileByOthersAreKept()
    {
        using Lines = std::vector<payslip::OfficialLine>;
        const Lines read{{"001", payroll::Currency::fromUnits(200)}};
        const Lines typed{{"001", payroll::Currency::fromUnits(100)}};
        const Lines theirs{{"002", payroll::Currency::fromUnits(300)}};
        const QString official = app::PlanillaSession::officialLinesPath(path_);
        struct Case {
            const char* what;
            bool typeHere;
            QByteArray theirs;  // the file as the other person left it
            payslip::OfficialLines saved;
        };
        const Case cases[] = {
            {"another teacher's lines added",
             true,
             officialText({{5, read}, {3, theirs}}),
             {{5, read}, {3, theirs}, {1, typed}}},
            {"lines changed and removed, none typed here", false, officialText({{3, theirs}}), {{3, theirs}}},
            {"the form's teacher's lines", true, officialText({{5, read}, {1, theirs}}), {{5, read}, {1, typed}}},
            {"unreadable", true, "fila;cod\n1;001\n", {}},
        };
        for (const Case& c : cases) {
            writeFile(official, officialText({{5, read}}));
            QVERIFY(session_->open(path_));
            QVERIFY(session_->chooseTeacher(0));
            if (c.typeHere)
                session_->setOfficialLines(typed);
            else
                gui::type(kEntry, "docente", "Gómez, María Laura Inés");
            writeFile(official, c.theirs);
            told_.clear();
            QVERIFY2(session_->save(), c.what);
            QVERIFY2(savedOfficialLines(path_) == c.saved, c.what);
            QVERIFY2(c.saved.empty() ? contents(official) == c.theirs && told_.size() == 1 : told_.isEmpty(), c.what);
        }
    }

    // The planillas opened before, kept by earlier versions in a file of an
    // unnamed organisation, are taken over into the program's one file.
    void settingsOfEarlierVersionsAreKept()
    {
        program_.reset();
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "recibo", "recibo").remove("planilla/recientes");
        QSettings earlier(QSettings::NativeFormat, QSettings::UserScope, "Unknown Organization", "recibo");
        earlier.setValue("planilla/recientes", QStringList{path_});
        earlier.sync();
        const QString earlierFile = earlier.fileName();
        program_ = std::make_unique<app::Program>();
        const auto* recent = gui::window(kEntry)->findChild<QMenu*>("mnuRecientes");
        QCOMPARE(recent->actions().size(), 1);
        QCOMPARE(recent->actions().front()->text(), QDir::toNativeSeparators(path_));
        QVERIFY(!QFile::exists(earlierFile));
        QCOMPARE(
            QSettings(QSettings::NativeFormat, QSettings::UserScope, "recibo", "recibo").value("planilla/recientes"),
            QVariant(QStringList{path_}));
    }

    void aChangedFormIsNotLeftWithoutAsking()
    {
        QVERIFY(session_->open(path_));
        QVERIFY(session_->chooseTeacher(0));
        gui::type(kEntry, "docente", "Gómez, María Laura Inés");
        answer_ = Answer::Cancel;
        QVERIFY(!session_->chooseTeacher(1));
        QCOMPARE(session_->chosen(), std::optional<std::size_t>(0));
        QCOMPARE(gui::box(kEntry, "docente")->text(), QString("Gómez, María Laura Inés"));
        answer_ = Answer::Discard;
        QVERIFY(session_->chooseTeacher(1));
        QCOMPARE(gui::box(kEntry, "docente")->text(), QString("Fernández, Juan Carlos"));
        QCOMPARE(asked_.size(), 2);
        // Nothing changed since: the next teacher is chosen without a question.
        QVERIFY(session_->chooseTeacher(2));
        QCOMPARE(asked_.size(), 2);
        QCOMPARE(contents(path_), contents(RECIBO_EXAMPLE_CSV));
    }

    // "Salir" with a changed teacher: the program ends only once the user
    // lets the change go. With no planilla open nothing is asked.
    void salirAsksForAChangedTeacher()
    {
        QSignalSpy quit(program_.get(), &app::Program::quitRequested);
        gui::type(kEntry, "docente", "Ana");
        gui::click(kEntry, "Command2");
        QCOMPARE(quit.count(), 1);
        QVERIFY(asked_.isEmpty());
        QVERIFY(session_->open(path_));
        QVERIFY(session_->chooseTeacher(0));
        gui::type(kEntry, "docente", "Otra persona");
        answer_ = Answer::Cancel;
        gui::click(kEntry, "Command2");
        QCOMPARE(quit.count(), 1);
        answer_ = Answer::Discard;
        gui::click(kEntry, "Command2");
        QCOMPARE(quit.count(), 2);
        QCOMPARE(asked_.size(), 2);
    }

    // Moving through the list (Tab into it, the arrows) loads nobody, as a
    // screen reader user reads the names; Enter loads the row moved to,
    // asking first for a changed form as a click does.
    void onlyEnterOrAClickLoadsATeacher()
    {
        openPlanilla(path_);
        clickTeacher(0, "Gómez, María Laura");
        gui::type(kEntry, "docente", "Perez, Ana");
        QVERIFY(gui::tabTo(teachers()));
        gui::press(teachers(), Qt::Key_Down);
        gui::press(teachers(), Qt::Key_Down);
        QCOMPARE(highlighted(), QList<int>{2});
        QCOMPARE(gui::box(kEntry, "docente")->text(), QString("Perez, Ana"));
        QVERIFY(asked_.isEmpty());
        answer_ = Answer::Cancel;
        gui::press(teachers(), Qt::Key_Return);
        QCOMPARE(gui::box(kEntry, "docente")->text(), QString("Perez, Ana"));
        QCOMPARE(highlighted(), QList<int>{0});
        answer_ = Answer::Discard;
        gui::press(teachers(), Qt::Key_Down);
        gui::press(teachers(), Qt::Key_Down);
        gui::press(teachers(), Qt::Key_Return);
        QCOMPARE(gui::box(kEntry, "docente")->text(), QString("Benítez, Ana Inés"));
        QCOMPARE(asked_.size(), 2);
        // Enter chose the teacher and nothing else: "Calcular" was not pressed.
        QVERIFY(!visible("error") && !visible(kReceipt));
    }

    // "Buscar docente" lists only the teachers found (case and accents
    // aside), so the list's rows, the ones a screen reader counts and
    // announces, are the teachers shown; a click loads the teacher clicked,
    // and the form's teacher is highlighted again when the search is cleared.
    void searchingListsTheTeachersFound()
    {
        openPlanilla(path_);
        clickTeacher(0, "Gómez, María Laura");
        gui::type(kEntry, "buscardocente", "HECTOR");
        QCOMPARE(listed(), 1);
        QVERIFY(listedText(0).startsWith("Villalba, Héctor"));
        gui::type(kEntry, "buscardocente", "ro");
        QCOMPARE(listed(), 2);
        QVERIFY(highlighted().isEmpty());
        clickTeacher(1, "Romero, Graciela");
        QCOMPARE(session_->chosen(), std::optional<std::size_t>(5));
        QCOMPARE(highlighted(), QList<int>{1});
        gui::type(kEntry, "buscardocente", "");
        QCOMPARE(listed(), 11);
        QCOMPARE(highlighted(), QList<int>{5});
    }

    // "Volver" unchecks the kind of employment for the next calculation; the
    // teacher's data still have it: the next teacher is chosen without a
    // question, and a save keeps the kind in the file.
    void volverAfterATeachersReceiptIsNoChange()
    {
        openPlanilla(path_);
        clickTeacher(0, "Gómez, María Laura");
        gui::click(kEntry, "Command1");
        QVERIFY(visible(kReceipt));
        gui::click(kReceipt, "Volver");
        QVERIFY(!gui::control<QAbstractButton>(kEntry, "cargo")->isChecked());
        QVERIFY(!gui::window(kEntry)->isWindowModified());
        gui::press(gui::window(kEntry), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(contents(path_), contents(RECIBO_EXAMPLE_CSV));
        clickTeacher(1, "Fernández, Juan Carlos");
        QVERIFY(asked_.isEmpty());
    }

    // The teachers' list beside the form comes with the first planilla, and
    // works the form: a teacher clicked in it is entered.
    void theListBesideTheFormComesWithThePlanilla()
    {
        QVERIFY(!teachers() || !teachers()->isVisible());
        openPlanilla(path_);
        QVERIFY(teachers() && teachers()->isVisible());
        QCOMPARE(listed(), 11);
        clickTeacher(2, "Benítez, Ana Inés");
        QCOMPARE(session_->chosen(), std::optional<std::size_t>(2));
        QVERIFY(asked_.isEmpty() && told_.isEmpty());
    }

    // "Nuevo docente": the form as the program opens it, whichever teacher
    // it held (a position leaves its code in the dialog, hours their boxes
    // shown), and the new row at once in the list, highlighted. Saved, the
    // row is the teacher's and stays when another teacher is chosen.
    void aNewTeacherStartsFromTheFormAtStart()
    {
        const QStringList atStart = formShown(*program_);
        const QByteArray before = contents(path_);
        openPlanilla(path_);
        clickTeacher(1, "Fernández, Juan Carlos");
        clickTeacher(7, "Acosta, Pablo");
        gui::click(kEntry, "nuevodocente");
        QCOMPARE(formShown(*program_), atStart);
        QCOMPARE(listed(), 12);
        QCOMPARE(highlighted(), QList<int>{11});

        gui::type(kEntry, "docente", "Sosa, Eva");
        gui::press(gui::window(kEntry), Qt::Key_S, Qt::ControlModifier);
        const QByteArray after = contents(path_);
        QVERIFY(after.startsWith(before) && after.mid(before.size()).startsWith("\"Sosa, Eva\","));
        QCOMPARE(listed(), 12);
        QVERIFY(listedText(11).contains("Sosa, Eva"));
        QCOMPARE(highlighted(), QList<int>{11});
        clickTeacher(0, "Gómez, María Laura");
        QCOMPARE(listed(), 12);
    }

    // Another teacher clicked while the form holds changes: "Cancelar"
    // keeps the form's teacher, highlighted again in the list; "Descartar"
    // lets a new teacher's row go.
    void anotherTeacherClickedWithTheFormChanged_data()
    {
        QTest::addColumn<bool>("newTeacher");
        QTest::addColumn<Answer>("answer");
        QTest::addColumn<QString>("formHolds");
        QTest::addColumn<QList<int>>("highlighted");
        QTest::addColumn<int>("listed");
        QTest::newRow("teacher kept") << false << Answer::Cancel << "Otra persona" << QList<int>{0} << 11;
        QTest::newRow("new teacher kept") << true << Answer::Cancel << "Otra persona" << QList<int>{11} << 12;
        QTest::newRow("new teacher let go") << true << Answer::Discard << "Benítez, Ana Inés" << QList<int>{2} << 11;
    }
    void anotherTeacherClickedWithTheFormChanged()
    {
        QFETCH(bool, newTeacher);
        QFETCH(Answer, answer);
        openPlanilla(path_);
        if (newTeacher)
            gui::click(kEntry, "nuevodocente");
        else
            clickTeacher(0, "Gómez, María Laura");
        gui::type(kEntry, "docente", "Otra persona");
        answer_ = answer;
        QVERIFY(gui::clickRow(teachers(), 2));
        QTRY_COMPARE(asked_.size(), 1);
        QTEST(gui::box(kEntry, "docente")->text(), "formHolds");
        QTEST(highlighted(), "highlighted");
        QTEST(listed(), "listed");
    }

    void aRefusedPlanillaChangesNothing()
    {
        QVERIFY(session_->open(path_));
        QVERIFY(session_->chooseTeacher(4));
        QVERIFY(!session_->open(folder_->filePath("mala.csv")));
        QCOMPARE(told_.size(), 1);
        QVERIFY2(told_[0].contains("columna desconocida"), qPrintable(told_[0]));
        QCOMPARE(session_->path(), path_);
        QCOMPARE(session_->chosen(), std::optional<std::size_t>(4));
    }

    // "recibo ARCHIVO" opens the planilla as "Abrir planilla…" does in the
    // program started without one: the same list, title and planillas
    // opened before, or the same message, and the program runs either way.
    void aPlanillaOnTheCommandLineOpensAtStart_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::newRow("a planilla") << "docentes.csv";
        QTest::newRow("refused") << "mala.csv";
        QTest::newRow("missing") << "no-existe.csv";
    }
    void aPlanillaOnTheCommandLineOpensAtStart()
    {
        QFETCH(QString, argument);
        const QString file = folder_->filePath(argument);
        openPlanilla(file);
        const QStringList byMenu = opened();

        startProgram({file});
        QVERIFY(visible(kEntry));
        QCOMPARE(opened(), byMenu);
        // Told once by the menu and once at start, or never.
        QCOMPARE(told_.size(), teachers() ? 0 : 2);
    }

private:
    // The program as main() starts it, each question it asks answered here,
    // and no planilla opened before.
    void startProgram(const QStringList& arguments = {})
    {
        program_.reset();
        app::programSettings().remove("planilla/recientes");
        program_ = std::make_unique<app::Program>();
        session_ = &program_->planilla();
        session_->setDialogs({[this](QWidget*, const QString&) { return opening_; },
                              [](QWidget*, const QString&) { return QString(); },
                              [this](QWidget*, const QString& question) {
                                  asked_ << question;
                                  return answer_;
                              },
                              [this](QWidget*, const QString& question) {
                                  asked_ << question;
                                  return settle_;
                              },
                              [this](QWidget*, const QString& problem) { told_ << problem; }});
        program_->start(arguments);
    }

    // "Abrir planilla…" from the keyboard, the file dialog giving `path`.
    void openPlanilla(const QString& path)
    {
        opening_ = path;
        gui::press(gui::window(kEntry), Qt::Key_O, Qt::ControlModifier);
    }

    // What opening a planilla left: the window's title, the teachers listed,
    // the planillas opened before, what the user was told.
    QStringList opened() const
    {
        QStringList state{gui::window(kEntry)->windowTitle(), QString::number(teachers() ? listed() : -1)};
        for (const QAction* recent : gui::window(kEntry)->findChild<QMenu*>("mnuRecientes")->actions())
            state << recent->text();
        return state << told_.value(told_.size() - 1);
    }

    static QListView* teachers() { return gui::control<QListView>(kEntry, "docentes"); }
    static int listed() { return teachers()->model()->rowCount(); }
    static QString listedText(int row) { return teachers()->model()->index(row, 0).data().toString(); }

    void clickTeacher(int row, const QString& name)
    {
        QVERIFY(gui::clickRow(teachers(), row));
        QTRY_COMPARE(gui::box(kEntry, "docente")->text(), name);
    }

    static QList<int> highlighted()
    {
        QList<int> rows;
        for (const QModelIndex& item : teachers()->selectionModel()->selectedIndexes())
            rows << item.row();
        return rows;
    }

    std::unique_ptr<QTemporaryDir> folder_;
    QString path_;
    std::unique_ptr<app::Program> program_;
    app::PlanillaSession* session_ = nullptr;
    QString opening_;  // what the file dialog gives
    Answer answer_ = Answer::Cancel;
    Settle settle_ = Settle::Cancel;
    QStringList asked_, told_;
};

QTEST_MAIN(PlanillaSessionTest)
#include "planilla_session_test.moc"
