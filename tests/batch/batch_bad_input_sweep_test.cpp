// recibo-lote given, in one cell of a table, the texts a user may leave in
// the box that the column stands for: nothing, blanks, letters, exponents,
// numbers at and just beyond the ends of each box's type, halves, negative
// numbers, separators in and out of place, very long texts and characters
// of other scripts. The cell sits in the middle one of three rows of a full
// request; the row must come out as the whole receipt the pay scale gives
// for what the cell says, or as an error that names the box and quotes the
// cell, while the rows around it are computed as always and the exit status
// tells whether every row was. Under a decimal comma and a decimal point.

#include <optional>
#include <ostream>
#include <string>
#include <variant>
#include <vector>

#include <gtest/gtest.h>
#include <QJsonArray>
#include <QJsonObject>

#include "batch/batch.h"
#include "batch_test_support.h"
#include "common/bad_inputs.h"
#include "payroll/calculation.h"
#include "regional/regional.h"

namespace recibo::batch {
namespace {

using sweep::BadInput;
using sweep::Field;
using sweep::Scenario;
using testing::BatchRun;
using testing::runWithInput;

// One case: a column of the table and a text for its cell, under a locale.
struct SweepCase {
    std::string locale;
    std::string column;  // a box's name, or "codcargo"
    Scenario scenario = Scenario::Position;
    std::size_t input = 0;
};

payroll::RegionalSettings settingsOf(const std::string& locale)
{
    return regional::settingsOf(*regional::localeNamed(locale));
}

const std::vector<BadInput>& inputsUnder(const std::string& locale)
{
    static const std::vector<BadInput> comma = sweep::badInputs(settingsOf("es_AR"));
    static const std::vector<BadInput> point = sweep::badInputs(settingsOf("C"));
    return locale == "C" ? point : comma;
}

const std::vector<BadInput>& codesUnder(const std::string& locale)
{
    static const std::vector<BadInput> comma = sweep::codeInputs(settingsOf("es_AR"));
    static const std::vector<BadInput> point = sweep::codeInputs(settingsOf("C"));
    return locale == "C" ? point : comma;
}

const BadInput& inputOf(const SweepCase& c)
{
    return (c.column == "codcargo" ? codesUnder(c.locale) : inputsUnder(c.locale))[c.input];
}

void PrintTo(const SweepCase& c, std::ostream* out)
{
    *out << c.column << " = " << inputOf(c).name << " under " << c.locale;
}

std::vector<SweepCase> casesUnder(const std::string& locale)
{
    std::vector<SweepCase> cases;
    const std::vector<BadInput>& inputs = inputsUnder(locale);
    for (const Field& field : sweep::sweptFields())
        for (std::size_t i = 0; i < inputs.size() && field.batchColumn; ++i)
            if (sweep::concerns(inputs[i], field.reading))
                cases.push_back({locale, std::string(field.control), field.scenario, i});
    for (std::size_t i = 0; i < codesUnder(locale).size(); ++i)
        cases.push_back({locale, "codcargo", Scenario::Position, i});
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<SweepCase>& info)
{
    return info.param.column + "_" + inputOf(info.param).name;
}

const Field* fieldNamed(const std::string& control)
{
    for (const Field& field : sweep::sweptFields())
        if (field.control == control)
            return &field;
    return nullptr;
}

// The table's columns, and a row holding the scenario's request: the
// looked-up points are left empty, so that the code's row stands.
const std::vector<std::string> kColumns = {
    "docente",
    "tipo",
    "codcargo",
    "punbas",
    "compbas",
    "proljor",
    "jorcom",
    "tardif",
    "numerohorasmed",
    "numerohorassup",
    "numhorascod06",
    "numhorasincen",
    "numhorascod113",
    "antiguedad",
    "zona",
    "opincentivo",
    "dinasist",
    "transporte",
    "cantkm",
    "hijos",
    "cantidadhijos",
    "hijosdisc",
    "cantidadhijosdisc",
    "conyuge",
    "Iosper",
    "Osplad",
    "APORTEJUB",
    "Ley4035",
    "AGMER",
    "cajacomp",
    "Seguro3011",
};

std::vector<std::string> requestRow(Scenario scenario)
{
    const payroll::EntryValues v = sweep::baselineEntry(scenario);
    const auto check = [](payroll::CheckState state) { return state == payroll::CheckState::Checked ? "1" : "0"; };
    const char* tipo = scenario == Scenario::Position ? "cargo"
        : scenario == Scenario::MiddleLevelHours      ? "medio"
                                                      : "superior";
    return {v.docente,
            tipo,
            "645",
            "",
            "",
            "",
            "",
            "",
            v.numerohorasmed,
            v.numerohorassup,
            v.numhorascod06,
            v.numhorasincen,
            v.numhorascod113,
            std::to_string(v.seniorityOption),
            std::to_string(v.zona),
            check(v.opincentivo),
            v.dinasist,
            check(v.transporte),
            v.cantkm,
            check(v.hijos),
            v.cantidadhijos,
            check(v.hijosdisc),
            v.cantidadhijosdisc,
            check(v.conyuge),
            check(v.iosper),
            check(v.osplad),
            check(v.aportejub),
            check(v.ley4035),
            check(v.agmer),
            check(v.cajacomp),
            check(v.seguro3011)};
}

std::string csvLine(const std::vector<std::string>& cells)
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        line += i ? ",\"" : "\"";
        for (const char c : cells[i]) {
            if (c == '"')
                line += '"';
            line += c;
        }
        line += '"';
    }
    return line + "\n";
}

std::string str(const QJsonValue& value)
{
    return value.toString().toStdString();
}

// The object is the receipt `expected`, key for key.
void expectReceiptObject(const QJsonObject& object, const payroll::Receipt& expected,
                         const payroll::RegionalSettings& settings)
{
    ASSERT_FALSE(object.contains(u"error")) << str(object.value(u"error"));
    EXPECT_EQ(str(object.value(u"docente")), expected.docente);
    const QJsonObject header = object.value(u"cabecera").toObject();
    EXPECT_EQ(str(header.value(u"Label11")), expected.header.label11);
    EXPECT_EQ(str(header.value(u"numcargo")), expected.header.numcargo);
    EXPECT_EQ(str(header.value(u"punbasicos")), expected.header.punbasicos);
    EXPECT_EQ(str(header.value(u"carsel")), expected.header.carsel);

    const QJsonArray lines = testing::linesOf(object);
    ASSERT_EQ(lines.size(), expected.rowsWritten());
    long long earnings = 0;
    long long deductions = 0;
    for (int r = 0; r < expected.rowsWritten(); ++r) {
        SCOPED_TRACE("line " + std::to_string(r));
        const QJsonObject line = lines[r].toObject();
        const payroll::ReceiptLine& want = expected.lines[static_cast<std::size_t>(r)];
        EXPECT_EQ(str(line.value(u"cod")), want.code);
        EXPECT_EQ(str(line.value(u"descripcion")), want.description);
        EXPECT_EQ(line.contains(u"cantidad"), want.showsQuantity);
        if (want.showsQuantity) {
            EXPECT_EQ(str(line.value(u"cantidad")), want.quantity);
        }
        const bool earning = want.column == payroll::Column::Earnings;
        EXPECT_FALSE(line.contains(earning ? u"descuentos" : u"haberes"));
        const std::string amount = str(line.value(earning ? u"haberes" : u"descuentos"));
        EXPECT_EQ(amount, want.amount);
        const auto value = sweep::shownAmount(amount, settings);
        ASSERT_TRUE(value) << amount;
        (earning ? earnings : deductions) += *value;
    }
    EXPECT_EQ(str(object.value(u"total_haberes")), expected.thaberes);
    EXPECT_EQ(str(object.value(u"total_descuentos")), expected.tdescuentos);
    EXPECT_EQ(str(object.value(u"liquido")), expected.liquido);

    // And it adds up: each total is its column's sum, the net pay their
    // difference.
    const auto haberes = sweep::shownAmount(str(object.value(u"total_haberes")), settings);
    const auto descuentos = sweep::shownAmount(str(object.value(u"total_descuentos")), settings);
    const auto liquido = sweep::shownAmount(str(object.value(u"liquido")), settings);
    ASSERT_TRUE(haberes && descuentos && liquido);
    EXPECT_EQ(*haberes, earnings);
    EXPECT_EQ(*descuentos, deductions);
    EXPECT_EQ(*liquido, *haberes - *descuentos);
}

// Same lines, amounts and totals; quantities may show the text as typed.
void expectSameAmounts(const payroll::Receipt& actual, const payroll::Receipt& expected)
{
    ASSERT_EQ(actual.rowsWritten(), expected.rowsWritten());
    for (std::size_t r = 0; r < actual.lines.size(); ++r) {
        EXPECT_EQ(actual.lines[r].code, expected.lines[r].code) << "line " << r;
        EXPECT_EQ(actual.lines[r].description, expected.lines[r].description) << "line " << r;
        EXPECT_EQ(actual.lines[r].amount, expected.lines[r].amount) << "line " << r;
    }
    EXPECT_EQ(actual.thaberes, expected.thaberes);
    EXPECT_EQ(actual.tdescuentos, expected.tdescuentos);
    EXPECT_EQ(actual.liquido, expected.liquido);
}

// The object is the failure of the row, naming the box `control` and its
// text as the user knows them.
void expectFailureObject(const QJsonObject& object, std::string_view control, std::string_view label,
                         const std::string& text)
{
    for (const char16_t* key : {u"lineas", u"cabecera", u"total_haberes", u"total_descuentos", u"liquido"})
        EXPECT_FALSE(object.contains(QStringView(key))) << QString::fromUtf16(key).toStdString();
    EXPECT_EQ(str(object.value(u"docente")), sweep::baselineEntry(Scenario::Position).docente);
    EXPECT_EQ(str(object.value(u"campo")), control);
    EXPECT_EQ(str(object.value(u"texto")), text);
    const std::string message = str(object.value(u"error"));
    EXPECT_NE(message.find(label), std::string::npos) << message;
    if (text.find_first_not_of(' ') != std::string::npos) {
        // Long texts are quoted shortened, never inside a character.
        std::size_t shown = std::min<std::size_t>(text.size(), 20);
        while (shown < text.size() && (static_cast<unsigned char>(text[shown]) & 0xC0) == 0x80)
            --shown;
        EXPECT_NE(message.find("«" + text.substr(0, shown)), std::string::npos) << message;
    }
}

class BatchBadInputSweep : public ::testing::TestWithParam<SweepCase> {};

TEST_P(BatchBadInputSweep, OneCellInTheMiddleRow)
{
    const SweepCase& c = GetParam();
    const BadInput& input = inputOf(c);
    const payroll::RegionalSettings settings = settingsOf(c.locale);

    const std::vector<std::string> request = requestRow(c.scenario);
    std::vector<std::string> changed = request;
    std::size_t column = 0;
    while (kColumns[column] != c.column)
        ++column;
    changed[column] = input.text;
    const BatchRun run = runWithInput({"--locale", c.locale},
                                      csvLine(kColumns) + csvLine(request) + csvLine(changed) + csvLine(request));
    EXPECT_EQ(run.err, "");
    const std::vector<QJsonObject> objects = run.objects();
    ASSERT_EQ(objects.size(), 3u);
    for (int fila = 1; fila <= 3; ++fila)
        EXPECT_EQ(objects[static_cast<std::size_t>(fila - 1)].value(u"fila").toInt(), fila);

    // What a user who typed the row into the windows would have.
    const payroll::EntryValues entry = sweep::baselineEntry(c.scenario);
    const payroll::SelectedPosition position = sweep::baselinePosition();
    const auto receiptOf = [&](const payroll::EntryValues& e, const payroll::SelectedPosition& p) {
        auto result = payroll::calculate(e, p, settings);
        if (const auto* failure = std::get_if<Unusable>(&result))
            ADD_FAILURE() << "the calculation refuses what must give a receipt: " << failure->message;
        return std::get_if<payroll::Receipt>(&result) ? std::get<payroll::Receipt>(result) : payroll::Receipt{};
    };

    // The rows around it, as always.
    const payroll::Receipt requestReceipt = receiptOf(entry, position);
    {
        SCOPED_TRACE("row 1");
        expectReceiptObject(objects[0], requestReceipt, settings);
    }
    {
        SCOPED_TRACE("row 3");
        expectReceiptObject(objects[2], requestReceipt, settings);
    }

    SCOPED_TRACE("row 2");
    const Field* field = fieldNamed(c.column);
    if (field == nullptr) {
        // The code, typed into the selection dialog: a catalogue code fills
        // its boxes; anything else leaves them empty: no position is chosen.
        if (const auto row = sweep::catalogueRowOfCode(input.text)) {
            EXPECT_EQ(run.status, kAllRowsComputed);
            expectReceiptObject(objects[1], receiptOf(entry, sweep::positionOfRow(*row)), settings);
        } else {
            EXPECT_EQ(run.status, kSomeRowFailed);
            expectFailureObject(objects[1], "punbas", "No hay un cargo elegido", "");
        }
        return;
    }

    const bool lookedUpPoints = field->place == sweep::Place::SelectionDialog;
    if (lookedUpPoints && input.text.empty()) {
        // An empty point cell leaves the looked-up points as they are.
        EXPECT_EQ(run.status, kAllRowsComputed);
        expectReceiptObject(objects[1], requestReceipt, settings);
        return;
    }

    payroll::EntryValues typedEntry = entry;
    payroll::SelectedPosition typedPosition = position;
    sweep::putText(field->control, input.text, typedEntry, typedPosition);
    if (const std::optional<std::string> reading = sweep::expectedReading(*field, input)) {
        EXPECT_EQ(run.status, kAllRowsComputed);
        const payroll::Receipt typed = receiptOf(typedEntry, typedPosition);
        expectReceiptObject(objects[1], typed, settings);
        if (field->reading != sweep::Reading::Text) {
            // Figure for figure the receipt of the number written plainly.
            payroll::EntryValues plainEntry = entry;
            payroll::SelectedPosition plainPosition = position;
            sweep::putText(field->control, sweep::localised(*reading, settings), plainEntry, plainPosition);
            expectSameAmounts(typed, receiptOf(plainEntry, plainPosition));
        }
        return;
    }
    EXPECT_EQ(run.status, kSomeRowFailed);
    expectFailureObject(objects[1], field->control, field->label, input.text);
}

INSTANTIATE_TEST_SUITE_P(CommaDecimal, BatchBadInputSweep, ::testing::ValuesIn(casesUnder("es_AR")), caseName);
INSTANTIATE_TEST_SUITE_P(PointDecimal, BatchBadInputSweep, ::testing::ValuesIn(casesUnder("C")), caseName);

}  // namespace
}  // namespace recibo::batch
