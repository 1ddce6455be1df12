#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include <QAbstractListModel>
#include <QString>

namespace recibo::table {
class Planilla;
}

namespace recibo::app {

// The planilla's teachers as the list shows them: "name — position or
// hours", long cells shortened, and a row that cannot be computed marked ⚠
// with the reason (as tooltip and for screen readers). The texts are made
// when the list asks for them, for the rows it shows: a planilla of any
// length is listed at once. A search leaves only the teachers whose name
// contains it, so that the list's rows (and a screen reader's) are the
// teachers shown. After the table's rows may come the new teacher's, not in
// the table yet.
class TeachersModel : public QAbstractListModel {
public:
    // Why row `row` cannot be computed, or nothing.
    using ProblemOf = std::function<std::optional<QString>(std::size_t row)>;

    explicit TeachersModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    // `table` (which must outlive its showing) from its first row, without
    // a new teacher or a search.
    void show(const table::Planilla* table, ProblemOf problemOf);
    // Only the teachers whose name contains `wanted` (see searchable()), or
    // all of them when it is empty.
    void search(const QString& wanted);
    bool searching() const { return found_.has_value(); }
    // The table row listed at `listRow` (tableRows() for the new teacher's),
    // and the list row of a table row, when it is listed.
    std::size_t tableRow(int listRow) const;
    std::optional<int> listRow(std::size_t tableRow) const;
    // Table row `row` saved or added (the new teacher's row becomes its
    // own; a row added is listed whatever the search).
    void rowChanged(std::size_t row);
    void setNewTeacher(bool shown);
    bool newTeacherShown() const { return newTeacher_; }
    std::size_t tableRows() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const std::optional<QString>& problemOf(std::size_t row) const;
    // The name table row `row` is found by: lower case, without accents
    // (made for every row at the first search).
    const QString& searchableName(std::size_t row) const;
    std::size_t listedRows() const;

    const table::Planilla* table_ = nullptr;
    std::size_t known_ = 0;  // the table's rows the list was told of
    ProblemOf problemOf_;
    bool newTeacher_ = false;
    std::optional<std::vector<std::size_t>> found_;  // the table rows a search lists, in order
    // Each row's problem once asked for, and every row's searchable name
    // once searched.
    mutable std::unordered_map<std::size_t, std::optional<QString>> problems_;
    mutable std::vector<QString> searchable_;
};

// Searching ignores case and accents: "perez" finds "Pérez".
QString searchable(const QString& text);

}  // namespace recibo::app
