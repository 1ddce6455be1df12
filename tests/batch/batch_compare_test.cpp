// recibo-lote --comparar: each row with official lines compared, a changed
// seniority suggested, status 1 when a row differs, the same with -j 2; and
// an official table that cannot be read stops the run before any line.

#include <cstdio>
#include <fstream>

#include <gtest/gtest.h>
#include <QJsonArray>
#include <QTemporaryDir>

#include "batch/batch.h"
#include "batch_test_support.h"

namespace recibo::batch {
namespace {

using testing::runWithInput;

// Ana's seniority is option 4; her official payslip was paid with option 5.
const std::string kTable =
    "docente,tipo,codcargo,antiguedad,zona,Iosper\n"
    "Ana,cargo,645,4,1,1\n"
    "Beto,cargo,645,5,1,1\n"
    "Carla,medio,,,,1\n";
const std::string kOfficialOption5 =
    "001;2292,20\n010;916,88\n078;458,44\n006;174,00\n014;12,18\n084;165\n113;100\n188;256,73\n505;123,31\n";

class BatchCompare : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder_.isValid()); }
    std::string write(const std::string& text)
    {
        const std::string path = folder_.filePath("oficial.csv").toStdString();
        std::ofstream(path) << text;
        return path;
    }
    QTemporaryDir folder_;
};

// Rows 1 and 2 carry the same official lines: row 1 differs where option 4
// and option 5 differ, row 2 agrees, row 3 has none and is not compared.
TEST_F(BatchCompare, EachRowWithOfficialLinesIsComparedAndExplained)
{
    std::string official = "fila;cod;importe;nota\n";
    for (const char* fila : {"1;", "2;"}) {
        std::size_t from = 0;
        for (std::size_t end; (end = kOfficialOption5.find('\n', from)) != std::string::npos; from = end + 1)
            official += fila + kOfficialOption5.substr(from, end - from) + ";\n";
    }
    const std::string path = write(official);
    for (const char* jobs : {"1", "2"}) {
        const auto run = runWithInput({"--locale", "es_AR", "-j", jobs, "--comparar", path}, kTable);
        EXPECT_EQ(run.status, kSomeRowFailed) << jobs;
        const auto objects = run.objects();
        ASSERT_EQ(objects.size(), 3u);
        const QJsonObject ana = objects[0].value("comparacion").toObject();
        EXPECT_FALSE(ana.value("coinciden").toBool());
        QStringList differing;
        for (const QJsonValue line : ana.value("lineas").toArray())
            differing << line.toObject().value("cod").toString();
        EXPECT_EQ(differing, QStringList({"010", "006", "014", "188", "505"}));
        const QJsonObject first = ana.value("sugerencias").toArray().first().toObject();
        EXPECT_EQ(first, QJsonObject({{"campo", "antiguedad"}, {"valor", "5"}, {"coinciden", 9}}));
        EXPECT_EQ(objects[1].value("comparacion").toObject(),
                  QJsonObject({{"coinciden", true}, {"lineas", QJsonArray()}, {"sugerencias", QJsonArray()}}));
        EXPECT_FALSE(objects[2].contains("comparacion"));
    }
}

TEST_F(BatchCompare, AnUnusableOfficialTableStopsTheRun)
{
    const struct {
        std::string official;
        std::string said;
    } rows[] = {
        {"fila;cod\n1;001\n", "no tiene la columna \"importe\""},
        {"fila;cod;importe\n1;001;abc\n", "línea 2: el importe «abc» no es un importe"},
        {"fila;cod;importe\ncero;001;1\n", "línea 2: la fila «cero» no es un número de fila"},
    };
    for (const auto& row : rows) {
        const auto run = runWithInput({"--locale", "es_AR", "--comparar", write(row.official)}, kTable);
        EXPECT_EQ(run.status, 2) << row.said;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(row.said), std::string::npos) << run.err;
    }
}

}  // namespace
}  // namespace recibo::batch
