#include "page_files.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QPdfWriter>
#include <QTextDocument>

#include "files/file_errors.h"
#include "files/replaceable.h"
#include "page_svg.h"
#include "payroll/message_text.h"
#include "pdf_compaction_module.h"
#include "sheet_page.h"

namespace recibo::receipt {

namespace {

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

QString documentTitle(const QString& docente)
{
    return docente.isEmpty() ? QStringLiteral("Recibo de haberes")
                             : QStringLiteral("Recibo de haberes - %1").arg(docente);
}

namespace {

// The pages of a rich text after the receipt's, laid out for the device's
// resolution, in the printed receipt's family at a size that reads.
bool paintAnnex(const QString& annex, QPagedPaintDevice& device, QPainter& painter)
{
    if (annex.isEmpty())
        return true;
    QTextDocument document;
    QFont font(QStringLiteral("Sans Serif"), 9);
    // No ligatures: the words read back from the file as they were written ("oficial").
    font.setStyleStrategy(QFont::PreferNoShaping);
    document.setDefaultFont(font);
    document.documentLayout()->setPaintDevice(&device);
    document.setHtml(annex);
    const QSizeF page(device.width(), device.height());
    document.setPageSize(page);
    for (int i = 0; i < document.pageCount(); ++i) {
        if (!device.newPage())
            return false;
        painter.save();
        painter.translate(0, -i * page.height());
        document.drawContents(&painter, QRectF(QPointF(0, i * page.height()), page));
        painter.restore();
    }
    return true;
}

}  // namespace

bool paintPage(const Sheet& sheet, QPagedPaintDevice& device, const QString& annex)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    drawSheet(sheet, painter, QRectF(0, 0, device.width(), device.height()));
    const bool annexed = paintAnnex(annex, device, painter);
    return painter.end() && annexed;
}

PdfSheet PdfSheet::a4()
{
    QBuffer unused;
    QPdfWriter writer(&unused);
    setUpPdf(writer, {});
    return {writer.logicalDpiY(), QRectF(0, 0, writer.width(), writer.height())};
}

PrintResult PdfFile::printPage(const Sheet& sheet, const QString& title)
{
    return printPlaced(PdfSheet::a4().place(sheet), title);
}

// The page is drawn in memory and then written whole: see writeWhole.
PrintResult PdfFile::printPages(const Sheet& sheet, const QString& title, const QString& annex)
{
    return printPlaced(PdfSheet::a4().place(sheet), title, annex);
}

PrintResult PdfFile::printPlaced(const PlacedPage& placed, const QString& title, const QString& annex)
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
        setUpPdf(writer, title);
        QPainter painter;
        if (painter.begin(&writer)) {
            drawPlaced(placed, painter);
            const bool annexed = paintAnnex(annex, writer, painter);
            painted = painter.end() && annexed;
        }
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

// The picture is placed as on the PDF's sheet.
PrintResult SvgFile::printPage(const Sheet& sheet, const QString&)
{
    const PdfSheet a4 = PdfSheet::a4();
    return printPlaced(a4.place(sheet), a4.dpi);
}

PrintResult SvgFile::printPlaced(const PlacedPage& placed, int dpi)
{
    if (const QString problem = notReplaceableProblem(path_); !problem.isEmpty())
        return PrintResult::failed(problem);
    const QByteArray picture = pageSvg(placed, dpi);
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

QString PdfBook::addPage(const Sheet& sheet)
{
    if (!writer_)
        return addPlaced({});
    return addPlaced(placeSheet(sheet, writer_->logicalDpiY(), QRectF(0, 0, writer_->width(), writer_->height())));
}

QString PdfBook::addPlaced(const PlacedPage& placed)
{
    const QString cannotDraw = QStringLiteral("no se pudo dibujar la página del archivo %1").arg(quotedPath(path_));
    if (!writer_)
        return cannotDraw;
    if (pages_ == 0 ? !painter_.begin(writer_.get()) : !writer_->newPage())
        return cannotDraw;
    drawPlaced(placed, painter_);
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
    const CompactionResult compaction = compactBook(pages, writePiece);
    const bool written =
        compaction == CompactionResult::Written || (compaction == CompactionResult::Unchanged && writePiece(pages));
    pagesFile_.unmap(const_cast<uchar*>(mapped));
    return written ? QString() : fileProblem(file_, path_);
}

}  // namespace recibo::receipt
