#include "entry_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "payroll/seniority.h"
#include "widgets/window_helpers.h"

namespace recibo::entry {

namespace {

using payroll::CheckState;

CheckState stateOf(const QCheckBox* box)
{
    switch (box->checkState()) {
    case Qt::Checked: return CheckState::Checked;
    case Qt::PartiallyChecked: return CheckState::Grayed;
    case Qt::Unchecked: break;
    }
    return CheckState::Unchecked;
}

std::string textOf(const QLineEdit* box)
{
    return box->text().toStdString();
}

// One rule for every check box with a count: checked shows the count,
// unchecked hides it and puts it back to "0".
void bindCount(QCheckBox* check, QLineEdit* box, QLabel* label = nullptr)
{
    QObject::connect(check, &QCheckBox::toggled, box, [box, label](bool checked) {
        if (checked) {
            if (label)
                label->show();
            box->show();
        } else {
            box->hide();
            if (label)
                label->hide();
            box->setText("0");
        }
    });
}

}  // namespace

QString EntryWindow::seniorityText(int option) const
{
    return QString::fromStdString(payroll::seniorityBracket(option, *pay_).text);
}

// Every handler runs on a real change of its control only, whether the user
// or the program made it.
void EntryWindow::connectHandlers()
{
    // "Cargo" is handled on every click, keyboard included, also when it was
    // already selected: a click brings back the selection dialog after
    // "Listo" or after it was closed.
    connect(cargo_, &QRadioButton::clicked, this, [this](bool on) {
        if (on)
            onCargoSelected();
    });
    const auto whenLevelSelected = [this](QRadioButton* button, const HourCount& level, const HourCount& other) {
        connect(button, &QRadioButton::toggled, this, [this, &level, &other](bool on) {
            if (on)
                onHoursLevelSelected(level, other);
        });
    };
    whenLevelSelected(horasmedio_, medio_, superior_);
    whenLevelSelected(horassup_, superior_, medio_);

    connect(seniorityGroup_, &QButtonGroup::idToggled, this, [this](int option, bool on) {
        if (on)
            onSeniorityChosen(option);
    });
    connect(opincentivo_, &QCheckBox::toggled, this, &EntryWindow::onIncentivoToggled);

    // One signal for every change of the form: whoever keeps a copy of it
    // (the planilla) can tell when it differs.
    for (const QLineEdit* box : findChildren<QLineEdit*>())
        connect(box, &QLineEdit::textChanged, this, &EntryWindow::edited);
    for (const QAbstractButton* button : findChildren<QAbstractButton*>())
        connect(button, &QAbstractButton::toggled, this, &EntryWindow::edited);
    connect(zona_, &QComboBox::currentIndexChanged, this, &EntryWindow::edited);

    bindCount(inasist_, dinasist_);
    bindCount(hijos_, cantidadhijos_);
    bindCount(hijosdisc_, cantidadhijosdisc_);
    bindCount(transporte_, cantkm_, mensajekm_);
}

// ---- What the user did ----------------------------------------------------

void EntryWindow::onCargoSelected()
{
    emit positionChosen();
    clearHoursForAPosition();
}

// "Cargo": the hour counts hidden and back to "0".
void EntryWindow::clearHoursForAPosition()
{
    hideHourCounts();
    for (QLineEdit* box : {cod06_.box, incentivo_.box, cod113_.box, medio_.box})
        box->setText("0");
    superior_.box->hide();
    superior_.label->hide();
    superior_.box->setText("0");
}

// "Hs. N. Medio" or "Hs. N. Superior": that level's hours and the three
// other counts are shown, the other level's hidden and back to "0".
void EntryWindow::onHoursLevelSelected(const HourCount& level, const HourCount& other)
{
    for (const HourCount* count : std::initializer_list<const HourCount*>{&level, &cod06_, &incentivo_, &cod113_}) {
        count->label->show();
        count->box->show();
    }
    emit hoursChosen();
    hidePositionBlock();
    other.box->hide();
    other.label->hide();
    other.box->setText("0");
}

void EntryWindow::onSeniorityChosen(int option)
{
    const payroll::SeniorityBracket bracket = payroll::seniorityBracket(option, *pay_);
    porcantig_->setText(QString::fromStdString(bracket.text));
    pctantig_ = bracket.percent;
}

void EntryWindow::showScale(const QString& subtitle, const payroll::PayScale& pay)
{
    pay_ = &pay;
    subtitle_->setText(subtitle);
    for (QAbstractButton* button : seniorityGroup_->buttons())
        button->setToolTip(seniorityText(seniorityGroup_->id(button)));
    if (const int option = seniorityGroup_->checkedId(); option > 0)
        onSeniorityChosen(option);
}

void EntryWindow::onIncentivoToggled(bool checked)
{
    text1_->setText(checked ? "Si" : "No");
}

// ---- Requests from the other windows ---------------------------------------

void EntryWindow::showAcceptedPosition(const positions::PositionSelection::Accepted& accepted)
{
    positionBlockArea_->show();
    for (QLabel* label : positionBlock_)
        label->show();
    cargoselect_->setText(QString::fromStdString(accepted.cargoName));
    codcarval_->setText(QString::fromStdString(accepted.codcargo));
    puncarval_->setText(QString::fromStdString(accepted.punbas));
    punproljorval_->setText(QString::fromStdString(accepted.proljor));
    punjorcomval_->setText(QString::fromStdString(accepted.jorcom));
    puntardifval_->setText(QString::fromStdString(accepted.tardif));
    puncompbasval_->setText(QString::fromStdString(accepted.compbas));
}

void EntryWindow::deselectPosition()
{
    setKindOff(cargo_);
}

void EntryWindow::returnToDataEntry()
{
    setKindOff(cargo_);
    setKindOff(horasmedio_);
    setKindOff(horassup_);
    hidePositionBlock();
    for (const HourCount* count : {&medio_, &superior_}) {
        count->box->hide();
        count->label->hide();
    }
}

EntryWindow::~EntryWindow()
{
    widgets::stopHearingControls(this);
}

void EntryWindow::showInFront()
{
    widgets::showInFront(this);
}

void EntryWindow::closeEvent(QCloseEvent* event)
{
    if (closeGuard_ && !closeGuard_()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closedByUser();
}

// Only dialogs press their default button on Enter: in this window Enter
// presses the button that has the focus, and otherwise "Calcular".
void EntryWindow::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    QPushButton* button = focused ? focused : calcular_;
    if (button->isEnabled())
        button->click();
}

// Tab into the seniority options lands on the one chosen, which the arrows
// then change, as in any group of options.
bool EntryWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        QAbstractButton* chosen = seniorityGroup_->checkedButton();
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && chosen && chosen != watched) {
            chosen->setFocus(reason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EntryWindow::addFileMenu(QMenu* menu)
{
    menus_->insertMenu(scaleMenu_->menuAction(), menu);
}

void EntryWindow::setSidePanel(QWidget* panel)
{
    body_->insertWidget(0, panel);
}

// ---- Entering values --------------------------------------------------------

namespace {

Qt::CheckState qtState(payroll::CheckState state)
{
    switch (state) {
    case payroll::CheckState::Unchecked: return Qt::Unchecked;
    case payroll::CheckState::Checked: return Qt::Checked;
    case payroll::CheckState::Grayed: return Qt::PartiallyChecked;
    }
    return Qt::Unchecked;
}

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

}  // namespace

void EntryWindow::enter(const payroll::EntryValues& v)
{
    docente_->setText(text(v.docente));
    switch (v.kind) {
    // A position entered is handed over by the dialog without showing it:
    // a dialog shown and hidden at once would leave the keyboard with it.
    case payroll::EmploymentKind::Position:
        cargo_->setChecked(true);
        clearHoursForAPosition();
        break;
    case payroll::EmploymentKind::MiddleLevelHours: horasmedio_->click(); break;
    case payroll::EmploymentKind::HigherLevelHours: horassup_->click(); break;
    case payroll::EmploymentKind::None: returnToDataEntry(); break;
    }
    medio_.box->setText(text(v.numerohorasmed));
    superior_.box->setText(text(v.numerohorassup));
    cod06_.box->setText(text(v.numhorascod06));
    cod113_.box->setText(text(v.numhorascod113));

    if (QAbstractButton* option = seniorityGroup_->button(v.seniorityOption)) {
        option->click();
    } else {
        seniorityGroup_->setExclusive(false);
        for (QAbstractButton* button : seniorityGroup_->buttons())
            button->setChecked(false);
        seniorityGroup_->setExclusive(true);
        pctantig_ = v.pctantig;
        porcantig_->setText(text(v.porcantig));
    }
    zona_->setCurrentIndex(v.zona);

    opincentivo_->setCheckState(qtState(v.opincentivo));
    incentivo_.box->setText(text(v.numhorasincen));
    inasist_->setChecked(v.dinasist != "0");
    dinasist_->setText(text(v.dinasist));
    transporte_->setCheckState(qtState(v.transporte));
    hijos_->setCheckState(qtState(v.hijos));
    hijosdisc_->setCheckState(qtState(v.hijosdisc));
    cantkm_->setText(text(v.cantkm));
    cantidadhijos_->setText(text(v.cantidadhijos));
    cantidadhijosdisc_->setText(text(v.cantidadhijosdisc));
    conyuge_->setCheckState(qtState(v.conyuge));
    for (const auto& [box, state] : {std::pair{iosper_, v.iosper},
                                     {osplad_, v.osplad},
                                     {aportejub_, v.aportejub},
                                     {ley4035_, v.ley4035},
                                     {agmer_, v.agmer},
                                     {cajacomp_, v.cajacomp},
                                     {seguro3011_, v.seguro3011}})
        box->setCheckState(qtState(state));
}

// ---- Reading the values -----------------------------------------------------

payroll::EntryValues EntryWindow::values() const
{
    payroll::EntryValues v;
    v.docente = textOf(docente_);
    if (cargo_->isChecked())
        v.kind = payroll::EmploymentKind::Position;
    else if (horasmedio_->isChecked())
        v.kind = payroll::EmploymentKind::MiddleLevelHours;
    else if (horassup_->isChecked())
        v.kind = payroll::EmploymentKind::HigherLevelHours;

    v.numerohorasmed = textOf(medio_.box);
    v.numerohorassup = textOf(superior_.box);
    v.numhorascod06 = textOf(cod06_.box);
    v.numhorasincen = textOf(incentivo_.box);
    v.numhorascod113 = textOf(cod113_.box);

    v.seniorityOption = std::max(seniorityGroup_->checkedId(), 0);
    v.pctantig = pctantig_;
    v.porcantig = textOf(porcantig_);

    // The list's selection counts only while the box shows that item: a
    // text typed over it selects no zone.
    const int zone = zona_->currentIndex();
    v.zona = (zone >= 0 && zona_->currentText() == zona_->itemText(zone)) ? zone : -1;

    v.opincentivo = stateOf(opincentivo_);
    v.dinasist = textOf(dinasist_);
    v.transporte = stateOf(transporte_);
    v.cantkm = textOf(cantkm_);
    v.hijos = stateOf(hijos_);
    v.cantidadhijos = textOf(cantidadhijos_);
    v.hijosdisc = stateOf(hijosdisc_);
    v.cantidadhijosdisc = textOf(cantidadhijosdisc_);
    v.conyuge = stateOf(conyuge_);

    v.iosper = stateOf(iosper_);
    v.osplad = stateOf(osplad_);
    v.aportejub = stateOf(aportejub_);
    v.ley4035 = stateOf(ley4035_);
    v.agmer = stateOf(agmer_);
    v.cajacomp = stateOf(cajacomp_);
    v.seguro3011 = stateOf(seguro3011_);
    return v;
}

// ---- Shared steps -----------------------------------------------------------

void EntryWindow::hideHourCounts()
{
    medio_.box->hide();
    for (const HourCount* count : {&medio_, &cod06_, &incentivo_, &cod113_})
        count->label->hide();
    for (const HourCount* count : {&cod06_, &incentivo_, &cod113_})
        count->box->hide();
}

void EntryWindow::hidePositionBlock()
{
    for (QLabel* label : positionBlock_)
        label->hide();
    positionBlockArea_->hide();
}

// An exclusive group never lets its checked button go off by itself.
void EntryWindow::setKindOff(QRadioButton* button)
{
    kindGroup_->setExclusive(false);
    button->setChecked(false);
    kindGroup_->setExclusive(true);
}

}  // namespace recibo::entry
