#pragma once

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

#include "payroll/entry_values.h"
#include "payroll/pay_scale.h"
#include "positions/position_selection.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QHBoxLayout;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;

namespace recibo::entry {

// The entry window "ingreso": the teacher's employment, seniority, zone,
// hours, allowances and deductions. It computes nothing; its handlers only
// show, hide and reset its own fields and keep the seniority percentage.
// What concerns other windows is announced through signals.
class EntryWindow : public QWidget {
    Q_OBJECT
public:
    explicit EntryWindow(QWidget* parent = nullptr);
    ~EntryWindow() override;

    // The values the calculation reads, exactly as the controls hold them.
    payroll::EntryValues values() const;

    // "Listo" in the selection dialog: the position block shows the accepted
    // position.
    void showAcceptedPosition(const positions::PositionSelection::Accepted& accepted);
    // Switches "Cargo" off without running its handling.
    void deselectPosition();
    // The position block hidden: no position shows that "Calcular" would
    // not use ("Salir sin datos", or a scale without the code handed over).
    void hidePositionBlock();
    // Sets every control to `values` as a user would, through the controls'
    // own handlers: the kind of employment first (for a position, "Cargo" on
    // without bringing up the dialog, whose "Listo" then completes it), then
    // the texts it reset, the seniority, the zone and the check boxes with
    // their counts. A seniority or kind left empty leaves them all off, as at
    // program start.
    void enter(const payroll::EntryValues& values);
    // "Volver" on the receipt: no kind of employment is chosen any more, and
    // the position block and the two hour counts are hidden.
    void returnToDataEntry();

    void showInFront();

    // The menu bar's "Escala" menu, which the program fills.
    QMenu* scaleMenu() const { return scaleMenu_; }
    // The "Archivo" menu, first in the menu bar.
    void addFileMenu(QMenu* menu);
    // A panel beside the form, on its left (the planilla's teachers).
    void setSidePanel(QWidget* panel);
    // Asked before the window closes from its title bar; false keeps it open.
    void setCloseGuard(std::function<bool()> guard) { closeGuard_ = std::move(guard); }
    // The chosen pay scale (which must outlive the window): its subtitle under
    // the title, and its seniority percentages, also for an option already on.
    void showScale(const QString& subtitle, const payroll::PayScale& pay);

signals:
    void positionChosen();  // "Cargo" clicked, whether it was selected before or not
    void hoursChosen();     // "Hs. N. Medio" or "Hs. N. Superior" became selected
    void calcularPressed();
    void salirPressed();
    void closedByUser();  // the title bar's close button
    void edited();        // any control's value changed, by the user or the program

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window is built by these steps, top to bottom.
    QLayout* buildTeacherRow();
    QGroupBox* buildKindOfEmployment();
    QWidget* buildPositionBlock();
    QGroupBox* buildOtherData();
    QGroupBox* buildSeniority();
    QGroupBox* buildDeductions();
    QLayout* buildButtons();
    void connectHandlers();
    void setTabOrderDownTheForm();

    // What the user did.
    void onCargoSelected();
    void clearHoursForAPosition();
    struct HourCount;
    void onHoursLevelSelected(const HourCount& level, const HourCount& other);
    void onSeniorityChosen(int option);
    void onIncentivoToggled(bool checked);

    QString seniorityText(int option) const;  // "30 %"
    void hideHourCounts();
    void setKindOff(QRadioButton* button);

    const payroll::PayScale* pay_ = &payroll::builtInPayScale();
    QMenu* scaleMenu_ = nullptr;
    QMenuBar* menus_ = nullptr;
    std::function<bool()> closeGuard_;
    QHBoxLayout* body_ = nullptr;
    QLabel* subtitle_ = nullptr;
    QLineEdit* docente_ = nullptr;
    QButtonGroup* kindGroup_ = nullptr;
    QRadioButton* cargo_ = nullptr;
    QRadioButton* horasmedio_ = nullptr;
    QRadioButton* horassup_ = nullptr;

    // Hour counts and their labels: numerohorasmed, numerohorassup,
    // numhorascod06, numhorasincen, numhorascod113.
    struct HourCount {
        QLabel* label = nullptr;
        QLineEdit* box = nullptr;
    };
    HourCount medio_, superior_, cod06_, incentivo_, cod113_;

    // The position block, in the order in which "Listo" shows it.
    std::array<QLabel*, 13> positionBlock_{};
    // Their container, which shares its place with the hour counts: shown
    // only with them, so that it never lies over the hour boxes.
    QWidget* positionBlockArea_ = nullptr;
    QLabel* cargoselect_ = nullptr;
    QLabel* codcarval_ = nullptr;
    QLabel* puncarval_ = nullptr;
    QLabel* punproljorval_ = nullptr;
    QLabel* punjorcomval_ = nullptr;
    QLabel* puntardifval_ = nullptr;
    QLabel* puncompbasval_ = nullptr;

    QCheckBox* opincentivo_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QCheckBox* transporte_ = nullptr;
    QLabel* mensajekm_ = nullptr;
    QLineEdit* cantkm_ = nullptr;
    QComboBox* zona_ = nullptr;
    QCheckBox* inasist_ = nullptr;
    QLineEdit* dinasist_ = nullptr;
    QCheckBox* hijos_ = nullptr;
    QLineEdit* cantidadhijos_ = nullptr;
    QCheckBox* hijosdisc_ = nullptr;
    QLineEdit* cantidadhijosdisc_ = nullptr;
    QCheckBox* conyuge_ = nullptr;

    QButtonGroup* seniorityGroup_ = nullptr;
    QLineEdit* porcantig_ = nullptr;
    std::uint8_t pctantig_ = 0;

    QCheckBox* iosper_ = nullptr;
    QCheckBox* osplad_ = nullptr;
    QCheckBox* agmer_ = nullptr;
    QCheckBox* aportejub_ = nullptr;
    QCheckBox* cajacomp_ = nullptr;
    QCheckBox* ley4035_ = nullptr;
    QCheckBox* seguro3011_ = nullptr;

    QPushButton* calcular_ = nullptr;
};

}  // namespace recibo::entry
