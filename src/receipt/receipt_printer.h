#pragma once

#include <functional>
#include <memory>
#include <utility>

#include <QString>

#include "page/page_files.h"

class QWidget;

namespace recibo::receipt {

class ReceiptWindow;

// The system's default printer, in grey scale at its own resolution, with no
// dialog and no choice of printer.
class DefaultPrinter : public PrintBackend {
public:
    PrintResult printPage(const Sheet& sheet, const QString& title) override;
    PrintResult printPages(const Sheet& sheet, const QString& title, const QString& annex) override;
};

// "Imprimir": the window prepared for paper, its page sent to `backend`, and
// the window returned to its screen look whatever happened.
// `annex`: the pages that follow the receipt's (PrintBackend::printPages).
PrintResult printReceipt(ReceiptWindow& window, PrintBackend& backend, const QString& annex = {});

// "Imprimir" as the user meets it: the receipt goes to the default printer;
// when it cannot be printed, a message says so and why, and offers to save
// the same page as a PDF file instead.
class ReceiptPrinting {
public:
    enum class Outcome { Printed, SavedAsPdf, NotPrinted };

    // Asks where to save the PDF, offering `suggestedPath`; empty when the
    // user gives up.
    using FileChooser = std::function<QString(QWidget* parent, const QString& suggestedPath)>;

    ReceiptPrinting();
    ~ReceiptPrinting();

    void setPrinter(std::unique_ptr<PrintBackend> printer) { printer_ = std::move(printer); }
    void setFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
    // What is printed after the receipt (a rich text, empty for nothing),
    // asked each time: the comparison with the official payslip while open.
    void setAnnex(std::function<QString()> annex) { annex_ = std::move(annex); }

    Outcome imprimir(ReceiptWindow& window);
    // "Guardar recibo como PDF…": the page "Imprimir" would print, saved
    // where the user chooses; a file that cannot be written is said so.
    Outcome saveAsPdf(ReceiptWindow& window);

private:
    Outcome offerPdf(ReceiptWindow& window, const QString& problem);

    std::unique_ptr<PrintBackend> printer_;
    FileChooser chooseFile_;
    std::function<QString()> annex_;
};

}  // namespace recibo::receipt
