#include <string>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include "table/csv_reader.h"
#include "table/csv_table.h"

namespace recibo::table {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows rowsOf(const CsvTable& table)
{
    Rows rows;
    for (std::size_t r = 0; r < table.rowCount(); ++r) {
        rows.emplace_back();
        for (std::size_t c = 0; c < table.cellCount(r); ++c)
            rows.back().emplace_back(table.cell(r, c));
    }
    return rows;
}

// The reading takes no earlier check's word: a row that is not UTF-8 (the
// file changed after it was checked) stops it before reaching the sink.
TEST(CsvReader, ReadingStopsAtARowThatIsNotUtf8)
{
    struct FirstCells : TableSink {
        std::vector<std::string> seen;
        Problem header(const std::vector<std::string>&) override { return std::nullopt; }
        bool row(std::size_t, std::span<const std::string_view> cells) override
        {
            seen.emplace_back(cells[0]);
            return true;
        }
    } sink;
    CsvReader reader(sink, CsvReader::Pass::ReadCells);
    EXPECT_FALSE(reader.feed("docente\nAna\nB\xff\nCarla\n") && reader.finish());
    EXPECT_EQ(sink.seen, std::vector<std::string>{"Ana"});
    EXPECT_EQ(reader.problem(), "una fila no es texto UTF-8 válido");
}

TEST(CsvTable, SeparatorComesFromTheHeaderLine)
{
    struct Case {
        const char* text;
        char separator;
    };
    const Case cases[] = {
        {"a,b,c\n1;2;3\n", ','},  {"a;b;c\n1,2,3\n", ';'},
        {"docente", ','},         {"\n\r\n  \na;b\n", ';'},  // blank lines before the header
        {"\"x;y;z\",b\n", ','},                              // inside quotes a semicolon does not count
        {"\"x,\ny,z\";b\n", ';'},                            // nor a comma on a quoted line break
        {"a;b;c,d\n", ';'},       {"a,b;c\n", ','},          // a tie goes to the comma
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(detectSeparator(c.text), c.separator);
    }
}

TEST(CsvTable, CellsAreReadAsRfc4180Says)
{
    struct Case {
        const char* text;
        std::vector<std::string> header;
        Rows rows;
    };
    const Case cases[] = {
        {"a,b\n1,2\n", {"a", "b"}, {{"1", "2"}}},
        {"a,b\r\n1,2\r\n3,4", {"a", "b"}, {{"1", "2"}, {"3", "4"}}},
        {"a,b\n\"1,5\",\"x\"\"y\"\n", {"a", "b"}, {{"1,5", "x\"y"}}},
        {"a,b\n\"l1\nl2\",\"l3\r\nl4\"\n", {"a", "b"}, {{"l1\nl2", "l3\r\nl4"}}},
        {"a,b\n ,  x \n", {"a", "b"}, {{" ", "  x "}}},
        {"a,b,c\n1,,\n", {"a", "b", "c"}, {{"1", "", ""}}},
        {"a,b,c\n1\n\"\"\n\" \"\n", {"a", "b", "c"}, {{"1"}}},  // a line of one empty cell is blank
        {"a;b\n\"1;5\";2,5\n", {"a", "b"}, {{"1;5", "2,5"}}},
        {"\xEF\xBB\xBF"
         "a,b\n1,2\n",
         {"a", "b"},
         {{"1", "2"}}},
        {"a,b\n\n1,2\n\n \n\t\n3,4\n\n", {"a", "b"}, {{"1", "2"}, {"3", "4"}}},
        {"a,b\n", {"a", "b"}, {}},
        {"a,\"\"\n", {"a", ""}, {}},
        {"a;b\r\n\"\"\"ñ\"\"\";€\r\nx\n", {"a", "b"}, {{"\"ñ\"", "€"}, {"x"}}},
        {"a,b\n1,2\r3,\"4\"\r", {"a", "b"}, {{"1", "2"}, {"3", "4"}}},
        // Past a row's first cell, cells are counted eight bytes at a time.
        {"a,b,c,d\n1,22222222,-3333333,\"4,\"\"4\"\n", {"a", "b", "c", "d"}, {{"1", "22222222", "-3333333", "4,\"4"}}},
    };
    // Whole, and a byte at a time as a slow pipe may hand it over.
    for (const Case& c : cases) {
        for (const std::size_t piece : {std::string_view::npos, std::size_t{1}}) {
            SCOPED_TRACE(testing::Message() << c.text << " in pieces of " << piece);
            const auto read = readCsvTable(c.text, piece);
            ASSERT_TRUE(std::holds_alternative<CsvTable>(read)) << std::get<Unusable>(read).message;
            const CsvTable& table = std::get<CsvTable>(read);
            EXPECT_EQ(table.header(), c.header);
            EXPECT_EQ(rowsOf(table), c.rows);
        }
    }
}

TEST(CsvTable, CellsBeyondAShortRowAreEmpty)
{
    const auto read = readCsvTable("a,b,c\n1\n");
    ASSERT_TRUE(std::holds_alternative<CsvTable>(read));
    const CsvTable& table = std::get<CsvTable>(read);
    EXPECT_EQ(table.cell(0, 0), "1");
    EXPECT_EQ(table.cell(0, 1), "");
    EXPECT_EQ(table.cell(0, 2), "");
}

TEST(CsvTable, UnusableTablesSayWhere)
{
    struct Case {
        std::string text;
        const char* messagePart;
    };
    const std::string longRow(kMaxRowBytes, 'x');
    const Case cases[] = {
        {"a,b\n1,2,3\n", "la fila 1 tiene 3 celdas"},
        {"a,b\n1,2\n\n3,4\n5,6,7\n", "la fila 3"},
        {"a,b,c,d,e,f,g,h,i\n1,-2,-3,-4,-5,-6,-7,-8,-9,-10\n", "la fila 1 tiene 10 celdas"},
        {"a,b,c\n1,2222222222,3333333\"3\n", "comillas mal puestas en la línea 2"},
        {"a,b\n1,2\n3,x\"y\n", "línea 3"},
        {"a,b\n\"1\" ,2\n", "línea 2"},
        {"a,b\n\"1\n\n2\"x\n", "línea 4"},
        {"a,b\n1,\"2\n", "comilla de cierre"},
        {"a,b\n1,2\n\xff", "UTF-8 válido (línea 3)"},
        {"a,b\n1,\"\n\n\xC3\n", "UTF-8 válido (línea 4)"},
        {"a,b\n1,2\n3,\xE2\x82", "UTF-8 válido (línea 3)"},
        {"", "vacía"},
        {"\n\n", "vacía"},
        // Rows of more than a mebibyte: endless input, a quote never closed.
        {std::string(3 * kMaxRowBytes, '\0'), "la fila que empieza en la línea 1 pasa de 1 MiB"},
        {"\n\n" + longRow + ",b\n1,2\n", "la fila que empieza en la línea 3 pasa de 1 MiB"},
        {"a,b\n1,2\n\"" + longRow + "\n", "la fila que empieza en la línea 3 pasa de 1 MiB"},
        {"a,b\n1," + longRow + "\n3,4\n", "la fila que empieza en la línea 2 pasa de 1 MiB"},
    };
    for (const Case& c : cases) {
        for (const std::size_t piece : {std::string_view::npos, std::size_t{1} << 16, std::size_t{1}}) {
            if (piece == 1 && c.text.size() > 1000)
                continue;
            SCOPED_TRACE(testing::Message() << c.text.substr(0, 40) << " in pieces of " << piece);
            const auto read = readCsvTable(c.text, piece);
            ASSERT_TRUE(std::holds_alternative<Unusable>(read));
            EXPECT_NE(std::get<Unusable>(read).message.find(c.messagePart), std::string::npos)
                << std::get<Unusable>(read).message;
        }
    }
}

}  // namespace
}  // namespace recibo::table
