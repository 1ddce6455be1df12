// A payslip made from a changed teacher is traced back to the change; an
// exact payslip reports nothing; less than half a cent is no difference.

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "payroll/calculation.h"
#include "payslip/likely_causes.h"
#include "payslip/official_amount.h"
#include "payslip/official_file.h"
#include "payslip/suggestion_text.h"
#include "scales/scale.h"
#include "table/columns.h"

namespace recibo::payslip {
namespace {

using Cells = std::map<std::string, std::string>;

const payroll::RegionalSettings kComma = payroll::RegionalSettings::commaDecimal();

// A teacher of the table: every column the cells do not name left empty.
table::RowInput teacher(const Cells& cells)
{
    std::vector<table::Column> columns;
    std::vector<std::string_view> values;
    for (const auto& [name, value] : cells) {
        const auto resolved = table::resolveHeader({name});
        columns.push_back(std::get<std::vector<table::Column>>(resolved).front());
        values.push_back(value);
    }
    const auto row = table::mapRow(columns, values);
    if (const auto* bad = std::get_if<Unusable>(&row))
        ADD_FAILURE() << bad->message;
    return std::get<table::RowInput>(row);
}

payroll::Receipt receiptOf(const table::RowInput& input)
{
    return std::get<payroll::Receipt>(payroll::calculate(input.entry, input.position, kComma));
}

// The official payslip of a teacher: every line, printed to the cent.
std::vector<OfficialLine> payslipOf(const table::RowInput& input)
{
    std::vector<OfficialLine> lines;
    for (const payroll::ReceiptLine& line : receiptOf(input).lines)
        lines.push_back({std::string(line.code), toCents(line.value)});
    return lines;
}

const Cells kTeacher = {{"tipo", "cargo"}, {"codcargo", "645"},    {"antiguedad", "4"}, {"zona", "1"},
                        {"hijos", "1"},    {"cantidadhijos", "2"}, {"Iosper", "1"},     {"APORTEJUB", "1"}};

Cells with(Cells cells, const std::string& column, const std::string& value)
{
    cells[column] = value;
    return cells;
}

TEST(LikelyCauses, APayslipOfAChangedTeacherIsTracedBackToTheChange)
{
    const struct {
        const char* column;
        const char* official;
        const char* ours;
    } changes[] = {
        {"antiguedad", "5", "4"},   {"zona", "3", "1"},   {"cantidadhijos", "3", "2"},
        {"codcargo", "934", "645"}, {"Iosper", "0", "1"},
    };
    for (const auto& change : changes) {
        const auto official = payslipOf(teacher(with(kTeacher, change.column, change.official)));
        const auto found = likelyCauses(teacher(kTeacher), official, scales::builtInScale(), kComma);
        ASSERT_FALSE(found.empty()) << change.column;
        const int lines = found.front().lineas;
        EXPECT_EQ(found.front(), (Suggestion{change.column, change.official, change.ours, lines, lines}))
            << change.column << ": " << found.front().campo << " = " << found.front().valor;
    }
}

TEST(LikelyCauses, AnExactPayslipReportsNothing)
{
    const table::RowInput ours = teacher(kTeacher);
    const auto official = payslipOf(ours);
    EXPECT_TRUE(checkPayslip(receiptOf(ours), official).matches());
    EXPECT_TRUE(likelyCauses(ours, official, scales::builtInScale(), kComma).empty());
}

// Amounts to the ten-thousandth against the payslip's cents.
TEST(PayslipCheck, LessThanHalfACentIsNoDifference)
{
    const payroll::Receipt receipt = receiptOf(teacher(kTeacher));
    const Currency first = receipt.lines.front().value;
    const struct {
        std::int64_t officialMinusOurs;  // ten-thousandths
        bool differs;
    } rows[] = {{0, false}, {49, false}, {-49, false}, {100, true}, {-100, true}, {10000, true}};
    for (const auto& row : rows) {
        std::vector<OfficialLine> official;
        for (const payroll::ReceiptLine& line : receipt.lines)
            official.push_back({std::string(line.code), toCents(line.value)});
        official.front().amount = Currency::fromRaw(first.raw() + row.officialMinusOurs);
        const PayslipCheck check = checkPayslip(receipt, official);
        EXPECT_EQ(check.lines.front().differs, row.differs) << row.officialMinusOurs;
        EXPECT_EQ(check.matches(), !row.differs) << row.officialMinusOurs;
    }
}

// Lines on one side only, and the two 052 lines matched in order.
TEST(PayslipCheck, LinesOnOneSideOnly)
{
    const payroll::Receipt receipt = receiptOf(teacher(with(kTeacher, "codcargo", "750")));
    std::vector<OfficialLine> official;
    for (const payroll::ReceiptLine& line : receipt.lines)
        if (line.code != "505")
            official.push_back({std::string(line.code), toCents(line.value)});
    official.push_back({"999", Currency::fromRaw(1230000)});
    const PayslipCheck check = checkPayslip(receipt, official);
    std::vector<std::string> differing;
    for (const LineCheck& line : check.lines)
        if (line.differs)
            differing.push_back(line.code + (line.official ? "" : " (sólo nuestro)")
                                + (line.computed ? "" : " (sólo oficial)"));
    EXPECT_EQ(differing, (std::vector<std::string>{"505 (sólo nuestro)", "999 (sólo oficial)"}));
    EXPECT_EQ(check.lines.back().difference(), Currency::fromRaw(1230000));

    // The totals add the official lines by the column each stands in on our
    // receipt; a code no receipt has counts in neither.
    std::int64_t earnings = 0;
    for (const payroll::ReceiptLine& line : receipt.lines)
        if (line.column == payroll::Column::Earnings)
            earnings += toCents(line.value).raw();
    EXPECT_EQ(check.totals[0].official, Currency::fromRaw(earnings));
    EXPECT_TRUE(check.totals[1].differs);
    EXPECT_TRUE(check.totals[2].differs);
}

// Totals a payslip could never reach are no total, and are not summed past
// Currency's range.
TEST(PayslipCheck, TotalsBeyondAnyRangeDiffer)
{
    const payroll::Receipt receipt = receiptOf(teacher(kTeacher));
    const std::vector<OfficialLine> official(1100, OfficialLine{"001", *readOfficialAmount("999999999999", kComma)});
    const PayslipCheck check = checkPayslip(receipt, official);
    EXPECT_EQ(check.totals[0].official, std::nullopt);
    EXPECT_TRUE(check.totals[0].differs && check.totals[2].differs);
    EXPECT_EQ(check.totals[2].difference(), std::nullopt);
}

TEST(OfficialAmount, ReadAsPrintedAndWrittenToTheCent)
{
    const struct {
        const char* typed;
        std::optional<std::int64_t> raw;
        const char* written;
    } rows[] = {
        {"1234,56", 12345600, "1234,56"},    {"$ 1.234,5", 12345000, "1234,50"},
        {" -0,3 ", -3000, "-0,30"},          {"0,005", 50, "0,01"},
        {"abc", std::nullopt, ""},           {"1e5", std::nullopt, ""},
        {"1000000000000", std::nullopt, ""},
    };
    for (const auto& row : rows) {
        const auto read = readOfficialAmount(row.typed, kComma);
        EXPECT_EQ(read ? std::optional(read->raw()) : std::nullopt, row.raw) << row.typed;
        if (read)
            EXPECT_EQ(centsText(*read, kComma), row.written) << row.typed;
    }
}

TEST(SuggestionText, InTheEntryWindowsWords)
{
    const auto& catalogue = scales::builtInScale().catalogue;
    const struct {
        Suggestion suggestion;
        const char* text;
    } rows[] = {
        {{"antiguedad", "5", "4", 14, 14},
         "Con «Entre 7 y 10 años» en lugar de «Entre 5 y 7 años» coinciden todas las líneas."},
        {{"zona", "0", "", 10, 12}, "Con la zona «Común» en lugar de ninguna zona coinciden 10 de 12 líneas."},
        {{"AGMER", "0", "1", 3, 3}, "Con «AGMER» sin marcar coinciden todas las líneas."},
        {{"cantidadhijos", "3", "2", 9, 9}, "Con 3 hijos en lugar de 2 coinciden todas las líneas."},
        {{"codcargo", "645", "999", 9, 9},
         "Con el cargo 645 (Asesor Pedag Proyecto 13) en lugar del 999 (Analista Princ Tec Doc) coinciden todas las "
         "líneas."},
        {{"escala", "Escala de marzo", "Otra", 9, 9}, "Con la escala «Escala de marzo» coinciden todas las líneas."},
    };
    for (const auto& row : rows)
        EXPECT_EQ(describe(row.suggestion, catalogue), row.text);
}

// What the desktop saves beside a planilla reads back as recibo-lote reads it.
TEST(OfficialFile, WrittenAndReadBack)
{
    const OfficialLines lines = {{2, {{"001", Currency::fromRaw(12345600)}, {"a;\"b", Currency::fromRaw(-3000)}}},
                                 {1, {{"010", Currency::fromRaw(50)}}}};
    const std::string text = writeOfficialLines(lines, kComma);
    EXPECT_EQ(text, "fila;cod;importe\n1;010;0,01\n2;001;1234,56\n2;\"a;\"\"b\";-0,30\n");
    const auto path = std::filesystem::temp_directory_path() / "payslip_test_oficial.csv";
    std::ofstream(path) << text;
    const auto read = readOfficialLines(path.string(), kComma);
    std::filesystem::remove(path);
    ASSERT_TRUE(std::holds_alternative<OfficialLines>(read));
    OfficialLines cents = lines;
    cents[1][0].amount = Currency::fromRaw(100);
    EXPECT_EQ(std::get<OfficialLines>(read), cents);
}

}  // namespace
}  // namespace recibo::payslip
