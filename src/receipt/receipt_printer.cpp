#include "receipt_printer.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>

#include "files/file_errors.h"
#include "files/replaceable.h"
#include "page_svg.h"
#include "payroll/message_text.h"
#include "pdf/pdf_compaction.h"
#include "receipt_files.h"
#include "receipt_page.h"
#include "receipt_window.h"

namespace recibo::receipt {

namespace {

QString documentTitle(const ReceiptWindow& window)
{
    const QString docente = window.docente();
    return docente.isEmpty() ? QStringLiteral("Recibo de haberes")
                             : QStringLiteral("Recibo de haberes - %1").arg(docente);
}

// As every message quotes what it names: short, on one line, in order.
QString quoted(const QString& text)
{
    return QString::fromStdString(payroll::quotedForMessage(text.toStdString()));
}

// A file's or folder's path, with the file's name kept when it is long.
QString quotedPath(const QString& path)
{
    return QString::fromStdString(payroll::quotedPathForMessage(QDir::toNativeSeparators(path).toStdString()));
}

// What went wrong with a file, in Spanish, with the system's own words after.
QString fileProblem(const QFileDevice& file, const QString& path)
{
    QString what;
    switch (file.error()) {
    case QFileDevice::PermissionsError: what = QStringLiteral("no hay permiso para escribir el archivo %1"); break;
    case QFileDevice::OpenError: what = QStringLiteral("no se puede crear el archivo %1"); break;
    case QFileDevice::RenameError: what = QStringLiteral("no se pudo reemplazar el archivo %1"); break;
    default: what = QStringLiteral("no se pudo escribir el archivo %1"); break;
    }
    what = what.arg(quotedPath(path));
    if (!file.errorString().isEmpty())
        what += QStringLiteral(" (%1)").arg(files::fileErrorText(file, files::Access::Write));
    return what;
}

// A save that would replace a device, a FIFO or a folder with a regular
// file: refused before anything is written.
QString notReplaceableProblem(const QString& path)
{
    const std::optional<std::string> other = files::notReplaceable(QFile::encodeName(path).toStdString());
    return other ? QStringLiteral("no se puede guardar en %1: es %2, no un archivo; elegí el nombre de un archivo")
                       .arg(quotedPath(path), QString::fromStdString(*other))
                 : QString();
}

// What went wrong with the temporary file a book's pages are drawn into,
// naming its folder (TMPDIR, or /tmp), where room or permission is missing.
QString temporaryProblem(const QFileDevice& file)
{
    QString what = QStringLiteral("no se pudo escribir el archivo temporal de las hojas en la carpeta %1")
                       .arg(quotedPath(QDir::tempPath()));
    if (!file.errorString().isEmpty())
        what += QStringLiteral(" (%1)").arg(files::fileErrorText(file, files::Access::Write));
    return what;
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

// Every PDF page alike: A4, portrait, 10 mm margins, fine enough for text.
void setUpPdf(QPdfWriter& writer, const QString& title)
{
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                     QPageLayout::Millimeter));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("recibo"));
}

}  // namespace

bool paintPage(const ReceiptWindow& window, QPagedPaintDevice& device)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    drawReceiptPage(window, painter, QRectF(0, 0, device.width(), device.height()));
    return painter.end();
}

PrintResult DefaultPrinter::printPage(const ReceiptWindow& window)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return PrintResult::failed(
            QStringLiteral("no hay ninguna impresora predeterminada instalada en esta computadora"));
    const QString name = quoted(info.description().isEmpty() ? info.printerName() : info.description());
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        return PrintResult::failed(QStringLiteral("la impresora %1 no está disponible").arg(name));
    printer.setColorMode(QPrinter::GrayScale);
    printer.setCopyCount(1);
    printer.setDocName(documentTitle(window));
    if (!paintPage(window, printer))
        return PrintResult::failed(QStringLiteral("la impresora %1 no aceptó el trabajo").arg(name));
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return PrintResult::failed(QStringLiteral("falló el envío del recibo a la impresora %1").arg(name));
    return PrintResult::done();
}

// The page is drawn in memory and then written whole: see writeWhole.
PrintResult PdfFile::printPage(const ReceiptWindow& window)
{
    if (const QString problem = notReplaceableProblem(path_); !problem.isEmpty())
        return PrintResult::failed(problem);
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return PrintResult::failed(fileProblem(file, path_));
    QBuffer page;
    page.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter writer(&page);
        setUpPdf(writer, documentTitle(window));
        painted = paintPage(window, writer);
    }
    if (!painted) {
        file.cancelWriting();
        return PrintResult::failed(
            QStringLiteral("no se pudo dibujar la página del archivo %1").arg(quotedPath(path_)));
    }
    if (!files::writeWhole(file, page.data()) || !file.commit()) {
        const PrintResult failed = PrintResult::failed(fileProblem(file, path_));
        file.cancelWriting();
        return failed;
    }
    return PrintResult::done();
}

PrintResult SvgFile::printPage(const ReceiptWindow& window)
{
    if (const QString problem = notReplaceableProblem(path_); !problem.isEmpty())
        return PrintResult::failed(problem);
    // The PDF's sheet, only measured: the picture is placed as on it.
    QBuffer unused;
    QPdfWriter sheet(&unused);
    setUpPdf(sheet, documentTitle(window));
    const int dpi = sheet.resolution();
    const QByteArray picture = pageSvg(placeReceiptPage(window, dpi, QRectF(0, 0, sheet.width(), sheet.height())), dpi);
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return PrintResult::failed(fileProblem(file, path_));
    if (!files::writeWhole(file, picture) || !file.commit()) {
        const PrintResult failed = PrintResult::failed(fileProblem(file, path_));
        file.cancelWriting();
        return failed;
    }
    return PrintResult::done();
}

PdfBook::PdfBook(QString path, QString title)
    : path_(std::move(path)),
      title_(std::move(title)),
      file_(path_),
      pagesFile_(QDir(QDir::tempPath()).filePath(QStringLiteral("recibo-XXXXXX.pdf")))
{}

PdfBook::~PdfBook()
{
    if (painter_.isActive())
        painter_.end();
    writer_.reset();
    device_.reset();
    // Never committed: the file is left as it was.
}

// What the PDF writer writes goes to the file whole; a write the disk cut
// short is remembered (Qt would take it for a whole one) and the file not
// committed.
class PdfBook::WholeWrites : public QIODevice {
public:
    explicit WholeWrites(QFileDevice& file) : file_(file) {}
    bool failed() const { return failed_; }

protected:
    qint64 writeData(const char* data, qint64 size) override
    {
        failed_ = failed_ || !files::writeWhole(file_, QByteArray::fromRawData(data, size));
        return size;
    }
    qint64 readData(char*, qint64) override { return -1; }

private:
    QFileDevice& file_;
    bool failed_ = false;
};

QString PdfBook::open()
{
    if (const QString problem = notReplaceableProblem(path_); !problem.isEmpty())
        return problem;
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fileProblem(file_, path_);
    // Unbuffered, as writeWhole needs to see a write the disk cut short
    // (QTemporaryFile's own open() takes no mode).
    if (!static_cast<QFile&>(pagesFile_).open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        file_.cancelWriting();
        return temporaryProblem(pagesFile_);
    }
    device_ = std::make_unique<WholeWrites>(pagesFile_);
    device_->open(QIODevice::WriteOnly);
    writer_ = std::make_unique<QPdfWriter>(device_.get());
    setUpPdf(*writer_, title_);
    return {};
}

QString PdfBook::addPage(ReceiptWindow& window)
{
    const QString cannotDraw = QStringLiteral("no se pudo dibujar la página del archivo %1").arg(quotedPath(path_));
    if (!writer_)
        return cannotDraw;
    if (pages_ == 0 ? !painter_.begin(writer_.get()) : !writer_->newPage())
        return cannotDraw;
    const PaperLook paper(window);
    drawReceiptPage(window, painter_, QRectF(0, 0, writer_->width(), writer_->height()));
    ++pages_;
    return {};
}

QString PdfBook::commit()
{
    if (pages_ == 0 || !painter_.end()) {
        file_.cancelWriting();
        return QStringLiteral("no se pudo dibujar la página del archivo %1").arg(quotedPath(path_));
    }
    writer_.reset();
    if (device_->failed()) {
        file_.cancelWriting();
        return temporaryProblem(pagesFile_);
    }
    if (const QString problem = writeCompacted(); !problem.isEmpty()) {
        file_.cancelWriting();
        return problem;
    }
    if (!file_.commit()) {
        const QString problem = fileProblem(file_, path_);
        file_.cancelWriting();
        return problem;
    }
    return {};
}

// The pages Qt wrote, compacted, or as they are when the compaction does not
// know the file; every write whole, a short one a failure.
QString PdfBook::writeCompacted()
{
    const qint64 size = pagesFile_.size();
    const uchar* mapped = size > 0 ? pagesFile_.map(0, size) : nullptr;
    if (!mapped)
        return temporaryProblem(pagesFile_);
    const std::string_view pages(reinterpret_cast<const char*>(mapped), std::size_t(size));
    const auto writePiece = [this](std::string_view piece) {
        return files::writeWhole(file_, QByteArray::fromRawData(piece.data(), qsizetype(piece.size())));
    };
    const pdf::Compaction compaction = pdf::compactPdf(pages, writePiece);
    const bool written =
        compaction == pdf::Compaction::Written || (compaction == pdf::Compaction::Unchanged && writePiece(pages));
    pagesFile_.unmap(const_cast<uchar*>(mapped));
    return written ? QString() : fileProblem(file_, path_);
}

PrintResult printReceipt(ReceiptWindow& window, PrintBackend& backend)
{
    const PaperLook paper(window);
    return backend.printPage(window);
}

ReceiptPrinting::ReceiptPrinting() : printer_(std::make_unique<DefaultPrinter>()), chooseFile_(askWithDialog) {}

ReceiptPrinting::~ReceiptPrinting() = default;

ReceiptPrinting::Outcome ReceiptPrinting::imprimir(ReceiptWindow& window)
{
    const PrintResult result = printReceipt(window, *printer_);
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
    const PrintResult saved = printReceipt(window, file);
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
