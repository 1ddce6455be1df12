#include "program.h"

#include <variant>

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QProgressDialog>

#include "compare/payslip_window.h"
#include "entry/entry_window.h"
#include "entry/notice_window.h"
#include "payroll/calculation.h"
#include "planilla_panel.h"
#include "planilla_pdf.h"
#include "planilla_session.h"
#include "receipt/receipt_window.h"
#include "regional/regional.h"
#include "scale_choice.h"
#include "selection/selection_dialog.h"
#include "settings.h"
#include "widgets/active_window_keeper.h"
#include "widgets/window_helpers.h"

namespace recibo::app {

Program::Program() : entry_(std::make_unique<entry::EntryWindow>())
{
    new widgets::ActiveWindowKeeper(this);
    takeOverEarlierSettings();
    using entry::EntryWindow;
    connect(entry_.get(), &EntryWindow::positionChosen, this, &Program::onCargoChosen);
    connect(entry_.get(), &EntryWindow::hoursChosen, this, &Program::onHoursChosen);
    connect(entry_.get(), &EntryWindow::calcularPressed, this, &Program::onCalcular);
    connect(entry_.get(), &EntryWindow::salirPressed, this, &Program::requestQuit);
    connect(entry_.get(), &EntryWindow::closedByUser, this, &Program::quitRequested);
    scaleChoice_ = std::make_unique<ScaleChoice>(entry_->scaleMenu(), entry_.get());
    connect(scaleChoice_.get(), &ScaleChoice::changed, this, &Program::onScaleChanged);
    // The planilla first: a remembered scale restored below changes the
    // scale at once, and the planilla's list follows it.
    buildPlanilla();
    scaleChoice_->restore();
}

// The planilla's teachers beside the form, built with the first planilla
// shown, and the "Archivo" menu. With no planilla open, nothing is asked
// anywhere.
void Program::buildPlanilla()
{
    planilla_ = new PlanillaSession(
        entry_.get(),
        [this] {
            auto* panel = new PlanillaPanel;
            entry_->setSidePanel(panel);
            return panel;
        },
        PlanillaSession::Form{[this](const table::Planilla::HandEntry& row) { enter(row); }, [this] { startOver(); },
                              [this] { return formInput(); },
                              [this](const table::RowInput& input) -> std::optional<QString> {
                                  const auto result =
                                      payroll::calculate(input.entry, input.position, regional::systemSettings(),
                                                         scaleChoice_->current().pay);
                                  if (const auto* failure = std::get_if<Unusable>(&result))
                                      return QString::fromStdString(failure->message);
                                  return std::nullopt;
                              },
                              [this]() -> const scales::Scale& { return scaleChoice_->current(); }});
    entry_->addFileMenu(planilla_->fileMenu());
    const QString title = entry_->windowTitle();
    connect(planilla_, &PlanillaSession::titleChanged, this, [this, title](const QString& name) {
        // "[*]": where Qt puts the mark of a teacher changed and not saved.
        entry_->setWindowTitle(QStringLiteral("%1 — %2[*]").arg(title, name));
    });
    connect(entry_.get(), &entry::EntryWindow::edited, planilla_, &PlanillaSession::markUnsaved);
    connect(planilla_->quitAction(), &QAction::triggered, this, &Program::requestQuit);
    connect(planilla_->planillaPdfAction(), &QAction::triggered, this, &Program::onPlanillaPdf);
    connect(planilla_->compareAction(), &QAction::triggered, this, &Program::onCompare);
    connect(planilla_, &PlanillaSession::teacherChanged, this, [this] {
        if (payslip_)
            payslip_->setOfficialLines(planilla_->officialLines());
    });
    connect(planilla_->saveReceiptAction(), &QAction::triggered, this, [this] {
        if (receipt_ && receipt_->isVisible())
            printing_.saveAsPdf(*receipt_);
    });
    printing_.setAnnex([this] { return payslip_ && payslip_->isVisible() ? payslip_->printedText() : QString(); });
    entry_->setCloseGuard([this] { return planilla_->mayLeave(); });
}

// "Recibos de la planilla en PDF…": one PDF, a page per teacher, with a
// progress that can be cancelled (then no file is written); the teachers
// without a receipt are reported.
void Program::onPlanillaPdf()
{
    const table::Planilla* table = planilla_->planilla();
    if (!table)
        return;
    const QFileInfo planillaFile(planilla_->path());
    const QString folder = planilla_->path().isEmpty() ? QDir::homePath() : planillaFile.path();
    const QString suggested =
        QDir(folder).filePath(QStringLiteral("recibos-%1.pdf")
                                  .arg(planillaFile.completeBaseName().isEmpty() ? QStringLiteral("planilla")
                                                                                 : planillaFile.completeBaseName()));
    const QString path = QFileDialog::getSaveFileName(entry_.get(), QStringLiteral("Recibos de la planilla en PDF"),
                                                      suggested, QStringLiteral("Documentos PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    QProgressDialog progress(QStringLiteral("Dibujando los recibos de la planilla…"), QStringLiteral("Cancelar"), 0,
                             static_cast<int>(table->rows()), entry_.get());
    progress.setObjectName(QStringLiteral("progresopdf"));
    progress.setWindowTitle(QStringLiteral("Recibos de la planilla"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    const PlanillaPdfResult result = writePlanillaPdf(*table, scaleChoice_->current(), regional::systemSettings(), date,
                                                      path, [&progress](int done, int) {
                                                          progress.setValue(done);
                                                          return !progress.wasCanceled();
                                                      });
    progress.reset();
    if (result.cancelled)
        return;
    QString text = result.saved
        ? QStringLiteral("Se guardaron %1 recibos en %2.").arg(result.pages).arg(QFileInfo(path).fileName())
        : QStringLiteral("No se pudo guardar el PDF: %1.").arg(result.problem);
    constexpr int kListed = 15;
    if (!result.skipped.isEmpty()) {
        text += QStringLiteral("\n\nNo tienen recibo (%1):\n").arg(result.skipped.size());
        text += result.skipped.mid(0, kListed).join(QLatin1Char('\n'));
        if (result.skipped.size() > kListed)
            text += QStringLiteral("\n… y %1 más.").arg(result.skipped.size() - kListed);
    }
    QMessageBox box(result.saved ? QMessageBox::Information : QMessageBox::Warning,
                    QStringLiteral("Recibos de la planilla"), text, QMessageBox::Ok, entry_.get());
    box.setObjectName(QStringLiteral("recibosplanilla"));
    box.exec();
}

// "Salir": the program ends, once a changed teacher of the planilla is saved
// or let go.
void Program::requestQuit()
{
    if (planilla_->mayLeave())
        emit quitRequested();
}

Program::~Program()
{
    payslip_.reset();
    delete receipt_.data();
}

void Program::start(const QStringList& files)
{
    entry_->showInFront();
    if (!files.isEmpty())
        planilla_->open(QFileInfo(files.front()).absoluteFilePath());
}

// The windows as the program opens them, for a new teacher. The entry
// window's start is what its constructor leaves, so a window built afresh
// lends it: its values, entered through the window's own handlers, then
// what no value holds, which controls show and the zone list's text. The
// dialog is let go, to be built again as at start when next needed.
void Program::startOver()
{
    const entry::EntryWindow start;
    entry_->enter(start.values());
    for (const QWidget* control : start.findChildren<QWidget*>()) {
        if (control->objectName().isEmpty() || control->isWindow())
            continue;
        for (QWidget* own : entry_->findChildren<QWidget*>(control->objectName())) {
            // Only the entry window's own: the dialog has controls of the same names.
            if (own->window() != entry_.get())
                continue;
            own->setHidden(control->isHidden());
            if (const auto* list = qobject_cast<const QComboBox*>(control))
                static_cast<QComboBox*>(own)->setEditText(list->currentText());
        }
    }
    positionAccepted_ = false;
    putAwayKind_.reset();
    dialog_.reset();
}

// The teacher's data as the form holds them. "Volver" unchecks the kind of
// employment to start the next calculation afresh; that puts the receipt
// away, it does not change the teacher, whose kind counts until another is
// chosen.
table::RowInput Program::formInput()
{
    table::RowInput input{entry_->values(), selectionDialog()->selection().selected()};
    if (input.entry.kind == payroll::EmploymentKind::None && putAwayKind_)
        input.entry.kind = *putAwayKind_;
    return input;
}

void Program::enter(const table::Planilla::HandEntry& row)
{
    putAwayKind_.reset();
    entry_->enter(row.entry);
    if (row.entry.kind == payroll::EmploymentKind::Position)
        selectionDialog()->enter(row.code, row.typedPoints);
}

// ---- The windows, each created hidden when first needed ---------------------

selection::SelectionDialog* Program::selectionDialog()
{
    if (!dialog_) {
        // A window of its own that the window manager keeps above the entry
        // window, so that it cannot get lost behind it.
        dialog_ = std::make_unique<selection::SelectionDialog>(regional::systemSettings(), entry_.get(),
                                                               scaleChoice_->current().catalogue);
        connect(dialog_.get(), &selection::SelectionDialog::listoPressed, this, &Program::onListo);
        connect(dialog_.get(), &selection::SelectionDialog::salirSinDatosPressed, this, &Program::onSalirSinDatos);
    }
    return dialog_.get();
}

entry::NoticeWindow* Program::notice()
{
    if (!notice_)
        notice_ = std::make_unique<entry::NoticeWindow>(entry_.get());
    return notice_.get();
}

receipt::ReceiptWindow* Program::receiptWindow()
{
    if (!receipt_) {
        receipt_ = new receipt::ReceiptWindow;
        receipt_->setScaleTitle(QString::fromStdString(scaleChoice_->current().receiptTitle));
        using receipt::ReceiptWindow;
        connect(receipt_, &ReceiptWindow::volverPressed, this, &Program::onVolver);
        connect(receipt_, &ReceiptWindow::salirPressed, this, &Program::requestQuit);
        connect(receipt_, &ReceiptWindow::closedByUser, this, &Program::onReceiptClosed);
        connect(receipt_, &ReceiptWindow::printRequested, this, &Program::onImprimir);
        // The receipt's own actions, also from its keyboard and its context menu.
        receipt_->addAction(planilla_->compareAction());
        receipt_->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    return receipt_;
}

// ---- What the user did ------------------------------------------------------

void Program::onCargoChosen()
{
    putAwayKind_.reset();
    selectionDialog()->open();
}

void Program::onHoursChosen()
{
    putAwayKind_.reset();
    positionAccepted_ = false;
    if (dialog_)
        dialog_->hide();
}

// One run of the calculation. The receipt window changes only when the run
// succeeds: a run that fails leaves the last receipt exactly as it was.
void Program::onCalcular()
{
    const payroll::EntryValues values = entry_->values();
    if (values.kind == payroll::EmploymentKind::None) {
        notice()->showOver(entry_.get());
        return;
    }
    const payroll::SelectedPosition position = values.kind == payroll::EmploymentKind::Position
        ? selectionDialog()->selection().selected()
        : payroll::SelectedPosition{};
    const payroll::CalculationResult result = payroll::calculate(values, position, regional::systemSettings(),
                                                                 scaleChoice_->current().pay, payroll::Explain::Yes);
    if (const auto* failure = std::get_if<Unusable>(&result)) {
        showFailure(*failure);
        return;
    }
    // The receipt window shows this calculation whole: its lines, and the
    // scale and position points it was computed with.
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    receipt::ReceiptWindow* window = receiptWindow();
    window->setScaleTitle(QString::fromStdString(scaleChoice_->current().receiptTitle));
    const payroll::Receipt& receipt = std::get<payroll::Receipt>(result);
    window->showReceipt(receipt, position, date);
    computed_ = compare::PayslipWindow::Computed{receipt, {values, position}, scaleChoice_->shared(), {}};
    if (payslip_)
        payslip_->compareWith(withOtherScales(*computed_));
    receiptShown(true);
}

void Program::onListo(const positions::PositionSelection::Accepted& accepted)
{
    handOver(accepted);
    positionAccepted_ = !accepted.deselectPosition;
    if (accepted.deselectPosition)
        entry_->deselectPosition();
    planilla_->markUnsaved();
    entry_->showInFront();
}

// The receipt on screen keeps the points it was computed with until the
// next "Calcular": a receipt and its page always show one calculation.
void Program::handOver(const positions::PositionSelection::Accepted& accepted)
{
    entry_->showAcceptedPosition(accepted);
}

void Program::onSalirSinDatos()
{
    positionAccepted_ = false;
    entry_->deselectPosition();
    entry_->hidePositionBlock();
    planilla_->markUnsaved();
}

// Another scale: its texts on the windows, its catalogue in the dialog, whose
// code handling runs again, so that a position already handed over shows
// the new scale's points (or none, when the new catalogue lacks its code).
// A receipt computed with the scale before is put away: it is not what
// "Calcular" now gives.
void Program::onScaleChanged()
{
    const scales::Scale& scale = scaleChoice_->current();
    entry_->showScale(QString::fromStdString(scale.entrySubtitle), scale.pay);
    if (receipt_ && receipt_->isVisible()) {
        receiptShown(false);
        receipt_->putAway();
    }
    planilla_->relist();
    if (!dialog_)
        return;
    dialog_->setCatalogue(scale.catalogue);
    if (!positionAccepted_ || entry_->values().kind != payroll::EmploymentKind::Position)
        return;
    if (dialog_->selection().codeListRow())
        handOver(dialog_->selection().listo(regional::systemSettings()));
    else
        entry_->hidePositionBlock();
}

void Program::onVolver()
{
    positionAccepted_ = false;
    receiptShown(false);
    receipt_->putAway();
    if (const payroll::EmploymentKind kind = entry_->values().kind; kind != payroll::EmploymentKind::None)
        putAwayKind_ = kind;
    entry_->returnToDataEntry();
    entry_->showInFront();
}

// What works on the receipt on screen is there while it is: saving it, and
// comparing it with the official payslip, whose window shows no receipt
// that is not on screen.
void Program::receiptShown(bool shown)
{
    planilla_->saveReceiptAction()->setEnabled(shown);
    planilla_->compareAction()->setEnabled(shown);
    if (!shown) {
        computed_.reset();
        if (payslip_)
            payslip_->hide();
    }
}

// "Comparar con el recibo oficial…": the comparison window over the receipt,
// with the official lines typed for this teacher before.
void Program::onCompare()
{
    if (!receipt_ || !receipt_->isVisible() || !computed_)
        return;
    if (!payslip_) {
        payslip_ = std::make_unique<compare::PayslipWindow>(regional::systemSettings());
        payslip_->setOfficialLines(planilla_->officialLines());
        connect(payslip_.get(), &compare::PayslipWindow::officialLinesEdited, this,
                [this] { planilla_->setOfficialLines(payslip_->officialLines()); });
    }
    payslip_->compareWith(withOtherScales(*computed_));
    widgets::showOver(payslip_.get(), receipt_);
}

compare::PayslipWindow::Computed Program::withOtherScales(compare::PayslipWindow::Computed computed) const
{
    computed.otherScales = scaleChoice_->otherScales();
    return computed;
}

// A receipt window closed from its title bar is gone; the next run builds a
// new one in its design state.
void Program::onReceiptClosed()
{
    receiptShown(false);
    receipt_->deleteLater();
    receipt_ = nullptr;
}

// The receipt on the default printer; when it cannot be printed the user is
// told why and may save it as a PDF file.
void Program::onImprimir()
{
    if (receipt_)
        printing_.imprimir(*receipt_);
}

// A modal message naming the field and quoting its text; the field that
// could not be read gets the focus for correcting it.
void Program::showFailure(const Unusable& failure)
{
    auto* box = new QMessageBox(QMessageBox::Warning, "Dato no válido", QString::fromStdString(failure.message),
                                QMessageBox::Ok, entry_.get());
    box->setObjectName("datoinvalido");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    // Only the entry window's own boxes: the dialog, a child window, has
    // boxes of the same names.
    if (auto* field = entry_->findChild<QLineEdit*>(QString::fromStdString(failure.where));
        field && field->window() == entry_.get() && field->isVisible()) {
        field->setFocus();
        field->selectAll();
    }
    box->show();
}

}  // namespace recibo::app
