#pragma once

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include <QObject>
#include <QString>
#include <QStringList>

#include "payslip/official_file.h"
#include "payslip/payslip_check.h"
#include "planilla/planilla_file.h"
#include "scales/scale.h"
#include "table/planilla.h"
#include "table/row_input.h"

class QAction;
class QMenu;
class QWidget;

namespace recibo::app {

class PlanillaPanel;

// The planilla open in the desktop program, and the "Archivo" menu that
// works it: a new planilla, opening one (and the ones opened before),
// saving the form as the chosen teacher's row, saving under another name.
// A form changed since its teacher was entered is not left (another
// teacher chosen, another planilla opened, the program ended) without
// asking whether to save it.
class PlanillaSession : public QObject {
    Q_OBJECT
public:
    // How the session reaches the form: entering a row as by hand, putting
    // the windows back as the program opens them (for a new teacher),
    // reading what the form holds, why a row cannot be computed, and the pay
    // scale the rows are read under.
    struct Form {
        std::function<void(const table::Planilla::HandEntry&)> enter;
        std::function<void()> startOver;
        std::function<table::RowInput()> read;
        std::function<std::optional<QString>(const table::RowInput&)> problemOf;
        std::function<const scales::Scale&()> scale;
    };
    // The questions the session asks; the tests answer them.
    enum class Answer { Save, Discard, Cancel };
    // A teacher changed here and, since the planilla was read, in the file.
    enum class Settle { KeepMine, KeepTheirs, SaveAs, Cancel };
    struct Dialogs {
        std::function<QString(QWidget* parent, const QString& suggested)> openPath;
        std::function<QString(QWidget* parent, const QString& suggested)> savePath;
        std::function<Answer(QWidget* parent, const QString& question)> askToSave;
        std::function<Settle(QWidget* parent, const QString& question)> askAboutConflict;
        std::function<void(QWidget* parent, const QString& problem)> tell;
    };

    // `placePanel` builds the teachers' panel and puts it beside the form;
    // it is called when the first planilla is shown.
    PlanillaSession(QWidget* window, std::function<PlanillaPanel*()> placePanel, Form form);
    ~PlanillaSession() override;

    void setDialogs(Dialogs dialogs) { dialogs_ = std::move(dialogs); }
    QMenu* fileMenu() const { return menu_; }
    // "Guardar recibo como PDF…" and "Recibos de la planilla en PDF…", for
    // the program to carry out; "Salir".
    QAction* saveReceiptAction() const { return saveReceipt_; }
    // "Comparar con el recibo oficial…", enabled with a receipt on screen.
    QAction* compareAction() const { return compare_; }
    QAction* planillaPdfAction() const { return planillaPdf_; }
    QAction* quitAction() const { return quit_; }

    bool hasPlanilla() const { return file_.has_value(); }
    const table::Planilla* planilla() const { return file_ ? &file_->table() : nullptr; }
    QString path() const { return file_ ? file_->path() : QString(); }
    std::optional<std::size_t> chosen() const { return chosen_; }

    // The actions, as the menu carries them out; each false when it did not
    // happen (refused, failed or cancelled).
    bool newPlanilla();
    bool open(const QString& path);
    bool save();
    bool saveAs(const QString& path);
    bool chooseTeacher(std::size_t row);
    bool newTeacher();
    // Before the program ends: true when it may (nothing unsaved, or the
    // user saved or discarded it).
    bool mayLeave();
    // Lists again why each row cannot be computed (after the scale changed).
    void relist();
    // The official payslip typed for the teacher the form holds, kept with
    // the planilla in a file beside it (officialLinesPath) that
    // recibo-lote --comparar reads; without a planilla, kept for the form.
    // Saving keeps what someone else saved in that file meanwhile, but for
    // the form's teacher when their lines were typed here.
    std::vector<payslip::OfficialLine> officialLines() const;
    void setOfficialLines(std::vector<payslip::OfficialLine> lines);
    // "docentes.oficial.csv" beside "docentes.csv".
    static QString officialLinesPath(const QString& planillaPath);

    // The window's title marks a teacher changed and not saved, as desktop
    // programs mark an unsaved document: called whenever the form changed.
    void markUnsaved();

signals:
    // The planilla or its file name changed: the window's title follows.
    void titleChanged(const QString& title);
    // Another teacher is in the form: their official lines are others.
    void teacherChanged();

private:
    void buildMenu();
    void fillRecent();
    void remember(const QString& path);
    bool formChanged() const;
    std::optional<std::size_t> formRow() const;
    void takeSnapshot();
    bool saveTo(const QString& path);
    bool load(std::size_t row);
    void startNewTeacher();
    bool showSaved(const planilla::PlanillaFile::SaveResult& result);
    void readOfficialLines(const QString& planillaPath);
    bool writeOfficialLines(const QString& planillaPath, std::optional<std::size_t> typedHere);
    QString takeOthersOfficialLines(const QString& path, std::optional<std::size_t> typedHere);
    void moveOfficialLines(const std::map<std::size_t, std::size_t>& followed);
    std::function<std::optional<QString>(std::size_t)> problemOf() const;
    void show(planilla::PlanillaFile file);
    QString suggestedFolder() const;
    PlanillaPanel* panel();

    QWidget* window_;
    std::function<PlanillaPanel*()> placePanel_;
    PlanillaPanel* panel_ = nullptr;  // built with the first planilla shown
    Form form_;
    Dialogs dialogs_;
    std::optional<planilla::PlanillaFile> file_;
    std::optional<std::size_t> chosen_;  // the teacher the form holds
    bool adding_ = false;                // the form holds a new teacher, not yet a row
    std::optional<table::RowInput> snapshot_;
    // The official lines by row (from 0), and those of the form's teacher
    // while not in a row; changed since the teacher was entered.
    std::map<std::size_t, std::vector<payslip::OfficialLine>> official_;
    std::vector<payslip::OfficialLine> formOfficial_;
    bool officialEdited_ = false;
    bool officialUnreadable_ = false;  // the file beside the planilla could not be read
    // That file, and what it held when last read or written here: what
    // someone else saved there since is told apart at the next save.
    QString officialFile_;
    payslip::OfficialLines officialOnDisk_;
    QStringList recent_;

    QMenu* menu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QAction *save_ = nullptr, *saveAs_ = nullptr, *saveReceipt_ = nullptr, *compare_ = nullptr, *planillaPdf_ = nullptr,
            *quit_ = nullptr;
};

}  // namespace recibo::app
