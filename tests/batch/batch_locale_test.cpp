// The sample table computed under point-decimal settings, and the same table
// as a spreadsheet under Argentine settings exports it (";" between cells,
// comma decimals), give the same receipts with comma decimals.

#include <string>
#include <variant>

#include <gtest/gtest.h>
#include <QRegularExpression>

#include "batch/batch.h"
#include "batch_test_support.h"
#include "table/csv_table.h"

namespace recibo::batch {
namespace {

using testing::BatchRun;
using testing::runWithInput;

std::string withCommaDecimals(std::string text)
{
    for (char& c : text)
        if (c == '.')
            c = ',';
    return text;
}

std::string quotedIfNeeded(const std::string& cell, char separator)
{
    if (cell.find_first_of(std::string("\"\r\n") + separator) == std::string::npos)
        return cell;
    std::string quoted = "\"";
    for (const char c : cell) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// The sample table rewritten with ";" and comma decimals; the names keep
// their points and commas.
std::string asArgentineExport(const table::CsvTable& table)
{
    std::string text;
    std::size_t docente = table.header().size();
    for (std::size_t i = 0; i < table.header().size(); ++i) {
        text += (i ? ";" : "") + table.header()[i];
        if (table.header()[i] == "docente")
            docente = i;
    }
    text += "\r\n";
    for (std::size_t row = 0; row < table.rowCount(); ++row) {
        for (std::size_t i = 0; i < table.header().size(); ++i) {
            const std::string cell(table.cell(row, i));
            if (i)
                text += ';';
            text += quotedIfNeeded(i == docente ? cell : withCommaDecimals(cell), ';');
        }
        text += "\r\n";
    }
    return text;
}

QString commaDecimals(const QJsonValue& value)
{
    return value.toString().replace(u'.', u',');
}

TEST(BatchLocales, SampleTableUnderPointAndCommaDecimals)
{
    const std::string sample = testing::readWholeFile(RECIBO_EXAMPLE_CSV);
    ASSERT_FALSE(sample.empty()) << RECIBO_EXAMPLE_CSV;
    const auto table = table::readCsvTable(sample);
    ASSERT_TRUE(std::holds_alternative<table::CsvTable>(table));
    const std::string argentine = asArgentineExport(std::get<table::CsvTable>(table));

    const BatchRun point = runWithInput({"--locale", "C"}, sample);
    const BatchRun comma = runWithInput({"--locale", "es_AR"}, argentine);
    ASSERT_EQ(point.status, kAllRowsComputed) << point.err << point.out;
    ASSERT_EQ(comma.status, kAllRowsComputed) << comma.err << comma.out;
    const auto pointObjects = point.objects();
    const auto commaObjects = comma.objects();
    ASSERT_EQ(pointObjects.size(), std::get<table::CsvTable>(table).rowCount());
    ASSERT_EQ(commaObjects.size(), pointObjects.size());

    for (std::size_t i = 0; i < pointObjects.size(); ++i) {
        const QJsonObject& p = pointObjects[i];
        const QJsonObject& c = commaObjects[i];
        SCOPED_TRACE(p.value(u"docente").toString().toStdString());
        EXPECT_EQ(c.value(u"fila"), p.value(u"fila"));
        EXPECT_EQ(c.value(u"docente"), p.value(u"docente"));
        const QJsonObject ph = p.value(u"cabecera").toObject(), ch = c.value(u"cabecera").toObject();
        EXPECT_EQ(ch.value(u"Label11"), ph.value(u"Label11"));
        EXPECT_EQ(ch.value(u"carsel"), ph.value(u"carsel"));
        EXPECT_EQ(ch.value(u"numcargo").toString(), commaDecimals(ph.value(u"numcargo")));
        EXPECT_EQ(ch.value(u"punbasicos").toString(), commaDecimals(ph.value(u"punbasicos")));

        const QJsonArray pl = p.value(u"lineas").toArray(), cl = c.value(u"lineas").toArray();
        ASSERT_EQ(cl.size(), pl.size());
        for (qsizetype k = 0; k < pl.size(); ++k) {
            const QJsonObject pLine = pl[k].toObject(), cLine = cl[k].toObject();
            const QString code = pLine.value(u"cod").toString();
            SCOPED_TRACE(code.toStdString());
            EXPECT_EQ(cLine.keys(), pLine.keys());
            EXPECT_EQ(cLine.value(u"cod"), pLine.value(u"cod"));
            EXPECT_EQ(cLine.value(u"descripcion"), pLine.value(u"descripcion"));
            // Line 188 shows the literal "7.0" under every setting.
            const QString expectedQuantity =
                code == u"188" ? pLine.value(u"cantidad").toString() : commaDecimals(pLine.value(u"cantidad"));
            EXPECT_EQ(cLine.value(u"cantidad").toString(), expectedQuantity);
            for (const char16_t* column : {u"haberes", u"descuentos"})
                EXPECT_EQ(cLine.value(QStringView(column)).toString(), commaDecimals(pLine.value(QStringView(column))));
        }
        for (const char16_t* total : {u"total_haberes", u"total_descuentos", u"liquido"})
            EXPECT_EQ(c.value(QStringView(total)).toString(), commaDecimals(p.value(QStringView(total))));
    }
    // The comparison means something only if decimals occur at all.
    const QRegularExpression commaAmount(QStringLiteral(R"(\$ ?-?[0-9]+,[0-9])"));
    EXPECT_TRUE(commaAmount.match(QString::fromStdString(comma.out)).hasMatch());
    EXPECT_NE(point.out.find("\"0.7\""), std::string::npos);
}

}  // namespace
}  // namespace recibo::batch
