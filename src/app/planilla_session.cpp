#include "planilla_session.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>

#include "payslip/official_file.h"
#include "planilla_panel.h"
#include "reading_progress.h"
#include "regional/regional.h"
#include "settings.h"

namespace recibo::app {

namespace {

constexpr int kMostRecent = 6;
const QString kRecentKey = QStringLiteral("planilla/recientes");
const QString kFilter = QStringLiteral("Planillas CSV (*.csv);;Todos los archivos (*)");

// Two forms mean the same row when every column would hold the same cell.
bool sameRow(const table::RowInput& a, const table::RowInput& b, const positions::Catalogue& catalogue)
{
    for (std::size_t c = 0; c < table::kColumnCount; ++c) {
        const auto column = static_cast<table::Column>(c);
        if (table::cellFor(column, a, catalogue) != table::cellFor(column, b, catalogue))
            return false;
    }
    return true;
}

// The official lines' file beside a planilla, as the program reads it.
OrUnusable<payslip::OfficialLines> readOfficialFile(const QString& path)
{
    return payslip::readOfficialLines(QFile::encodeName(path).toStdString(), regional::systemSettings(),
                                      "el archivo de importes oficiales");
}

// The file's lines ("fila" from 1) by row of the table (from 0).
std::map<std::size_t, std::vector<payslip::OfficialLine>> byRow(payslip::OfficialLines lines)
{
    std::map<std::size_t, std::vector<payslip::OfficialLine>> rows;
    for (auto& [fila, official] : lines)
        rows[fila - 1] = std::move(official);
    return rows;
}

PlanillaSession::Dialogs standardDialogs()
{
    PlanillaSession::Dialogs dialogs;
    dialogs.openPath = [](QWidget* parent, const QString& folder) {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Abrir planilla"), folder, kFilter);
    };
    dialogs.savePath = [](QWidget* parent, const QString& suggested) {
        QFileDialog dialog(parent, QStringLiteral("Guardar planilla"), QFileInfo(suggested).path(), kFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        dialog.selectFile(QFileInfo(suggested).fileName());
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    dialogs.askToSave = [](QWidget* parent, const QString& question) {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Cambios sin guardar"), question,
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
        box.setObjectName(QStringLiteral("cambiossinguardar"));
        box.setDefaultButton(QMessageBox::Save);
        switch (box.exec()) {
        case QMessageBox::Save: return PlanillaSession::Answer::Save;
        case QMessageBox::Discard: return PlanillaSession::Answer::Discard;
        default: return PlanillaSession::Answer::Cancel;
        }
    };
    dialogs.askAboutConflict = [](QWidget* parent, const QString& question) {
        using Settle = PlanillaSession::Settle;
        QMessageBox box(QMessageBox::Warning, QStringLiteral("La planilla cambió"), question, QMessageBox::Cancel,
                        parent);
        box.setObjectName(QStringLiteral("planillacambio"));
        const std::pair<QPushButton*, Settle> choices[] = {
            {box.addButton(QStringLiteral("Dejar la &mía"), QMessageBox::DestructiveRole), Settle::KeepMine},
            {box.addButton(QStringLiteral("Dejar la del &disco"), QMessageBox::AcceptRole), Settle::KeepTheirs},
            {box.addButton(QStringLiteral("&Guardar como…"), QMessageBox::ActionRole), Settle::SaveAs},
        };
        box.setDefaultButton(QMessageBox::Cancel);
        box.exec();
        for (const auto& [button, settle] : choices)
            if (box.clickedButton() == button)
                return settle;
        return Settle::Cancel;
    };
    dialogs.tell = [](QWidget* parent, const QString& problem) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Planilla"), problem, QMessageBox::Ok, parent);
        box.setObjectName(QStringLiteral("planillaproblema"));
        box.exec();
    };
    return dialogs;
}

}  // namespace

PlanillaSession::PlanillaSession(QWidget* window, std::function<PlanillaPanel*()> placePanel, Form form)
    : QObject(window),
      window_(window),
      placePanel_(std::move(placePanel)),
      form_(std::move(form)),
      dialogs_(standardDialogs())
{
    recent_ = programSettings().value(kRecentKey).toStringList();
    buildMenu();
}

// The panel is only seen with a planilla open: it is built then, which
// spares the program's start its list and its search box's icon.
PlanillaPanel* PlanillaSession::panel()
{
    if (!panel_) {
        panel_ = placePanel_();
        // Once the list has handled the click or the key whole: a question
        // asked in the middle of it would have the list select the row
        // clicked after the answer put the highlight back.
        connect(
            panel_, &PlanillaPanel::teacherChosen, this, [this](std::size_t row) { chooseTeacher(row); },
            Qt::QueuedConnection);
        connect(panel_, &PlanillaPanel::newTeacherRequested, this, [this] { newTeacher(); });
    }
    return panel_;
}

PlanillaSession::~PlanillaSession() = default;

void PlanillaSession::buildMenu()
{
    menu_ = new QMenu(QStringLiteral("&Archivo"), window_);
    menu_->setObjectName(QStringLiteral("mnuArchivo"));
    const auto add = [this](const QString& text, const char* name, QKeySequence keys, auto slot) {
        QAction* action = menu_->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    add(QStringLiteral("&Nueva planilla"), "nuevaplanilla", QKeySequence::New, [this] { newPlanilla(); });
    add(QStringLiteral("&Abrir planilla…"), "abrirplanilla", QKeySequence::Open, [this] {
        const QString path = dialogs_.openPath(window_, suggestedFolder());
        if (!path.isEmpty())
            open(path);
    });
    recentMenu_ = menu_->addMenu(QStringLiteral("Abiertas &antes"));
    recentMenu_->setObjectName(QStringLiteral("mnuRecientes"));
    save_ = add(QStringLiteral("&Guardar"), "guardarplanilla", QKeySequence::Save, [this] { save(); });
    saveAs_ = add(QStringLiteral("Guardar &como…"), "guardarcomo", QKeySequence::SaveAs, [this] {
        const QString path = dialogs_.savePath(
            window_,
            file_ && !file_->path().isEmpty() ? file_->path() : QDir(suggestedFolder()).filePath("planilla.csv"));
        if (!path.isEmpty())
            saveAs(path);
    });
    menu_->addSeparator();
    saveReceipt_ = menu_->addAction(QStringLiteral("Guardar &recibo como PDF…"));
    saveReceipt_->setObjectName(QStringLiteral("guardarrecibopdf"));
    saveReceipt_->setEnabled(false);
    compare_ = menu_->addAction(QStringLiteral("C&omparar con el recibo oficial…"));
    compare_->setObjectName(QStringLiteral("compararrecibooficial"));
    compare_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    compare_->setEnabled(false);
    planillaPdf_ = menu_->addAction(QStringLiteral("Recibos de la &planilla en PDF…"));
    planillaPdf_->setObjectName(QStringLiteral("recibosplanillapdf"));
    menu_->addSeparator();
    quit_ = menu_->addAction(QStringLiteral("&Salir"));
    quit_->setObjectName(QStringLiteral("salirarchivo"));
    quit_->setShortcut(QKeySequence::Quit);
    fillRecent();
    save_->setEnabled(false);
    saveAs_->setEnabled(false);
    planillaPdf_->setEnabled(false);
}

void PlanillaSession::fillRecent()
{
    recentMenu_->clear();
    for (const QString& path : recent_) {
        QAction* action = recentMenu_->addAction(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this, [this, path] { open(path); });
    }
    recentMenu_->setEnabled(!recent_.isEmpty());
}

void PlanillaSession::remember(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    recent_.removeAll(absolute);
    recent_.prepend(absolute);
    while (recent_.size() > kMostRecent)
        recent_.removeLast();
    programSettings().setValue(kRecentKey, recent_);
    fillRecent();
}

QString PlanillaSession::suggestedFolder() const
{
    if (file_ && !file_->path().isEmpty())
        return QFileInfo(file_->path()).path();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

// The list's row for what the form holds: its teacher's, or for a new
// teacher the row it gets when saved, after the last.
std::optional<std::size_t> PlanillaSession::formRow() const
{
    if (adding_)
        return file_->table().rows();
    return chosen_;
}

bool PlanillaSession::formChanged() const
{
    return file_ && (chosen_ || adding_) && snapshot_
        && (officialEdited_ || !sameRow(form_.read(), *snapshot_, form_.scale().catalogue));
}

void PlanillaSession::takeSnapshot()
{
    snapshot_ = form_.read();
    officialEdited_ = false;
    markUnsaved();
}

std::vector<payslip::OfficialLine> PlanillaSession::officialLines() const
{
    if (chosen_ && !adding_)
        if (const auto found = official_.find(*chosen_); found != official_.end())
            return found->second;
    return chosen_ && !adding_ ? std::vector<payslip::OfficialLine>() : formOfficial_;
}

void PlanillaSession::setOfficialLines(std::vector<payslip::OfficialLine> lines)
{
    if (chosen_ && !adding_) {
        if (lines.empty())
            official_.erase(*chosen_);
        else
            official_[*chosen_] = std::move(lines);
    } else {
        formOfficial_ = std::move(lines);
    }
    officialEdited_ = true;
    markUnsaved();
}

QString PlanillaSession::officialLinesPath(const QString& planillaPath)
{
    const QFileInfo planilla(planillaPath);
    return planilla.dir().filePath(planilla.completeBaseName() + QStringLiteral(".oficial.csv"));
}

// The official lines saved beside the planilla. A file that cannot be read
// is said so and left as it is: nothing is written over it until it is
// mended (see writeOfficialLines).
void PlanillaSession::readOfficialLines(const QString& planillaPath)
{
    official_.clear();
    officialUnreadable_ = false;
    const QString path = officialLinesPath(planillaPath);
    officialFile_ = path;
    officialOnDisk_.clear();
    if (!QFileInfo::exists(path))
        return;
    auto read = readOfficialFile(path);
    if (const auto* problem = std::get_if<Unusable>(&read)) {
        officialUnreadable_ = true;
        dialogs_.tell(window_,
                      QStringLiteral("La planilla se abrió sin los importes de los recibos oficiales: %1. "
                                     "Corregí ese archivo y volvé a abrir la planilla; hasta entonces no se "
                                     "escribe sobre él.")
                          .arg(QString::fromStdString(problem->message)));
        return;
    }
    officialOnDisk_ = std::move(std::get<payslip::OfficialLines>(read));
    official_ = byRow(officialOnDisk_);
}

// Whole or not at all, after the planilla itself was saved; a planilla with
// no official lines and no such file gets none. `typedHere`: the row of the
// form's teacher, after the save, when their lines were typed here.
bool PlanillaSession::writeOfficialLines(const QString& planillaPath, std::optional<std::size_t> typedHere)
{
    const QString path = officialLinesPath(planillaPath);
    if (official_.empty() && !QFileInfo::exists(path))
        return true;
    QString problem;
    if (officialUnreadable_) {
        problem = QStringLiteral("el archivo %1 no se pudo leer al abrir la planilla; corregilo y volvé a abrirla")
                      .arg(QDir::toNativeSeparators(path));
    } else if (problem = takeOthersOfficialLines(path, typedHere); problem.isEmpty()) {
        payslip::OfficialLines rows;
        for (const auto& [row, lines] : official_)
            rows[row + 1] = lines;
        const std::string text = payslip::writeOfficialLines(rows, regional::systemSettings());
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0
            || !file.commit()) {
            problem =
                QStringLiteral("no se pudo escribir %1 (%2)").arg(QDir::toNativeSeparators(path), file.errorString());
        } else {
            officialFile_ = path;
            officialOnDisk_ = std::move(rows);
        }
    }
    if (problem.isEmpty())
        return true;
    dialogs_.tell(
        window_,
        QStringLiteral("La planilla se guardó, pero no los importes de los recibos oficiales: %1.").arg(problem));
    return false;
}

// Someone else saved official lines beside the same planilla since they
// were read or written here: theirs are kept, each for the row it names
// (the saved planilla keeps the rows of the file as it was found), but the
// lines typed here for the form's teacher. A file that can no longer be
// read is not written over.
QString PlanillaSession::takeOthersOfficialLines(const QString& path, std::optional<std::size_t> typedHere)
{
    if (path != officialFile_ || !QFileInfo::exists(path))
        return {};
    auto now = readOfficialFile(path);
    if (const auto* problem = std::get_if<Unusable>(&now))
        return QStringLiteral("alguien cambió el archivo y ya no se puede leer (%1); corregilo y volvé a guardar")
            .arg(QString::fromStdString(problem->message));
    auto& theirs = std::get<payslip::OfficialLines>(now);
    if (theirs == officialOnDisk_)
        return {};
    std::vector<payslip::OfficialLine> mine;
    if (typedHere)
        if (const auto found = official_.find(*typedHere); found != official_.end())
            mine = std::move(found->second);
    official_ = byRow(std::move(theirs));
    if (typedHere && mine.empty())
        official_.erase(*typedHere);
    else if (typedHere)
        official_[*typedHere] = std::move(mine);
    return {};
}

void PlanillaSession::markUnsaved()
{
    window_->setWindowModified(formChanged());
}

bool PlanillaSession::mayLeave()
{
    if (!formChanged())
        return true;
    switch (dialogs_.askToSave(window_,
                               QStringLiteral("Los datos del docente cambiaron desde que se eligió. "
                                              "¿Querés guardarlos en la planilla?"))) {
    case Answer::Save: return save();
    case Answer::Discard: return true;
    case Answer::Cancel: return false;
    }
    return false;
}

void PlanillaSession::show(planilla::PlanillaFile file)
{
    file_ = std::move(file);
    chosen_.reset();
    adding_ = false;
    official_.clear();
    officialUnreadable_ = false;
    officialFile_.clear();
    officialOnDisk_.clear();
    snapshot_.reset();
    markUnsaved();
    relist();
    panel()->show();
    save_->setEnabled(true);
    saveAs_->setEnabled(true);
    planillaPdf_->setEnabled(true);
    emit titleChanged(file_->path().isEmpty() ? QStringLiteral("planilla nueva") : QFileInfo(file_->path()).fileName());
}

std::function<std::optional<QString>(std::size_t)> PlanillaSession::problemOf() const
{
    return [this](std::size_t row) -> std::optional<QString> {
        const scales::Scale& scale = form_.scale();
        const auto input = file_->table().input(row, scale.pay, scale.catalogue);
        if (const auto* bad = std::get_if<Unusable>(&input))
            return QString::fromStdString(bad->message);
        return form_.problemOf(std::get<table::RowInput>(input));
    };
}

void PlanillaSession::relist()
{
    if (!file_)
        return;
    panel()->list(file_->table(), problemOf());
    if (adding_)
        panel()->addNewTeacher();
    panel()->choose(formRow());
}

bool PlanillaSession::newPlanilla()
{
    if (!mayLeave())
        return false;
    show(planilla::PlanillaFile::unsaved(table::Planilla::empty()));
    return true;
}

bool PlanillaSession::open(const QString& path)
{
    if (!mayLeave())
        return false;
    auto opened = openShowingProgress(window_, path);
    if (std::holds_alternative<planilla::PlanillaFile::Stopped>(opened))
        return false;
    if (auto* problem = std::get_if<Unusable>(&opened)) {
        dialogs_.tell(window_, QString::fromStdString(problem->message));
        return false;
    }
    show(std::get<planilla::PlanillaFile>(std::move(opened)));
    readOfficialLines(path);
    remember(path);
    return true;
}

bool PlanillaSession::chooseTeacher(std::size_t row)
{
    if (!file_ || row >= file_->table().rows())
        return false;
    if (chosen_ == row && !adding_)
        return true;
    if (!mayLeave()) {
        panel()->choose(formRow());
        return false;
    }
    return load(row);
}

// Row `row` into the form, or why it cannot be.
bool PlanillaSession::load(std::size_t row)
{
    const auto hand = file_->table().handEntry(row, form_.scale().pay);
    if (const auto* bad = std::get_if<Unusable>(&hand)) {
        dialogs_.tell(window_,
                      QStringLiteral("La fila %1 de la planilla no se puede cargar: %2")
                          .arg(row + 1)
                          .arg(QString::fromStdString(bad->message)));
        panel()->choose(formRow());
        return false;
    }
    form_.enter(std::get<table::Planilla::HandEntry>(hand));
    chosen_ = row;
    adding_ = false;
    formOfficial_.clear();
    panel()->dropNewTeacher();
    takeSnapshot();
    emit teacherChanged();
    panel()->choose(chosen_);
    return true;
}

bool PlanillaSession::newTeacher()
{
    if (!file_ || !mayLeave())
        return false;
    startNewTeacher();
    return true;
}

// The form as the program opens it, for a teacher not yet in the planilla,
// whose row is listed after the last.
void PlanillaSession::startNewTeacher()
{
    form_.startOver();
    chosen_.reset();
    adding_ = true;
    formOfficial_.clear();
    takeSnapshot();
    emit teacherChanged();
    panel()->addNewTeacher();
    panel()->choose(formRow());
}

bool PlanillaSession::save()
{
    if (!file_)
        return false;
    if (file_->path().isEmpty()) {
        const QString path = dialogs_.savePath(window_, QDir(suggestedFolder()).filePath("planilla.csv"));
        return !path.isEmpty() && saveAs(path);
    }
    return saveTo(file_->path());
}

bool PlanillaSession::saveAs(const QString& path)
{
    if (!file_ || !saveTo(path))
        return false;
    remember(path);
    emit titleChanged(QFileInfo(path).fileName());
    return true;
}

namespace {

// Where row `row` went, after a save that followed it; nothing without a
// row or when the file no longer has it.
std::optional<std::size_t> placeOf(std::optional<std::size_t> row, const std::map<std::size_t, std::size_t>& followed)
{
    if (!row)
        return std::nullopt;
    const auto at = followed.find(*row);
    return at == followed.end() ? std::nullopt : std::optional(at->second);
}

}  // namespace

// The form goes into its teacher's row (or a new one), then the whole
// planilla to the file.
bool PlanillaSession::saveTo(const QString& path)
{
    table::Planilla& table = file_->table();
    if (chosen_ || adding_) {
        const table::RowInput input = form_.read();
        const positions::Catalogue& catalogue = form_.scale().catalogue;
        if (adding_) {
            chosen_ = table.appendRow(input, catalogue);
            adding_ = false;
            if (!formOfficial_.empty())
                official_[*chosen_] = std::move(formOfficial_);
            formOfficial_.clear();
        } else {
            table.replaceRow(*chosen_, input, catalogue);
        }
    }
    // The form's teacher and every teacher with official lines are followed
    // to their rows, which the file may have moved.
    std::vector<std::size_t> follow;
    if (chosen_)
        follow.push_back(*chosen_);
    for (const auto& [row, lines] : official_)
        follow.push_back(row);
    auto result = file_->save(path, std::nullopt, follow);
    if (result.saved == planilla::PlanillaFile::Saved::Conflict) {
        using Conflicts = table::Planilla::Conflicts;
        switch (dialogs_.askAboutConflict(window_, result.problem)) {
        case Settle::KeepMine: result = file_->save(path, Conflicts::KeepMine, follow); break;
        case Settle::KeepTheirs:
            result = file_->save(path, Conflicts::KeepTheirs, follow);
            if (result.saved == planilla::PlanillaFile::Saved::Yes) {
                moveOfficialLines(result.followed);
                writeOfficialLines(path, officialEdited_ ? placeOf(chosen_, result.followed) : std::nullopt);
                return showSaved(result);
            }
            break;
        case Settle::SaveAs: {
            const QString other = dialogs_.savePath(window_, path);
            return !other.isEmpty() && saveAs(other);
        }
        case Settle::Cancel: break;
        }
    }
    if (result.saved == planilla::PlanillaFile::Saved::Yes && result.merged) {
        moveOfficialLines(result.followed);
        chosen_ = placeOf(chosen_, result.followed);
        relist();
    } else if (chosen_) {
        panel()->relist(*chosen_);
        panel()->choose(chosen_);
    }
    if (result.saved != planilla::PlanillaFile::Saved::Yes) {
        if (result.saved == planilla::PlanillaFile::Saved::Failed)
            dialogs_.tell(window_, result.problem);
        return false;
    }
    const bool officialSaved = writeOfficialLines(path, officialEdited_ ? chosen_ : std::nullopt);
    if (chosen_) {
        takeSnapshot();
        officialEdited_ = !officialSaved;  // still to be saved: the title keeps its mark
        markUnsaved();
    }
    return true;
}

// Each teacher's official lines to the teacher's row after a save that
// took in others' changes; those of a teacher the file no longer has go
// with the teacher.
void PlanillaSession::moveOfficialLines(const std::map<std::size_t, std::size_t>& followed)
{
    std::map<std::size_t, std::vector<payslip::OfficialLine>> moved;
    for (auto& [row, lines] : official_)
        if (const auto at = followed.find(row); at != followed.end())
            moved[at->second] = std::move(lines);
    official_ = std::move(moved);
}

// The file's version of the teacher kept: the form shows it (or nothing,
// when the file no longer has that teacher).
bool PlanillaSession::showSaved(const planilla::PlanillaFile::SaveResult& result)
{
    const std::optional<std::size_t> teacher = placeOf(chosen_, result.followed);
    chosen_.reset();
    relist();
    if (teacher)
        return load(*teacher);
    startNewTeacher();
    return true;
}

}  // namespace recibo::app
