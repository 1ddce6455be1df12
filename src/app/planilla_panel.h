#pragma once

#include <cstddef>
#include <functional>
#include <optional>

#include <QString>
#include <QWidget>

#include "teachers_model.h"

class QLineEdit;
class QListView;
class QPushButton;

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

    using ProblemOf = TeachersModel::ProblemOf;
    // Lists every row of `table` (which must outlive its listing), none
    // chosen.
    void list(const table::Planilla& table, const ProblemOf& problemOf);
    // Lists the row again after it was saved or added.
    void relist(std::size_t row);
    // The new teacher's row, after the table's last, listed at once: it
    // becomes the teacher's when the row is saved (relist) and goes away
    // when the new teacher is let go.
    void addNewTeacher();
    void dropNewTeacher();

    // The row shown as chosen (the search is cleared if it hid it).
    void choose(std::optional<std::size_t> row);

signals:
    // The user chose a teacher in the list: a click on it, or Enter on it.
    void teacherChosen(std::size_t row);
    void newTeacherRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseListed(const QModelIndex& index);
    void onSearch(const QString& text);
    void setChosen(std::optional<std::size_t> row);

    QLineEdit* search_ = nullptr;
    QListView* teachers_ = nullptr;
    TeachersModel* model_ = nullptr;
    QPushButton* newTeacher_ = nullptr;
    std::optional<std::size_t> chosen_;  // the table row highlighted as the form's
};

}  // namespace recibo::app
