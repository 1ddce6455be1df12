#include "entry_window.h"

#include "payroll/pay_scale.h"
#include "payroll/seniority.h"
#include "payroll/zones.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

// The entry window's controls and their places: built step by step, each
// frame by its own function.

namespace recibo::entry {

namespace {

template <typename W>
W* named(W* widget, const char* name, const char* tip = nullptr)
{
    widget->setObjectName(name);
    if (tip)
        widget->setToolTip(QString::fromUtf8(tip));
    return widget;
}

QLineEdit* countBox(const char* name, const char* tip, const QString& accessibleName)
{
    auto* box = named(new QLineEdit("0"), name, tip);
    box->setAccessibleName(accessibleName);
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance("000000000") + 12);
    return box;
}

// A caption that names its field: the buddy for the mnemonic and the name a
// screen reader announces.
QLabel* labelFor(const char* name, const char* caption, QWidget* field)
{
    auto* label = named(new QLabel(QString::fromUtf8(caption)), name);
    label->setBuddy(field);
    field->setAccessibleName(label->text());
    return label;
}

// Hidden fields keep their place, so that showing one never moves the others.
void hideKeepingPlace(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
    widget->hide();
}

}  // namespace

EntryWindow::EntryWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("ingreso");
    setWindowTitle("Ingreso de datos");

    auto* title = named(new QLabel("Recibo de haberes docentes"), "Label8");
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.4);
    title->setFont(titleFont);
    subtitle_ = named(new QLabel("Desde Septiembre de 2.010"), "Label9");

    auto* columns = new QGridLayout;
    columns->addWidget(buildKindOfEmployment(), 0, 0);
    columns->addWidget(buildOtherData(), 1, 0);
    columns->addWidget(buildSeniority(), 0, 1, 2, 1);
    columns->addWidget(buildDeductions(), 0, 2, 2, 1, Qt::AlignTop);
    columns->setRowStretch(2, 1);

    // The form, with room beside it for the planilla's teachers.
    auto* form = new QVBoxLayout;
    form->addWidget(title);
    form->addWidget(subtitle_);
    form->addLayout(buildTeacherRow());
    form->addLayout(columns);
    form->addStretch(1);
    form->addLayout(buildButtons());
    body_ = new QHBoxLayout(this);
    body_->addLayout(form, 1);
    // The menu bar a main window has; the program fills "Archivo" and "Escala".
    menus_ = new QMenuBar(this);
    menus_->setObjectName("menu");
    scaleMenu_ = menus_->addMenu("&Escala");
    scaleMenu_->setObjectName("mnuEscala");
    body_->setMenuBar(menus_);

    connectHandlers();
    setTabOrderDownTheForm();
}

// ---- Building -------------------------------------------------------------

QLayout* EntryWindow::buildTeacherRow()
{
    docente_ = named(new QLineEdit, "docente");
    auto* row = new QHBoxLayout;
    row->addWidget(labelFor("Label1", "Apellido y nombre:", docente_));
    row->addWidget(docente_, 1);
    return row;
}

QGroupBox* EntryWindow::buildKindOfEmployment()
{
    cargo_ = named(new QRadioButton("Cargo"), "cargo", "Seleccione para evaluar un cargo");
    horasmedio_ = named(new QRadioButton("Hs. N. Medio"), "horasmedio", "Seleccione para evaluar horas de nivel medio");
    horassup_ =
        named(new QRadioButton("Hs. N. Superior"), "horassup", "Seleccione para evaluar horas de nivel superior");
    kindGroup_ = new QButtonGroup(this);
    kindGroup_->addButton(cargo_);
    kindGroup_->addButton(horasmedio_);
    kindGroup_->addButton(horassup_);

    auto* kinds = new QHBoxLayout;
    kinds->addWidget(cargo_);
    kinds->addWidget(horasmedio_);
    kinds->addWidget(horassup_);
    kinds->addStretch(1);

    const auto hourCount = [](const char* name, const char* labelName, const char* caption) {
        HourCount count;
        count.box = countBox(name, "Ingrese la cantidad de horas", QString());
        count.label = labelFor(labelName, caption, count.box);
        return count;
    };
    medio_ = hourCount("numerohorasmed", "Label3", "Número de horas N. Medio");
    superior_ = hourCount("numerohorassup", "Label4", "Número de horas N. Superior");
    cod06_ = hourCount("numhorascod06", "Label5", "Número de horas con código 06");
    incentivo_ = hourCount("numhorasincen", "Label6", "Número de horas con incentivo");
    cod113_ = hourCount("numhorascod113", "Label7", "Número de horas con código 113");

    auto* hourFields = new QWidget;
    auto* hours = new QGridLayout(hourFields);
    hours->setContentsMargins(0, 6, 0, 0);
    int row = 0;
    for (const HourCount* count : {&medio_, &superior_, &cod06_, &incentivo_, &cod113_}) {
        hours->addWidget(count->label, row, 0);
        hours->addWidget(count->box, row, 1);
        hideKeepingPlace(count->label);
        hideKeepingPlace(count->box);
        ++row;
    }
    hours->setColumnStretch(2, 1);
    hours->setRowStretch(row, 1);

    // The hour counts and the position block take turns in one place: the
    // hours options hide the block, and "Cargo" hides the hour counts before
    // "Listo" can show the block.
    auto* details = new QGridLayout;
    details->addWidget(hourFields, 0, 0);
    details->addWidget(buildPositionBlock(), 0, 0, Qt::AlignTop);

    auto* frame = new QGroupBox("Categoría");
    frame->setObjectName("Frame1");
    auto* layout = new QVBoxLayout(frame);
    layout->addLayout(kinds);
    layout->addLayout(details);
    layout->addStretch(1);
    return frame;
}

QWidget* EntryWindow::buildPositionBlock()
{
    const auto title = [](const char* name, const char* caption) {
        return named(new QLabel(QString::fromUtf8(caption)), name);
    };
    const auto value = [this](const char* name) {
        auto* label = named(new QLabel, name);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(fontMetrics().horizontalAdvance("0000000") + 8);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return label;
    };

    cargoselect_ = named(new QLabel, "cargoselect");
    QFont bold = cargoselect_->font();
    bold.setBold(true);
    cargoselect_->setFont(bold);
    cargoselect_->setWordWrap(true);
    cargoselect_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    QLabel* codcartit = title("codcartit", "Código del cargo");
    codcarval_ = value("codcarval");
    QLabel* puncartit = title("puncartit", "Puntaje del cargo");
    puncarval_ = value("puncarval");
    QLabel* punproljortit = title("punproljortit", "Puntos prol jorn");
    punproljorval_ = value("punproljorval");
    QLabel* punjorcomtit = title("punjorcomtit", "Puntos Jor comp");
    punjorcomval_ = value("punjorcomval");
    QLabel* puntardiftit = title("puntardiftit", "Puntos tarea difer");
    puntardifval_ = value("puntardifval");
    QLabel* puncompbastit = title("puncompbastit", "Comp de Básico");
    puncompbasval_ = value("puncompbasval");

    positionBlock_ = {cargoselect_,  codcartit,      codcarval_,    puncartit,     puncarval_,
                      punproljortit, punproljorval_, punjorcomtit,  punjorcomval_, puntardiftit,
                      puntardifval_, puncompbastit,  puncompbasval_};

    auto* block = new QWidget;
    block->setObjectName("bloquecargo");
    positionBlockArea_ = block;
    auto* grid = new QGridLayout(block);
    grid->setContentsMargins(0, 6, 0, 0);
    grid->addWidget(cargoselect_, 0, 0, 1, 4);
    grid->addWidget(codcartit, 1, 0);
    grid->addWidget(codcarval_, 1, 1);
    grid->addWidget(puncartit, 1, 2);
    grid->addWidget(puncarval_, 1, 3);
    grid->addWidget(puncompbastit, 2, 0);
    grid->addWidget(puncompbasval_, 2, 1);
    grid->addWidget(punproljortit, 2, 2);
    grid->addWidget(punproljorval_, 2, 3);
    grid->addWidget(punjorcomtit, 3, 0);
    grid->addWidget(punjorcomval_, 3, 1);
    grid->addWidget(puntardiftit, 3, 2);
    grid->addWidget(puntardifval_, 3, 3);
    for (QLabel* label : positionBlock_)
        hideKeepingPlace(label);
    hideKeepingPlace(block);
    return block;
}

QGroupBox* EntryWindow::buildOtherData()
{
    opincentivo_ = named(new QCheckBox("Incentivo en cargos"), "opincentivo", "Deshabilite si no se cobra");
    opincentivo_->setChecked(true);
    text1_ = named(new QLineEdit("Si"), "Text1");
    text1_->setAccessibleName(opincentivo_->text());
    text1_->setMaximumWidth(text1_->fontMetrics().horizontalAdvance("No") + 24);

    zona_ = named(new QComboBox, "zona");
    zona_->setEditable(true);
    zona_->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string_view zone : payroll::kZoneNames)
        zona_->addItem(QString::fromUtf8(zone.data(), static_cast<qsizetype>(zone.size())));
    zona_->setCurrentIndex(-1);
    zona_->setEditText("Ubicación Escuela (Zona)");
    zona_->setAccessibleName("Ubicación Escuela (Zona)");
    // On Linux a screen reader names an editable list by its label, and
    // reads the chosen zone as the list's name once there is one: a label
    // that is never shown names it instead of the text it starts with.
    auto* zoneLabel = named(new QLabel(zona_->accessibleName()), "zoneLabel");
    zoneLabel->setBuddy(zona_);
    zoneLabel->setVisible(false);

    transporte_ = named(new QCheckBox("Transporte"), "transporte");
    cantkm_ = countBox("cantkm", "¿Cuántos Km semanales?", QString());
    mensajekm_ = labelFor("mensajekm", "cantidad de km semanales", cantkm_);

    inasist_ = named(new QCheckBox("Inasistencias Just"), "inasist", "Haga Click si tiene inasistencias");
    dinasist_ = countBox("dinasist", "Cantidad de días.", "Inasistencias Just: cantidad de días");
    hijos_ = named(new QCheckBox("Hijos"), "hijos");
    cantidadhijos_ = countBox("cantidadhijos", "¿Cuántos Hijos?", "Hijos: cantidad");
    hijosdisc_ = named(new QCheckBox("Hijos Diferenc"), "hijosdisc");
    cantidadhijosdisc_ = countBox("cantidadhijosdisc", "¿Cuántos Hijos?", "Hijos Diferenc: cantidad");
    conyuge_ = named(new QCheckBox("Conyuge"), "conyuge");

    auto* grid = new QGridLayout;
    grid->addWidget(opincentivo_, 0, 0);
    grid->addWidget(text1_, 0, 1);
    grid->addWidget(zona_, 1, 0, 1, 3);
    grid->addWidget(transporte_, 2, 0);
    grid->addWidget(mensajekm_, 2, 1);
    grid->addWidget(cantkm_, 2, 2);
    grid->addWidget(inasist_, 3, 0);
    grid->addWidget(dinasist_, 3, 1);
    grid->addWidget(hijos_, 4, 0);
    grid->addWidget(cantidadhijos_, 4, 1);
    grid->addWidget(hijosdisc_, 5, 0);
    grid->addWidget(cantidadhijosdisc_, 5, 1);
    grid->addWidget(conyuge_, 6, 0);
    grid->setColumnStretch(3, 1);
    for (QWidget* hidden :
         {static_cast<QWidget*>(mensajekm_), static_cast<QWidget*>(cantkm_), static_cast<QWidget*>(dinasist_),
          static_cast<QWidget*>(cantidadhijos_), static_cast<QWidget*>(cantidadhijosdisc_)})
        hideKeepingPlace(hidden);

    auto* frame = new QGroupBox;
    frame->setObjectName("Frame4");
    frame->setLayout(grid);
    zoneLabel->setParent(frame);
    return frame;
}

QGroupBox* EntryWindow::buildSeniority()
{
    auto* frame = new QGroupBox("Antigüedad");
    frame->setObjectName("Frame3");
    auto* layout = new QVBoxLayout(frame);
    seniorityGroup_ = new QButtonGroup(this);
    for (int option = 1; option <= payroll::kSeniorityOptions; ++option) {
        const QByteArray name = "Option" + QByteArray::number(option);
        const std::string_view caption = payroll::kSeniorityCaptions[static_cast<std::size_t>(option - 1)];
        auto* button = new QRadioButton(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
        button->setObjectName(QString::fromLatin1(name));
        button->setToolTip(seniorityText(option));
        seniorityGroup_->addButton(button, option);
        button->installEventFilter(this);
        layout->addWidget(button);
    }
    porcantig_ = named(new QLineEdit("0 %"), "porcantig", "Porcentaje de Antigüedad");
    porcantig_->setReadOnly(true);
    porcantig_->setAccessibleName("Porcentaje de Antigüedad");
    porcantig_->setMaximumWidth(porcantig_->fontMetrics().horizontalAdvance("000 %") + 16);
    layout->addWidget(porcantig_);
    layout->addStretch(1);
    return frame;
}

QGroupBox* EntryWindow::buildDeductions()
{
    auto* frame = new QGroupBox("Descuentos");
    frame->setObjectName("Frame2");
    auto* layout = new QVBoxLayout(frame);
    const auto deduction = [layout](const char* name, const char* caption) {
        auto* box = named(new QCheckBox(QString::fromUtf8(caption)), name);
        layout->addWidget(box);
        return box;
    };
    iosper_ = deduction("Iosper", "IOSPER");
    osplad_ = deduction("Osplad", "OSPLAD");
    agmer_ = deduction("AGMER", "AGMER");
    aportejub_ = deduction("APORTEJUB", "Aporte jubilatorio");
    cajacomp_ = deduction("cajacomp", "Caja compensadora");
    ley4035_ = deduction("Ley4035", "Ley 4035");
    seguro3011_ = deduction("Seguro3011", "Seguro (3011)");
    return frame;
}

QLayout* EntryWindow::buildButtons()
{
    calcular_ = named(new QPushButton("Calcular"), "Command1", "Genera el recibo");
    calcular_->setDefault(true);
    auto* salir = named(new QPushButton("Salir"), "Command2");
    connect(calcular_, &QPushButton::clicked, this, &EntryWindow::calcularPressed);
    connect(salir, &QPushButton::clicked, this, &EntryWindow::salirPressed);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(calcular_);
    row->addWidget(salir);
    return row;
}

void EntryWindow::setTabOrderDownTheForm()
{
    QList<QWidget*> order = {
        docente_,       cargo_,      horasmedio_,  horassup_,      medio_.box, superior_.box,      cod06_.box,
        incentivo_.box, cod113_.box, opincentivo_, text1_,         zona_,      transporte_,        cantkm_,
        inasist_,       dinasist_,   hijos_,       cantidadhijos_, hijosdisc_, cantidadhijosdisc_, conyuge_};
    for (QAbstractButton* option : seniorityGroup_->buttons())
        order.append(option);
    order << porcantig_ << iosper_ << osplad_ << agmer_ << aportejub_ << cajacomp_ << ley4035_ << seguro3011_
          << calcular_ << findChild<QWidget*>("Command2");
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    docente_->setFocus();
}

}  // namespace recibo::entry
