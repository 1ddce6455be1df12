#include "selection_dialog.h"

#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "positions/catalogue.h"

namespace recibo::positions {

namespace {

using Box = PositionSelection::ValueBox;

constexpr const char* kFilledAutomatically = "Se selecciona automáticamente";

QLineEdit* valueBox(const char* name, const char* tip)
{
    auto* box = new QLineEdit;
    box->setObjectName(name);
    box->setToolTip(QString::fromUtf8(tip));
    box->setAlignment(Qt::AlignCenter);
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    QPalette colours = box->palette();
    colours.setColor(QPalette::Base, QColor(192, 255, 192));
    colours.setColor(QPalette::Text, QColor(0, 0, 128));
    box->setPalette(colours);
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance("0000000") + 16);
    return box;
}

void setTextIfDifferent(QLineEdit* box, const std::string& text)
{
    const QString wanted = QString::fromStdString(text);
    if (box->text() != wanted)
        box->setText(wanted);
}

}  // namespace

SelectionDialog::SelectionDialog(payroll::RegionalSettings settings, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(std::move(settings))
{
    setObjectName("advertencia");
    setWindowTitle("Selección de cargo");
    buildControls();
    layOut();
    showState();
    connectHandlers();
}

void SelectionDialog::buildControls()
{
    codcargo_ = valueBox("codcargo",
                         "Escriba el código del cargo. Si luego de escribir las tres cifras no se selecciona el "
                         "cargo, vuelva a elegir un código correcto.");
    punbas_ = valueBox("punbas", kFilledAutomatically);
    punbas_->setReadOnly(true);
    compbas_ = valueBox("compbas", kFilledAutomatically);
    proljor_ = valueBox("proljor", kFilledAutomatically);
    jorcom_ = valueBox("jorcom", kFilledAutomatically);
    tardif_ = valueBox("tardif", kFilledAutomatically);

    cargox_ = new QComboBox;
    cargox_->setObjectName("cargox");
    cargox_->setToolTip("Seleccione el cargo");
    cargox_->setEditable(true);
    cargox_->setInsertPolicy(QComboBox::NoInsert);
    cargox_->setMaxVisibleItems(20);
    for (const CatalogueRow& row : catalogue())
        cargox_->addItem(QString::fromUtf8(row.cargox.data(), static_cast<qsizetype>(row.cargox.size())));
    cargox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // Typing part of a name offers every position that contains it.
    cargox_->completer()->setCompletionMode(QCompleter::PopupCompletion);
    cargox_->completer()->setFilterMode(Qt::MatchContains);
    cargox_->completer()->setCaseSensitivity(Qt::CaseInsensitive);

    listo_ = new QPushButton("Listo");
    listo_->setObjectName("Command1");
    listo_->setDefault(true);
    salirSinDatos_ = new QPushButton("Salir sin datos");
    salirSinDatos_->setObjectName("Command2");
}

void SelectionDialog::layOut()
{
    auto* heading = new QLabel("Seleccione el cargo o el código del cargo");
    heading->setObjectName("Label1");
    heading->setAlignment(Qt::AlignCenter);
    heading->setAutoFillBackground(true);
    heading->setMargin(6);
    QPalette inverse = heading->palette();
    inverse.setColor(QPalette::Window, Qt::black);
    inverse.setColor(QPalette::WindowText, Qt::white);
    heading->setPalette(inverse);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    auto* grid = new QGridLayout;
    const QList<QPair<const char*, QLineEdit*>> columns = {
        {"Código del cargo", codcargo_}, {"Puntos básicos", punbas_}, {"Comp básico", compbas_},
        {"Prol. de jornada", proljor_},  {"Jorn. completa", jorcom_}, {"Tarea diferenc.", tardif_},
    };
    int column = 0;
    for (const auto& [caption, box] : columns) {
        auto* title = new QLabel(QString::fromUtf8(caption));
        title->setObjectName(QStringLiteral("Label%1").arg(column + 2));
        title->setAlignment(Qt::AlignCenter);
        title->setBuddy(box);
        box->setAccessibleName(title->text());
        grid->addWidget(title, 0, column);
        grid->addWidget(box, 1, column);
        ++column;
    }

    auto* nameTitle = new QLabel("Cargo");
    nameTitle->setObjectName("Label8");
    nameTitle->setBuddy(cargox_);
    cargox_->setAccessibleName(nameTitle->text());
    grid->addWidget(nameTitle, 2, 0, Qt::AlignRight);
    grid->addWidget(cargox_, 2, 1, 1, 5);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(listo_);
    buttons->addWidget(salirSinDatos_);
    grid->addLayout(buttons, 3, 4, 1, 2, Qt::AlignRight);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(grid);

    const QList<QWidget*> tabOrder = {codcargo_, punbas_, compbas_, proljor_, jorcom_,
                                      tardif_,   cargox_, listo_,   salirSinDatos_};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    codcargo_->setFocus();
}

void SelectionDialog::connectHandlers()
{
    connect(codcargo_, &QLineEdit::textChanged, this, &SelectionDialog::onCodeChanged);
    codcargo_->installEventFilter(this);
    connect(cargox_, &QComboBox::currentIndexChanged, this, &SelectionDialog::onNamePicked);
    connect(cargox_->lineEdit(), &QLineEdit::textEdited, this, &SelectionDialog::onNameTyped);
    const QList<QPair<QLineEdit*, Box>> editable = {
        {compbas_, Box::Compbas}, {proljor_, Box::Proljor}, {jorcom_, Box::Jorcom}, {tardif_, Box::Tardif}};
    for (const auto& [widget, box] : editable)
        connect(widget, &QLineEdit::textEdited, this, [this, box = box](const QString& text) { onValueEdited(box, text); });
    connect(listo_, &QPushButton::clicked, this, &SelectionDialog::onListo);
    connect(salirSinDatos_, &QPushButton::clicked, this, &SelectionDialog::onSalirSinDatos);
}

void SelectionDialog::open()
{
    show();
    raise();
    activateWindow();
}

bool SelectionDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == codcargo_ && event->type() == QEvent::MouseButtonPress)
        onCodeBoxClicked();
    return QWidget::eventFilter(watched, event);
}

// ---- What the user did ----------------------------------------------------

void SelectionDialog::onCodeChanged(const QString& text)
{
    if (showingState_)
        return;
    model_.setCode(text.toStdString());
    showState();
}

void SelectionDialog::onCodeBoxClicked()
{
    model_.clickCodeBox();
    showState();
}

void SelectionDialog::onNamePicked(int row)
{
    if (showingState_)
        return;
    model_.selectName(row >= 0 ? std::optional<int>(row) : std::nullopt);
    showState();
}

void SelectionDialog::onNameTyped(const QString& text)
{
    if (showingState_)
        return;
    model_.setNameText(text.toStdString());
    showState();
}

void SelectionDialog::onValueEdited(Box box, const QString& text)
{
    if (showingState_)
        return;
    model_.setValue(box, text.toStdString());
    showState();
}

void SelectionDialog::onListo()
{
    const PositionSelection::Accepted accepted = model_.listo(settings_);
    emit listoPressed(accepted);
    hide();
}

void SelectionDialog::onSalirSinDatos()
{
    model_.salirSinDatos();
    showState();
    hide();
    emit salirSinDatosPressed();
}

// ---- The model's state into the widgets ------------------------------------

void SelectionDialog::showState()
{
    showingState_ = true;
    setTextIfDifferent(codcargo_, model_.code());
    setTextIfDifferent(punbas_, model_.value(Box::Punbas));
    setTextIfDifferent(compbas_, model_.value(Box::Compbas));
    setTextIfDifferent(proljor_, model_.value(Box::Proljor));
    setTextIfDifferent(jorcom_, model_.value(Box::Jorcom));
    setTextIfDifferent(tardif_, model_.value(Box::Tardif));

    const int row = model_.nameRow().value_or(-1);
    if (cargox_->currentIndex() != row)
        cargox_->setCurrentIndex(row);
    const QString name = QString::fromStdString(model_.nameText());
    if (cargox_->currentText() != name)
        cargox_->setEditText(name);

    listo_->setEnabled(model_.listoEnabled());
    showingState_ = false;
}

}  // namespace recibo::positions
