#include "selection_dialog.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "catalogue_names.h"
#include "positions/catalogue.h"
#include "widgets/announcer.h"
#include "widgets/window_helpers.h"

namespace recibo::selection {

namespace {

using positions::catalogue;
using positions::CatalogueRow;
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

constexpr int kCodeRole = CatalogueNames::kCodeRole;

// A name-list row in the drop-down lists: the name as the list holds it,
// and the row's code right-aligned in grey. The name the box shows once
// picked, and the text "Calcular" reads, stay the bare name.
class CodeBesideName : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QWidget* widget = item.widget;
        const QStyle* style = widget ? widget->style() : QApplication::style();
        const QString name = item.text;
        item.text.clear();  // the background, selection and focus only
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        item.text = name;

        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect text =
            style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget).adjusted(margin, 0, -margin, 0);
        const QString code = index.data(kCodeRole).toString();
        const QRect nameRect = text.adjusted(0, 0, -(item.fontMetrics.horizontalAdvance(code) + gap(item)), 0);
        const bool selected = item.state & QStyle::State_Selected;
        const QPalette::ColorGroup group = item.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
        QColor nameColour = item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
        QColor codeColour = nameColour;
        codeColour.setAlphaF(0.55);

        painter->save();
        painter->setFont(item.font);
        painter->setPen(nameColour);
        painter->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
                          item.fontMetrics.elidedText(name, Qt::ElideRight, nameRect.width()));
        painter->setPen(codeColour);
        painter->drawText(text, Qt::AlignRight | Qt::AlignVCenter, code);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.rwidth() += option.fontMetrics.horizontalAdvance(index.data(kCodeRole).toString()) + gap(option);
        return size;
    }

private:
    static int gap(const QStyleOptionViewItem& option) { return option.fontMetrics.horizontalAdvance("MM"); }
};

void setTextIfDifferent(QLineEdit* box, const std::string& text)
{
    const QString wanted = QString::fromStdString(text);
    if (box->text() != wanted)
        box->setText(wanted);
}

}  // namespace

SelectionDialog::SelectionDialog(payroll::RegionalSettings settings, QWidget* parent,
                                 const positions::Catalogue& catalogue)
    : QWidget(parent, Qt::Dialog), model_(catalogue), beforeOpening_(catalogue), settings_(std::move(settings))
{
    setObjectName("advertencia");
    setWindowTitle("Selección de cargo");
    buildControls();
    layOut();
    showState();
    connectHandlers();
}

SelectionDialog::~SelectionDialog()
{
    widgets::stopHearingControls(this);
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
    // The list's text box, with the moment QComboBox handles its Enter and
    // its leaving marked on both sides: connections run in the order made.
    auto* nameBox = new QLineEdit;
    for (auto signal : {&QLineEdit::returnPressed, &QLineEdit::editingFinished})
        connect(nameBox, signal, this, [this] { nameTextFinishing_ = true; });
    cargox_->setLineEdit(nameBox);
    for (auto signal : {&QLineEdit::returnPressed, &QLineEdit::editingFinished})
        connect(nameBox, signal, this, [this] { nameTextFinishing_ = false; });
    cargox_->setInsertPolicy(QComboBox::NoInsert);
    cargox_->setMaxVisibleItems(20);
    cargox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cargox_->setItemDelegate(new CodeBesideName(cargox_));
    cargox_->setModel(new CatalogueNames(model_.catalogue(), cargox_));
    fitNameListWidth();
    // Typing part of a name offers every position that contains it, each
    // with its code; picking one of them picks that row.
    cargox_->completer()->setCompletionMode(QCompleter::PopupCompletion);
    cargox_->completer()->setFilterMode(Qt::MatchContains);
    cargox_->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    cargox_->completer()->popup()->setItemDelegate(new CodeBesideName(cargox_->completer()->popup()));

    listo_ = new QPushButton("Listo");
    listo_->setObjectName("Command1");
    listo_->setDefault(true);
    salirSinDatos_ = new QPushButton("Salir sin datos");
    salirSinDatos_->setObjectName("Command2");
    announcer_ = new widgets::Announcer(this);
}

// The drop-down list as wide as its widest row, code included.
void SelectionDialog::fitNameListWidth()
{
    cargox_->view()->setMinimumWidth(cargox_->view()->sizeHintForColumn(0) + 2 * cargox_->view()->frameWidth());
}

void SelectionDialog::setCatalogue(const positions::Catalogue& catalogue)
{
    showingState_ = true;
    model_.setCatalogue(catalogue);
    beforeOpening_.setCatalogue(catalogue);
    static_cast<CatalogueNames*>(cargox_->model())->show(model_.catalogue());
    fitNameListWidth();
    showingState_ = false;
    showState();
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

    const QList<QWidget*> tabOrder = {codcargo_, punbas_, compbas_, proljor_,      jorcom_,
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
        connect(widget, &QLineEdit::textEdited, this,
                [this, box = box](const QString& text) { onValueEdited(box, text); });
    connect(listo_, &QPushButton::clicked, this, &SelectionDialog::onListo);
    connect(salirSinDatos_, &QPushButton::clicked, this, &SelectionDialog::onSalirSinDatos);
}

void SelectionDialog::open()
{
    beforeOpening_ = model_;
    announcedRow_ = model_.nameRow().value_or(-1);
    if (QWidget* owner = parentWidget())
        widgets::showOver(this, owner->window());
    else
        widgets::showInFront(this);
    codcargo_->setFocus(Qt::OtherFocusReason);
    codcargo_->selectAll();
    // The window manager activates the window a moment later, and the focus
    // events of that can drop the selection: it is made again then, unless
    // the user went elsewhere first.
    selectCodeOnActivation_ = true;
}

void SelectionDialog::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !selectCodeOnActivation_)
        return;
    selectCodeOnActivation_ = false;
    if (focusWidget() == codcargo_)
        codcargo_->selectAll();
}

// Closing the window, as a cancel anywhere, leaves the dialog as it was
// when it opened: the position "Calcular" uses is the one the entry window
// shows, not what was typed and then closed away.
void SelectionDialog::closeEvent(QCloseEvent* event)
{
    model_ = beforeOpening_;
    showState();
    event->accept();
}

bool SelectionDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == codcargo_ && event->type() == QEvent::MouseButtonPress)
        onCodeBoxClicked();
    return QWidget::eventFilter(watched, event);
}

// Only dialogs press their default button on Enter: here Enter presses the
// button that has the focus, and otherwise "Listo" when it is in use;
// Escape is "Salir sin datos".
void SelectionDialog::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if ((!enter && key != Qt::Key_Escape) || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    QPushButton* button = key == Qt::Key_Escape ? salirSinDatos_ : focused ? focused : listo_;
    if (button->isEnabled())
        button->click();
}

// ---- What the user did ----------------------------------------------------

void SelectionDialog::onCodeChanged(const QString& text)
{
    if (showingState_)
        return;
    model_.setCode(text.toStdString());
    showState();
    announceChoice();
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
    if (nameTextFinishing_) {
        // A typed name selects nothing: the row goes back, the text stays.
        showState();
        return;
    }
    model_.selectName(row >= 0 ? std::optional<int>(row) : std::nullopt);
    showState();
    announceChoice();
}

void SelectionDialog::onNameTyped(const QString& text)
{
    if (showingState_)
        return;
    model_.setNameText(text.toStdString());
    showState();
    announceChoice();
}

void SelectionDialog::onValueEdited(Box box, const QString& text)
{
    if (showingState_)
        return;
    model_.setValue(box, text.toStdString());
    showState();
}

void SelectionDialog::enter(const std::optional<std::string>& code, const std::array<std::string, 5>& typed)
{
    model_ = PositionSelection(model_.catalogue());
    showState();
    if (code)
        onCodeChanged(QString::fromStdString(*code));
    constexpr std::array<Box, 5> kBoxes = {Box::Punbas, Box::Compbas, Box::Proljor, Box::Jorcom, Box::Tardif};
    for (std::size_t i = 0; i < kBoxes.size(); ++i)
        if (!typed[i].empty())
            onValueEdited(kBoxes[i], QString::fromStdString(typed[i]));
    onListo();
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

// Typed digits are echoed one by one and a name repeated in the list sounds
// the same on every row: neither tells which position is now chosen.
void SelectionDialog::announceChoice()
{
    const int row = model_.nameRow().value_or(-1);
    if (row == announcedRow_)
        return;
    announcedRow_ = row;
    if (row >= 0)
        announcer_->announce(cargox_->itemData(row, Qt::AccessibleTextRole).toString());
}

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

}  // namespace recibo::selection
