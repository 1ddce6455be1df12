#include "teachers_model.h"

#include <algorithm>

#include <QBrush>

#include "table/planilla.h"

namespace recibo::app {

namespace {

// "Cargo 645", "Hs. N. Medio 24": what the teacher holds, as the entry
// window's options say it.
QString employmentOf(const table::Planilla& table, std::size_t row)
{
    const auto hand = table.handEntry(row);
    if (!std::holds_alternative<table::Planilla::HandEntry>(hand))
        return {};
    const auto& entry = std::get<table::Planilla::HandEntry>(hand);
    switch (entry.entry.kind) {
    case payroll::EmploymentKind::Position:
        return QStringLiteral("Cargo %1").arg(QString::fromStdString(entry.code.value_or("")));
    case payroll::EmploymentKind::MiddleLevelHours:
        return QStringLiteral("Hs. N. Medio %1").arg(QString::fromStdString(entry.entry.numerohorasmed));
    case payroll::EmploymentKind::HigherLevelHours:
        return QStringLiteral("Hs. N. Superior %1").arg(QString::fromStdString(entry.entry.numerohorassup));
    case payroll::EmploymentKind::None: break;
    }
    return QStringLiteral("sin cargo ni horas");
}

// A cell as long as a line of the list at most: a name of a million
// characters would take the list seconds to lay out.
QString shortened(QString text)
{
    constexpr qsizetype kLongest = 80;
    if (text.size() > kLongest)
        text = text.left(kLongest - 1) + QStringLiteral("…");
    return text;
}

QString nameOf(const table::Planilla& table, std::size_t row)
{
    QString name = shortened(QString::fromStdString(table.docente(row)));
    return name.trimmed().isEmpty() ? QStringLiteral("(sin nombre, fila %1)").arg(row + 1) : name;
}

}  // namespace

QString searchable(const QString& text)
{
    QString plain = text.normalized(QString::NormalizationForm_D);
    plain.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    return plain.toCaseFolded();
}

void TeachersModel::show(const table::Planilla* table, ProblemOf problemOf)
{
    beginResetModel();
    table_ = table;
    known_ = table ? table->rows() : 0;
    problemOf_ = std::move(problemOf);
    newTeacher_ = false;
    found_.reset();
    problems_.clear();
    searchable_.clear();
    endResetModel();
}

void TeachersModel::search(const QString& wanted)
{
    beginResetModel();
    found_.reset();
    if (!wanted.isEmpty()) {
        found_.emplace();
        for (std::size_t row = 0; row < tableRows(); ++row)
            if (searchableName(row).contains(wanted))
                found_->push_back(row);
    }
    endResetModel();
}

std::size_t TeachersModel::listedRows() const
{
    return found_ ? found_->size() : tableRows();
}

std::size_t TeachersModel::tableRow(int listRow) const
{
    const auto row = static_cast<std::size_t>(listRow);
    if (row >= listedRows())
        return tableRows();
    return found_ ? (*found_)[row] : row;
}

std::optional<int> TeachersModel::listRow(std::size_t tableRow) const
{
    if (tableRow >= tableRows())
        return newTeacher_ ? std::optional<int>(static_cast<int>(listedRows())) : std::nullopt;
    if (!found_)
        return static_cast<int>(tableRow);
    const auto at = std::lower_bound(found_->begin(), found_->end(), tableRow);
    if (at == found_->end() || *at != tableRow)
        return std::nullopt;
    return static_cast<int>(at - found_->begin());
}

std::size_t TeachersModel::tableRows() const
{
    return known_;
}

void TeachersModel::rowChanged(std::size_t row)
{
    problems_.erase(row);
    if (row < searchable_.size())
        searchable_[row] = searchable(nameOf(*table_, row));
    if (row < known_) {
        if (const auto listed = listRow(row))
            emit dataChanged(index(*listed), index(*listed));
        return;
    }
    // A row added after the last, listed whatever the search: the new
    // teacher's row becomes it, or it comes after those listed.
    const int added = static_cast<int>(listedRows());
    if (!newTeacher_)
        beginInsertRows({}, added, added);
    ++known_;
    if (found_)
        found_->push_back(row);
    if (!newTeacher_) {
        endInsertRows();
        return;
    }
    newTeacher_ = false;
    emit dataChanged(index(added), index(added));
}

void TeachersModel::setNewTeacher(bool shown)
{
    if (shown == newTeacher_)
        return;
    const int row = static_cast<int>(listedRows());
    if (shown) {
        beginInsertRows({}, row, row);
        newTeacher_ = true;
        endInsertRows();
    } else {
        beginRemoveRows({}, row, row);
        newTeacher_ = false;
        endRemoveRows();
    }
}

const QString& TeachersModel::searchableName(std::size_t row) const
{
    if (searchable_.size() != tableRows()) {
        searchable_.clear();
        searchable_.reserve(tableRows());
        for (std::size_t each = 0; each < tableRows(); ++each)
            searchable_.push_back(searchable(nameOf(*table_, each)));
    }
    return searchable_[row];
}

int TeachersModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(listedRows() + (newTeacher_ ? 1 : 0));
}

const std::optional<QString>& TeachersModel::problemOf(std::size_t row) const
{
    auto known = problems_.find(row);
    if (known == problems_.end())
        known = problems_.emplace(row, problemOf_(row)).first;
    return known->second;
}

QVariant TeachersModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const std::size_t row = tableRow(index.row());
    if (row == tableRows())
        return role == Qt::DisplayRole ? QVariant(QStringLiteral("(docente nuevo)")) : QVariant();
    switch (role) {
    case Qt::DisplayRole: {
        const QString text = QStringLiteral("%1 — %2").arg(nameOf(*table_, row), shortened(employmentOf(*table_, row)));
        return problemOf(row) ? QStringLiteral("⚠ %1").arg(text) : text;
    }
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole: return problemOf(row) ? QVariant(*problemOf(row)) : QVariant();
    case Qt::ForegroundRole: return problemOf(row) ? QVariant(QBrush(Qt::darkRed)) : QVariant();
    default: return {};
    }
}

}  // namespace recibo::app
