#include "receipt_printer.h"

#include <memory>

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QLibrary>
#include <QMessageBox>
#include <QPagedPaintDevice>
#include <QPushButton>
#include <QStandardPaths>

#include "page/loaded_module.h"
#include "page/receipt_files.h"
#include "payroll/message_text.h"
#include "printer_module.h"
#include "receipt_page.h"
#include "receipt_window.h"

namespace recibo::receipt {

namespace {

// As every message quotes what it names: short, on one line, in order.
QString quoted(const QString& text)
{
    return QString::fromStdString(payroll::quotedForMessage(text.toStdString()));
}

// The save dialog, in the user's documents folder, offering the suggested
// name and adding ".pdf" when the user leaves it out.
QString askWithDialog(QWidget* parent, const QString& suggestedPath)
{
    QFileDialog dialog(parent, QStringLiteral("Guardar el recibo como PDF"), QFileInfo(suggestedPath).path(),
                       QStringLiteral("Documentos PDF (*.pdf)"));
    dialog.setObjectName(QStringLiteral("guardarpdf"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(QFileInfo(suggestedPath).fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString documentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

}  // namespace

PrintResult DefaultPrinter::printPage(const Sheet& sheet, const QString& title)
{
    return printPages(sheet, title, {});
}

namespace {

// The printer module's two functions, loaded the first time they are asked
// for and kept for the rest of the run; null without the module.
struct PrinterModule {
    ReciboOpenDefaultPrinter open = nullptr;
    ReciboPrinterFailed failed = nullptr;
};

const PrinterModule& printerModule()
{
    static const PrinterModule module = [] {
        static QLibrary library(loadedModulePath(RECIBO_PRINTER_MODULE_FROM_BINDIR, RECIBO_PRINTER_MODULE_BUILT));
        PrinterModule loaded{reinterpret_cast<ReciboOpenDefaultPrinter>(library.resolve(kOpenDefaultPrinterSymbol)),
                             reinterpret_cast<ReciboPrinterFailed>(library.resolve(kPrinterFailedSymbol))};
        return loaded.open && loaded.failed ? loaded : PrinterModule{};
    }();
    return module;
}

}  // namespace

PrintResult DefaultPrinter::printPages(const Sheet& sheet, const QString& title, const QString& annex)
{
    const PrinterModule& module = printerModule();
    if (!module.open)
        return PrintResult::failed(
            QStringLiteral("falta la parte del programa que imprime (librecibo-impresora.so); "
                           "volvé a instalar el programa"));
    QString name;
    QPagedPaintDevice* opened = nullptr;
    const ReciboPrinterOpening opening = module.open(title, name, opened);
    const std::unique_ptr<QPagedPaintDevice> printer(opened);
    name = quoted(name);
    if (opening == ReciboNoDefaultPrinter)
        return PrintResult::failed(
            QStringLiteral("no hay ninguna impresora predeterminada instalada en esta computadora"));
    if (opening != ReciboPrinterOpened || !printer)
        return PrintResult::failed(QStringLiteral("la impresora %1 no está disponible").arg(name));
    if (!paintPage(sheet, *printer, annex))
        return PrintResult::failed(QStringLiteral("la impresora %1 no aceptó el trabajo").arg(name));
    if (module.failed(printer.get()))
        return PrintResult::failed(QStringLiteral("falló el envío del recibo a la impresora %1").arg(name));
    return PrintResult::done();
}

PrintResult printReceipt(ReceiptWindow& window, PrintBackend& backend, const QString& annex)
{
    const PaperLook paper(window);
    const Sheet sheet = sheetOf(window);
    const QString title = documentTitle(window.docente());
    return annex.isEmpty() ? backend.printPage(sheet, title) : backend.printPages(sheet, title, annex);
}

ReceiptPrinting::ReceiptPrinting() : printer_(std::make_unique<DefaultPrinter>()), chooseFile_(askWithDialog) {}

ReceiptPrinting::~ReceiptPrinting() = default;

ReceiptPrinting::Outcome ReceiptPrinting::imprimir(ReceiptWindow& window)
{
    const PrintResult result = printReceipt(window, *printer_, annex_ ? annex_() : QString());
    if (result.printed)
        return Outcome::Printed;
    return offerPdf(window, result.problem);
}

// The window is back in its screen look when this is asked.
ReceiptPrinting::Outcome ReceiptPrinting::offerPdf(ReceiptWindow& window, const QString& problem)
{
    QMessageBox message(QMessageBox::Warning, QStringLiteral("No se pudo imprimir"),
                        QStringLiteral("No se pudo imprimir el recibo: %1.").arg(problem), QMessageBox::NoButton,
                        &window);
    message.setObjectName(QStringLiteral("noseimprimio"));
    message.setInformativeText(
        QStringLiteral("Podés guardar el mismo recibo como archivo PDF, para imprimirlo más "
                       "tarde o desde otra computadora."));
    QPushButton* save = message.addButton(QStringLiteral("Guardar como PDF…"), QMessageBox::AcceptRole);
    save->setObjectName(QStringLiteral("guardarcomopdf"));
    QPushButton* dontSave = message.addButton(QStringLiteral("No guardar"), QMessageBox::RejectRole);
    dontSave->setObjectName(QStringLiteral("noguardar"));
    message.setDefaultButton(save);
    message.setEscapeButton(dontSave);
    message.exec();
    if (message.clickedButton() != save)
        return Outcome::NotPrinted;
    return saveAsPdf(window);
}

ReceiptPrinting::Outcome ReceiptPrinting::saveAsPdf(ReceiptWindow& window)
{
    const QString suggested =
        QDir(documentsFolder()).filePath(suggestedPdfName(window.docente(), QDate::currentDate()));
    const QString path = chooseFile_(&window, suggested);
    if (path.isEmpty())
        return Outcome::NotPrinted;
    PdfFile file(path);
    const PrintResult saved = printReceipt(window, file, annex_ ? annex_() : QString());
    if (saved.printed)
        return Outcome::SavedAsPdf;

    QMessageBox failed(QMessageBox::Warning, QStringLiteral("No se pudo guardar"),
                       QStringLiteral("No se pudo guardar el recibo como PDF: %1.").arg(saved.problem), QMessageBox::Ok,
                       &window);
    failed.setObjectName(QStringLiteral("noseguardo"));
    failed.exec();
    return Outcome::NotPrinted;
}

}  // namespace recibo::receipt
