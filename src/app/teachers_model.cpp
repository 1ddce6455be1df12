#include "teachers_model.h"

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
    problemOf_ = std::move(problemOf);
    newTeacher_ = false;
    problems_.clear();
    searchable_.clear();
    endResetModel();
}

std::size_t TeachersModel::tableRows() const
{
    return table_ ? table_->rows() : 0;
}

void TeachersModel::rowChanged(std::size_t row)
{
    problems_.erase(row);
    if (row < searchable_.size())
        searchable_[row] = searchable(nameOf(*table_, row));
    if (newTeacher_ && row == tableRows() - 1) {
        newTeacher_ = false;  // the new teacher's row is the row added
    } else if (static_cast<int>(row) >= rowCount()) {
        beginInsertRows({}, static_cast<int>(row), static_cast<int>(row));
        endInsertRows();
        return;
    }
    emit dataChanged(index(static_cast<int>(row)), index(static_cast<int>(row)));
}

void TeachersModel::setNewTeacher(bool shown)
{
    if (shown == newTeacher_)
        return;
    const int row = static_cast<int>(tableRows());
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
    return parent.isValid() ? 0 : static_cast<int>(tableRows() + (newTeacher_ ? 1 : 0));
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
    const auto row = static_cast<std::size_t>(index.row());
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
