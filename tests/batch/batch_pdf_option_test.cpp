// recibo-lote --pdf DIR as the run sees it, with a recording stand-in for
// the PDF writer: when the folder is opened, which rows get a PDF, and what
// a folder or a file that cannot be written does to the run.

#include <optional>
#include <sstream>

#include <gtest/gtest.h>
#include <QDate>
#include <QLocale>

#include "batch/batch.h"
#include "batch_test_support.h"
#include "payroll/entry_values.h"
#include "payroll/receipt.h"

namespace recibo::batch {
namespace {

struct Written {
    std::size_t fila;
    std::string docente;
    std::string liquido;
    std::string codigocargo;
    bool operator==(const Written&) const = default;
};

// Notes every call; refuses the folder or one row's file when told to.
class RecordingPdfs : public ReceiptPdfs {
public:
    Problem open(const std::string& directory, PageFiles, const std::string& date, const std::string&) override
    {
        opened.push_back(directory);
        this->date = date;
        return refuseFolder ? Problem(Unusable{*refuseFolder}) : std::nullopt;
    }
    Problem openOneFile(const std::string& path, const std::string& date, const std::string& title) override
    {
        return open(std::string("unico:").append(path), PageFiles::Pdf, date, title);
    }
    std::optional<std::string> finish(bool keep) override
    {
        finished.push_back(keep);
        return std::nullopt;
    }
    std::optional<std::string> write(const ComputedRow& row) override
    {
        const std::size_t fila = row.fila;
        if (opened.empty())
            ADD_FAILURE() << "row " << fila << " written before the folder was opened";
        written.push_back({fila, row.receipt.docente, row.receipt.liquido, row.position.codigocargo});
        if (refuseRow && *refuseRow == fila)
            return std::string("no se pudo guardar el PDF \"0001-Ana.pdf\": disco lleno");
        return std::nullopt;
    }

    std::vector<std::string> opened;
    std::string date;
    std::vector<Written> written;
    std::vector<bool> finished;
    std::optional<std::string> refuseFolder;
    std::optional<std::size_t> refuseRow;
};

struct Outcome {
    int status;
    std::string out, err;
    std::vector<QJsonObject> objects() const { return testing::BatchRun{status, out, err}.objects(); }
};

Outcome runWith(const std::vector<std::string>& args, const std::string& table, ReceiptPdfs* pdfs)
{
    std::istringstream in(table);
    std::ostringstream out, err;
    const int status = runBatch(args, in, out, err, pdfs);
    return {status, out.str(), err.str()};
}

// Row 2 has a cell no control can take, row 3 a number the calculation
// cannot read: neither is computed.
const std::string kMixedTable =
    "docente,tipo,codcargo,numerohorasmed\n"
    "Ana,cargo,645,0\n"
    "Beto,jornada,,0\n"
    "Carla,medio,,12a\n"
    "Dora,medio,,12\n";

TEST(BatchPdfOption, FolderOpenedOnceThenOnePdfPerComputedRow)
{
    RecordingPdfs pdfs;
    const Outcome run = runWith({"--locale", "C", "--pdf", "recibos"}, kMixedTable, &pdfs);
    EXPECT_EQ(run.status, kSomeRowFailed);
    EXPECT_EQ(pdfs.opened, std::vector<std::string>{"recibos"});
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 4u);
    const std::vector<Written> expected = {
        {1, "Ana", objects[0].value(u"liquido").toString().toStdString(), "645"},
        {4, "Dora", objects[3].value(u"liquido").toString().toStdString(), ""},
    };
    EXPECT_EQ(pdfs.written, expected);
    EXPECT_FALSE(expected[0].liquido.empty());
    EXPECT_EQ(run.err, "");
}

TEST(BatchPdfOption, ReceiptsCarryTheDayInTheChosenRegionalSettings)
{
    RecordingPdfs pdfs;
    const Outcome run =
        runWith({"--pdf=recibos", "--locale", "es_AR"}, "docente,tipo,numerohorasmed\nAna,medio,12\n", &pdfs);
    EXPECT_EQ(run.status, kAllRowsComputed) << run.err;
    EXPECT_EQ(pdfs.opened, std::vector<std::string>{"recibos"});
    EXPECT_EQ(pdfs.date,
              QLocale(QLocale::Spanish, QLocale::Argentina)
                  .toString(QDate::currentDate(), QLocale::ShortFormat)
                  .toStdString());
}

TEST(BatchPdfOption, WithoutTheOptionNoFolderIsOpened)
{
    RecordingPdfs pdfs;
    const Outcome run = runWith({"--locale", "C"}, kMixedTable, &pdfs);
    EXPECT_EQ(run.status, kSomeRowFailed);
    EXPECT_TRUE(pdfs.opened.empty());
    EXPECT_TRUE(pdfs.written.empty());
}

// A folder that cannot take the files ends the run before any row is
// computed: nothing on standard output, the reason in one line.
TEST(BatchPdfOption, FolderThatCannotTakeFilesIsAnErrorOfTheWholeRun)
{
    RecordingPdfs pdfs;
    pdfs.refuseFolder = "no se puede escribir en la carpeta de --pdf \"recibos\"";
    const Outcome run = runWith({"--locale", "C", "--pdf", "recibos"}, kMixedTable, &pdfs);
    EXPECT_EQ(run.status, kInputUnusable);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "recibo-lote: no se puede escribir en la carpeta de --pdf \"recibos\"\n");
    EXPECT_TRUE(pdfs.written.empty());
}

// A table that cannot be used is reported first, and the folder is not
// made for nothing.
TEST(BatchPdfOption, UnusableTableComesBeforeTheFolder)
{
    RecordingPdfs pdfs;
    const Outcome run = runWith({"--locale", "C", "--pdf", "recibos"}, "docente,tipo,color\nAna,medio,rojo\n", &pdfs);
    EXPECT_EQ(run.status, kInputUnusable);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(pdfs.opened.empty());
}

// A receipt whose PDF could not be written keeps its JSON line, but the run
// does not end as if every receipt were done.
TEST(BatchPdfOption, UnwrittenPdfIsReportedAndTheStatusIsOne)
{
    RecordingPdfs pdfs;
    pdfs.refuseRow = 1;
    const Outcome run = runWith({"--locale", "C", "--pdf", "recibos"},
                                "docente,tipo,numerohorasmed\nAna,medio,12\nBeto,medio,10\n", &pdfs);
    EXPECT_EQ(run.status, kSomeRowFailed);
    EXPECT_EQ(run.err, "recibo-lote: fila 1: no se pudo guardar el PDF \"0001-Ana.pdf\": disco lleno\n");
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_TRUE(objects[0].contains(u"liquido"));
    EXPECT_EQ(pdfs.written.size(), 2u);
}

// --pdf-unico with rows computed by two threads: the pages in the table's
// order, the file kept once the run went through.
TEST(BatchPdfOption, OneFileTakesTheComputedRowsInOrder)
{
    std::string table = "docente,tipo,numerohorasmed\n";
    std::vector<std::size_t> computed;
    for (std::size_t fila = 1; fila <= 40; ++fila) {
        table.append("D").append(std::to_string(fila)).append(fila % 3 == 0 ? ",jornada,0\n" : ",medio,12\n");
        if (fila % 3 != 0)
            computed.push_back(fila);
    }
    RecordingPdfs pdfs;
    const Outcome run = runWith({"--locale", "C", "-j", "2", "--pdf-unico", "todos.pdf"}, table, &pdfs);
    EXPECT_EQ(run.status, kSomeRowFailed) << run.err;
    EXPECT_EQ(pdfs.opened, std::vector<std::string>{"unico:todos.pdf"});
    std::vector<std::size_t> written;
    for (const Written& page : pdfs.written)
        written.push_back(page.fila);
    EXPECT_EQ(written, computed);
    EXPECT_EQ(pdfs.finished, std::vector<bool>{true});
}

TEST(BatchPdfOption, BuildWithoutPdfSupportRefusesTheOption)
{
    const Outcome run = runWith({"--locale", "C", "--pdf", "recibos"}, kMixedTable, nullptr);
    EXPECT_EQ(run.status, kInputUnusable);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("no escribe PDF"), std::string::npos) << run.err;
}

TEST(BatchPdfOption, CommandLine)
{
    struct Case {
        std::vector<std::string> args;
        int status;
        std::vector<std::string> opened;
    };
    const Case cases[] = {
        {{"--locale", "C", "--pdf"}, kInputUnusable, {}},
        {{"--locale", "C", "--pdf="}, kInputUnusable, {}},
        {{"--locale", "C", "--pdf=a b"}, kAllRowsComputed, {"a b"}},
        {{"--pdf", "-", "--locale", "C"}, kAllRowsComputed, {"-"}},
        // After "--", "--pdf" is the name of the table's file.
        {{"--locale", "C", "--", "--pdf"}, kInputUnusable, {}},
    };
    for (const Case& c : cases) {
        RecordingPdfs pdfs;
        const Outcome run = runWith(c.args, "docente,tipo,numerohorasmed\nAna,medio,12\n", &pdfs);
        EXPECT_EQ(run.status, c.status) << c.args.back() << ": " << run.err;
        EXPECT_EQ(pdfs.opened, c.opened) << c.args.back();
    }
}

}  // namespace
}  // namespace recibo::batch
