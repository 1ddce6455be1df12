#pragma once

#include <functional>
#include <optional>

#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;

namespace recibo::table {
class Planilla;
}

namespace recibo::app {

// The planilla's teachers beside the entry window's form: a search box, the
// list of names with their position or hours, and "Nuevo docente". A row
// that cannot be computed is marked, and says why when the pointer rests on
// it or a screen reader reads it.
class PlanillaPanel : public QWidget {
    Q_OBJECT
public:
    explicit PlanillaPanel(QWidget* parent = nullptr);

    // Why row `row` cannot be computed, or nothing.
    using ProblemOf = std::function<std::optional<QString>(std::size_t row)>;
    // Lists every row of `table`, none chosen. The rows that cannot be
    // computed are marked a slice of time at a time, between the user's
    // clicks and keys, so that a long planilla is listed at once.
    void list(const table::Planilla& table, const ProblemOf& problemOf);
    // Lists the row again after it was saved or added.
    void relist(const table::Planilla& table, std::size_t row, const ProblemOf& problemOf);
    // The new teacher's row, after the table's last, listed at once: it
    // becomes the teacher's when the row is saved (relist) and goes away
    // when the new teacher is let go.
    void addNewTeacher();
    void dropNewTeacher();

    // The row shown as chosen (the search is cleared if it hid it).
    void choose(std::optional<std::size_t> row);
    std::optional<std::size_t> chosen() const;

signals:
    // The user chose a teacher in the list (click, or arrows and Enter).
    void teacherChosen(std::size_t row);
    void newTeacherRequested();

private:
    void onSearch(const QString& text);
    void setItem(const table::Planilla& table, std::size_t row);
    void mark(std::size_t row);
    void markSome();

    QLineEdit* search_ = nullptr;
    QListWidget* teachers_ = nullptr;
    QPushButton* newTeacher_ = nullptr;
    QTimer* marking_ = nullptr;
    ProblemOf problemOf_;
    std::size_t nextToMark_ = 0;
    QListWidgetItem* newTeacherItem_ = nullptr;  // the new teacher's row, not yet in the table
    bool choosing_ = false;                      // the list's selection changed by the program, not the user
};

}  // namespace recibo::app
