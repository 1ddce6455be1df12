#include "page_files.h"

#include <algorithm>
#include <optional>
#include <variant>

#include <sys/mman.h>

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryFile>
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

// What the PDF writer writes goes to the file whole, gathered into chunks:
// Qt writes a page in some 35 pieces of about 80 bytes, each a system call
// of its own on an unbuffered file. A write the disk cut short is
// remembered (Qt would take it for a whole one) and the file not committed.
class PdfBook::WholeWrites : public QIODevice {
public:
    explicit WholeWrites(QFileDevice& file) : file_(file) { gathered_.reserve(kChunk); }

    // Writes what is gathered and lets its room go; false when some write
    // was cut short.
    bool finish()
    {
        writeGathered();
        gathered_ = QByteArray();
        return !failed_;
    }

protected:
    qint64 writeData(const char* data, qint64 size) override
    {
        gathered_.append(data, size);
        if (gathered_.size() >= kChunk)
            writeGathered();
        return size;
    }
    qint64 readData(char*, qint64) override { return -1; }

private:
    static constexpr qsizetype kChunk = 64 * 1024;

    void writeGathered()
    {
        failed_ = failed_ || !files::writeWhole(file_, gathered_);
        gathered_.resize(0);  // keeps its room, unlike clear()
    }

    QFileDevice& file_;
    QByteArray gathered_;
    bool failed_ = false;
};

// The pages one worker draws, in the order it draws them: a Qt PDF of
// their own in a temporary file, removed with the part.
class PdfBook::Part {
public:
    explicit Part(const QString& title)
        : title_(title), file_(QDir(QDir::tempPath()).filePath(QStringLiteral("recibo-XXXXXX.pdf"))), device_(file_)
    {}

    ~Part() { end(); }

    // The pages drawn, those beneath others among them.
    std::size_t pages() const { return pages_; }

    // Where the page went in the part (the part's number left to the
    // caller), or why it could not be drawn.
    std::variant<Place, QString> draw(const PlacedPage& placed, const QString& cannotDraw)
    {
        if (!writer_) {
            // Unbuffered, as writeWhole needs to see a write the disk cut
            // short (QTemporaryFile's own open() takes no mode).
            if (!static_cast<QFile&>(file_).open(QIODevice::ReadWrite | QIODevice::Unbuffered))
                return temporaryProblem(file_);
            device_.open(QIODevice::WriteOnly);
            writer_ = std::make_unique<QPdfWriter>(&device_);
            setUpPdf(*writer_, title_);
        }
        // Receipts share half of their page (the frame, the labels, the
        // boxes), and drawing takes most of a book's time: what pages placed
        // alike on the sheet share is drawn once, on a page the book draws
        // beneath them.
        std::optional<std::size_t> under;
        PlacedPage over;
        if (!drawShared(placed, under, over) || !drawPage(under ? over : placed))
            return cannotDraw;
        if (!under)
            rememberBefore(placed);
        return Place{0, pages_ - 1, under};
    }

    // Ends the drawing, fonts and all: on the thread that drew. What only
    // the drawing needed goes with it, as the book keeps its parts to the end.
    void end()
    {
        if (!ended_)
            whole_ = painter_.isActive() && painter_.end();
        ended_ = true;
        writer_.reset();
        device_.finish();
        beneath_ = {};
        before_ = {};
    }

    // The part's file, ended: its bytes, mapped while the part lasts, or
    // why it is not whole.
    std::variant<std::string_view, QString> bytes(const QString& cannotDraw)
    {
        end();
        if (!whole_)
            return cannotDraw;
        const bool written = device_.finish();
        const qint64 size = file_.size();
        const uchar* mapped = !written || size <= 0 ? nullptr : file_.map(0, size);
        if (!mapped)
            return temporaryProblem(file_);
        mapped_ = {reinterpret_cast<const char*>(mapped), std::size_t(size)};
        return mapped_;
    }

    // The part read into the book, which does not read it again: its pages
    // leave this process's memory.
    void release()
    {
        if (!mapped_.empty())
            ::madvise(const_cast<char*>(mapped_.data()), mapped_.size(), MADV_DONTNEED);
    }

private:
    struct Beneath {
        PlacedPage page;
        std::size_t at = 0;
    };
    static constexpr std::size_t kMostPlaces = 8;

    // The page beneath `placed` in `under`, drawn first when there is none
    // yet, and what is left of `placed` in `over`; `under` stays empty when
    // `placed` is drawn whole. False when the page beneath could not be
    // drawn.
    bool drawShared(const PlacedPage& placed, std::optional<std::size_t>& under, PlacedPage& over)
    {
        const auto known = beneathFor(placed);
        if (known != beneath_.end() && without(known->page, placed, over)) {
            under = known->at;
            return true;
        }
        // What this page shares with the page beneath, when it has at least
        // half of it (that page had what some receipts lack, such as the
        // rules of their last lines, and what is left serves them all); or
        // with the page before, while none is beneath.
        const auto before = beforeFor(placed);
        const PlacedPage* other = known != beneath_.end() ? &known->page : before != before_.end() ? &*before : nullptr;
        std::vector<PagePart> shared =
            other ? sharedParts(other->page.parts, placed.page.parts) : std::vector<PagePart>();
        const bool worthIt = known != beneath_.end() ? shared.size() * 2 >= known->page.page.parts.size()
                                                     : beneath_.size() < kMostPlaces;
        if (shared.empty() || !worthIt)
            return true;
        Beneath next{{{placed.page.size, std::move(shared)}, placed.scale, placed.at}, 0};
        if (!drawPage(next.page))
            return false;
        next.at = pages_ - 1;
        without(next.page, placed, over);
        under = next.at;
        if (known != beneath_.end()) {
            *known = std::move(next);
        } else {
            beneath_.push_back(std::move(next));
            before_.erase(before);
        }
        return true;
    }

    // A page drawn whole, to share with the next page placed alike while
    // nothing is beneath pages placed so.
    void rememberBefore(const PlacedPage& placed)
    {
        if (beneathFor(placed) != beneath_.end())
            return;
        if (const auto before = beforeFor(placed); before != before_.end())
            *before = placed;
        else if (before_.size() < kMostPlaces)
            before_.push_back(placed);
    }

    std::vector<Beneath>::iterator beneathFor(const PlacedPage& placed)
    {
        return std::find_if(beneath_.begin(), beneath_.end(),
                            [&placed](const Beneath& under) { return samePlace(under.page, placed); });
    }
    std::vector<PlacedPage>::iterator beforeFor(const PlacedPage& placed)
    {
        return std::find_if(before_.begin(), before_.end(),
                            [&placed](const PlacedPage& page) { return samePlace(page, placed); });
    }

    bool drawPage(const PlacedPage& placed)
    {
        if (pages_ == 0 ? !painter_.begin(writer_.get()) : !writer_->newPage())
            return false;
        drawPlaced(placed, painter_);
        ++pages_;
        return true;
    }

    // The parts of `first` that `second` has too, in the same order.
    static std::vector<PagePart> sharedParts(const std::vector<PagePart>& first, const std::vector<PagePart>& second)
    {
        std::vector<PagePart> shared;
        std::size_t from = 0;
        for (const PagePart& part : first) {
            const auto found = std::find(second.begin() + std::ptrdiff_t(from), second.end(), part);
            if (found != second.end()) {
                shared.push_back(part);
                from = std::size_t(found - second.begin()) + 1;
            }
        }
        return shared;
    }

    static bool samePlace(const PlacedPage& a, const PlacedPage& b)
    {
        return a.scale == b.scale && a.at == b.at && a.page.size == b.page.size;
    }

    // `placed` without `under`, placed alike, in `over`; false when
    // `placed` lacks some of it, and is drawn whole.
    static bool without(const PlacedPage& under, const PlacedPage& placed, PlacedPage& over)
    {
        over = {{placed.page.size, {}}, placed.scale, placed.at};
        const std::vector<PagePart>& beneath = under.page.parts;
        std::size_t found = 0;
        for (const PagePart& part : placed.page.parts) {
            if (found < beneath.size() && part == beneath[found])
                ++found;
            else
                over.page.parts.push_back(part);
        }
        return found == beneath.size();
    }

    QString title_;
    QTemporaryFile file_;
    WholeWrites device_;  // between the writer and file_
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    std::size_t pages_ = 0;
    std::string_view mapped_;
    // Where pages are placed alike (their size tells the receipt's length),
    // what they share, drawn as page `at` of the part; and where nothing is
    // beneath yet, the page drawn before. A few places at most.
    std::vector<Beneath> beneath_;
    std::vector<PlacedPage> before_;
    bool ended_ = false;
    bool whole_ = false;
};

PdfBook::PdfBook(QString path, QString title) : path_(std::move(path)), title_(std::move(title)), file_(path_) {}

// Never committed: the file is left as it was.
PdfBook::~PdfBook() = default;

QString PdfBook::open()
{
    if (const QString problem = notReplaceableProblem(path_); !problem.isEmpty())
        return problem;
    // The parts go to the temporary folder: one that takes no file is told
    // now, not at every page.
    QTemporaryFile probe(QDir(QDir::tempPath()).filePath(QStringLiteral("recibo-XXXXXX.pdf")));
    if (!probe.open())
        return temporaryProblem(probe);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fileProblem(file_, path_);
    return {};
}

PdfBook::Drawn PdfBook::draw(std::size_t worker, const PlacedPage& placed)
{
    const QString cannotDraw = QStringLiteral("no se pudo dibujar la página del archivo %1").arg(quotedPath(path_));
    if (!file_.isOpen())
        return {{}, cannotDraw};
    Part* full = nullptr;
    Part* part = nullptr;
    std::size_t number = 0;
    {
        const std::lock_guard lock(partsMutex_);
        if (current_.size() <= worker)
            current_.resize(worker + 1, kNoPart);
        if (current_[worker] != kNoPart && parts_[current_[worker]]->pages() >= kPagesPerPart) {
            full = parts_[current_[worker]].get();
            current_[worker] = kNoPart;
        }
        if (current_[worker] == kNoPart) {
            current_[worker] = parts_.size();
            parts_.push_back(std::make_unique<Part>(title_));
        }
        number = current_[worker];
        part = parts_[number].get();
    }
    // Ended on the thread that drew it, as its fonts are this thread's.
    if (full)
        full->end();
    const auto page = part->draw(placed, cannotDraw);
    if (const auto* problem = std::get_if<QString>(&page))
        return {{}, *problem};
    Place at = std::get<Place>(page);
    at.part = number;
    return {at, {}};
}

void PdfBook::endPart(std::size_t worker)
{
    Part* part = nullptr;
    {
        const std::lock_guard lock(partsMutex_);
        if (worker < current_.size() && current_[worker] != kNoPart)
            part = parts_[current_[worker]].get();
    }
    if (part)
        part->end();
}

QString PdfBook::add(const Drawn& drawn)
{
    if (drawn.problem.isEmpty())
        order_.push_back(drawn.at);
    return drawn.problem;
}

QString PdfBook::addPage(const Sheet& sheet)
{
    return add(draw(0, PdfSheet::a4().place(sheet)));
}

QString PdfBook::commit()
{
    std::vector<std::string_view> parts;
    for (const std::unique_ptr<Part>& part : parts_) {
        const auto ended = part
            ? part->bytes(QStringLiteral("no se pudo dibujar la página del archivo %1").arg(quotedPath(path_)))
            : std::variant<std::string_view, QString>();
        if (const auto* problem = std::get_if<QString>(&ended)) {
            file_.cancelWriting();
            return *problem;
        }
        parts.push_back(std::get<std::string_view>(ended));
    }
    if (order_.empty()) {
        file_.cancelWriting();
        return QStringLiteral("no se pudo dibujar la página del archivo %1").arg(quotedPath(path_));
    }
    if (const QString problem = writeJoined(parts); !problem.isEmpty()) {
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

// The parts' pages joined in the book's order and compacted; every write
// whole, a short one a failure.
QString PdfBook::writeJoined(const std::vector<std::string_view>& parts)
{
    const auto writePiece = [this](std::string_view piece) {
        return files::writeWhole(file_, QByteArray::fromRawData(piece.data(), qsizetype(piece.size())));
    };
    const auto release = [this](std::size_t part) { parts_.at(part)->release(); };
    switch (joinBook(parts, order_, writePiece, release)) {
    case CompactionResult::Written: return {};
    case CompactionResult::WriteFailed: return fileProblem(file_, path_);
    case CompactionResult::Unchanged: break;
    }
    return QStringLiteral("no se pudieron juntar las hojas dibujadas en el archivo %1").arg(quotedPath(path_));
}

}  // namespace recibo::receipt
