#include "planilla_panel.h"

#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalBlocker>
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
    // A teacher is chosen by a click on its row, or by Enter on the row the
    // arrows moved to (see eventFilter): moving through the list (Tab into
    // it, the arrows) only moves, so that reading the names aloud never
    // replaces the form.
    connect(teachers_, &QAbstractItemView::clicked, this, &PlanillaPanel::chooseListed);
    teachers_->installEventFilter(this);
    connect(newTeacher_, &QPushButton::clicked, this, &PlanillaPanel::newTeacherRequested);
}

void PlanillaPanel::chooseListed(const QModelIndex& index)
{
    if (index.isValid())
        emit teacherChosen(model_->tableRow(index.row()));
}

// Enter on the list chooses its row and goes no further: the entry window
// would press "Calcular" with it.
bool PlanillaPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == teachers_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            chooseListed(teachers_->currentIndex());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PlanillaPanel::list(const table::Planilla& table, const ProblemOf& problemOf)
{
    const QSignalBlocker quiet(search_);
    search_->clear();
    model_->show(&table, problemOf);
    setChosen(std::nullopt);
}

void PlanillaPanel::relist(std::size_t row)
{
    model_->rowChanged(row);
}

void PlanillaPanel::addNewTeacher()
{
    model_->setNewTeacher(true);
}

void PlanillaPanel::dropNewTeacher()
{
    model_->setNewTeacher(false);
}

void PlanillaPanel::setChosen(std::optional<std::size_t> row)
{
    chosen_ = row;
    const std::optional<int> listed = row ? model_->listRow(*row) : std::nullopt;
    const QModelIndex index = listed ? model_->index(*listed) : QModelIndex();
    teachers_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    if (index.isValid())
        teachers_->scrollTo(index);
}

void PlanillaPanel::choose(std::optional<std::size_t> row)
{
    if (row && !model_->listRow(*row))
        search_->clear();
    setChosen(row);
}

// The list shows the teachers found, the chosen one highlighted when it is
// among them.
void PlanillaPanel::onSearch(const QString& text)
{
    model_->search(searchable(text));
    setChosen(chosen_);
}

}  // namespace recibo::app
