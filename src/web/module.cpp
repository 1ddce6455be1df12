// The engine's entry for JavaScript (Embind): a teachers' table, held whole,
// made into the JSON lines recibo-lote writes for it; the texts of the
// page's lists; a scale file chosen on the device; and an official payslip
// checked against the receipt. The page computes one teacher's receipt as a
// table of one row; `node lote.mjs` a whole file.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "payroll/calculation.h"
#include "payroll/regional_settings.h"
#include "payroll/seniority.h"
#include "payroll/zones.h"
#include "payslip/comparison_report.h"
#include "rows/table_lines.h"
#include "scales/scale.h"
#include "table/columns.h"
#include "table/row_input.h"

namespace {

using emscripten::val;
namespace payslip = recibo::payslip;
namespace scales = recibo::scales;

// Bytes handed to JavaScript as they are: a Uint8Array copied from them.
val bytes(std::string_view text)
{
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    return val::global("Uint8Array").new_(emscripten::typed_memory_view(text.size(), data));
}

val texts(const auto& list)
{
    val array = val::array();
    for (const auto& text : list)
        array.call<void>("push", std::string(text));
    return array;
}

// The scale chosen on the page, when it is not the built-in one. The page
// holds one at a time, as the entry window does.
std::unique_ptr<const scales::Scale>& chosenScale()
{
    static std::unique_ptr<const scales::Scale> scale;
    return scale;
}

const scales::Scale& currentScale()
{
    return chosenScale() ? *chosenScale() : scales::builtInScale();
}

recibo::payroll::RegionalSettings settingsFor(bool decimalComma)
{
    return decimalComma ? recibo::payroll::RegionalSettings::commaDecimal()
                        : recibo::payroll::RegionalSettings::pointDecimal();
}

// recibo-lote's exit statuses.
constexpr int kAllRowsComputed = 0;
constexpr int kSomeRowFailed = 1;
constexpr int kInputUnusable = 2;

// `table`: the CSV file's bytes (a Uint8Array, or a string taken as UTF-8).
// With `decimalComma`, numbers are read and amounts written as in es_AR
// ("1.234,5"), otherwise as in the C locale; with `explain`, every line and
// total carries its explanation. An object with "lineas" (the JSON lines'
// bytes), "problema" (why the table cannot be used, empty when it can) and
// "estado" (recibo-lote's exit status for the same table).
val computeTable(const std::string& table, bool decimalComma, bool explain)
{
    val result = val::object();
    const auto computed = recibo::batch::computeTable(table, settingsFor(decimalComma), currentScale(), explain);
    if (const auto* problem = std::get_if<recibo::Unusable>(&computed)) {
        result.set("lineas", bytes({}));
        result.set("problema", bytes(problem->message));
        result.set("estado", kInputUnusable);
        return result;
    }
    const auto& lines = std::get<recibo::batch::TableLines>(computed);
    result.set("lineas", bytes(lines.text));
    result.set("problema", bytes({}));
    result.set("estado", lines.someRowFailed ? kSomeRowFailed : kAllRowsComputed);
    return result;
}

// What the page's lists offer under the current scale, as the entry window
// and the selection dialog word it: "antiguedades" (options 1 to 12) with
// their "porcentajes", "zonas" (0 to 4), "cargos" (each position as [code,
// name, base points, basic complement, extended day, full day,
// differentiated task], in the catalogue's order), and the scale's "escala"
// (its name), "subtitulo" and "tituloRecibo" (the receipt window's title).
val options()
{
    const scales::Scale& scale = currentScale();
    std::vector<std::string> percents;
    for (int option = 1; option <= recibo::payroll::kSeniorityOptions; ++option)
        percents.push_back(recibo::payroll::seniorityBracket(option, scale.pay).text);
    val positions = val::array();
    for (const recibo::positions::CatalogueRow& row : scale.catalogue)
        positions.call<void>(
            "push",
            texts(std::vector<std::string_view>{row.codigocargo, row.cargox, row.puntosbasicos, row.compbasico,
                                                row.proljornada, row.jorcompleta, row.tareadif}));
    val result = val::object();
    result.set("antiguedades", texts(recibo::payroll::kSeniorityCaptions));
    result.set("porcentajes", texts(percents));
    result.set("zonas", texts(recibo::payroll::kZoneNames));
    result.set("cargos", positions);
    result.set("escala", scale.name);
    result.set("subtitulo", scale.entrySubtitle);
    result.set("tituloRecibo", scale.receiptTitle);
    return result;
}

// A scale file's text, chosen on the device, becomes the scale of every
// receipt after it: an object with its "escala" (name), or the "problema"
// that keeps it from being used (the scale in use then stays).
val chooseScale(const std::string& text, const std::string& fileName)
{
    val result = val::object();
    auto read = scales::parseScale(text, fileName);
    if (auto* problem = std::get_if<recibo::Unusable>(&read)) {
        result.set("problema", problem->message);
        return result;
    }
    chosenScale() = std::make_unique<const scales::Scale>(std::move(std::get<scales::Scale>(read)));
    result.set("escala", chosenScale()->name);
    return result;
}

void builtInScaleAgain()
{
    chosenScale().reset();
}

val comparisonRowValue(const payslip::ComparisonRow& row)
{
    val value = val::object();
    value.set("cod", row.code);
    value.set("descripcion", row.description);
    value.set("oficial", row.official);
    value.set("calculado", row.computed);
    value.set("diferencia", row.difference);
    value.set("estado", row.status);
    value.set("difiere", row.differs);
    value.set("explicacion", row.explanation);
    return value;
}

// One teacher (the table's column `names` and the row's `cells`) and the
// official payslip typed for it (`official`: [code, amount] pairs as typed),
// compared as the desktop's window compares them: "filas" (each code and
// the three totals, in words), "veredicto", "causas" (the likely causes) and
// "problemas" (the official rows that cannot be read), or the teacher's
// "error" when there is no receipt to compare with.
val compareWithOfficial(const val& names, const val& cells, const val& official, bool decimalComma)
{
    const auto settings = settingsFor(decimalComma);
    const scales::Scale& scale = currentScale();
    val result = val::object();
    const auto columns = recibo::table::resolveHeader(emscripten::vecFromJSArray<std::string>(names));
    if (const auto* problem = std::get_if<recibo::Unusable>(&columns)) {
        result.set("error", problem->message);
        return result;
    }
    const auto cellTexts = emscripten::vecFromJSArray<std::string>(cells);
    const std::vector<std::string_view> cellViews(cellTexts.begin(), cellTexts.end());
    const auto teacher = recibo::table::mapRow(std::get<std::vector<recibo::table::Column>>(columns), cellViews,
                                               scale.pay, scale.catalogue);
    if (const auto* problem = std::get_if<recibo::Unusable>(&teacher)) {
        result.set("error", problem->message);
        return result;
    }
    const recibo::table::RowInput& input = std::get<recibo::table::RowInput>(teacher);
    auto computed =
        recibo::payroll::calculate(input.entry, input.position, settings, scale.pay, recibo::payroll::Explain::Yes);
    if (const auto* failure = std::get_if<recibo::Unusable>(&computed)) {
        result.set("error", failure->message);
        return result;
    }
    const recibo::payroll::Receipt& receipt = std::get<recibo::payroll::Receipt>(computed);

    std::vector<std::pair<std::string, std::string>> typedRows;
    for (const auto& pair : emscripten::vecFromJSArray<val>(official))
        typedRows.emplace_back(pair[0].as<std::string>(), pair[1].as<std::string>());
    const payslip::TypedLines typed = payslip::readTypedLines(typedRows, settings);
    result.set("problemas", texts(typed.problems));
    val rows = val::array();
    if (typed.lines.empty()) {
        for (const payslip::ComparisonRow& row : payslip::receiptRows(receipt, settings))
            rows.call<void>("push", comparisonRowValue(row));
        result.set("filas", rows);
        result.set("veredicto", std::string(payslip::kTypeTheAmounts));
        result.set("causas", val::array());
        return result;
    }
    const payslip::PayslipCheck check = payslip::checkPayslip(receipt, typed.lines);
    std::vector<payslip::Suggestion> causes;
    if (!check.matches()) {
        // The built-in scale is the other one known when a file is in use.
        std::vector<const scales::Scale*> others;
        if (chosenScale())
            others.push_back(&scales::builtInScale());
        causes = payslip::likelyCauses(input, typed.lines, scale, settings, others);
    }
    for (const payslip::ComparisonRow& row : payslip::comparisonRows(check, receipt, settings, causes, scale.catalogue))
        rows.call<void>("push", comparisonRowValue(row));
    const payslip::Verdict verdict = payslip::verdictOf(check, causes, scale.catalogue);
    result.set("filas", rows);
    result.set("veredicto", verdict.text);
    result.set("causas", texts(verdict.causes));
    return result;
}

// `text` quoted as every message quotes what was typed: between « and »,
// cut short when long.
std::string quoted(const std::string& text)
{
    return recibo::table::quotedForMessage(text);
}

}  // namespace

EMSCRIPTEN_BINDINGS(recibo)
{
    emscripten::function("calcularTabla", &computeTable);
    emscripten::function("opciones", &options);
    emscripten::function("elegirEscala", &chooseScale);
    emscripten::function("escalaIncorporada", &builtInScaleAgain);
    emscripten::function("compararOficial", &compareWithOfficial);
    emscripten::function("citar", &quoted);
}
