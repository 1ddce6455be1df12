#pragma once

#include <memory>
#include <optional>

#include <QObject>
#include <QPointer>
#include <QStringList>

#include "compare/payslip_window.h"
#include "positions/position_selection.h"
#include "receipt/receipt_printer.h"
#include "table/planilla.h"

namespace recibo::entry {
class EntryWindow;
class NoticeWindow;
}  // namespace recibo::entry
namespace recibo::selection {
class SelectionDialog;
}
namespace recibo::receipt {
class ReceiptWindow;
}

namespace recibo::app {

class PlanillaSession;
class ScaleChoice;

// The desktop program: the entry window for the whole run, and the
// selection dialog, the notice and the receipt window, each created hidden
// the first time it is needed and afterwards only hidden and shown again.
// It carries what one window asks of another and runs "Calcular".
class Program : public QObject {
    Q_OBJECT
public:
    Program();
    ~Program() override;

    // Shows the entry window. The first of `files` (the command line's
    // planilla) is opened as "Abrir planilla…" opens it, and one that cannot
    // be opened is reported as there, over the window.
    void start(const QStringList& files = {});

    // Enters a planilla's row as a user would by hand, through the windows'
    // own handlers: the entry window's controls, and for a position the
    // selection dialog's code and points, then "Listo".
    void enter(const table::Planilla::HandEntry& row);

    entry::EntryWindow* entryWindow() const { return entry_.get(); }
    selection::SelectionDialog* selectionDialog();
    entry::NoticeWindow* notice();
    receipt::ReceiptWindow* receiptWindow();
    // "Imprimir": where the receipt is printed, and what is offered when it
    // cannot be.
    receipt::ReceiptPrinting& printing() { return printing_; }
    // The planilla open beside the form, and the "Archivo" menu.
    PlanillaSession& planilla() { return *planilla_; }
    // The pay scale chosen in the "Escala" menu.
    ScaleChoice& scaleChoice() { return *scaleChoice_; }

signals:
    // "Salir", or the entry window closed: the program ends.
    void quitRequested();

private:
    // What the user did.
    void onCargoChosen();
    void onHoursChosen();
    void onCalcular();
    void onListo(const positions::PositionSelection::Accepted& accepted);
    void onSalirSinDatos();
    void onVolver();
    void onReceiptClosed();
    void onImprimir();
    void onScaleChanged();
    void buildPlanilla();
    table::RowInput formInput();
    void startOver();
    void onPlanillaPdf();
    void requestQuit();
    // An accepted position into the entry window and the receipt's panel.
    void handOver(const positions::PositionSelection::Accepted& accepted);
    void receiptShown(bool shown);
    void onCompare();
    compare::PayslipWindow::Computed withOtherScales(compare::PayslipWindow::Computed computed) const;

    void showFailure(const Unusable& failure);

    std::unique_ptr<entry::EntryWindow> entry_;
    std::unique_ptr<ScaleChoice> scaleChoice_;
    PlanillaSession* planilla_ = nullptr;  // the entry window's
    bool positionAccepted_ = false;        // "Listo" handed a position over, shown in the entry window
    // The kind of employment "Volver" unchecked on the form, until another
    // is chosen: the teacher's data still have it (see buildPlanilla).
    std::optional<payroll::EmploymentKind> putAwayKind_;
    std::unique_ptr<selection::SelectionDialog> dialog_;
    std::unique_ptr<entry::NoticeWindow> notice_;
    QPointer<receipt::ReceiptWindow> receipt_;
    // The receipt on screen and what it was computed from, for comparing.
    std::optional<compare::PayslipWindow::Computed> computed_;
    std::unique_ptr<compare::PayslipWindow> payslip_;
    receipt::ReceiptPrinting printing_;
};

}  // namespace recibo::app
