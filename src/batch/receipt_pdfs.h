#pragma once

#include <memory>
#include <optional>

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include "batch/batch.h"

class QApplication;

namespace recibo::receipt {
class PdfBook;
class ReceiptWindow;
}  // namespace recibo::receipt

namespace recibo::batch {

// The name of row `fila`'s PDF: "0007-Pérez-María-Laura.pdf",
// "0007-sin-nombre.pdf" for a teacher without a usable name.
QString batchPdfName(std::size_t fila, const QString& docente);

// recibo-lote's PDF receipts drawn by the desktop program's own receipt
// window, kept off screen: each receipt is written into the window as
// "Calcular" writes it and printed to a PDF file as "Imprimir" prints it.
// Needs a QApplication; when the process has none, open() starts one on
// Qt's offscreen platform, so that no display is needed and no window shows.
// With openOneFile(), the pages go into one PdfBook, in the order written.
class WindowReceiptPdfs final : public ReceiptPdfs {
public:
    WindowReceiptPdfs();
    ~WindowReceiptPdfs() override;

    Problem open(const std::string& directory, PageFiles kind, const std::string& date,
                 const std::string& receiptTitle) override;
    Problem openOneFile(const std::string& path, const std::string& date, const std::string& receiptTitle) override;
    std::optional<std::string> write(std::size_t fila, const payroll::Receipt& receipt,
                                     const payroll::SelectedPosition& position) override;
    std::optional<std::string> finish(bool keep) override;

private:
    Problem startApplication();
    void makeWindow(const std::string& date, const std::string& receiptTitle);

    // Qt's runtime folder when the system gives none (XDG_RUNTIME_DIR unset,
    // as under cron or ssh): Qt would otherwise leave one in TMPDIR.
    std::optional<QTemporaryDir> runtimeFolder_;
    std::unique_ptr<QApplication> application_;  // only when the process had none
    std::unique_ptr<receipt::ReceiptWindow> window_;
    QDir directory_;
    PageFiles kind_ = PageFiles::Pdf;
    std::unique_ptr<receipt::PdfBook> book_;  // with openOneFile()
    QString bookPath_;
    QString date_;
};

}  // namespace recibo::batch
