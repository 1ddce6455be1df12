#pragma once

#include <memory>
#include <optional>

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include "batch/batch.h"
#include "page/page_files.h"

class QGuiApplication;

namespace recibo::receipt {
class PdfBook;
}  // namespace recibo::receipt

namespace recibo::batch {

// The name of row `fila`'s PDF: "0007-Pérez-María-Laura.pdf",
// "0007-sin-nombre.pdf" for a teacher without a usable name.
QString batchPdfName(std::size_t fila, const QString& docente);

// recibo-lote's receipts as pages: each computed receipt made into the sheet
// the receipt window prints after "Listo" and "Calcular", drawn as
// "Imprimir" draws it, to a PDF file or an SVG picture. No window is built:
// fonts need only a QGuiApplication, which open() starts on Qt's offscreen
// platform when the process has none, so that no display is needed.
// With openOneFile(), the pages go into one PdfBook, in the order written.
class SheetReceiptPdfs final : public ReceiptPdfs {
public:
    SheetReceiptPdfs();
    ~SheetReceiptPdfs() override;

    Problem open(const std::string& directory, PageFiles kind, const std::string& date,
                 const std::string& receiptTitle) override;
    Problem openOneFile(const std::string& path, const std::string& date, const std::string& receiptTitle) override;
    // The row's sheet laid out for the A4 page and drawn, into its own file
    // or into the book's part of `worker`: with -j, on the computing threads.
    std::shared_ptr<const PreparedPage> prepare(const ComputedRow& row, std::size_t worker) const override;
    void stopWorker(std::size_t worker) override;
    std::optional<std::string> write(const ComputedRow& row) override;
    std::optional<std::string> finish(bool keep) override;

private:
    Problem startApplication();
    // Row `row`'s own file (--pdf, --svg); why it could not be written.
    std::optional<std::string> writeFile(const ComputedRow& row, const receipt::PlacedPage& placed) const;
    void keep(const std::string& date, const std::string& receiptTitle);

    // Qt's runtime folder when the system gives none (XDG_RUNTIME_DIR unset,
    // as under cron or ssh): Qt would otherwise leave one in TMPDIR.
    std::optional<QTemporaryDir> runtimeFolder_;
    std::unique_ptr<QGuiApplication> application_;  // only when the process had none
    bool ready_ = false;
    QString directory_;  // a copy for each thread that writes a file into it
    PageFiles kind_ = PageFiles::Pdf;
    std::unique_ptr<receipt::PdfBook> book_;  // with openOneFile()
    QString bookPath_;
    QString date_;
    QString title_;
    receipt::PdfSheet a4_;
};

}  // namespace recibo::batch
