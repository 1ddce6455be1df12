#pragma once

#include <functional>
#include <memory>
#include <utility>

#include <QPainter>
#include <QSaveFile>
#include <QString>
#include <QTemporaryFile>

class QPagedPaintDevice;
class QPdfWriter;
class QWidget;

namespace recibo::receipt {

class ReceiptWindow;

// What became of one page sent to a printer or a file.
struct PrintResult {
    bool printed = false;
    // Why the page was not printed, in Spanish, to follow "No se pudo
    // imprimir el recibo: "; empty when it was.
    QString problem;

    static PrintResult done() { return {true, {}}; }
    static PrintResult failed(QString why) { return {false, std::move(why)}; }
};

// Where "Imprimir" sends the page: the default printer, a PDF file, or, in
// the tests, whatever stands in for them.
class PrintBackend {
public:
    virtual ~PrintBackend() = default;
    // Prints the window's page (drawReceiptPage) as one page.
    virtual PrintResult printPage(const ReceiptWindow& window) = 0;
};

// The system's default printer, in grey scale at its own resolution, with no
// dialog and no choice of printer.
class DefaultPrinter : public PrintBackend {
public:
    PrintResult printPage(const ReceiptWindow& window) override;
};

// A PDF file of one A4 page, written whole or not at all: a file that was
// there before is replaced only once the new one is complete.
class PdfFile : public PrintBackend {
public:
    explicit PdfFile(QString path) : path_(std::move(path)) {}
    PrintResult printPage(const ReceiptWindow& window) override;

private:
    QString path_;
};

// The page PdfFile writes, as an SVG picture of the receipt (page_svg.h),
// at its size on the A4 sheet and with the same text set the same way;
// written whole or not at all, like PdfFile.
class SvgFile : public PrintBackend {
public:
    explicit SvgFile(QString path) : path_(std::move(path)) {}
    PrintResult printPage(const ReceiptWindow& window) override;

private:
    QString path_;
};

// One PDF file of A4 pages, one for each receipt added, each the page that
// PdfFile writes, in one document (the fonts in it once): written whole or
// not at all, like PdfFile. Nothing is written but by commit(); a book that
// ends without it leaves no file, and a file that was there stays as it was.
// The pages go first to a temporary file, which commit() writes again
// smaller (pdf/pdf_compaction.h), or as it is when that cannot be done.
class PdfBook {
public:
    PdfBook(QString path, QString title);
    ~PdfBook();
    PdfBook(const PdfBook&) = delete;
    PdfBook& operator=(const PdfBook&) = delete;

    // Makes the file ready to be written: why it cannot (in Spanish, to
    // follow "No se pudo guardar el PDF: "), or empty.
    QString open();
    // The window's page as "Imprimir" prints it (see printReceipt), on a new
    // page; why it could not be drawn, or empty.
    QString addPage(ReceiptWindow& window);
    int pages() const { return pages_; }
    // Writes the file with the pages added: why it could not, or empty.
    QString commit();

private:
    class WholeWrites;

    QString writeCompacted();

    QString path_;
    QString title_;
    QSaveFile file_;
    QTemporaryFile pagesFile_;
    std::unique_ptr<WholeWrites> device_;  // between the writer and pagesFile_
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    int pages_ = 0;
};

// Draws the window's page on one page of `device`, inside its printable
// area. False when the device would not take the drawing.
bool paintPage(const ReceiptWindow& window, QPagedPaintDevice& device);

// "Imprimir": the window prepared for paper, its page sent to `backend`, and
// the window returned to its screen look whatever happened.
PrintResult printReceipt(ReceiptWindow& window, PrintBackend& backend);

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

    Outcome imprimir(ReceiptWindow& window);
    // "Guardar recibo como PDF…": the page "Imprimir" would print, saved
    // where the user chooses; a file that cannot be written is said so.
    Outcome saveAsPdf(ReceiptWindow& window);

private:
    Outcome offerPdf(ReceiptWindow& window, const QString& problem);

    std::unique_ptr<PrintBackend> printer_;
    FileChooser chooseFile_;
};

}  // namespace recibo::receipt
