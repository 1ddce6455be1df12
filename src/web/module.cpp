// The engine's entry for JavaScript (Embind): a teachers' table, held whole,
// made into the JSON lines recibo-lote writes for it, and the texts of the
// page's lists. The page computes one teacher's receipt as a table of one
// row; `node lote.mjs` a whole file.

#include <string>
#include <string_view>
#include <variant>

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "payroll/regional_settings.h"
#include "payroll/seniority.h"
#include "payroll/zones.h"
#include "rows/table_lines.h"
#include "scales/scale.h"

namespace {

using emscripten::val;

// Bytes handed to JavaScript as they are: a Uint8Array copied from them.
val bytes(std::string_view text)
{
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    return val::global("Uint8Array").new_(emscripten::typed_memory_view(text.size(), data));
}

// recibo-lote's exit statuses.
constexpr int kAllRowsComputed = 0;
constexpr int kSomeRowFailed = 1;
constexpr int kInputUnusable = 2;

// `table`: the CSV file's bytes (a Uint8Array, or a string taken as UTF-8).
// With `decimalComma`, numbers are read and amounts written as in es_AR
// ("1.234,5"), otherwise as in the C locale. An object with "lineas" (the
// JSON lines' bytes), "problema" (why the table cannot be used, empty when
// it can) and "estado" (recibo-lote's exit status for the same table).
val computeTable(const std::string& table, bool decimalComma)
{
    const recibo::scales::Scale& scale = recibo::scales::builtInScale();
    const auto settings = decimalComma ? recibo::payroll::RegionalSettings::commaDecimal()
                                       : recibo::payroll::RegionalSettings::pointDecimal();
    val result = val::object();
    const auto computed = recibo::batch::computeTable(table, settings, scale);
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

// What the page's lists offer, as the entry window words it: "antiguedades"
// (options 1 to 12), "zonas" (0 to 4), and the name of the scale, "escala".
val options()
{
    const auto texts = [](const auto& captions) {
        val list = val::array();
        for (const std::string_view caption : captions)
            list.call<void>("push", std::string(caption));
        return list;
    };
    val result = val::object();
    result.set("antiguedades", texts(recibo::payroll::kSeniorityCaptions));
    result.set("zonas", texts(recibo::payroll::kZoneNames));
    result.set("escala", recibo::scales::builtInScale().name);
    return result;
}

}  // namespace

EMSCRIPTEN_BINDINGS(recibo)
{
    emscripten::function("calcularTabla", &computeTable);
    emscripten::function("opciones", &options);
}
