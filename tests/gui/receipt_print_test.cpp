// "Imprimir" on the receipt window: the page sent to a PDF file in place of
// the printer and read back with poppler-utils as a person would read the
// paper; the window's look before, while and after printing; what happens
// when there is no printer; and recibo-lote's PDF of the same receipt.
// Runs with the Argentine regional settings (decimal comma).

#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <variant>

#include <sys/stat.h>
#include <filesystem>

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/program.h"
#include "batch/batch.h"
#include "batch/receipt_pdfs.h"
#include "common/file_size_limit.h"
#include "gui_driver.h"
#include "page/paper_layout.h"
#include "page/receipt_files.h"
#include "payroll/calculation.h"
#include "pdf_tools.h"
#include "receipt/receipt_page.h"
#include "receipt/receipt_printer.h"
#include "receipt/receipt_window.h"
#include "regional/regional.h"

using namespace recibo;
using receipt::PrintBackend;
using receipt::PrintResult;
using receipt::ReceiptPrinting;
using receipt::ReceiptWindow;

namespace {

const QString kEntry = QStringLiteral("ingreso");
const QString kDialog = QStringLiteral("advertencia");
const QString kReceipt = QStringLiteral("Haberes");
const QString kTeacher = QStringLiteral("Pérez, María Laura");
const char* const kMarginBoxes[] = {"Text2", "Text3", "Text4", "Text5", "Text6", "Text7", "Text8", "Text9"};

// A position by its code, seniority, zone and three deductions; the union's
// dues are left out, so that "AGMER" on the page is only the margin boxes.
void requestReceipt()
{
    gui::type(kEntry, "docente", kTeacher);
    gui::click(kEntry, "cargo");
    gui::type(kDialog, "codcargo", "645");
    gui::click(kDialog, "Command1");
    gui::click(kEntry, "Option4");
    gui::choose(gui::control<QComboBox>(kEntry, "zona"), 1);
    for (const char* deduction : {"Iosper", "APORTEJUB", "Ley4035"})
        gui::click(kEntry, deduction);
    gui::click(kEntry, "Command1");
}

payroll::Receipt expectedReceipt()
{
    payroll::EntryValues v;
    v.docente = kTeacher.toStdString();
    v.kind = payroll::EmploymentKind::Position;
    v.seniorityOption = 4;
    v.pctantig = 30;
    v.porcantig = "30 %";
    v.zona = 1;
    v.iosper = v.aportejub = v.ley4035 = payroll::CheckState::Checked;
    const payroll::SelectedPosition row2{"2329", "0", "0", "0", "0", "645", "2329", "Asesor Pedag Proyecto 13"};
    auto result = payroll::calculate(v, row2, regional::systemSettings());
    if (!std::holds_alternative<payroll::Receipt>(result))
        qFatal("the reference request failed");
    return std::get<payroll::Receipt>(result);
}

// The fullest receipt, 26 lines: every earning, every family allowance and
// all seven deductions.
payroll::Receipt fullestReceipt(const QString& docente, const QString& position)
{
    payroll::EntryValues v;
    v.docente = docente.toStdString();
    v.kind = payroll::EmploymentKind::Position;
    v.seniorityOption = 2;
    v.pctantig = 10;
    v.porcantig = "10 %";
    v.zona = 1;
    v.transporte = v.hijos = v.hijosdisc = v.conyuge = payroll::CheckState::Checked;
    v.cantkm = "100";
    v.cantidadhijos = "2";
    v.cantidadhijosdisc = "1";
    v.dinasist = "1";
    using payroll::CheckState;
    v.iosper = v.osplad = v.aportejub = v.ley4035 = v.agmer = v.cajacomp = v.seguro3011 = CheckState::Checked;
    const payroll::SelectedPosition row{"980", "1", "1", "1", "1", "628", "980", position.toStdString()};
    auto result = payroll::calculate(v, row, regional::systemSettings());
    if (!std::holds_alternative<payroll::Receipt>(result))
        qFatal("the fullest request failed");
    return std::get<payroll::Receipt>(result);
}

}  // namespace

Q_DECLARE_METATYPE(recibo::payroll::Receipt)
Q_DECLARE_METATYPE(recibo::payroll::SelectedPosition)

namespace {

// A teacher paid by middle-level hours, with a comment-free panel.
payroll::Receipt hoursReceipt()
{
    payroll::EntryValues v;
    v.docente = "Sosa, Ana";
    v.kind = payroll::EmploymentKind::MiddleLevelHours;
    v.numerohorasmed = "12";
    v.iosper = payroll::CheckState::Checked;
    auto result = payroll::calculate(v, {}, regional::systemSettings());
    if (!std::holds_alternative<payroll::Receipt>(result))
        qFatal("the hours request failed");
    return std::get<payroll::Receipt>(result);
}

// The name of the first text or line where two sheets differ, or empty.
QString firstDifference(const receipt::Sheet& one, const receipt::Sheet& other)
{
    const auto texts = [](const std::vector<receipt::SheetText>& a, const std::vector<receipt::SheetText>& b) {
        for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i)
            if (i >= a.size() || i >= b.size() || !(a[i] == b[i]))
                return i < a.size() ? a[i].name : b[i].name;
        return QString();
    };
    const auto lines = [](const std::vector<receipt::SheetLine>& a, const std::vector<receipt::SheetLine>& b) {
        return a == b ? QString() : QStringLiteral("lines");
    };
    for (const QString& where :
         {texts(one.frameTexts, other.frameTexts), texts(one.cells, other.cells), texts(one.panel, other.panel),
          lines(one.gridRules, other.gridRules), lines(one.frameLines, other.frameLines)})
        if (!where.isEmpty())
            return where;
    return one == other ? QString() : QStringLiteral("frame or paper");
}

ReceiptWindow* receiptWindow()
{
    return static_cast<ReceiptWindow*>(gui::window(kReceipt));
}

// Which of the controls that printing hides and shows are shown, and the
// two backgrounds: enough to tell the screen look from the paper look.
QString lookOf(const ReceiptWindow& window)
{
    QStringList look;
    for (const char* name : {"Volver", "Imprimir", "Salir", "Text1", "Text12"})
        look << QLatin1String(name) + (window.control(QLatin1String(name))->isHidden() ? "-" : "+");
    for (const char* name : kMarginBoxes)
        look << QLatin1String(name) + (window.control(QLatin1String(name))->isHidden() ? "-" : "+");
    look << "sosten=" + window.control("sosten")->palette().color(QPalette::Window).name();
    look << "Haberes=" + window.palette().color(QPalette::Window).name();
    return look.join(' ');
}

const QString kScreenLook =
    "Volver+ Imprimir+ Salir+ Text1+ Text12+ Text2- Text3- Text4- Text5- Text6- Text7- Text8- "
    "Text9- sosten=#c0ffc0 Haberes=#00c0c0";
const QString kPaperLook =
    "Volver- Imprimir- Salir- Text1- Text12- Text2+ Text3+ Text4+ Text5+ Text6+ Text7+ Text8+ "
    "Text9+ sosten=#ffffff Haberes=#ffffff";

// Stands in for the printer: notes the window's look at the moment of
// printing, then prints to a PDF file, or fails as a computer without a
// printer does, or throws.
class StandInPrinter : public PrintBackend {
public:
    enum class Then { WritePdf, Fail, Throw };

    StandInPrinter(Then then, QString pdf = {}) : then_(then), pdf_(std::move(pdf)) {}

    PrintResult printPage(const receipt::Sheet& sheet, const QString& title) override
    {
        looks << lookOf(*receiptWindow());
        switch (then_) {
        case Then::WritePdf: {
            QElapsedTimer clock;
            clock.start();
            receipt::PdfFile file(pdf_);
            const PrintResult result = file.printPage(sheet, title);
            milliseconds = clock.elapsed();
            return result;
        }
        case Then::Fail: return PrintResult::failed("no hay ninguna impresora instalada");
        case Then::Throw: throw std::runtime_error("the print system broke down");
        }
        return {};
    }

    QStringList looks;
    qint64 milliseconds = -1;

private:
    Then then_;
    QString pdf_;
};

// Answers each modal message box as it comes up: presses the button with the
// object name given for the box's object name ("Ok" for the standard one),
// noting what the box said and the window's look while it was up.
class MessageAnswers : public QObject {
public:
    explicit MessageAnswers(QHash<QString, QString> answers) : answers_(std::move(answers))
    {
        connect(&timer_, &QTimer::timeout, this, &MessageAnswers::answer);
        timer_.start(10);
    }

    struct Seen {
        QString box, text, look;
    };
    QList<Seen> seen;

private:
    void answer()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box->property("answered").toBool())
            return;
        box->setProperty("answered", true);
        seen.append({box->objectName(), box->text() + '\n' + box->informativeText(), lookOf(*receiptWindow())});
        const QString answer = answers_.value(box->objectName());
        QAbstractButton* button =
            answer == "Ok" ? box->button(QMessageBox::Ok) : box->findChild<QAbstractButton*>(answer);
        if (button)
            gui::clickOn(button);
        else
            gui::press(box, Qt::Key_Escape);
    }

    QHash<QString, QString> answers_;
    QTimer timer_;
};

QString amountOf(const payroll::ReceiptLine& line)
{
    return QString::fromStdString(line.amount);
}

bool sameImages(const QImage& a, const QImage& b)
{
    return !a.isNull() && a.size() == b.size()
        && a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

// The smallest rectangle holding every pixel that is not transparent.
QRect paintedArea(const QImage& image)
{
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

class ReceiptPrintTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        gui::quietPlatformWarnings();
        QCOMPARE(QLocale::system().decimalPoint(), QString(","));
        QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "poppler-utils is needed");
        QVERIFY2(!QStandardPaths::findExecutable("qpdf").isEmpty(), "qpdf is needed");
    }
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
        program_ = std::make_unique<app::Program>();
        program_->start();
        QVERIFY(QTest::qWaitForWindowExposed(gui::window(kEntry)));
        requestReceipt();
        QVERIFY(receiptWindow() && receiptWindow()->isVisible());
    }
    void cleanup()
    {
        program_.reset();
        folder_.reset();
    }

    void printsTheReceiptAsOnePaperPage();
    void printingTwiceGivesIdenticalPages();
    void printsTheWholeReceipt_data();
    void printsTheWholeReceipt();
    void pageFitsTheTargetKeepingProportions_data();
    void pageFitsTheTargetKeepingProportions();
    void marginBoxesOnPaper();
    void noPrinter_data();
    void noPrinter();
    void aFullDiskSavesNoCutFile();
    void aFifoIsNeverReplaced();
    void screenLookComesBackWhenPrintingThrows();
    void defaultPrinterOfAComputerWithoutPrinters();
    void fileNames_data();
    void fileNames();
    void batchWritesTheSamePage();
    void aComputedReceiptsSheetIsTheWindows_data();
    void aComputedReceiptsSheetIsTheWindows();

private:
    QString pdfPath(const QString& name) const { return QDir(folder_->path()).filePath(name); }
    // "Imprimir" pressed with the stand-in as the printer.
    StandInPrinter* standIn(StandInPrinter::Then then, const QString& pdf = {})
    {
        auto printer = std::make_unique<StandInPrinter>(then, pdf);
        StandInPrinter* kept = printer.get();
        program_->printing().setPrinter(std::move(printer));
        return kept;
    }

    std::unique_ptr<app::Program> program_;
    std::unique_ptr<QTemporaryDir> folder_;
};

void ReceiptPrintTest::printsTheReceiptAsOnePaperPage()
{
    const QString pdf = pdfPath("recibo.pdf");
    StandInPrinter* printer = standIn(StandInPrinter::Then::WritePdf, pdf);
    auto* comment = gui::control<QPlainTextEdit>(kReceipt, "Text11");
    QVERIFY(gui::clickOn(comment));
    gui::typeKeys(comment, "Cobra por ventanilla el 5");
    QCOMPARE(lookOf(*receiptWindow()).section(' ', 0, 4), QString("Volver+ Imprimir+ Salir+ Text1+ Text12+"));

    gui::click(kReceipt, "Imprimir");

    // Printed once, with the window in its paper look at that moment.
    QCOMPARE(printer->looks, QStringList{kPaperLook});
    QCOMPARE(pdf::pages(pdf), 1);
    const QString text = pdf::text(pdf);
    QVERIFY(text.contains(kTeacher));
    QVERIFY(text.contains("Recibo de sueldos de:"));
    const payroll::Receipt expected = expectedReceipt();
    QVERIFY(expected.rowsWritten() > 5);
    // pdftotext guesses the blanks between words from the glyphs' places: it
    // reads "$ 0" as "$0". Amounts are looked for without their blanks.
    QString unspaced = text;
    unspaced.remove(' ');
    for (const payroll::ReceiptLine& line : expected.lines) {
        QVERIFY2(text.contains(QString::fromUtf8(line.description.data(), line.description.size())),
                 line.description.data());
        QVERIFY2(unspaced.contains(amountOf(line).remove(' ')), line.amount.c_str());
        QVERIFY2(text.contains(QString::fromUtf8(line.code.data(), line.code.size())), line.code.data());
    }
    for (const std::string& total : {expected.thaberes, expected.tdescuentos, expected.liquido})
        QVERIFY2(text.contains(QString::fromStdString(total)), total.c_str());
    // The comment is wrapped in its box: read as running text.
    for (const char* caption : {"Total Haberes", "Total descuentos", "Liquido a pagar", "Haberes desde Sept 2.010",
                                "Asesor Pedag Proyecto 13", "Cobra por ventanilla el 5"})
        QVERIFY2(text.simplified().contains(QLatin1String(caption)), caption);
    QVERIFY(text.contains(gui::box(kReceipt, "Text10")->text()));  // the date
    QCOMPARE(text.count("AGMER"), 8);
    QVERIFY(!text.contains("Se imprime en blanco y negro"));
    QVERIFY(!text.contains("Poné tu comentario"));
    QVERIFY(!text.contains("Imprimir"));

    // Drawn as lines and text, not as a picture: small, and quick to make.
    QCOMPARE(pdf::images(pdf), 0);
    QVERIFY2(QFileInfo(pdf).size() < 100 * 1024, qPrintable(QString::number(QFileInfo(pdf).size())));
    QVERIFY2(printer->milliseconds < 1000, qPrintable(QString::number(printer->milliseconds)));
    qInfo("one receipt: %lld bytes, %lld ms", QFileInfo(pdf).size(), printer->milliseconds);

    // In shades of grey only.
    const QImage page = pdf::picture(pdf, 50);
    QVERIFY(!page.isNull());
    QVERIFY(page.allGray());

    // Back on screen: buttons and hints shown, margin boxes hidden, the
    // colours of after printing, and the comment untouched.
    QCOMPARE(lookOf(*receiptWindow()), kScreenLook);
    for (const char* name : {"Volver", "Imprimir", "Salir", "Text1", "Text12"})
        QVERIFY2(gui::control(kReceipt, name)->isVisible(), name);
    QCOMPARE(comment->toPlainText(), QString("Cobra por ventanilla el 5"));
    QCOMPARE(receiptWindow()->focusWidget(), gui::control(kReceipt, "Imprimir"));
}

void ReceiptPrintTest::printingTwiceGivesIdenticalPages()
{
    const StandInPrinter* printer = standIn(StandInPrinter::Then::WritePdf, pdfPath("primera.pdf"));
    gui::click(kReceipt, "Imprimir");
    QCOMPARE(printer->looks, QStringList{kPaperLook});
    printer = standIn(StandInPrinter::Then::WritePdf, pdfPath("segunda.pdf"));
    gui::click(kReceipt, "Imprimir");
    QCOMPARE(printer->looks, QStringList{kPaperLook});
    QCOMPARE(pdf::text(pdfPath("segunda.pdf")), pdf::text(pdfPath("primera.pdf")));
    const QImage one = pdf::picture(pdfPath("primera.pdf"), 100);
    QVERIFY(sameImages(pdf::picture(pdfPath("segunda.pdf"), 100), one));
    QCOMPARE(lookOf(*receiptWindow()), kScreenLook);
}

// The page holds the whole receipt whatever the window's height and the
// scroll bar's position: the teacher, every code, the three totals with
// their amounts. A text too long for its box wraps inside it, whole, and
// the comment continues below its box; no word is drawn over another, none
// leaves the printable area, none is smaller than 7 points.
void ReceiptPrintTest::printsTheWholeReceipt_data()
{
    QTest::addColumn<int>("heightInPixels");
    QTest::addColumn<bool>("scrolledToBottom");
    QTest::addColumn<QString>("docente");
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("comment");
    const QString longName =
        "Fernández de la Cruz Etchegaray y Sáenz Valiente, María de los Ángeles Guadalupe Inés "
        "del Corazón de Jesús";
    const QString longPosition = "Preceptor Ayudante Intern. 1era Cat. Con P. De Jorn. (Pasó A 684)";
    QString longComment;
    for (int line = 1; line <= 12; ++line)
        longComment += QStringLiteral("Renglón %1 de la nota: cobra por ventanilla. ").arg(line);
    QTest::newRow("small window, top") << 200 << false << kTeacher << "Maestro" << QString();
    QTest::newRow("small window, bottom") << 200 << true << kTeacher << "Maestro" << QString();
    QTest::newRow("design size, bottom") << 566 << true << kTeacher << "Maestro" << QString();
    QTest::newRow("long texts") << 566 << false << longName << longPosition << longComment;
}

void ReceiptPrintTest::printsTheWholeReceipt()
{
    QFETCH(int, heightInPixels);
    QFETCH(bool, scrolledToBottom);
    QFETCH(QString, docente);
    QFETCH(QString, position);
    QFETCH(QString, comment);
    const payroll::Receipt receipt = fullestReceipt(docente, position);
    QCOMPARE(receipt.rowsWritten(), payroll::kMaxReceiptLines);
    ReceiptWindow* window = receiptWindow();
    window->showReceipt(receipt, "08/12/2026");
    gui::control<QPlainTextEdit>(kReceipt, "Text11")->setPlainText(comment);
    window->resize(window->width(), heightInPixels);
    auto* bar = gui::control<QScrollBar>(kReceipt, "movedor");
    bar->setValue(scrolledToBottom ? bar->maximum() : bar->minimum());

    standIn(StandInPrinter::Then::WritePdf, pdfPath("recibo.pdf"));
    // In a window this small the button is off its lower edge: the keyboard reaches it.
    QVERIFY(gui::pressByKeyboard(gui::button(kReceipt, "Imprimir")));

    {
        // Every text fits the box it is given, and no box covers another
        // (the frame holds the receipt's).
        const receipt::PaperLook paper(*window);
        const receipt::Sheet sheet = receipt::sheetOf(*window);
        const auto placed = receipt::PaperLayout(sheet, 7.75, 17000).everyPlaced();
        const auto inFrame = [&sheet](const receipt::SheetText* item) {
            return std::none_of(sheet.panel.begin(), sheet.panel.end(),
                                [item](const receipt::SheetText& beside) { return &beside == item; });
        };
        for (auto one = placed.cbegin(); one != placed.cend(); ++one) {
            const QString name = one.key()->name;
            QVERIFY2(one->text.height() <= one->box.height() + 1, qPrintable(name));
            for (auto other = std::next(one); other != placed.cend(); ++other)
                QVERIFY2(inFrame(one.key()) != inFrame(other.key()) || !one->box.intersects(other->box),
                         qPrintable(name + " / " + other.key()->name));
        }
    }
    QCOMPARE(pdf::pages(pdfPath("recibo.pdf")), 1);
    const QString text = pdf::text(pdfPath("recibo.pdf")).simplified();
    QString unspaced = text;
    unspaced.remove(' ');
    for (const QString& whole : {docente, position, comment.simplified(), QString("Liquido a pagar")})
        QVERIFY2(text.contains(whole), qPrintable(whole));
    for (const payroll::ReceiptLine& line : receipt.lines)
        QVERIFY2(text.contains(QString::fromUtf8(line.code.data(), line.code.size())), line.code.data());
    for (const std::string& total : {receipt.thaberes, receipt.tdescuentos, receipt.liquido})
        QVERIFY2(unspaced.contains(QString::fromStdString(total).remove(' ')), total.c_str());
    QVERIFY(!text.contains(QChar(0x2026)));

    // A4 less 10 mm margins, in points, give or take a point for the
    // letters' own height. A word's size is the smallest type its glyphs
    // are drawn at (0 when none is found in its box), whatever the font.
    const QRectF printable(27.3, 27.3, 595.3 - 2 * 27.3, 841.9 - 2 * 27.3);
    const QList<pdf::Word> words = pdf::words(pdfPath("recibo.pdf"));
    const QList<pdf::DrawnText> drawn = pdf::drawnText(pdfPath("recibo.pdf"));
    QVERIFY(words.size() > 100);
    const auto inked = [](const QRectF& box) { return box.adjusted(0.5, box.height() / 5, -0.5, -box.height() / 5); };
    for (qsizetype i = 0; i < words.size(); ++i) {
        const pdf::Word& word = words[i];
        QVERIFY2(printable.contains(word.box), qPrintable(word.text));
        double size = 0;
        const QRectF around = word.box.adjusted(-0.1, -0.1, 0.1, 0.1);
        for (const pdf::DrawnText& glyph : drawn)
            if (around.contains(glyph.origin))
                size = size == 0 ? glyph.size : std::min(size, glyph.size);
        QVERIFY2(size >= 7, qPrintable(QStringLiteral("%1: %2").arg(word.text).arg(size)));
        for (qsizetype j = i + 1; j < words.size(); ++j)
            QVERIFY2(!inked(word.box).intersects(inked(words[j].box)), qPrintable(word.text + " / " + words[j].text));
    }
}

// The page drawn into a target rectangle: as large as fits, proportions of
// the window kept, at the top and centred across; every pixel grey.
void ReceiptPrintTest::pageFitsTheTargetKeepingProportions_data()
{
    QTest::addColumn<QSize>("image");
    QTest::addColumn<QRect>("target");
    QTest::addColumn<QRect>("page");
    // 11880 x 8490 twips: 792 x 566 pixels at design.
    QTest::newRow("narrow: fits the width") << QSize(640, 900) << QRect(20, 30, 594, 800) << QRect(20, 30, 594, 424);
    QTest::newRow("wide: fits the height") << QSize(900, 300) << QRect(0, 0, 900, 283) << QRect(252, 0, 396, 283);
    QTest::newRow("window's own size") << QSize(792, 566) << QRect(0, 0, 792, 566) << QRect(0, 0, 792, 566);
    QTest::newRow("twice as large") << QSize(1584, 1132) << QRect(0, 0, 1584, 1132) << QRect(0, 0, 1584, 1132);
}

void ReceiptPrintTest::pageFitsTheTargetKeepingProportions()
{
    QFETCH(QSize, image);
    QFETCH(QRect, target);
    QFETCH(QRect, page);
    QImage drawn(image, QImage::Format_ARGB32);
    drawn.fill(Qt::transparent);
    {
        const receipt::PaperLook paper(*receiptWindow());
        QPainter painter(&drawn);
        receipt::drawReceiptPage(*receiptWindow(), painter, target);
    }
    const QRect area = paintedArea(drawn);
    QVERIFY2(std::abs(area.left() - page.left()) <= 1 && std::abs(area.top() - page.top()) <= 1
                 && std::abs(area.right() - page.right()) <= 1 && std::abs(area.bottom() - page.bottom()) <= 1,
             qPrintable(
                 QStringLiteral("drawn %1,%2 %3x%4").arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height())));
    QVERIFY(drawn.allGray());
    QCOMPARE(lookOf(*receiptWindow()), kScreenLook);
}

// The eight "AGMER" boxes at the left margin, top to bottom, each in its grey.
void ReceiptPrintTest::marginBoxesOnPaper()
{
    const struct {
        const char* name;
        int y;
        int grey;
    } boxes[] = {{"Text3", 360, 224},  {"Text2", 840, 192},  {"Text5", 1320, 128}, {"Text4", 1800, 64},
                 {"Text7", 2280, 224}, {"Text9", 2760, 192}, {"Text6", 3240, 128}, {"Text8", 3720, 64}};
    const auto greyAt = [](const QImage& image, int xTwips, int yTwips) {
        return qGray(image.pixel(xTwips * 2 / 15, yTwips * 2 / 15));  // two pixels to 15 twips
    };
    QImage screen(1584, 1132, QImage::Format_ARGB32);
    screen.fill(Qt::transparent);
    QImage paper = screen;
    {
        QPainter painter(&screen);
        receipt::drawReceiptPage(*receiptWindow(), painter, screen.rect());
    }
    {
        const receipt::PaperLook look(*receiptWindow());
        QPainter painter(&paper);
        receipt::drawReceiptPage(*receiptWindow(), painter, paper.rect());
    }
    // On screen the window is pink and the frame yellow; drawn, they are grey.
    QVERIFY(screen.allGray());
    QVERIFY(paper.allGray());
    const int window = greyAt(paper, 60, 100);
    QCOMPARE(window, 255);
    for (const auto& box : boxes) {
        // Inside the box, left of its text; and the margin between boxes.
        QCOMPARE(greyAt(paper, 120 + 40, box.y + 128), box.grey);
        QCOMPARE(greyAt(paper, 120 + 300, box.y - 100), 255);
        // Not on screen: there the window's own colour shows.
        QCOMPARE(greyAt(screen, 120 + 40, box.y + 128), greyAt(screen, 60, 100));
    }
}

// No default printer: the message says the receipt could not be printed and
// why, and offers a PDF file; the window is back in its screen look while
// the message is up and after it, whatever the user answers; nothing claims
// success unless the PDF file was written.
void ReceiptPrintTest::noPrinter_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("chosenFile");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("messages");
    using Outcome = ReceiptPrinting::Outcome;
    QTest::newRow("not saved") << "noguardar" << QString() << int(Outcome::NotPrinted) << QStringList{"noseimprimio"};
    QTest::newRow("save dialog cancelled")
        << "guardarcomopdf" << QString() << int(Outcome::NotPrinted) << QStringList{"noseimprimio"};
    QTest::newRow("saved as PDF") << "guardarcomopdf"
                                  << "guardado.pdf" << int(Outcome::SavedAsPdf) << QStringList{"noseimprimio"};
    QTest::newRow("PDF cannot be written")
        << "guardarcomopdf"
        << "no-existe/guardado.pdf" << int(Outcome::NotPrinted) << QStringList{"noseimprimio", "noseguardo"};
}

void ReceiptPrintTest::noPrinter()
{
    QFETCH(QString, answer);
    QFETCH(QString, chosenFile);
    QFETCH(int, outcome);
    QFETCH(QStringList, messages);
    StandInPrinter* printer = standIn(StandInPrinter::Then::Fail);
    QStringList offered;
    QStringList looksWhileChoosing;
    const QString chosen = chosenFile.isEmpty() ? QString() : pdfPath(chosenFile);
    program_->printing().setFileChooser([&](QWidget*, const QString& suggested) {
        offered << suggested;
        looksWhileChoosing << lookOf(*receiptWindow());
        return chosen;
    });
    MessageAnswers answers({{"noseimprimio", answer}, {"noseguardo", "Ok"}});

    const auto result = program_->printing().imprimir(*receiptWindow());

    QCOMPARE(int(result), outcome);
    QCOMPARE(printer->looks, QStringList{kPaperLook});
    QStringList shown;
    for (const auto& seen : answers.seen) {
        shown << seen.box;
        QCOMPARE(seen.look, kScreenLook);
    }
    QCOMPARE(shown, messages);
    const QString told = answers.seen.value(0).text;
    QVERIFY2(told.contains("No se pudo imprimir el recibo: no hay ninguna impresora instalada."), qPrintable(told));
    QVERIFY(told.contains("PDF"));
    if (messages.size() > 1)
        QVERIFY2(answers.seen[1].text.contains("No se pudo guardar el recibo como PDF"),
                 qPrintable(answers.seen[1].text));

    if (answer == "noguardar") {
        QVERIFY(offered.isEmpty());
    } else {
        const QString expectedName = receipt::suggestedPdfName(kTeacher, QDate::currentDate());
        QCOMPARE(offered.size(), 1);
        QCOMPARE(QFileInfo(offered[0]).fileName(), expectedName);
        QCOMPARE(expectedName, "recibo-Pérez-María-Laura-" + QDate::currentDate().toString(Qt::ISODate) + ".pdf");
        QCOMPARE(looksWhileChoosing, QStringList{kScreenLook});
    }
    if (!chosen.isEmpty()) {
        const bool saved = outcome == int(ReceiptPrinting::Outcome::SavedAsPdf);
        QCOMPARE(QFileInfo::exists(chosen), saved);
        if (saved) {
            // The same page the printer would have had.
            receipt::PdfFile direct(pdfPath("directo.pdf"));
            QVERIFY(receipt::printReceipt(*receiptWindow(), direct).printed);
            QCOMPARE(pdf::pages(chosen), 1);
            QVERIFY(sameImages(pdf::picture(chosen, 60), pdf::picture(pdfPath("directo.pdf"), 60)));
        }
    }
    QCOMPARE(QDir(folder_->path()).entryList(QDir::Files | QDir::Hidden).size(),
             outcome == int(ReceiptPrinting::Outcome::SavedAsPdf) ? 2 : 0);
    QCOMPARE(lookOf(*receiptWindow()), kScreenLook);
    QVERIFY(!QApplication::activeModalWidget());
}

// A disk that fills up just before the PDF's last bytes: a failure that
// says so, and the file that was there left as it was, not cut.
void ReceiptPrintTest::aFullDiskSavesNoCutFile()
{
    const QString pdf = pdfPath("recibo.pdf");
    receipt::PdfFile file(pdf);
    QVERIFY(receipt::printReceipt(*receiptWindow(), file).printed);
    QFile before(pdf);
    QVERIFY(before.open(QIODevice::ReadOnly));
    const QByteArray saved = before.readAll();
    const PrintResult result = [&] {
        const FileSizeLimit disk(saved.size() - 100);
        return receipt::printReceipt(*receiptWindow(), file);
    }();
    QVERIFY(!result.printed);
    QVERIFY2(result.problem.contains("no se pudo escribir el archivo") && result.problem.contains("disco"),
             qPrintable(result.problem));
    QFile after(pdf);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), saved);
    QCOMPARE(QDir(folder_->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"recibo.pdf"});
}

// "Guardar recibo como PDF…" and the whole planilla's book onto a FIFO:
// refused, and the FIFO left a FIFO.
void ReceiptPrintTest::aFifoIsNeverReplaced()
{
    const QString fifo = pdfPath("tubo.pdf");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    receipt::PdfFile file(fifo);
    const PrintResult result = receipt::printReceipt(*receiptWindow(), file);
    QVERIFY(!result.printed);
    QVERIFY2(result.problem.contains("es una tubería (FIFO), no un archivo"), qPrintable(result.problem));
    receipt::PdfBook book(fifo, QStringLiteral("Recibos"));
    QVERIFY(book.open().contains("es una tubería (FIFO), no un archivo"));
    QVERIFY(std::filesystem::is_fifo(fifo.toStdString()));
}

void ReceiptPrintTest::screenLookComesBackWhenPrintingThrows()
{
    StandInPrinter throwing(StandInPrinter::Then::Throw);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, receipt::printReceipt(*receiptWindow(), throwing));
    QCOMPARE(throwing.looks, QStringList{kPaperLook});
    QCOMPARE(lookOf(*receiptWindow()), kScreenLook);
}

// The real default-printer path on a computer that has no printer: a
// failure that says why, never a success.
void ReceiptPrintTest::defaultPrinterOfAComputerWithoutPrinters()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("this computer has a default printer");
    receipt::DefaultPrinter printer;
    const PrintResult result = receipt::printReceipt(*receiptWindow(), printer);
    QVERIFY(!result.printed);
    QCOMPARE(result.problem, "no hay ninguna impresora predeterminada instalada en esta computadora");
    QCOMPARE(lookOf(*receiptWindow()), kScreenLook);
}

void ReceiptPrintTest::fileNames_data()
{
    QTest::addColumn<QString>("docente");
    QTest::addColumn<QString>("word");
    QTest::newRow("name") << "Pérez, María Laura"
                          << "Pérez-María-Laura";
    QTest::newRow("ñ and ü kept") << "Muñoz Güemes"
                                  << "Muñoz-Güemes";
    QTest::newRow("decomposed accents") << QString::fromUtf8("Pe\u0301rez") << "Pérez";
    QTest::newRow("path") << "../../etc/passwd"
                          << "etc-passwd";
    QTest::newRow("reserved characters") << "a/b\\c:d*e?f\"g<h>i|j"
                                         << "a-b-c-d-e-f-g-h-i-j";
    QTest::newRow("control characters") << "Ana\n\tSosa\r"
                                        << "Ana-Sosa";
    QTest::newRow("dots and blanks") << " .Juan C. O'Brien. "
                                     << "Juan-C-O-Brien";
    QTest::newRow("nothing usable") << " ,;./ "
                                    << "";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("long") << QString(100, 'x') << QString(60, 'x');
    QTest::newRow("whole words only") << QString(50, 'a') + " bbbb cccccccccc" << QString(50, 'a') + "-bbbb";
    QTest::newRow("one long word") << QString(70, 'a') + " b" << QString(60, 'a');
}

void ReceiptPrintTest::fileNames()
{
    QFETCH(QString, docente);
    QFETCH(QString, word);
    QCOMPARE(receipt::fileNameWord(docente), word);
    QCOMPARE(batch::batchPdfName(7, docente), "0007-" + (word.isEmpty() ? "sin-nombre" : word) + ".pdf");
    QCOMPARE(receipt::suggestedPdfName(docente, QDate(2024, 5, 14)),
             "recibo-" + (word.isEmpty() ? QString() : word + "-") + "2024-05-14.pdf");
    QCOMPARE(batch::batchPdfName(12345, "Ana"), QString("12345-Ana.pdf"));
}

// recibo-lote --pdf writes, for the same teacher, the same page that
// "Imprimir" prints after "Calcular" on the desktop.
void ReceiptPrintTest::batchWritesTheSamePage()
{
    standIn(StandInPrinter::Then::WritePdf, pdfPath("escritorio.pdf"));
    gui::click(kReceipt, "Imprimir");

    const QString folder = pdfPath("lote");
    std::istringstream table(
        "docente,tipo,codcargo,antiguedad,zona,Iosper,APORTEJUB,Ley4035\n"
        "\"Pérez, María Laura\",cargo,645,4,1,1,1,1\n");
    std::ostringstream out, err;
    batch::SheetReceiptPdfs pdfs;
    const int status = batch::runBatch({"--locale", "es_AR", "--pdf", folder.toStdString()}, table, out, err, &pdfs);
    QCOMPARE(status, batch::kAllRowsComputed);
    QCOMPARE(QString::fromStdString(err.str()), QString());
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"0001-Pérez-María-Laura.pdf"});

    const QString fromBatch = QDir(folder).filePath("0001-Pérez-María-Laura.pdf");
    QCOMPARE(pdf::text(fromBatch), pdf::text(pdfPath("escritorio.pdf")));
    QVERIFY(sameImages(pdf::picture(fromBatch, 100), pdf::picture(pdfPath("escritorio.pdf"), 100)));
}

// The page recibo-lote and the whole-school PDF draw with no window is the
// one the receipt window prints after "Listo" and "Calcular".
void ReceiptPrintTest::aComputedReceiptsSheetIsTheWindows_data()
{
    QTest::addColumn<payroll::Receipt>("receipt");
    QTest::addColumn<payroll::SelectedPosition>("position");
    const payroll::SelectedPosition row2{"2329", "0", "0", "0", "0", "645", "2329", "Asesor Pedag Proyecto 13"};
    const payroll::SelectedPosition row{"980", "1", "1", "1", "1", "628", "980", "Maestro De Grado"};
    QTest::newRow("position") << expectedReceipt() << row2;
    QTest::newRow("26 lines, long names") << fullestReceipt(QString(80, 'W'), QString(90, 'M')) << row;
    QTest::newRow("hours after a position") << hoursReceipt() << row;
}

void ReceiptPrintTest::aComputedReceiptsSheetIsTheWindows()
{
    QFETCH(payroll::Receipt, receipt);
    QFETCH(payroll::SelectedPosition, position);
    ReceiptWindow* window = receiptWindow();
    window->showPositionPanel({"1", "2", "3", "4", "5", "6"});  // what an earlier receipt left
    window->fillReceipt(receipt, position, "08/12/2026");
    const QString title = gui::control<QLabel>(kReceipt, "Label3")->text();
    const receipt::PaperLook paper(*window);
    QCOMPARE(firstDifference(receipt::sheetOf(*window), receipt::receiptSheet(receipt, position, "08/12/2026", title)),
             QString());
}

QTEST_MAIN(ReceiptPrintTest)
#include "receipt_print_test.moc"
