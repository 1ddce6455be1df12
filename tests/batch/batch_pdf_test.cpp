// recibo-lote --pdf DIR with the real writer: the receipt window off
// screen, one PDF file per computed row, read back with poppler-utils.

#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "batch/batch.h"
#include "batch/receipt_pdfs.h"
#include "batch_test_support.h"
#include "common/file_size_limit.h"
#include "pdf_tools.h"

namespace recibo::batch {
namespace {

struct Outcome {
    int status;
    std::string out, err;
};

Outcome runWith(const std::vector<std::string>& args, const std::string& table)
{
    std::istringstream in(table);
    std::ostringstream out, err;
    SheetReceiptPdfs pdfs;
    const int status = runBatch(args, in, out, err, &pdfs);
    return {status, out.str(), err.str()};
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

class BatchPdf : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
    QString path(const QString& name) const { return QDir(folder_.path()).filePath(name); }
    QTemporaryDir folder_;
};

// Row 2 cannot be computed and gets no file; the names carry the row
// number and the teacher's name made safe for any file system.
TEST_F(BatchPdf, OnePdfPerComputedRowNamedByRowAndTeacher)
{
    const QString out = path("recibos");
    const Outcome run = runWith({"--locale", "es_AR", "--pdf", out.toStdString()},
                                "docente;tipo;codcargo;numerohorasmed;numerohorassup;antiguedad;Iosper\n"
                                "\"Pérez, María Laura\";cargo;645;0;0;4;1\n"
                                "Beto;jornada;;0;0;;\n"
                                "O'Brien / Juan;medio;;12;0;;1\n"
                                ";superior;;0;10,5;;\n");
    EXPECT_EQ(run.status, kSomeRowFailed) << run.err;
    EXPECT_EQ(run.err, "");
    const QStringList expected = {"0001-Pérez-María-Laura.pdf", "0003-O-Brien-Juan.pdf", "0004-sin-nombre.pdf"};
    ASSERT_EQ(filesIn(out), expected);

    const std::vector<QJsonObject> objects = testing::BatchRun{run.status, run.out, run.err}.objects();
    ASSERT_EQ(objects.size(), 4u);
    const std::size_t rows[] = {0, 2, 3};
    for (int i = 0; i < 3; ++i) {
        const QString file = QDir(out).filePath(expected[i]);
        const QJsonObject& receipt = objects[rows[i]];
        EXPECT_EQ(pdf::pages(file), 1) << expected[i].toStdString();
        EXPECT_EQ(pdf::images(file), 0) << expected[i].toStdString();
        EXPECT_LT(QFileInfo(file).size(), 100 * 1024) << expected[i].toStdString();
        QString text = pdf::text(file);
        EXPECT_TRUE(text.contains(receipt.value(u"docente").toString())) << text.toStdString();
        EXPECT_TRUE(text.count("AGMER") == 8) << text.toStdString();
        EXPECT_FALSE(text.contains("Se imprime en blanco y negro"));
        EXPECT_FALSE(text.contains("Poné tu comentario"));
        text.remove(' ');  // pdftotext may drop the blank after "$"
        EXPECT_TRUE(text.contains(receipt.value(u"liquido").toString().remove(' '))) << text.toStdString();
    }
}

// Every receipt of a run is its own: a later receipt with fewer lines or of
// another kind shows nothing of an earlier one.
TEST_F(BatchPdf, EachPageShowsOnlyItsOwnReceipt)
{
    const QString out = path("recibos");
    const Outcome run = runWith({"--locale", "es_AR", "--pdf", out.toStdString()},
                                "docente,tipo,codcargo,numerohorasmed,Iosper,Osplad,cajacomp\n"
                                "Ana,cargo,645,0,1,1,1\n"
                                "Beto,medio,,12,0,0,0\n");
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err;
    const QString second = pdf::text(QDir(out).filePath("0002-Beto.pdf"));
    ASSERT_FALSE(second.isEmpty());
    for (const char* earlier : {"Ana", "IOSPER", "Asesor Pedag Proyecto 13", "Código del cargo", "Ptos. Comp Básico"})
        EXPECT_FALSE(second.contains(QLatin1String(earlier))) << earlier;
    EXPECT_TRUE(second.contains("Horas de nivel medio"));
    EXPECT_TRUE(second.contains("Cantidad de horas"));
}

// With -j the computing threads lay out and write each row's file: the
// same files, the same output and the same messages as one thread.
// 40 rows, every seventh without a receipt.
std::string rowsSomeFailing()
{
    std::string table = "docente,tipo,codcargo,numerohorasmed,antiguedad,Iosper\n";
    for (int row = 1; row <= 40; ++row)
        table += row % 7 == 0 ? "Sin Cargo,cargo,1,0,1,1\n"
                              : "Docente " + std::to_string(row) + (row % 2 ? ",cargo,645,0," : ",medio,,12,")
                + std::to_string(row % 5) + ",1\n";
    return table;
}

TEST_F(BatchPdf, ThreadsWriteTheFilesOneThreadWrites)
{
    const std::string table = rowsSomeFailing();
    for (const char* option : {"--pdf", "--svg"}) {
        std::vector<Outcome> runs;
        for (const char* jobs : {"1", "2"})
            runs.push_back(runWith({"--locale", "C", "-j", jobs, option, path(jobs).toStdString()}, table));
        EXPECT_EQ(runs[0].status, kSomeRowFailed) << option;
        EXPECT_EQ(runs[1].status, runs[0].status) << option;
        EXPECT_EQ(runs[1].out, runs[0].out) << option;
        EXPECT_EQ(runs[1].err, runs[0].err) << option;
        const QStringList files = filesIn(path("1"));
        ASSERT_EQ(files.size(), 35) << option;
        ASSERT_EQ(filesIn(path("2")), files) << option;
        for (const QString& name : files) {
            const auto read = [&](const char* jobs) {
                const QString file = QDir(path(jobs)).filePath(name);
                if (name.endsWith(".pdf"))
                    return pdf::text(file);
                QFile svg(file);
                return svg.open(QIODevice::ReadOnly) ? QString::fromUtf8(svg.readAll()) : QString();
            };
            EXPECT_EQ(read("2"), read("1")) << name.toStdString();
        }
        QDir(path("1")).removeRecursively();
        QDir(path("2")).removeRecursively();
    }
}

// Each thread draws its pages apart, in temporary files that go away: the
// book comes out as one thread draws it, in the table's order; a run whose
// output fails while the threads draw leaves no book.
TEST_F(BatchPdf, ThreadsDrawTheBookOneThreadDraws)
{
    const QByteArray temporaryFolder = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(folder_.path()));
    std::vector<Outcome> runs;
    QStringList texts;
    for (const char* jobs : {"1", "2"}) {
        const QString book = path(QStringLiteral("libro-%1.pdf").arg(jobs));
        runs.push_back(runWith({"--locale", "C", "-j", jobs, "--pdf-unico", book.toStdString()}, rowsSomeFailing()));
        EXPECT_EQ(pdf::pages(book), 35) << jobs;
        texts.push_back(pdf::text(book));
    }
    {
        testing::RefusingBuffer refusing;
        std::ostream out(&refusing);
        std::istringstream in(rowsSomeFailing());
        std::ostringstream err;
        SheetReceiptPdfs pdfs;
        EXPECT_EQ(
            runBatch({"--locale", "C", "-j", "2", "--pdf-unico", path("no.pdf").toStdString()}, in, out, err, &pdfs),
            kInputUnusable);
    }
    qputenv("TMPDIR", temporaryFolder);
    EXPECT_EQ(runs[0].status, kSomeRowFailed);
    EXPECT_EQ(runs[1].status, runs[0].status);
    EXPECT_EQ(runs[1].out, runs[0].out);
    EXPECT_EQ(texts[1], texts[0]);
    EXPECT_EQ(filesIn(folder_.path()), (QStringList{"libro-1.pdf", "libro-2.pdf"}));
}

TEST_F(BatchPdf, MissingFoldersAreMadeAndOlderFilesReplaced)
{
    const QString out = path("a/b/c");
    ASSERT_TRUE(QDir().mkpath(out));
    {
        std::ofstream(QDir(out).filePath("0001-Ana.pdf").toStdString()) << "not a PDF";
    }
    const Outcome run =
        runWith({"--locale", "C", "--pdf", out.toStdString()}, "docente,tipo,numerohorasmed\nAna,medio,12\n");
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err;
    EXPECT_EQ(filesIn(out), QStringList{"0001-Ana.pdf"});
    EXPECT_EQ(pdf::pages(QDir(out).filePath("0001-Ana.pdf")), 1);

    const QString fresh = path("nueva/carpeta");
    const Outcome second =
        runWith({"--locale", "C", "--pdf", fresh.toStdString()}, "docente,tipo,numerohorasmed\nAna,medio,12\n");
    ASSERT_EQ(second.status, kAllRowsComputed) << second.err;
    EXPECT_EQ(filesIn(fresh), QStringList{"0001-Ana.pdf"});
}

// A folder that cannot take files: exit status 2 before anything is
// computed, nothing on standard output, nothing made.
TEST_F(BatchPdf, FolderThatCannotTakeFiles)
{
    const QString file = path("archivo");
    {
        std::ofstream(file.toStdString()) << "x";
    }
    struct Case {
        QString folder;
        const char* saying;
    };
    const Case cases[] = {
        {file, "es un archivo"},
        {file + "/debajo", "no se pudo crear"},
    };
    for (const Case& c : cases) {
        const Outcome run =
            runWith({"--locale", "C", "--pdf", c.folder.toStdString()}, "docente,tipo,numerohorasmed\nAna,medio,12\n");
        EXPECT_EQ(run.status, kInputUnusable) << c.saying;
        EXPECT_EQ(run.out, "") << c.saying;
        EXPECT_NE(run.err.find(c.saying), std::string::npos) << run.err;
        // The folder named by its end, where it differs from the others.
        EXPECT_NE(run.err.find(c.folder.right(20).toStdString() + "»"), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_EQ(filesIn(folder_.path()), QStringList{"archivo"});
}

// --pdf-unico: one page per computed row, in the table's order; the file
// written whole or not at all.
TEST_F(BatchPdf, OneFileWithAPagePerComputedRowInOrder)
{
    const QString file = path("todos.pdf");
    const Outcome run = runWith({"--locale", "C", "-j", "2", "--pdf-unico", file.toStdString()},
                                "docente,tipo,numerohorasmed\n"
                                "Ana,medio,12\nBeto,jornada,0\nCarla,medio,10\nDora,medio,8\n");
    EXPECT_EQ(run.status, kSomeRowFailed) << run.err;
    EXPECT_EQ(run.err, "");
    ASSERT_EQ(pdf::pages(file), 3);
    const QString text = pdf::text(file);
    const qsizetype ana = text.indexOf("Ana"), carla = text.indexOf("Carla"), dora = text.indexOf("Dora");
    EXPECT_TRUE(ana >= 0 && ana < carla && carla < dora) << text.toStdString();
    EXPECT_FALSE(text.contains("Beto"));
    EXPECT_EQ(text.count("AGMER"), 3 * 8);
    EXPECT_EQ(filesIn(folder_.path()), QStringList{"todos.pdf"});
}

// A table of `rows` teachers, each with other hours: every page different.
std::string teachers(int rows)
{
    std::string table = "docente,tipo,numerohorasmed\n";
    for (int row = 1; row <= rows; ++row)
        table += "Docente " + std::to_string(row) + ",medio," + std::to_string(row % 30 + 1) + "\n";
    return table;
}

// Past the pages a part of the book holds, the worker starts another, and
// the join lets each part go before the next: every page is still there
// once, in the table's order.
TEST_F(BatchPdf, ABookOfSeveralPartsKeepsTheTableOrder)
{
    constexpr int kRows = 600;
    const QString file = path("muchos.pdf");
    const Outcome run = runWith({"--locale", "C", "-j", "1", "--pdf-unico", file.toStdString()}, teachers(kRows));
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(pdf::pages(file), kRows);
    std::vector<int> rows, expected;
    const QString text = pdf::text(file);
    for (const auto& match : QRegularExpression(QStringLiteral("Docente (\\d+)\\b")).globalMatch(text))
        rows.push_back(match.captured(1).toInt());
    for (int row = 1; row <= kRows; ++row)
        expected.push_back(row);
    EXPECT_EQ(rows, expected);
}

// The book is written again smaller: each page looks and reads as the
// receipt's own file (which is Qt's PDF as it was), and what every page
// shares is written once (by one thread here: each thread's pages carry
// their own fonts).
TEST_F(BatchPdf, OneFileLooksAsEachReceiptAndSharesWhatPagesHaveInCommon)
{
    const std::string table = teachers(20);
    ASSERT_EQ(runWith({"--locale", "C", "-j", "1", "--pdf-unico", path("todos.pdf").toStdString()}, table).status, 0);
    ASSERT_EQ(runWith({"--locale", "C", "--pdf", path("uno").toStdString()}, table).status, 0);
    ASSERT_EQ(runWith({"--locale", "C", "-j", "1", "--pdf-unico", path("dos.pdf").toStdString()}, teachers(2)).status,
              0);
    const QStringList single = filesIn(path("uno"));
    ASSERT_EQ(single.size(), 20);

    QString texts;
    for (const QString& name : single)
        texts += pdf::text(QDir(path("uno")).filePath(name));
    EXPECT_EQ(pdf::text(path("todos.pdf")), texts);
    for (int page : {1, 7, 20})
        EXPECT_TRUE(pdf::lookAlike(pdf::picture(path("todos.pdf"), 100, page),
                                   pdf::picture(QDir(path("uno")).filePath(single[page - 1]), 100)))
            << "page " << page;
    // Qt writes some 3,400 bytes for each further page.
    const qint64 perPage = (QFileInfo(path("todos.pdf")).size() - QFileInfo(path("dos.pdf")).size()) / 18;
    EXPECT_LT(perPage, 2000);
    // What pages share is drawn once, beneath the pages after the first.
    // Values that happen to agree on pages in a row go beneath them too,
    // and a page where one differs starts a smaller page beneath.
    EXPECT_GE(pdf::pagesOverASharedForm(path("todos.pdf")), 18);
}

// Pages share less with pages of other receipts (other kinds, other
// lines, a name on two lines): every page still reads and looks as the
// receipt's own file.
TEST_F(BatchPdf, PagesOfOtherReceiptsLookAsTheirOwnFiles)
{
    const std::string table =
        "docente,tipo,codcargo,numerohorasmed,numerohorassup,Iosper,hijos,cantidadhijos\n"
        "Ana,medio,,12,,1,,\nBeto,medio,,8,,1,,\nCarla,cargo,645,,,1,1,3\nDora,superior,,,6,,,\n"
        "\"Echeverría de la Santísima Trinidad Fernández Olmos, Eva Inés\",medio,,3,,1,,\n"
        "Fabio,cargo,628,,,,,\n";
    ASSERT_EQ(runWith({"--locale", "C", "-j", "1", "--pdf-unico", path("todos.pdf").toStdString()}, table).status, 0);
    ASSERT_EQ(runWith({"--locale", "C", "--pdf", path("uno").toStdString()}, table).status, 0);
    const QStringList single = filesIn(path("uno"));
    ASSERT_EQ(single.size(), 6);
    QString texts;
    for (int page = 1; page <= 6; ++page) {
        const QString own = QDir(path("uno")).filePath(single[page - 1]);
        texts += pdf::text(own);
        EXPECT_TRUE(pdf::lookAlike(pdf::picture(path("todos.pdf"), 100, page), pdf::picture(own, 100)))
            << "page " << page;
    }
    EXPECT_EQ(pdf::text(path("todos.pdf")), texts);
}

// --svg: one picture per computed row, well-formed, holding as text the
// very words the same row's PDF holds (long names wrapped alike).
TEST_F(BatchPdf, SvgPagesHoldThePdfsWords)
{
    const std::string table =
        "docente,tipo,codcargo,antiguedad,Iosper,AGMER\n"
        "\"Gómez de la Torre, María Laura Inés <&> Fernández\",cargo,645,4,1,1\n"
        "Beto,jornada,,,,\n"
        "Ana,cargo,750,12,,1\n";
    ASSERT_EQ(runWith({"--locale", "C", "--svg", path("svg").toStdString()}, table).status, kSomeRowFailed);
    ASSERT_EQ(runWith({"--locale", "C", "--pdf", path("pdf").toStdString()}, table).status, kSomeRowFailed);
    const QStringList svgs = filesIn(path("svg"));
    ASSERT_EQ(svgs, (QStringList{"0001-Gómez-de-la-Torre-María-Laura-Inés-Fernández.svg", "0003-Ana.svg"}));
    for (const QString& svg : svgs) {
        QFile file(QDir(path("svg")).filePath(svg));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QStringList words;
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
                words += xml.readElementText().split(' ', Qt::SkipEmptyParts);
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        QStringList inPdf;
        for (const pdf::Word& word : pdf::words(QDir(path("pdf")).filePath(svg.chopped(4) + ".pdf")))
            inPdf += word.text;
        words.sort();
        inPdf.sort();
        EXPECT_EQ(words, inPdf) << svg.toStdString();
        EXPECT_GT(words.size(), 40);
    }

    // A control character in a cell still makes a well-formed picture.
    ASSERT_EQ(runWith({"--locale", "C", "--svg", path("control").toStdString()},
                      "docente,tipo,codcargo\n\"Ana\x01\x1b Bel\",cargo,645\n")
                  .status,
              kAllRowsComputed);
    QFile control(QDir(path("control")).filePath(filesIn(path("control")).value(0)));
    ASSERT_TRUE(control.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&control);
    while (!xml.atEnd())
        xml.readNext();
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
}

// A file that cannot be written is refused before any row is computed; a
// run with no receipt leaves the file that was there as it was.
TEST_F(BatchPdf, OneFileRefusedOrNotWrittenLeavesNothingNew)
{
    {
        std::ofstream(path("viejo.pdf").toStdString()) << "anterior";
    }
    ASSERT_EQ(mkfifo(path("tubo.pdf").toLocal8Bit().constData(), 0600), 0);
    struct Case {
        QString file;
        std::string table;
        int status;
        const char* saying;
    };
    const Case cases[] = {
        {folder_.path(), "docente,tipo,numerohorasmed\nAna,medio,12\n", kInputUnusable,
         "es una carpeta, no un archivo"},
        {path("tubo.pdf"), "docente,tipo,numerohorasmed\nAna,medio,12\n", kInputUnusable, "es una tubería"},
        {path("falta/todos.pdf"), "docente,tipo,numerohorasmed\nAna,medio,12\n", kInputUnusable,
         "la carpeta no existe"},
        {path("viejo.pdf"), "docente,tipo,numerohorasmed\nBeto,jornada,0\n", kSomeRowFailed,
         "ninguna fila tiene recibo"},
    };
    for (const Case& c : cases) {
        const Outcome run = runWith({"--locale", "C", "--pdf-unico", c.file.toStdString()}, c.table);
        EXPECT_EQ(run.status, c.status) << c.saying;
        EXPECT_NE(run.err.find(c.saying), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        if (c.status == kInputUnusable) {
            EXPECT_EQ(run.out, "") << c.saying;
        }
    }
    EXPECT_TRUE(std::filesystem::is_fifo(path("tubo.pdf").toStdString()));
    QFile::remove(path("tubo.pdf"));
    EXPECT_EQ(filesIn(folder_.path()), QStringList{"viejo.pdf"});
    EXPECT_EQ(testing::readWholeFile(path("viejo.pdf").toStdString()), "anterior");
}

// The pages are drawn into a temporary file before the book is written, in
// pieces of 64 KB: a disk that cuts it short, in the first piece or after
// whole ones, makes the run fail with the cause, and the file that was
// there stays whole.
TEST_F(BatchPdf, TemporaryPagesCutShortWriteNoBook)
{
    struct Case {
        rlim_t limit;
        int rows;  // enough for each thread's temporary file to pass the limit
    };
    for (const Case& cut : {Case{16000, 20}, Case{70000, 300}}) {
        {
            std::ofstream(path("viejo.pdf").toStdString()) << "anterior";
        }
        const Outcome run = [&] {
            const FileSizeLimit disk(cut.limit);
            return runWith({"--locale", "C", "--pdf-unico", path("viejo.pdf").toStdString()}, teachers(cut.rows));
        }();
        EXPECT_EQ(run.status, kSomeRowFailed) << cut.limit;
        EXPECT_NE(run.err.find("archivo temporal"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("disco admite"), std::string::npos) << run.err;
        EXPECT_EQ(testing::readWholeFile(path("viejo.pdf").toStdString()), "anterior") << cut.limit;
    }
}

}  // namespace
}  // namespace recibo::batch

// Fonts need a QGuiApplication: one for all the tests, on the offscreen
// platform.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
