// The planilla read and written back: byte for byte but for the rows
// replaced, refused with recibo-lote's own messages.

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "batch/batch.h"
#include "common/planilla_equivalence.h"
#include "table/planilla.h"

namespace recibo::table {
namespace {

std::string example()
{
    std::ifstream file(RECIBO_EXAMPLE_CSV, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
        text.replace(at, from.size(), to);
    return text;
}

Planilla readOrFail(const std::string& text)
{
    auto read = Planilla::read(text);
    if (auto* problem = std::get_if<Unusable>(&read)) {
        ADD_FAILURE() << problem->message;
        return Planilla::empty();
    }
    return std::get<Planilla>(std::move(read));
}

RowInput inputOf(const Planilla& planilla, std::size_t row)
{
    auto input = planilla.input(row);
    EXPECT_TRUE(std::holds_alternative<RowInput>(input)) << "row " << row;
    return std::holds_alternative<RowInput>(input) ? std::get<RowInput>(input) : RowInput{};
}

TEST(Planilla, ReadsWhatReciboLoteReadsAndGivesItBackByteForByte)
{
    const std::string sample = example();
    const std::string header = "tipo,codcargo,docente";
    const std::string tables[] = {
        sample,
        replaced(replaced(sample, ",", ";"), "\n", "\r\n"),
        replaced(sample, "\n", "\r"),  // as old spreadsheet programs end lines
        "\xEF\xBB\xBF" + sample,
        header + "\ncargo,645,A\rcargo,650,B\ncargo,716,C\n",  // a lone CR ends a row
        header + "\r\ncargo,645,A\rcargo,650,B\n\rcargo,716,C\r\n\n",
        header + "\ncargo,645,\"A\r\nB\"\ncargo,650,\"C\rD\"\r",
        "\n  \ndocente;tipo\r\n\"Ana\nSosa\";cargo\r\n\r\n\"Luis \"\"el\"\" Paz\";\n   \nEva",
        "DOCENTE,Zona\nAna,1\nLuis\n",
        "docente,tipo\n\"Ana,cargo\n",
        "docente\nAna,cargo\n",
        "docente\n\xFF\n",
        "",
    };
    for (const std::string& table : tables)
        EXPECT_EQ(planillaDisagreement(table), "") << table;
}

// A long reading tells how far it got, and stops when told to.
TEST(Planilla, LongReadingTellsItsProgressAndStops)
{
    std::string table = "docente\n";
    for (int row = 0; row < 10000; ++row)
        table += "Docente " + std::to_string(row) + "\n";
    std::vector<std::size_t> told;
    const auto read = Planilla::read(table, [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 2 * table.size());
        told.push_back(done);
        return true;
    });
    ASSERT_TRUE(std::holds_alternative<Planilla>(read));
    EXPECT_EQ(std::get<Planilla>(read).rows(), 10000u);
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()) && told.size() >= 4 && told.back() < 2 * table.size());

    std::size_t calls = 0;
    const auto stopped = Planilla::read(table, [&](std::size_t, std::size_t) { return ++calls < 3; });
    EXPECT_EQ(calls, 3u);
    ASSERT_TRUE(std::holds_alternative<Unusable>(stopped));
}

TEST(Planilla, ChangingOneTeacherChangesOnlyThatCell)
{
    const std::string sample = example();
    Planilla planilla = readOrFail(sample);
    ASSERT_GE(planilla.rows(), 4u);
    RowInput ramirez = inputOf(planilla, 3);
    ASSERT_EQ(ramirez.entry.cantkm, "150");
    ramirez.entry.cantkm = "200";
    planilla.replaceRow(3, ramirez);

    const std::size_t line = sample.find("\"Ramírez, Silvia\"");
    const std::size_t end = sample.find('\n', line);
    std::string expected = sample;
    expected.replace(line, end - line, replaced(sample.substr(line, end - line), ",150,", ",200,"));
    EXPECT_EQ(planilla.text(), expected);
}

TEST(Planilla, RowsAddedReadBackAsTheyWereMeant)
{
    const Planilla sample = readOrFail(example());
    Planilla added = Planilla::empty(';');
    for (std::size_t row = 0; row < sample.rows(); ++row)
        added.appendRow(inputOf(sample, row));
    const Planilla again = readOrFail(added.text());
    ASSERT_EQ(again.rows(), sample.rows());
    for (std::size_t row = 0; row < sample.rows(); ++row)
        for (std::size_t c = 0; c < table::kColumnCount; ++c) {
            const auto column = static_cast<Column>(c);
            EXPECT_EQ(cellFor(column, inputOf(again, row)), cellFor(column, inputOf(sample, row)))
                << "row " << row << ", " << table::columnName(column);
        }
}

TEST(Planilla, TeacherPaidByHoursKeepsThePositionCellsAsTheyWere)
{
    Planilla planilla = readOrFail("tipo,codcargo,numerohorasmed,docente\r\nmedio,,12,Sosa\rmedio,645,10,Paz\r");
    for (std::size_t row = 0; row < planilla.rows(); ++row) {
        RowInput input = inputOf(planilla, row);
        input.position.codigocargo = "739";  // left in the selection dialog by another teacher
        input.entry.numerohorasmed = "15";
        planilla.replaceRow(row, input);
    }
    RowInput added = inputOf(planilla, 0);
    added.position.codigocargo = "739";
    planilla.appendRow(added);
    EXPECT_EQ(planilla.text(),
              "tipo,codcargo,numerohorasmed,docente\r\nmedio,,15,Sosa\rmedio,645,15,Paz\rmedio,,15,Sosa\r\n");
}

}  // namespace
}  // namespace recibo::table
