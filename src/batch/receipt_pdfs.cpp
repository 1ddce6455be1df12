#include "receipt_pdfs.h"

#include <clocale>
#include <cstdio>

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryFile>

#include "files/file_errors.h"
#include "files/replaceable.h"
#include "page/page_files.h"
#include "page/receipt_files.h"
#include "page/sheet.h"
#include "payroll/entry_values.h"
#include "payroll/message_text.h"
#include "payroll/receipt.h"
#include "regional/qt_translations.h"
#include "table/columns.h"

namespace recibo::batch {

namespace {

// The QGuiApplication that recibo-lote starts for itself keeps these: Qt's
// offscreen platform, with or without a display.
int argumentCount = 3;
char programName[] = "recibo-lote";
char platformOption[] = "-platform";
char offscreen[] = "offscreen";
char* arguments[] = {programName, platformOption, offscreen, nullptr};

// Qt's notices about its platform (a missing runtime folder) say nothing
// about the receipts:
// only its errors reach standard error.
void onlyQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "recibo-lote: %s\n", message.toLocal8Bit().constData());
}

std::string quoted(const QString& path)
{
    return payroll::quotedPathForMessage(QDir::toNativeSeparators(path).toStdString());
}

}  // namespace

QString batchPdfName(std::size_t fila, const QString& docente)
{
    const QString name = receipt::fileNameWord(docente);
    return QStringLiteral("%1-%2.pdf")
        .arg(static_cast<qulonglong>(fila), 4, 10, QLatin1Char('0'))
        .arg(name.isEmpty() ? QStringLiteral("sin-nombre") : name);
}

SheetReceiptPdfs::SheetReceiptPdfs() = default;

SheetReceiptPdfs::~SheetReceiptPdfs()
{
    book_.reset();  // never committed: leaves no file
    application_.reset();
}

Problem SheetReceiptPdfs::startApplication()
{
    if (!QCoreApplication::instance()) {
        qInstallMessageHandler(onlyQtErrors);
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            runtimeFolder_.emplace(QDir(QDir::tempPath()).filePath(QStringLiteral("recibo-lote-XXXXXX")));
            if (runtimeFolder_->isValid())
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder_->path()));
        }
        application_ = std::make_unique<QGuiApplication>(argumentCount, arguments);
        // Qt sets the C library's locale to the user's; numbers that the C
        // library writes keep the point.
        std::setlocale(LC_NUMERIC, "C");
        regional::installQtTranslations();
    } else if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return Unusable{"no se pueden dibujar recibos en este proceso: no tiene una aplicación gráfica"};
    }
    return std::nullopt;
}

void SheetReceiptPdfs::keep(const std::string& date, const std::string& receiptTitle)
{
    date_ = QString::fromStdString(date);
    title_ = QString::fromStdString(receiptTitle);
    a4_ = receipt::PdfSheet::a4();
    ready_ = true;
}

Problem SheetReceiptPdfs::open(const std::string& directory, PageFiles kind, const std::string& date,
                               const std::string& receiptTitle)
{
    if (auto problem = startApplication())
        return problem;
    const std::string option = kind == PageFiles::Svg ? "--svg" : "--pdf";
    const QString path = QFile::decodeName(directory.c_str());
    const QFileInfo info(path);
    if (info.exists() && !info.isDir())
        return Unusable{"la carpeta de " + option + " " + quoted(path) + " es un archivo, no una carpeta"};
    if (!QDir().mkpath(path))
        return Unusable{"no se pudo crear la carpeta de " + option + " " + quoted(path)};
    // A file made and removed again: the folder takes new files.
    QTemporaryFile probe(QDir(path).filePath(QStringLiteral(".recibo-lote-XXXXXX")));
    if (!probe.open())
        return Unusable{"no se puede escribir en la carpeta de " + option + " " + quoted(path) + " ("
                        + files::fileErrorText(probe, files::Access::Write).toStdString() + ")"};

    directory_ = path;
    kind_ = kind;
    keep(date, receiptTitle);
    return std::nullopt;
}

Problem SheetReceiptPdfs::openOneFile(const std::string& file, const std::string& date, const std::string& receiptTitle)
{
    if (auto problem = startApplication())
        return problem;
    const QString path = QFile::decodeName(file.c_str());
    if (const std::optional<std::string> other = files::notReplaceable(file))
        return Unusable{"el archivo de --pdf-unico " + quoted(path) + " es " + *other
                        + ", no un archivo, y no se reemplaza: escribí el nombre de un archivo, como recibos.pdf"};
    book_ = std::make_unique<receipt::PdfBook>(path, QStringLiteral("Recibos de haberes"));
    if (const QString problem = book_->open(); !problem.isEmpty()) {
        book_.reset();
        return Unusable{"no se puede guardar el PDF de --pdf-unico: " + problem.toStdString()};
    }
    bookPath_ = path;
    keep(date, receiptTitle);
    return std::nullopt;
}

std::optional<std::string> SheetReceiptPdfs::finish(bool keep)
{
    if (!book_)
        return std::nullopt;
    const std::unique_ptr<receipt::PdfBook> book = std::move(book_);
    if (!keep)
        return std::nullopt;
    if (book->pages() == 0)
        return "ninguna fila tiene recibo: no se guardó el PDF " + quoted(bookPath_);
    if (const QString problem = book->commit(); !problem.isEmpty())
        return "no se pudo guardar el PDF: " + problem.toStdString();
    return std::nullopt;
}

namespace {

// A row's page drawn into the book's part of the thread that computed it,
// or its own file already written and what became of it.
struct PreparedReceipt final : PreparedPage {
    receipt::PdfBook::Drawn drawn;
    std::optional<std::string> problem;
};

}  // namespace

// Each row's page is drawn here, by the thread that computed the row: its
// own file written whole, or a page of the book, which takes the pages in
// the table's order as write() adds them.
std::shared_ptr<const PreparedPage> SheetReceiptPdfs::prepare(const ComputedRow& row, std::size_t worker) const
{
    if (!ready_)
        return nullptr;
    auto prepared = std::make_shared<PreparedReceipt>();
    const receipt::PlacedPage placed = a4_.place(receipt::receiptSheet(row.receipt, row.position, date_, title_));
    if (book_)
        prepared->drawn = book_->draw(worker, placed);
    else
        prepared->problem = writeFile(row, placed);
    return prepared;
}

void SheetReceiptPdfs::stopWorker(std::size_t worker)
{
    if (book_)
        book_->endPart(worker);
}

std::optional<std::string> SheetReceiptPdfs::write(const ComputedRow& row)
{
    if (!ready_)
        return std::string("el PDF no está preparado");
    auto prepared = std::dynamic_pointer_cast<const PreparedReceipt>(row.page);
    if (!prepared)  // one thread: this one draws
        prepared = std::static_pointer_cast<const PreparedReceipt>(prepare(row, 0));
    if (!book_)
        return prepared->problem;
    if (const QString problem = book_->add(prepared->drawn); !problem.isEmpty())
        return "no se pudo dibujar su página: " + problem.toStdString();
    return std::nullopt;
}

std::optional<std::string> SheetReceiptPdfs::writeFile(const ComputedRow& row, const receipt::PlacedPage& placed) const
{
    const std::size_t fila = row.fila;
    const QString pdfName = batchPdfName(fila, QString::fromStdString(row.receipt.docente));
    if (kind_ == PageFiles::Svg) {
        const QString name = pdfName.chopped(4) + QStringLiteral(".svg");
        receipt::SvgFile file(QDir(directory_).filePath(name));
        const receipt::PrintResult result = file.printPlaced(placed, a4_.dpi);
        if (!result.printed)
            return "no se pudo guardar el SVG " + quoted(name) + ": " + result.problem.toStdString();
        return std::nullopt;
    }
    receipt::PdfFile file(QDir(directory_).filePath(pdfName));
    const QString title = receipt::documentTitle(QString::fromStdString(row.receipt.docente));
    const receipt::PrintResult result = file.printPlaced(placed, title);
    if (!result.printed)
        return "no se pudo guardar el PDF " + quoted(pdfName) + ": " + result.problem.toStdString();
    return std::nullopt;
}

}  // namespace recibo::batch
