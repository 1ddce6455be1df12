#pragma once

#include <memory>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

#include <QSaveFile>
#include <QString>

#include "pdf_compaction_module.h"
#include "sheet.h"
#include "sheet_page.h"

class QPagedPaintDevice;
class QPdfWriter;

namespace recibo::receipt {

// What became of one page sent to a printer or a file.
struct PrintResult {
    bool printed = false;
    // Why the page was not printed, in Spanish, to follow "No se pudo
    // imprimir el recibo: "; empty when it was.
    QString problem;

    static PrintResult done() { return {true, {}}; }
    static PrintResult failed(QString why) { return {false, std::move(why)}; }
};

// Where a receipt's page goes: a printer, a PDF file, an SVG picture, or,
// in the tests, whatever stands in for them.
class PrintBackend {
public:
    virtual ~PrintBackend() = default;
    // Prints the page of `sheet` (drawSheet) as one page of a document
    // called `title`.
    virtual PrintResult printPage(const Sheet& sheet, const QString& title) = 0;
    // The same page followed by the pages of `annex`, a rich text (the
    // comparison with an official payslip); only the page when it is empty.
    // Where pages cannot follow (an SVG picture), the page alone.
    virtual PrintResult printPages(const Sheet& sheet, const QString& title, const QString& annex)
    {
        (void)annex;
        return printPage(sheet, title);
    }
};

// "Recibo de haberes - Pérez, María", or "Recibo de haberes" without a name.
QString documentTitle(const QString& docente);

// Where a page goes on the A4 sheet of every PDF and SVG file: the dots per
// inch and the printable area, in dots. Measured on a PDF writer, so to be
// asked on the thread that has the application; a sheet placed with it
// (placeSheet) may be placed on any thread and written by the files below.
struct PdfSheet {
    int dpi = 0;
    QRectF target;

    static PdfSheet a4();
    PlacedPage place(const Sheet& sheet) const { return placeSheet(sheet, dpi, target); }
};

// A PDF file of one A4 page, written whole or not at all: a file that was
// there before is replaced only once the new one is complete.
class PdfFile : public PrintBackend {
public:
    explicit PdfFile(QString path) : path_(std::move(path)) {}
    PrintResult printPage(const Sheet& sheet, const QString& title) override;
    PrintResult printPages(const Sheet& sheet, const QString& title, const QString& annex) override;
    // A page placed on PdfSheet::a4(), and the pages of `annex` after it.
    PrintResult printPlaced(const PlacedPage& placed, const QString& title, const QString& annex = {});

private:
    QString path_;
};

// The page PdfFile writes, as an SVG picture of the receipt (page_svg.h),
// at its size on the A4 sheet and with the same text set the same way;
// written whole or not at all, like PdfFile.
class SvgFile : public PrintBackend {
public:
    explicit SvgFile(QString path) : path_(std::move(path)) {}
    PrintResult printPage(const Sheet& sheet, const QString& title) override;
    // A page placed on PdfSheet::a4().
    PrintResult printPlaced(const PlacedPage& placed, int dpi);

private:
    QString path_;
};

// One PDF file of A4 pages, one for each sheet added, each the page that
// PdfFile writes, in one document: written whole or not at all, like
// PdfFile. Nothing is written but by commit(); a book that ends without it
// leaves no file, and a file that was there stays as it was.
// Several threads may draw its pages at once, each into a part of its own,
// a temporary file with its own painter and fonts, and a new one every few
// hundred pages (the join holds one part at a time: what it holds of the
// parts does not grow with the book); commit() joins the parts into the
// file, the pages in the order added, smaller (pdf/pdf_compaction.h). What
// a part's pages placed alike have in common is drawn once, as a page of
// the part that is no page of the book, and each page that has all of it
// is drawn without it, over it. The parts are removed whatever becomes of
// the book.
class PdfBook {
public:
    PdfBook(QString path, QString title);
    ~PdfBook();
    PdfBook(const PdfBook&) = delete;
    PdfBook& operator=(const PdfBook&) = delete;

    // Makes the file ready to be written: why it cannot (in Spanish, to
    // follow "No se pudo guardar el PDF: "), or empty.
    QString open();

    // Where a page is among the parts: the part, its page there, and the
    // page there drawn beneath it.
    using Place = PagePlace;
    // A page drawn into a part, not yet in the book; why it could not be
    // drawn, when it was not.
    struct Drawn {
        Place at;
        QString problem;
    };
    // Draws a page placed on PdfSheet::a4() into the part of `worker`: any
    // thread may draw, at once with others of other workers.
    Drawn draw(std::size_t worker, const PlacedPage& placed);
    // Ends the part of `worker`, on the thread that drew it (Qt's fonts are
    // the thread's own), before the thread ends; commit() ends the others.
    void endPart(std::size_t worker);
    // The page drawn goes next in the book; why it cannot, or empty. Not
    // at once with draw().
    QString add(const Drawn& drawn);
    // The sheet's page, drawn and added.
    QString addPage(const Sheet& sheet);
    int pages() const { return int(order_.size()); }
    // Writes the file with the pages added: why it could not, or empty.
    QString commit();

private:
    class WholeWrites;
    class Part;

    QString writeJoined(const std::vector<std::string_view>& parts);

    QString path_;
    QString title_;
    QSaveFile file_;
    // The pages of a part, those beneath others among them, before the
    // worker starts another.
    static constexpr std::size_t kPagesPerPart = 500;
    static constexpr std::size_t kNoPart = std::size_t(-1);
    std::mutex partsMutex_;
    std::vector<std::unique_ptr<Part>> parts_;  // in the order started, under partsMutex_
    std::vector<std::size_t> current_;          // by worker, the part it draws into
    std::vector<Place> order_;
};

// Draws the sheet's page on one page of `device`, inside its printable
// area, and the rich text `annex` (when not empty) on the pages after it.
// False when the device would not take the drawing.
bool paintPage(const Sheet& sheet, QPagedPaintDevice& device, const QString& annex = {});

}  // namespace recibo::receipt
