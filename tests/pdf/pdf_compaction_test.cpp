// Qt's own PDF output written again by recibo_pdf, read back with
// poppler-utils: the same text, every word where it was, the same look.

#include <cmath>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "pdf/pdf_compaction.h"
#include "pdf_tools.h"

namespace recibo::pdf {
namespace {

using Drawing = std::function<void(QPainter&, int page)>;

// `pages` pages drawn as PdfBook draws them: A4 at 1200 dots per inch.
QByteArray qtPdf(int pages, const Drawing& draw)
{
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&bytes);
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(QPageSize::A4));
        QPainter painter(&writer);
        for (int page = 0; page < pages; ++page) {
            if (page > 0)
                writer.newPage();
            draw(painter, page);
        }
    }
    return bytes.data();
}

QByteArray compacted(const QByteArray& file, Compaction& result)
{
    QByteArray out;
    result = compactPdf(std::string_view(file.constData(), std::size_t(file.size())), [&](std::string_view piece) {
        out.append(piece.data(), qsizetype(piece.size()));
        return true;
    });
    return out;
}

QFont sans(double points)
{
    QFont font(QStringLiteral("Nimbus Sans"));
    font.setPointSizeF(points);
    return font;
}

void drawLabelAndText(QPainter& painter, const QFont& font, const QString& text, int page)
{
    painter.setFont(sans(11));
    painter.drawRect(QRect(500, 500, 8000, 2000));
    painter.drawText(QPoint(700, 1000), QStringLiteral("Recibo de haberes: el mismo en cada página"));
    painter.setFont(font);
    painter.drawText(QPoint(700 + 37 * page, 2000), text.arg(page * 7919));
}

class PdfCompaction : public ::testing::Test {
protected:
    QString save(const QString& name, const QByteArray& bytes)
    {
        const QString path = QDir(folder_.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return path;
    }
    QTemporaryDir folder_;
};

// Kerning, odd spacing and sizes, stretched and turned text: what the
// merged runs must place exactly where Qt's steps did.
TEST_F(PdfCompaction, EveryWordStaysWhereQtPutIt)
{
    struct Case {
        const char* what;
        Drawing draw;
        // pdftotext groups turned glyphs into words by guesses that a
        // hundredth of a point tips: only the picture tells.
        bool upright = true;
    };
    QFont spaced = sans(8.7);
    spaced.setLetterSpacing(QFont::AbsoluteSpacing, 0.37);
    spaced.setWordSpacing(2.3);
    QFont stretched = sans(13.3);
    stretched.setStretch(87);
    QFont bold = sans(23.7);
    bold.setBold(true);
    const Case cases[] = {
        {"kerning", [](QPainter& p, int page) { drawLabelAndText(p, sans(9), "AVATAR WAVE To Ty %1", page); }},
        {"spacing", [&](QPainter& p, int page) { drawLabelAndText(p, spaced, "Líquido a pagar %1,05", page); }},
        {"stretch", [&](QPainter& p, int page) { drawLabelAndText(p, stretched, "Antigüedad %1 años", page); }},
        {"bold", [&](QPainter& p, int page) { drawLabelAndText(p, bold, "TOTAL %1", page); }},
        {"turned",
         [](QPainter& p, int page) {
             p.translate(3000, 6000);
             p.rotate(17);
             drawLabelAndText(p, sans(10.1), "Descuentos %1", page);
         },
         false},
    };
    for (const Case& c : cases) {
        Compaction result{};
        const QString before = save(QStringLiteral("qt.pdf"), qtPdf(3, c.draw));
        const QString after = save(QStringLiteral("compacto.pdf"), compacted(qtPdf(3, c.draw), result));
        ASSERT_EQ(result, Compaction::Written) << c.what;
        if (c.upright) {
            EXPECT_EQ(::pdf::text(after), ::pdf::text(before)) << c.what;
        }
        for (int page = 1; page <= 3; ++page) {
            EXPECT_TRUE(::pdf::lookAlike(::pdf::picture(after, 72, page), ::pdf::picture(before, 72, page)))
                << c.what << " page " << page;
            if (!c.upright)
                continue;
            const auto qt = ::pdf::words(before, page), ours = ::pdf::words(after, page);
            ASSERT_EQ(ours.size(), qt.size()) << c.what;
            ASSERT_FALSE(qt.isEmpty()) << c.what;
            for (qsizetype i = 0; i < qt.size(); ++i) {
                const QRectF a = qt[i].box, b = ours[i].box;
                EXPECT_EQ(ours[i].text, qt[i].text) << c.what;
                EXPECT_LT(std::max({std::abs(a.left() - b.left()), std::abs(a.right() - b.right()),
                                    std::abs(a.top() - b.top()), std::abs(a.bottom() - b.bottom())}),
                          0.05)
                    << c.what << " " << qt[i].text.toStdString();
            }
        }
    }
}

// The label, the frame and their state drawn on every page: written once.
TEST_F(PdfCompaction, BlocksEveryPageHasAreWrittenOnce)
{
    const Drawing draw = [](QPainter& p, int page) { drawLabelAndText(p, sans(9), "Docente %1", page); };
    Compaction result{};
    const QByteArray qtFew = qtPdf(4, draw), qtMany = qtPdf(24, draw);
    const QByteArray few = compacted(qtFew, result), many = compacted(qtMany, result);
    ASSERT_EQ(result, Compaction::Written);
    EXPECT_EQ(many.count("/Subtype /Form"), few.count("/Subtype /Form"));
    EXPECT_GT(few.count("/Subtype /Form"), 0);
    // A page holds its own text and calls the forms.
    EXPECT_LT(many.size() - few.size(), (qtMany.size() - qtFew.size()) / 2);
}

// Tests and packages compare files: the same book gives the same bytes.
TEST_F(PdfCompaction, TheSameBookGivesTheSameBytes)
{
    const QByteArray file = qtPdf(3, [](QPainter& p, int page) { drawLabelAndText(p, sans(9), "%1", page); });
    Compaction first{}, second{};
    EXPECT_EQ(compacted(file, first), compacted(file, second));
    EXPECT_EQ(first, Compaction::Written);
}

TEST_F(PdfCompaction, AWriterThatFailsStopsTheWriting)
{
    const QByteArray file = qtPdf(2, [](QPainter& p, int page) { drawLabelAndText(p, sans(9), "%1", page); });
    int pieces = 0;
    EXPECT_EQ(compactPdf(std::string_view(file.constData(), std::size_t(file.size())),
                         [&](std::string_view) { return ++pieces, false; }),
              Compaction::WriteFailed);
    EXPECT_EQ(pieces, 1);
}

// A page beneath others is no page of the book, and must be one of its
// part's: an order that says otherwise joins nothing.
TEST_F(PdfCompaction, AnOrderWithAPageBeneathItCannotBeJoinsNothing)
{
    const QByteArray file = qtPdf(2, [](QPainter& p, int page) { drawLabelAndText(p, sans(9), "%1", page); });
    const std::vector<std::string_view> parts{std::string_view(file.constData(), std::size_t(file.size()))};
    const std::vector<std::vector<PartPage>> orders{
        {{0, 1, 2}},          // no such page
        {{0, 0}, {0, 1, 0}},  // the page beneath is a page of the book too
        {{0, 1, 1}},          // beneath itself
    };
    for (const auto& order : orders) {
        int pieces = 0;
        EXPECT_EQ(joinParts(parts, order, [&](std::string_view) { return ++pieces, true; }), Compaction::Unchanged);
        EXPECT_EQ(pieces, 0);
    }
    EXPECT_EQ(joinParts(parts, {{0, 1, 0}}, [](std::string_view) { return true; }), Compaction::Written);
}

// Receipts of several lengths make a book of several page sizes: each
// page keeps its own, and a page turned by another program stays turned.
TEST_F(PdfCompaction, EveryPageKeepsItsSizeAndTurn)
{
    const QPageSize sizes[] = {QPageSize(QPageSize::A4), QPageSize(QPageSize::Legal), QPageSize(QPageSize::A4),
                               QPageSize(QSizeF(210, 150), QPageSize::Millimeter)};
    QBuffer qt;
    qt.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&qt);
        writer.setResolution(1200);
        writer.setPageSize(sizes[0]);
        QPainter painter(&writer);
        for (int page = 0; page < 4; ++page) {
            if (page > 0) {
                writer.setPageSize(sizes[page]);
                writer.newPage();
            }
            drawLabelAndText(painter, sans(9), "Docente %1", page);
        }
    }
    const QString drawn = save(QStringLiteral("qt.pdf"), qt.data());
    const QString before = QDir(folder_.path()).filePath(QStringLiteral("girada.pdf"));
    ASSERT_EQ(::pdf::run("qpdf", {"--rotate=+90:3", drawn, before}).status, 0);
    QFile turned(before);
    ASSERT_TRUE(turned.open(QIODevice::ReadOnly));
    Compaction result{};
    const QString after = save(QStringLiteral("compacto.pdf"), compacted(turned.readAll(), result));
    ASSERT_EQ(result, Compaction::Written);
    const auto pageSizes = [](const QString& file) {
        QStringList lines;
        for (const QString& line :
             QString::fromUtf8(::pdf::run("pdfinfo", {"-f", "1", "-l", "4", file}).out).split(u'\n'))
            if (line.startsWith("Page ") && (line.contains(" size:") || line.contains(" rot:")))
                lines << line;
        return lines;
    };
    EXPECT_EQ(pageSizes(after), pageSizes(before));
    EXPECT_TRUE(pageSizes(before).contains(QStringLiteral("Page    3 rot:   90")));
}

// A page drawn over another: the page beneath is drawn first, also when
// the page's own content cannot be read and is copied as it was.
TEST_F(PdfCompaction, APageOverAnotherIsDrawnOverIt)
{
    const QByteArray qt = qtPdf(
        2, [](QPainter& p, int page) { drawLabelAndText(p, sans(9), page == 0 ? "Debajo %1" : "Encima %1", page); });
    // The second page's content, not deflated data any longer.
    static const QRegularExpression secondContent(QStringLiteral(R"(page 2: \d+ \d+ R\n\s*content:\n\s*(\d+) 0 R)"));
    const QString contents =
        secondContent.match(QString::fromUtf8(::pdf::run("qpdf", {"--show-pages", save("qt.pdf", qt)}).out))
            .captured(1);
    QByteArray damaged = qt;
    const qsizetype object = damaged.indexOf("\n" + contents.toLatin1() + " 0 obj");
    ASSERT_GT(object, 0);
    damaged.replace(damaged.indexOf("stream\n", object) + 7, 16, QByteArray(16, 'x'));
    // What Qt drew of the page itself shows only when it can be read.
    for (const auto& [file, readable] : {std::pair{qt, true}, {damaged, false}}) {
        QByteArray book;
        ASSERT_EQ(
            joinParts({std::string_view(file.constData(), std::size_t(file.size()))}, {{0, 1, 0}},
                      [&](std::string_view piece) { return book.append(piece.data(), qsizetype(piece.size())), true; }),
            Compaction::Written);
        const QString text = ::pdf::text(save(QStringLiteral("libro.pdf"), book));
        EXPECT_TRUE(text.contains(QStringLiteral("Debajo"))) << readable;
        EXPECT_EQ(text.contains(QStringLiteral("Encima")), readable);
    }
}

// Parts are read one at a time, in their order, and all before the first
// piece goes out, whatever the order of their pages in the book; once read,
// a part is not read again, its fonts neither.
TEST_F(PdfCompaction, PartsAreReadInTurnBeforeAnythingIsWritten)
{
    QByteArray first = qtPdf(2, [](QPainter& p, int page) { drawLabelAndText(p, sans(9), "A%1", page); });
    QByteArray second = qtPdf(2, [](QPainter& p, int page) { drawLabelAndText(p, sans(9), "B%1", page); });
    const std::vector<std::string_view> parts{std::string_view(first.data(), std::size_t(first.size())),
                                              std::string_view(second.data(), std::size_t(second.size()))};
    std::vector<std::string> events;
    QByteArray book;
    EXPECT_EQ(joinParts(
                  parts, {{1, 0}, {0, 1}, {1, 1}, {0, 0}},
                  [&](std::string_view piece) {
                      if (book.isEmpty())
                          events.push_back("written");
                      book.append(piece.data(), qsizetype(piece.size()));
                      return true;
                  },
                  [&](std::size_t part) {
                      events.push_back("read " + std::to_string(part));
                      (part == 0 ? first : second).fill('x');
                  }),
              Compaction::Written);
    EXPECT_EQ(events, (std::vector<std::string>{"read 0", "read 1", "written"}));
    const QString path = save("libro.pdf", book);
    for (const auto& [page, text] : {std::pair{1, "B0"}, {2, "A7919"}, {3, "B7919"}, {4, "A0"}}) {
        QStringList words;
        for (const auto& word : ::pdf::words(path, page))
            words << word.text;
        EXPECT_TRUE(words.contains(QString::fromLatin1(text))) << page;
    }
}

}  // namespace
}  // namespace recibo::pdf

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
