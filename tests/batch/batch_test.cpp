// recibo-lote end to end: CSV text in, JSON lines and exit status out.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <streambuf>

#include <gtest/gtest.h>
#include <QLocale>

#include "batch/batch.h"
#include "batch_test_support.h"

namespace recibo::batch {
namespace {

using testing::BatchRun;
using testing::codesOf;
using testing::linesOf;
using testing::lineWithCode;
using testing::runWithInput;

const std::vector<std::string> kPointLocale = {"--locale", "C"};

std::string str(const QJsonValue& value)
{
    return value.toString().toStdString();
}

// A computed row: no error, the three totals present.
void expectComputed(const QJsonObject& object)
{
    EXPECT_FALSE(object.contains(u"error")) << str(object.value(u"error")) << " campo " << str(object.value(u"campo"));
    EXPECT_TRUE(object.contains(u"lineas"));
    EXPECT_TRUE(object.contains(u"total_haberes"));
    EXPECT_TRUE(object.contains(u"total_descuentos"));
    EXPECT_TRUE(object.contains(u"liquido"));
}

// A failed row: the error and nothing of a receipt.
void expectFailed(const QJsonObject& object)
{
    EXPECT_TRUE(object.contains(u"error"));
    EXPECT_FALSE(str(object.value(u"error")).empty());
    for (const char16_t* key : {u"lineas", u"cabecera", u"total_haberes", u"total_descuentos", u"liquido"})
        EXPECT_FALSE(object.contains(QStringView(key))) << QString::fromUtf16(key).toStdString();
}

// --- Computed receipts ------------------------------------------------------

TEST(BatchReceipt, PositionCodeIsLookedUpAndSeniorityClicked)
{
    const BatchRun run = runWithInput(kPointLocale, "docente,tipo,codcargo,antiguedad\nAna,cargo,645,4\n");
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err;
    EXPECT_EQ(run.err, "");
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 1u);
    const QJsonObject& receipt = objects[0];
    expectComputed(receipt);

    EXPECT_EQ(receipt.value(u"fila").toInt(), 1);
    EXPECT_EQ(str(receipt.value(u"docente")), "Ana");
    const QJsonObject header = receipt.value(u"cabecera").toObject();
    EXPECT_EQ(str(header.value(u"Label11")), "Código del cargo");
    EXPECT_EQ(str(header.value(u"numcargo")), "645");
    EXPECT_EQ(str(header.value(u"punbasicos")), "2329");
    EXPECT_EQ(str(header.value(u"carsel")), "Asesor Pedag Proyecto 13");

    EXPECT_EQ(codesOf(receipt), (QStringList{"001", "010", "006", "014", "084", "113", "188"}));
    const QJsonObject basic = lineWithCode(receipt, "001");
    EXPECT_EQ(str(basic.value(u"cantidad")), "1");
    EXPECT_EQ(str(basic.value(u"descripcion")), "Asign. de la categoría");
    EXPECT_EQ(str(basic.value(u"haberes")), "$2292.2018");
    EXPECT_FALSE(basic.contains(u"descuentos"));
    // Option4 "Entre 5 y 7 años": 30 % of 2292.2018.
    const QJsonObject seniority = lineWithCode(receipt, "010");
    EXPECT_EQ(str(seniority.value(u"cantidad")), "30 %");
    EXPECT_EQ(str(seniority.value(u"haberes")), "$ 687.6605");
    // Lines of a position without a quantity show an empty one.
    EXPECT_EQ(str(lineWithCode(receipt, "006").value(u"cantidad")), "");
    EXPECT_EQ(str(lineWithCode(receipt, "006").value(u"haberes")), "$ 0");
    EXPECT_EQ(str(lineWithCode(receipt, "014").value(u"cantidad")), "0.7");
    // "Incentivo en cargos" is ticked at program start.
    EXPECT_EQ(str(lineWithCode(receipt, "084").value(u"haberes")), "$ 165");
    EXPECT_EQ(str(lineWithCode(receipt, "188").value(u"haberes")), "$ 208.5904");

    EXPECT_EQ(str(receipt.value(u"total_haberes")), "$ 3453.4527");
    EXPECT_EQ(str(receipt.value(u"total_descuentos")), "$ 0");
    EXPECT_EQ(str(receipt.value(u"liquido")), "$ 3453.4527");
}

TEST(BatchReceipt, ObjectKeysComeInTheDocumentedOrder)
{
    const BatchRun run = runWithInput(kPointLocale, "docente,tipo,codcargo,conyuge,Iosper\nAna,cargo,645,1,1\n");
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err;
    EXPECT_TRUE(run.out.starts_with(
        "{\"fila\":1,\"docente\":\"Ana\",\"cabecera\":{\"Label11\":\"Código del cargo\",\"numcargo\":\"645\","
        "\"punbasicos\":\"2329\",\"carsel\":\"Asesor Pedag Proyecto 13\"},\"lineas\":[{\"cod\":\"001\","
        "\"cantidad\":\"1\",\"descripcion\":\"Asign. de la categoría\",\"haberes\":\"$2292.2018\"},"))
        << run.out;
    // The spouse line never shows a quantity: no "cantidad" key at all.
    EXPECT_NE(run.out.find("{\"cod\":\"1010\",\"descripcion\":\"Sal fam Cony\",\"haberes\":\"$ 15\"}"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("{\"cod\":\"505\",\"cantidad\":\"3 %\",\"descripcion\":\"IOSPER\",\"descuentos\":\"$ "),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("],\"total_haberes\":\"$ "), std::string::npos);
    EXPECT_NE(run.out.find("\",\"total_descuentos\":\"$ "), std::string::npos);
    EXPECT_TRUE(run.out.ends_with("\"}\n")) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);
}

// --explicar adds an explanation to every line and the three totals before
// "escala", in one thread and in several; without it, the same objects
// without those keys.
TEST(BatchReceipt, ExplanationsAreAddedAndNothingElseChanges)
{
    const std::string table =
        "docente,tipo,codcargo,numerohorasmed,antiguedad,hijos,cantidadhijos,Iosper,AGMER\n"
        "Ana,cargo,645,,4,1,2,1,1\nLuis,medio,,12,0,0,0,1,0\nEva,,,,,,,,\n";
    const BatchRun plain = runWithInput({"--locale", "es_AR"}, table);
    for (const char* jobs : {"-j1", "-j2"}) {
        const BatchRun explained = runWithInput({"--locale", "es_AR", "--explicar", jobs}, table);
        ASSERT_EQ(explained.status, plain.status) << explained.err;
        const std::vector<QJsonObject> objects = explained.objects(), plainObjects = plain.objects();
        ASSERT_EQ(objects.size(), plainObjects.size());
        for (std::size_t i = 0; i < objects.size(); ++i) {
            QJsonObject stripped = objects[i];
            if (objects[i].contains("lineas")) {
                QJsonArray lines;
                for (const auto line : linesOf(objects[i])) {
                    QJsonObject object = line.toObject();
                    EXPECT_FALSE(object.take("explicacion").toString().isEmpty()) << jobs;
                    lines.append(object);
                }
                stripped["lineas"] = lines;
                for (const char* key :
                     {"explicacion_total_haberes", "explicacion_total_descuentos", "explicacion_liquido"})
                    EXPECT_TRUE(stripped.take(key).toString().contains(" = $ ")) << key;
            }
            EXPECT_EQ(stripped, plainObjects[i]) << jobs;
        }
        EXPECT_NE(explained.out.find("\"explicacion_liquido\":\"Total haberes menos total descuentos: $ "),
                  std::string::npos);
        EXPECT_NE(explained.out.find("\",\"escala\":"), std::string::npos);
    }
}

TEST(BatchReceipt, TypedPointsReplaceTheLookedUpBoxes)
{
    // As a user who types 645 and then edits the base points and the
    // full-day points: the lists keep showing row 645's code and points.
    const BatchRun run = runWithInput(kPointLocale,
                                      "docente,tipo,codcargo,punbas,compbas,jorcom\n"
                                      "Ana,cargo,645,1500,,155\n");
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err;
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 1u);
    const QJsonObject header = objects[0].value(u"cabecera").toObject();
    EXPECT_EQ(str(header.value(u"numcargo")), "645");
    EXPECT_EQ(str(header.value(u"punbasicos")), "2329");
    EXPECT_EQ(str(lineWithCode(objects[0], "001").value(u"haberes")), "$1476.3");
    const QJsonObject fullDay = lineWithCode(objects[0], "052");
    EXPECT_EQ(str(fullDay.value(u"descripcion")), "Jornada completa");
    EXPECT_EQ(str(fullDay.value(u"haberes")), "$ 186.465");
    // The empty compbas cell left the looked-up "0": no line "002".
    EXPECT_FALSE(codesOf(objects[0]).contains("002"));
}

TEST(BatchReceipt, HoursOfBothLevels)
{
    struct Case {
        const char* tipo;
        const char* hoursColumn;
        const char* carsel;
        const char* punbasicos;
        const char* description;
        const char* basicAmount;
    };
    const Case cases[] = {
        {"medio", "numerohorasmed", "Horas de nivel medio", "776.76", "Hs. N. Medio", "$764.4872"},
        {"superior", "numerohorassup", "Horas de nivel superior", "1042.8", "Hs. N. Superior", "$1026.3238"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tipo);
        const BatchRun run =
            runWithInput(kPointLocale, std::string("docente,tipo,") + c.hoursColumn + "\nAna," + c.tipo + ",12\n");
        ASSERT_EQ(run.status, kAllRowsComputed) << run.err;
        const auto objects = run.objects();
        ASSERT_EQ(objects.size(), 1u);
        const QJsonObject header = objects[0].value(u"cabecera").toObject();
        EXPECT_EQ(str(header.value(u"Label11")), "Cantidad de horas");
        EXPECT_EQ(str(header.value(u"numcargo")), "12");
        EXPECT_EQ(str(header.value(u"punbasicos")), c.punbasicos);
        EXPECT_EQ(str(header.value(u"carsel")), c.carsel);
        const QJsonObject basic = lineWithCode(objects[0], "001");
        EXPECT_EQ(str(basic.value(u"cantidad")), "12");
        EXPECT_EQ(str(basic.value(u"descripcion")), c.description);
        EXPECT_EQ(str(basic.value(u"haberes")), c.basicAmount);
    }
}

TEST(BatchReceipt, EnumeratedColumnsSetTheirControls)
{
    // Each case adds one column to a row for position 645 and says which
    // line must then be there (with its quantity) or must be missing.
    struct Case {
        const char* column;
        const char* cell;
        const char* code;
        bool present;
        const char* quantity;  // checked when present and not null
    };
    const Case cases[] = {
        {"Iosper", "1", "505", true, "3 %"},
        {"Iosper", "2", "505", false, nullptr},  // grayed counts as not checked
        {"Iosper", "0", "505", false, nullptr},
        {"Iosper", "", "505", false, nullptr},
        {"Osplad", "1", "508", true, "3 %"},
        {"APORTEJUB", "1", "502", true, "16 %"},
        {"Ley4035", "1", "504", true, "0,6 %"},
        {"AGMER", "1", "332", true, "2 %"},
        {"cajacomp", "1", "512", true, "4,5 %"},
        {"Seguro3011", "1", "510", true, "2 %"},
        {"Seguro3011", "2", "510", false, nullptr},
        {"opincentivo", "0", "084", false, nullptr},
        {"opincentivo", "1", "084", true, ""},
        {"opincentivo", "", "084", true, ""},  // ticked at program start
        {"antiguedad", "0", "010", false, nullptr},
        {"antiguedad", "", "010", false, nullptr},
        {"antiguedad", "1", "010", false, nullptr},  // "Menos de 1 año" is 0 %
        {"antiguedad", "2", "010", true, "10 %"},
        {"antiguedad", "9", "010", true, "80 %"},
        {"antiguedad", "10", "010", true, "100 %"},
        {"antiguedad", "12", "010", true, "120 %"},
        {"zona", "-1", "078", false, nullptr},
        {"zona", "0", "078", false, nullptr},
        {"zona", "", "078", false, nullptr},
        {"zona", "1", "078", true, "20 %"},
        {"zona", "4", "078", true, "120 %"},
        {"conyuge", "1", "1010", true, nullptr},
        {"conyuge", "0", "1010", false, nullptr},
        {"hijos", "1", "1001", true, "0"},  // checked with the count box at "0"
        {"hijosdisc", "1", "1002", true, "0"},
        {"transporte", "1", "029", true, ""},
        {"transporte", "0", "029", false, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.column) + "=" + c.cell);
        const BatchRun run = runWithInput(
            kPointLocale, std::string("docente,tipo,codcargo,") + c.column + "\nAna,cargo,645," + c.cell + "\n");
        ASSERT_EQ(run.status, kAllRowsComputed) << run.err << run.out;
        const auto objects = run.objects();
        ASSERT_EQ(objects.size(), 1u);
        expectComputed(objects[0]);
        EXPECT_EQ(codesOf(objects[0]).contains(c.code), c.present) << codesOf(objects[0]).join(' ').toStdString();
        if (c.present && c.quantity) {
            EXPECT_EQ(str(lineWithCode(objects[0], c.code).value(u"cantidad")), c.quantity);
        }
    }
}

TEST(BatchReceipt, SpouseLineHasNoQuantityKey)
{
    const BatchRun run = runWithInput(kPointLocale, "docente,tipo,codcargo,conyuge\nAna,cargo,645,1\n");
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err;
    const QJsonObject spouse = lineWithCode(run.objects().at(0), "1010");
    EXPECT_FALSE(spouse.contains(u"cantidad"));
    EXPECT_EQ(str(spouse.value(u"descripcion")), "Sal fam Cony");
    EXPECT_EQ(str(spouse.value(u"haberes")), "$ 15");
}

TEST(BatchReceipt, KindIsReadWithoutRegardToCase)
{
    const BatchRun run = runWithInput(kPointLocale, "docente,tipo,codcargo\nAna,CARGO,645\nBeto,Medio,\n");
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err << run.out;
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(str(objects[0].value(u"cabecera").toObject().value(u"carsel")), "Asesor Pedag Proyecto 13");
    EXPECT_EQ(str(objects[1].value(u"cabecera").toObject().value(u"carsel")), "Horas de nivel medio");
}

// --- Rows that cannot be computed ---------------------------------------------

TEST(BatchRowFailure, NoKindChosen)
{
    const BatchRun run = runWithInput(kPointLocale, "docente,tipo,codcargo\nAna,,645\n");
    EXPECT_EQ(run.status, kSomeRowFailed);
    EXPECT_EQ(run.err, "");
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 1u);
    expectFailed(objects[0]);
    EXPECT_EQ(objects[0].value(u"fila").toInt(), 1);
    EXPECT_EQ(str(objects[0].value(u"docente")), "Ana");
    EXPECT_EQ(str(objects[0].value(u"error")), "No seleccionaste cargo ni horas");
    EXPECT_FALSE(objects[0].contains(u"campo"));
    EXPECT_FALSE(objects[0].contains(u"texto"));
    EXPECT_EQ(run.out, "{\"fila\":1,\"docente\":\"Ana\",\"error\":\"No seleccionaste cargo ni horas\"}\n");
}

TEST(BatchRowFailure, EngineConversionFailuresNameTheControlAndQuoteItsText)
{
    struct Case {
        const char* header;
        const char* row;
        const char* campo;
        const char* texto;
    };
    const Case cases[] = {
        {"tipo,codcargo,transporte,cantkm", "cargo,645,1,abc", "cantkm", "abc"},
        {"tipo,codcargo,hijos,cantidadhijos", "cargo,645,1,300", "cantidadhijos", "300"},
        {"tipo,numerohorasmed", "medio,doce", "numerohorasmed", "doce"},
        {"tipo,numerohorassup", "superior,", "numerohorassup", ""},
        {"tipo,codcargo,dinasist", "cargo,645,2a", "dinasist", "2a"},
        // A code with no row leaves the dialog's boxes empty.
        {"tipo,codcargo", "cargo,123", "punbas", ""},
        {"tipo", "cargo", "punbas", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        const BatchRun run = runWithInput(kPointLocale, std::string("docente,") + c.header + "\nAna," + c.row + "\n");
        EXPECT_EQ(run.status, kSomeRowFailed) << run.out;
        EXPECT_EQ(run.err, "");
        const auto objects = run.objects();
        ASSERT_EQ(objects.size(), 1u);
        expectFailed(objects[0]);
        EXPECT_EQ(str(objects[0].value(u"docente")), "Ana");
        EXPECT_EQ(str(objects[0].value(u"campo")), c.campo);
        ASSERT_TRUE(objects[0].contains(u"texto"));
        EXPECT_EQ(str(objects[0].value(u"texto")), c.texto);
    }
}

TEST(BatchRowFailure, CommaDecimalUnderPointLocaleIsNotANumber)
{
    // Quoted so that the comma stays inside the cell.
    const BatchRun run = runWithInput(kPointLocale, "docente,tipo,numerohorasmed\nAna,medio,\"12,5\"\n");
    EXPECT_EQ(run.status, kSomeRowFailed);
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(str(objects[0].value(u"campo")), "numerohorasmed");
    EXPECT_EQ(str(objects[0].value(u"texto")), "12,5");
}

TEST(BatchRowFailure, KilometresMessageNamesTheFieldAsTheUserKnowsIt)
{
    const BatchRun run = runWithInput(kPointLocale, "docente,tipo,codcargo,transporte,cantkm\nAna,cargo,645,1,abc\n");
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_NE(str(objects[0].value(u"error")).find("km"), std::string::npos) << str(objects[0].value(u"error"));
}

TEST(BatchRowFailure, BadCellsInEnumeratedColumns)
{
    // The header spells some columns in another case; "campo" always gives
    // the control's own name.
    struct Case {
        const char* header;
        const char* cell;
        const char* campo;
    };
    const Case cases[] = {
        {"tipo", "hora", "tipo"},
        {"tipo", "cargos", "tipo"},
        {"tipo", " cargo", "tipo"},
        {"antiguedad", "13", "antiguedad"},
        {"antiguedad", "-1", "antiguedad"},
        {"antiguedad", "4.0", "antiguedad"},
        {"ANTIGUEDAD", "x", "antiguedad"},
        {"zona", "5", "zona"},
        {"zona", "-2", "zona"},
        {"zona", "1.5", "zona"},
        {"zona", "Común", "zona"},
        {"opincentivo", "2", "opincentivo"},
        {"transporte", "si", "transporte"},
        {"hijos", "-1", "hijos"},
        {"hijosdisc", "1 ", "hijosdisc"},
        {"conyuge", "true", "conyuge"},
        {"iosper", "3", "Iosper"},
        {"Osplad", "x", "Osplad"},
        {"aportejub", "1.0", "APORTEJUB"},
        {"LEY4035", "-0", "Ley4035"},
        {"agmer", "01", "AGMER"},
        {"cajacomp", "12", "cajacomp"},
        {"seguro3011", "no", "Seguro3011"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.header) + "=\"" + c.cell + "\"");
        const std::string header = std::string(c.header) == "tipo" ? "docente,codcargo,tipo"
                                                                   : std::string("docente,tipo,codcargo,") + c.header;
        const std::string badRow = std::string(c.header) == "tipo" ? std::string("Beto,645,\"") + c.cell + "\""
                                                                   : std::string("Beto,cargo,645,\"") + c.cell + "\"";
        const std::string goodRow = std::string(c.header) == "tipo" ? "Ana,645,cargo" : "Ana,cargo,645,";
        const BatchRun run =
            runWithInput(kPointLocale, header + "\n" + goodRow + "\n" + badRow + "\n" + goodRow + "\n");
        EXPECT_EQ(run.status, kSomeRowFailed);
        EXPECT_EQ(run.err, "");
        const auto objects = run.objects();
        ASSERT_EQ(objects.size(), 3u);
        expectComputed(objects[0]);
        expectComputed(objects[2]);
        EXPECT_EQ(objects[2].value(u"fila").toInt(), 3);

        const QJsonObject& failed = objects[1];
        expectFailed(failed);
        EXPECT_EQ(failed.value(u"fila").toInt(), 2);
        EXPECT_EQ(str(failed.value(u"docente")), "Beto");
        EXPECT_EQ(str(failed.value(u"campo")), c.campo);
        EXPECT_EQ(str(failed.value(u"texto")), c.cell);
        const std::string message = str(failed.value(u"error"));
        EXPECT_NE(message.find("«" + std::string(c.campo) + "»"), std::string::npos) << message;
    }
}

TEST(BatchRowFailure, FirstBadCellFromTheLeftIsReported)
{
    const BatchRun run = runWithInput(kPointLocale, "docente,zona,tipo,Iosper\nAna,9,obra,5\n");
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(str(objects[0].value(u"campo")), "zona");
    EXPECT_EQ(str(objects[0].value(u"texto")), "9");
}

TEST(BatchRowFailure, EveryRowIsWrittenInOrderAndTheStatusIsOne)
{
    const BatchRun run = runWithInput(kPointLocale,
                                      "docente,tipo,codcargo,transporte,cantkm,zona\n"
                                      "Ana,cargo,645,0,0,\n"
                                      "Beto,,645,0,0,\n"
                                      "Carla,cargo,645,1,x,\n"
                                      "Dora,cargo,645,0,0,7\n"
                                      "Eva,medio,,0,0,2\n");
    EXPECT_EQ(run.status, kSomeRowFailed);
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 5u);
    const char* names[] = {"Ana", "Beto", "Carla", "Dora", "Eva"};
    const bool failed[] = {false, true, true, true, false};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(objects[static_cast<std::size_t>(i)].value(u"fila").toInt(), i + 1);
        EXPECT_EQ(str(objects[static_cast<std::size_t>(i)].value(u"docente")), names[i]);
        if (failed[i])
            expectFailed(objects[static_cast<std::size_t>(i)]);
        else
            expectComputed(objects[static_cast<std::size_t>(i)]);
    }
}

// --- Reading the table ------------------------------------------------------------

TEST(BatchTable, QuotedCellsKeepSeparatorsQuotesAndLineBreaks)
{
    const BatchRun run = runWithInput(kPointLocale,
                                      "docente,tipo,numerohorasmed\n"
                                      "\"Pérez, Ana\",medio,12\n"
                                      "\"Ana \"\"la profe\"\" Ruiz\",medio,12\n"
                                      "\"Línea uno\nLínea dos\",medio,12\n"
                                      "\"Con\r\nCRLF\",medio,12\r\n"
                                      "  con blancos  ,medio,12\n"
                                      "\"\",medio,\"12\"\n");
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err << run.out;
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 6u);
    const char* expected[] = {"Pérez, Ana",  "Ana \"la profe\" Ruiz", "Línea uno\nLínea dos",
                              "Con\r\nCRLF", "  con blancos  ",       ""};
    for (std::size_t i = 0; i < objects.size(); ++i) {
        EXPECT_EQ(objects[i].value(u"fila").toInt(), static_cast<int>(i + 1));
        EXPECT_EQ(str(objects[i].value(u"docente")), expected[i]);
        expectComputed(objects[i]);
    }
    // A line break inside a name stays escaped: one object per output line.
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 6);
}

TEST(BatchTable, SemicolonsAndCommaDecimalsUnderArgentineSettings)
{
    const BatchRun run = runWithInput({"--locale", "es_AR"},
                                      "docente;tipo;numerohorasmed;numhorascod06\n"
                                      "\"Ruiz; Ana\";medio;12,5;29\n"
                                      "Beto;medio;1.000;0\n");
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err << run.out;
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(str(objects[0].value(u"docente")), "Ruiz; Ana");
    EXPECT_EQ(str(objects[0].value(u"cabecera").toObject().value(u"punbasicos")), "809,125");
    const QJsonObject basic = lineWithCode(objects[0], "001");
    EXPECT_EQ(str(basic.value(u"cantidad")), "12,5");
    EXPECT_EQ(str(basic.value(u"haberes")), "$796,3408");
    EXPECT_EQ(str(lineWithCode(objects[0], "006").value(u"cantidad")), "29");
    EXPECT_EQ(str(lineWithCode(objects[0], "006").value(u"haberes")), "$ 313,49");
    EXPECT_EQ(str(lineWithCode(objects[0], "014").value(u"cantidad")), "0,7");
    EXPECT_EQ(str(lineWithCode(objects[0], "014").value(u"haberes")), "$ 21,9443");
    // "1.000" is a thousand under these settings: 64730 points.
    EXPECT_EQ(str(objects[1].value(u"cabecera").toObject().value(u"punbasicos")), "64730");
}

TEST(BatchTable, ByteOrderMarkIsIgnored)
{
    const BatchRun run = runWithInput(kPointLocale,
                                      "\xEF\xBB\xBF"
                                      "docente,tipo,numerohorasmed\nAna,medio,12\n");
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err;
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(str(objects[0].value(u"docente")), "Ana");
}

TEST(BatchTable, ColumnNamesIgnoreCase)
{
    const BatchRun run = runWithInput(kPointLocale,
                                      "DOCENTE,Tipo,CodCargo,Antiguedad,IOSPER,aportejub,ZONA\n"
                                      "Ana,cargo,645,4,1,1,2\n");
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err;
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(str(objects[0].value(u"docente")), "Ana");
    EXPECT_EQ(codesOf(objects[0]), (QStringList{"001", "010", "078", "006", "014", "084", "113", "188", "505", "502"}));
}

TEST(BatchTable, ShortRowsTakeTheMissingCellsAsEmpty)
{
    const BatchRun run =
        runWithInput(kPointLocale, "docente,tipo,codcargo,antiguedad,Iosper,opincentivo\nAna,cargo,645\n");
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err;
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 1u);
    // Empty option and check-box cells leave the controls as at start.
    EXPECT_EQ(codesOf(objects[0]), (QStringList{"001", "006", "014", "084", "113", "188"}));
}

TEST(BatchTable, BlankLinesAreSkippedAndNotCounted)
{
    const BatchRun run = runWithInput(kPointLocale,
                                      "\n\r\ndocente,tipo,numerohorasmed\r\n\r\n"
                                      "Ana,medio,12\r\n\r\n   \r\n\t\n"
                                      "Beto,medio,6\r\n\r\n\n");
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err << run.out;
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0].value(u"fila").toInt(), 1);
    EXPECT_EQ(str(objects[0].value(u"docente")), "Ana");
    EXPECT_EQ(objects[1].value(u"fila").toInt(), 2);
    EXPECT_EQ(str(objects[1].value(u"docente")), "Beto");
}

TEST(BatchTable, LastRowWithoutLineBreak)
{
    const BatchRun run = runWithInput(kPointLocale, "docente,tipo,numerohorasmed\nAna,medio,12");
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err;
    ASSERT_EQ(run.objects().size(), 1u);
}

TEST(BatchTable, HeaderAloneGivesNoLinesAndSuccess)
{
    const BatchRun run = runWithInput(kPointLocale, "docente,tipo\n");
    EXPECT_EQ(run.status, kAllRowsComputed);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
}

TEST(BatchTable, TextsAreEscapedInTheOutput)
{
    const std::string name = "A\\B \"C\"\t\x01\x1f\x7f ñ € 𝄞";
    for (const char* tipo : {"medio", ""}) {
        SCOPED_TRACE(tipo);
        const BatchRun run = runWithInput(
            kPointLocale,
            "docente,tipo,numerohorasmed\n\"A\\B \"\"C\"\"\t\x01\x1f\x7f ñ € 𝄞\"," + std::string(tipo) + ",12\n");
        const auto objects = run.objects();
        ASSERT_EQ(objects.size(), 1u);
        EXPECT_EQ(str(objects[0].value(u"docente")), name);
        EXPECT_NE(run.out.find("\"A\\\\B \\\"C\\\"\\u0009\\u0001\\u001f\x7f ñ € 𝄞\""), std::string::npos) << run.out;
    }
}

// --- Tables that cannot be used ------------------------------------------------

struct UnusableCase {
    const char* name;
    std::vector<std::string> args;
    std::string input;
    const char* messagePart;
};

void PrintTo(const UnusableCase& c, std::ostream* os)
{
    *os << c.name;
}

class BatchUnusable : public ::testing::TestWithParam<UnusableCase> {};

TEST_P(BatchUnusable, OneLineOnStandardErrorAndNothingWritten)
{
    const UnusableCase& c = GetParam();
    const BatchRun run = runWithInput(c.args, c.input);
    EXPECT_EQ(run.status, kInputUnusable);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with("recibo-lote: ")) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_TRUE(run.err.ends_with("\n"));
    EXPECT_NE(run.err.find(c.messagePart), std::string::npos) << run.err;
}

const std::string kGoodTable = "docente,tipo,numerohorasmed\nAna,medio,12\n";

INSTANTIATE_TEST_SUITE_P(
    Tables, BatchUnusable,
    ::testing::Values(
        UnusableCase{"UnknownColumn", kPointLocale, "docente,tipo,sueldo\nAna,medio,1\n", "«sueldo»"},
        UnusableCase{"UnknownColumnWithLineBreak", kPointLocale, "docente,\"ti\npo\"\nAna,medio\n", "«ti\\npo»"},
        UnusableCase{"EmptyColumnName", kPointLocale, "docente,tipo,\nAna,medio,\n", "columna 3"},
        UnusableCase{"ColumnNameWithBlanks", kPointLocale, "docente, tipo\nAna,medio\n", "« tipo»"},
        UnusableCase{"DuplicateColumn", kPointLocale, "docente,tipo,Docente\nAna,medio,Ana\n", "«docente»"},
        UnusableCase{"MoreCellsThanColumns", kPointLocale,
                     "docente,tipo,numerohorasmed\nAna,medio,12\nBeto,,12\nCarla,medio,12,9\nDora,medio,1\n", "fila 3"},
        UnusableCase{"QuoteInsideUnquotedCell", kPointLocale, "docente,tipo\nAna \"la\",medio\n", "línea 2"},
        UnusableCase{"TextAfterClosingQuote", kPointLocale, "docente,tipo\n\"Ana\"x,medio\n", "comillas"},
        UnusableCase{"UnclosedQuote", kPointLocale, "docente,tipo\nAna,medio\n\"Beto,medio\n", "comilla de cierre"},
        UnusableCase{"Latin1Text", kPointLocale, "docente,tipo\nP\xe9rez,medio\n", "UTF-8"},
        UnusableCase{"OverlongEncoding", kPointLocale, "docente,tipo\n\xC0\xAF,medio\n", "UTF-8"},
        UnusableCase{"EncodedSurrogate", kPointLocale, "docente,tipo\n\xED\xA0\x80,medio\n", "UTF-8"},
        UnusableCase{"CutOffSequenceAtTheEnd", kPointLocale, "docente,tipo\nAna,medio\n\xE2\x82", "línea 3"},
        UnusableCase{"EmptyInput", kPointLocale, "", "vacía"},
        UnusableCase{"OnlyBlankLines", kPointLocale, "\n\r\n  \n", "vacía"},
        UnusableCase{"OnlyByteOrderMark", kPointLocale, "\xEF\xBB\xBF", "vacía"},
        UnusableCase{"UnknownOption", {"--salida", "recibos"}, kGoodTable, "«--salida»"},
        UnusableCase{"UnknownShortOption", {"-x"}, kGoodTable, "«-x»"},
        UnusableCase{"UnknownLocale", {"--locale", "xx_YY"}, kGoodTable, "«xx_YY»"},
        UnusableCase{"UnknownTerritory", {"--locale", "es_XX"}, kGoodTable, "«es_XX»"},
        UnusableCase{"EmptyLocaleName", {"--locale", ""}, kGoodTable, "regional"},
        UnusableCase{"LocaleWithoutName", {"--locale"}, kGoodTable, "--locale"},
        UnusableCase{"TwoFiles", {"a.csv", "b.csv"}, kGoodTable, "«b.csv»"},
        UnusableCase{"MissingFile", {"/nonexistent/docentes.csv"}, kGoodTable, "no existe"},
        UnusableCase{"Directory", {"/"}, kGoodTable, "«/»"}),
    [](const ::testing::TestParamInfo<UnusableCase>& info) { return std::string(info.param.name); });

// Whatever a header or a cell holds, the message quotes a short piece of it,
// on one line that reads in order; the failure keeps the whole text.
TEST(BatchMessages, QuotedTextsAreShortAndEscaped)
{
    const std::string longName(100000, 'x');
    const BatchRun header = runWithInput(kPointLocale, "docente," + longName + "\nAna\n");
    EXPECT_EQ(header.status, kInputUnusable);
    EXPECT_LT(header.err.size(), 200u);
    EXPECT_NE(header.err.find("«" + longName.substr(0, 40) + "…»"), std::string::npos) << header.err;

    const std::string reversed = "\u202E4";
    const BatchRun cell = runWithInput(kPointLocale, "docente,tipo,zona\nAna,medio," + reversed + "\n");
    const auto objects = cell.objects();
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(str(objects[0].value(u"texto")), reversed);
    const std::string message = str(objects[0].value(u"error"));
    EXPECT_NE(message.find("«\\u202E4»"), std::string::npos) << message;
    EXPECT_EQ(message.find(reversed), std::string::npos) << message;
}

// --- Command line ------------------------------------------------------------------

TEST(BatchCommandLine, HelpIsPrintedAndNothingComputed)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"-h"}, {"--locale", "C", "-h", "docentes.csv"}}) {
        const BatchRun run = runWithInput(args, kGoodTable);
        EXPECT_EQ(run.status, kAllRowsComputed);
        EXPECT_TRUE(run.out.starts_with("Uso: recibo-lote [--locale NOMBRE]")) << run.out;
        EXPECT_EQ(run.out.find("{\"fila\""), std::string::npos);
        EXPECT_EQ(run.err, "");
    }
}

class BatchFileArgument : public ::testing::Test {
protected:
    void SetUp() override
    {
        path_ = std::filesystem::temp_directory_path()
            / ("recibo-lote-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".csv");
        std::ofstream(path_, std::ios::binary) << "docente,tipo,numerohorasmed\nDesde archivo,medio,12\n";
    }
    void TearDown() override { std::filesystem::remove(path_); }
    std::filesystem::path path_;
};

TEST_F(BatchFileArgument, FileIsReadInsteadOfStandardInput)
{
    const BatchRun fromFile = runWithInput({"--locale", "C", path_.string()}, kGoodTable);
    ASSERT_EQ(fromFile.status, kAllRowsComputed) << fromFile.err;
    const auto objects = fromFile.objects();
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(str(objects[0].value(u"docente")), "Desde archivo");
}

TEST_F(BatchFileArgument, DashAndNoFileReadStandardInput)
{
    const BatchRun dash = runWithInput({"--locale=C", "-"}, kGoodTable);
    const BatchRun none = runWithInput({"--locale", "C"}, kGoodTable);
    ASSERT_EQ(dash.status, kAllRowsComputed) << dash.err;
    EXPECT_EQ(str(dash.objects().at(0).value(u"docente")), "Ana");
    EXPECT_EQ(dash.out, none.out);
    // After "--" a name starting with a dash is a file name.
    const BatchRun afterDashes = runWithInput({"--locale", "C", "--", "-x"}, kGoodTable);
    EXPECT_EQ(afterDashes.status, kInputUnusable);
    EXPECT_NE(afterDashes.err.find("«-x»: el archivo no existe"), std::string::npos) << afterDashes.err;
}

TEST(BatchCommandLine, WithoutLocaleTheSystemSettingsApply)
{
    const std::string table = "docente,tipo,numerohorasmed,numhorascod06\nAna,medio,12,29\n";
    const BatchRun systemRun = runWithInput({}, table);
    const BatchRun named = runWithInput({"--locale", QLocale::system().name().toStdString()}, table);
    EXPECT_EQ(systemRun.status, named.status);
    EXPECT_EQ(systemRun.out, named.out);
    EXPECT_FALSE(systemRun.out.empty());
}

// --- Writing -------------------------------------------------------------------------

TEST(BatchOutput, AFailedWriteIsNotReportedAsSuccess)
{
    testing::RefusingBuffer refusing;
    std::ostream out(&refusing);
    std::istringstream in(kGoodTable);
    std::ostringstream err;
    EXPECT_EQ(runBatch(kPointLocale, in, out, err), kInputUnusable);
    EXPECT_NE(err.str().find("salida"), std::string::npos) << err.str();
}

TEST(BatchOutput, ManyRowsAreAllWritten)
{
    // More output than one internal piece: every row still gets its line.
    std::string table = "docente,tipo,codcargo,antiguedad,Iosper\n";
    constexpr int kRows = 3000;
    for (int i = 0; i < kRows; ++i)
        table += "Docente " + std::to_string(i) + ",cargo,645," + std::to_string(i % 13) + ",1\n";
    const BatchRun run = runWithInput(kPointLocale, table);
    ASSERT_EQ(run.status, kAllRowsComputed) << run.err;
    const auto objects = run.objects();
    ASSERT_EQ(objects.size(), static_cast<std::size_t>(kRows));
    for (int i = 0; i < kRows; i += 997) {
        EXPECT_EQ(objects[static_cast<std::size_t>(i)].value(u"fila").toInt(), i + 1);
        EXPECT_EQ(str(objects[static_cast<std::size_t>(i)].value(u"docente")), "Docente " + std::to_string(i));
    }
}

}  // namespace
}  // namespace recibo::batch
