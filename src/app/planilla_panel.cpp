#include "planilla_panel.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

namespace recibo::app {

PlanillaPanel::PlanillaPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("planilla"));
    auto* title = new QLabel(QStringLiteral("Docentes de la planilla"));
    search_ = new QLineEdit;
    search_->setObjectName(QStringLiteral("buscardocente"));
    search_->setPlaceholderText(QStringLiteral("Buscar docente"));
    search_->setAccessibleName(QStringLiteral("Buscar docente"));
    search_->setClearButtonEnabled(true);
    teachers_ = new QListView;
    teachers_->setObjectName(QStringLiteral("docentes"));
    teachers_->setAccessibleName(QStringLiteral("Docentes de la planilla"));
    teachers_->setUniformItemSizes(true);
    // Laid out a batch of rows at a time between events: a planilla of
    // hundreds of thousands of rows does not hold the window up.
    teachers_->setLayoutMode(QListView::Batched);
    teachers_->setBatchSize(2000);
    teachers_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Wide enough for a name and a position; a longer one ends in "…".
    teachers_->setMinimumWidth(teachers_->fontMetrics().averageCharWidth() * 36);
    teachers_->setTextElideMode(Qt::ElideRight);
    teachers_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    model_ = new TeachersModel(teachers_);
    teachers_->setModel(model_);
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
    connect(teachers_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!choosing_ && current.isValid())
                    emit teacherChosen(static_cast<std::size_t>(current.row()));
            });
    connect(newTeacher_, &QPushButton::clicked, this, &PlanillaPanel::newTeacherRequested);
}

void PlanillaPanel::list(const table::Planilla& table, const ProblemOf& problemOf)
{
    choosing_ = true;
    search_->clear();
    model_->show(&table, problemOf);
    setChosen(std::nullopt);
    choosing_ = false;
}

void PlanillaPanel::relist(std::size_t row)
{
    choosing_ = true;
    model_->rowChanged(row);
    choosing_ = false;
}

void PlanillaPanel::addNewTeacher()
{
    choosing_ = true;
    model_->setNewTeacher(true);
    choosing_ = false;
}

void PlanillaPanel::dropNewTeacher()
{
    choosing_ = true;
    model_->setNewTeacher(false);
    choosing_ = false;
}

void PlanillaPanel::setChosen(std::optional<std::size_t> row)
{
    const QModelIndex index = row ? model_->index(static_cast<int>(*row)) : QModelIndex();
    teachers_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    if (index.isValid())
        teachers_->scrollTo(index);
}

void PlanillaPanel::choose(std::optional<std::size_t> row)
{
    choosing_ = true;
    if (row && teachers_->isRowHidden(static_cast<int>(*row)))
        search_->clear();
    setChosen(row);
    choosing_ = false;
}

std::optional<std::size_t> PlanillaPanel::chosen() const
{
    const QModelIndex current = teachers_->currentIndex();
    return current.isValid() ? std::optional<std::size_t>(static_cast<std::size_t>(current.row())) : std::nullopt;
}

void PlanillaPanel::onSearch(const QString& text)
{
    const QString wanted = searchable(text);
    for (std::size_t row = 0; row < model_->tableRows(); ++row)
        teachers_->setRowHidden(static_cast<int>(row),
                                !wanted.isEmpty() && !model_->searchableName(row).contains(wanted));
}

}  // namespace recibo::app
