#pragma once

#include <array>
#include <optional>
#include <string>

#include <QWidget>

#include "payroll/regional_settings.h"
#include "positions/position_selection.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace recibo::widgets {
class Announcer;
}

namespace recibo::selection {

using positions::PositionSelection;

// The dialog "advertencia" ("Selección de cargo"): a view over
// PositionSelection. What the user does goes to the model; the model's state
// is then shown in the widgets, with the widgets' own change signals ignored
// while that happens.
class SelectionDialog : public QWidget {
    Q_OBJECT
public:
    // The names and codes are `catalogue`'s, which must outlive the dialog.
    explicit SelectionDialog(payroll::RegionalSettings settings, QWidget* parent = nullptr,
                             const positions::Catalogue& catalogue = positions::catalogue());

    ~SelectionDialog() override;

    const PositionSelection& selection() const { return model_; }

    // Another scale's catalogue (which must outlive the dialog): its names in
    // the list, and the code handled again over its rows.
    void setCatalogue(const positions::Catalogue& catalogue);

    // Shows the dialog, modeless, in front of the other windows, with the
    // code box's whole text selected so that a code typed at once replaces it.
    void open();

    // A position chosen by hand, from the dialog as it first opens: the code
    // typed into the code box (when there is one), the point boxes typed
    // over where `typed` holds a text (punbas, compbas, proljor, jorcom,
    // tardif), then "Listo".
    void enter(const std::optional<std::string>& code, const std::array<std::string, 5>& typed);

signals:
    void listoPressed(const recibo::positions::PositionSelection::Accepted& accepted);
    void salirSinDatosPressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void fitNameListWidth();
    void layOut();
    void connectHandlers();

    // What the user did.
    void onCodeChanged(const QString& text);
    void onCodeBoxClicked();
    void onNamePicked(int row);
    void onNameTyped(const QString& text);
    void onValueEdited(PositionSelection::ValueBox box, const QString& text);
    void onListo();
    void onSalirSinDatos();

    void showState();
    // Says the position chosen when what the user typed or picked changed it.
    void announceChoice();

    PositionSelection model_;
    PositionSelection beforeOpening_;  // the state the last opening found
    payroll::RegionalSettings settings_;
    bool showingState_ = false;
    bool selectCodeOnActivation_ = false;
    // The name list's own text handling is running: on Enter or on leaving
    // the box, QComboBox selects the first row whose name equals the typed
    // text, which is a search by name that this dialog never does.
    bool nameTextFinishing_ = false;
    int announcedRow_ = -1;  // the catalogue row last announced as chosen

    QLineEdit* codcargo_ = nullptr;
    QLineEdit* punbas_ = nullptr;
    QLineEdit* compbas_ = nullptr;
    QLineEdit* proljor_ = nullptr;
    QLineEdit* jorcom_ = nullptr;
    QLineEdit* tardif_ = nullptr;
    QComboBox* cargox_ = nullptr;
    QPushButton* listo_ = nullptr;
    QPushButton* salirSinDatos_ = nullptr;
    widgets::Announcer* announcer_ = nullptr;
};

}  // namespace recibo::selection
