#include "planilla_panel.h"

#include <QBrush>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

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
QString shortened(const QString& text)
{
    constexpr qsizetype kLongest = 80;
    return text.size() <= kLongest ? text : text.left(kLongest - 1) + QStringLiteral("…");
}

// Searching ignores case and accents: "perez" finds "Pérez".
QString searchable(const QString& text)
{
    QString plain = text.normalized(QString::NormalizationForm_D);
    plain.removeIf([](QChar c) { return c.category() == QChar::Mark_NonSpacing; });
    return plain.toCaseFolded();
}

}  // namespace

PlanillaPanel::PlanillaPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("planilla"));
    auto* title = new QLabel(QStringLiteral("Docentes de la planilla"));
    search_ = new QLineEdit;
    search_->setObjectName(QStringLiteral("buscardocente"));
    search_->setPlaceholderText(QStringLiteral("Buscar docente"));
    search_->setAccessibleName(QStringLiteral("Buscar docente"));
    search_->setClearButtonEnabled(true);
    teachers_ = new QListWidget;
    teachers_->setObjectName(QStringLiteral("docentes"));
    teachers_->setAccessibleName(QStringLiteral("Docentes de la planilla"));
    teachers_->setUniformItemSizes(true);
    // Wide enough for a name and a position; a longer one ends in "…".
    teachers_->setMinimumWidth(teachers_->fontMetrics().averageCharWidth() * 36);
    teachers_->setTextElideMode(Qt::ElideRight);
    teachers_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    title->setBuddy(teachers_);
    newTeacher_ = new QPushButton(QStringLiteral("Nuevo docente"));
    newTeacher_->setObjectName(QStringLiteral("nuevodocente"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title);
    layout->addWidget(search_);
    layout->addWidget(teachers_, 1);
    layout->addWidget(newTeacher_);

    connect(search_, &QLineEdit::textChanged, this, &PlanillaPanel::onSearch);
    connect(teachers_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!choosing_ && row >= 0)
            emit teacherChosen(static_cast<std::size_t>(row));
    });
    connect(newTeacher_, &QPushButton::clicked, this, &PlanillaPanel::newTeacherRequested);
    marking_ = new QTimer(this);
    connect(marking_, &QTimer::timeout, this, &PlanillaPanel::markSome);
}

// The row's name and what the teacher holds, unmarked.
void PlanillaPanel::setItem(const table::Planilla& table, std::size_t row)
{
    QString name = shortened(QString::fromStdString(table.docente(row)));
    if (name.trimmed().isEmpty())
        name = QStringLiteral("(sin nombre, fila %1)").arg(row + 1);
    QListWidgetItem* item = teachers_->item(static_cast<int>(row));
    if (!item) {
        item = new QListWidgetItem;
        teachers_->addItem(item);
    }
    if (item == newTeacherItem_)
        newTeacherItem_ = nullptr;
    item->setText(QStringLiteral("%1 — %2").arg(name, shortened(employmentOf(table, row))));
    item->setData(Qt::UserRole, searchable(name));
    item->setHidden(!search_->text().isEmpty() && !searchable(name).contains(searchable(search_->text())));
}

// The row, just named by setItem, marked when it cannot be computed, saying
// why. A row that can be computed stays as it is: 50,000 of them would take
// megabytes to hold the emptiness.
void PlanillaPanel::mark(std::size_t row)
{
    QListWidgetItem* item = teachers_->item(static_cast<int>(row));
    const std::optional<QString> problem = problemOf_(row);
    if (!problem && item->toolTip().isEmpty())
        return;
    item->setForeground(problem ? QBrush(Qt::darkRed) : QBrush());
    item->setToolTip(problem.value_or(QString()));
    if (problem)
        item->setText(QStringLiteral("⚠ %1").arg(item->text()));
    item->setData(Qt::AccessibleDescriptionRole, problem.value_or(QString()));
}

void PlanillaPanel::markSome()
{
    constexpr qint64 kSliceMs = 20;
    QElapsedTimer slice;
    slice.start();
    // The new teacher's row, after the table's, has nothing to mark yet.
    const auto rows = static_cast<std::size_t>(teachers_->count() - (newTeacherItem_ ? 1 : 0));
    while (nextToMark_ < rows && slice.elapsed() < kSliceMs)
        mark(nextToMark_++);
    if (nextToMark_ >= rows)
        marking_->stop();
    else if (!marking_->isActive())
        marking_->start();
}

void PlanillaPanel::list(const table::Planilla& table, const ProblemOf& problemOf)
{
    choosing_ = true;
    teachers_->setUpdatesEnabled(false);
    teachers_->clear();
    newTeacherItem_ = nullptr;
    search_->clear();
    for (std::size_t row = 0; row < table.rows(); ++row)
        setItem(table, row);
    teachers_->setCurrentRow(-1);
    teachers_->setUpdatesEnabled(true);
    choosing_ = false;
    problemOf_ = problemOf;
    nextToMark_ = 0;
    markSome();
}

void PlanillaPanel::relist(const table::Planilla& table, std::size_t row, const ProblemOf& problemOf)
{
    problemOf_ = problemOf;
    setItem(table, row);
    mark(row);
}

void PlanillaPanel::addNewTeacher()
{
    if (newTeacherItem_)
        return;
    choosing_ = true;
    newTeacherItem_ = new QListWidgetItem(QStringLiteral("(docente nuevo)"));
    teachers_->addItem(newTeacherItem_);
    choosing_ = false;
}

void PlanillaPanel::dropNewTeacher()
{
    choosing_ = true;
    delete newTeacherItem_;
    newTeacherItem_ = nullptr;
    choosing_ = false;
}

void PlanillaPanel::choose(std::optional<std::size_t> row)
{
    choosing_ = true;
    if (row && teachers_->item(static_cast<int>(*row))->isHidden())
        search_->clear();
    teachers_->setCurrentRow(row ? static_cast<int>(*row) : -1);
    choosing_ = false;
}

std::optional<std::size_t> PlanillaPanel::chosen() const
{
    const int row = teachers_->currentRow();
    return row >= 0 ? std::optional<std::size_t>(static_cast<std::size_t>(row)) : std::nullopt;
}

void PlanillaPanel::onSearch(const QString& text)
{
    const QString wanted = searchable(text);
    for (int row = 0; row < teachers_->count(); ++row) {
        QListWidgetItem* item = teachers_->item(row);
        item->setHidden(!wanted.isEmpty() && !item->data(Qt::UserRole).toString().contains(wanted));
    }
}

}  // namespace recibo::app
