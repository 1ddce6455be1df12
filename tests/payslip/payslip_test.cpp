// A payslip made from a changed teacher is traced back to the change; an
// exact payslip reports nothing; less than half a cent is no difference.

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "payroll/calculation.h"
#include "payslip/likely_causes.h"
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
}

}  // namespace
}  // namespace recibo::payslip
