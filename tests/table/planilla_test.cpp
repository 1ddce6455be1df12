// The planilla read and written back: byte for byte but for the rows
// replaced, refused with recibo-lote's own messages.

#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "batch/batch.h"
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

TEST(Planilla, ReadAndWrittenBackUnchangedIsTheSameBytes)
{
    const std::string sample = example();
    const std::string tables[] = {
        sample,
        replaced(replaced(sample, ",", ";"), "\n", "\r\n"),
        "\xEF\xBB\xBF" + sample,
        "\n  \ndocente;tipo\r\n\"Ana\nSosa\";cargo\r\n\r\n\"Luis \"\"el\"\" Paz\";\n   \nEva",
        "DOCENTE,Zona\nAna,1\nLuis\n",
    };
    for (const std::string& table : tables) {
        Planilla planilla = readOrFail(table);
        EXPECT_EQ(planilla.text(), table);
        for (std::size_t row = 0; row < planilla.rows(); ++row)
            planilla.replaceRow(row, inputOf(planilla, row));
        EXPECT_EQ(planilla.text(), table) << "after saving every row as it was";
    }
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

TEST(Planilla, RefusedWithReciboLoteMessages)
{
    const std::string tables[] = {
        "docente,sueldo\nAna,1\n", "docente,tipo\n\"Ana,cargo\n", "docente\nAna,cargo\n", "docente\n\xFF\n", "",
    };
    for (const std::string& table : tables) {
        const auto read = Planilla::read(table);
        ASSERT_TRUE(std::holds_alternative<Unusable>(read)) << table;
        std::istringstream in(table);
        std::ostringstream out, err;
        EXPECT_EQ(batch::runBatch({}, in, out, err), batch::kInputUnusable);
        EXPECT_EQ("recibo-lote: " + std::get<Unusable>(read).message + "\n", err.str());
    }
}

}  // namespace
}  // namespace recibo::table
