// Scale files: TOML in UTF-8, Spanish keys grouped by item. One description
// of the file (`describe`) drives both the writing and the reading, so the
// two cannot drift apart.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include "files/system_error.h"
#include "key_depth.h"
#include "payroll/decimal_text.h"
#include "payroll/message_text.h"
#include "scale.h"
#include "text/utf8.h"
#include "toml_reader.h"
#include "toml_stand_ins.h"

namespace recibo::scales {

namespace {

using payroll::Currency;
using payroll::PayScale;
using payroll::quotedForMessage;

// What a decimal number of the scale may be.
enum class Range {
    Rate,           // 0 to 1
    Positive,       // above 0
    NonNegative,    // 0 or more
    PositivePesos,  // above 0, an amount in pesos (it follows prices)
    Pesos,          // 0 or more, an amount in pesos
};

bool inPesos(Range range)
{
    return range == Range::PositivePesos || range == Range::Pesos;
}

// How far apart, in orders of magnitude, one amount in pesos may stand from
// the rest of the scale, each compared with the built-in scale's: a scale
// raised for prices keeps its amounts in proportion; a hundred times one of
// them is a typing mistake (a point value of 1e9), unless the file lists it
// under "fuera_de_proporcion".
constexpr double kMostOrdersApart = 2;
// The largest factor or per-unit amount a scale may hold.
constexpr double kLargestNumber = 1e9;
// The largest amount in pesos: far above any real line, and small enough
// that no receipt overflows on the scale's amounts alone (26 lines of up to
// 32767 times such an amount), so that an amount too large is named here,
// at its key, and never blamed on a teacher's box.
constexpr std::int64_t kLargestAmount = 1'000'000'000;
constexpr std::int64_t kLargestWhole = INT16_MAX;
constexpr std::size_t kLongestText = 80;
constexpr int kMostPositions = 999;
constexpr std::size_t kLargestFile = 4 << 20;
// The format of the files this program writes and the newest it reads. A
// later program that adds a key writes a higher number, and can still read
// the files of an earlier one (filling what they lack) or say precisely
// what to add; a file with no number is of format 1.
constexpr std::int64_t kFormat = 1;
// The most parts a key may have ("a.b.c" has three); the deepest key of a
// scale has two.
constexpr std::size_t kMostKeyParts = 64;

enum class Order { Any, Ascending };

// The tables of the rate deductions, in the engine's order.
constexpr std::array<const char*, payroll::kRateDeductions> kDeductionGroups = {
    "descuentos.iosper",     "descuentos.osplad", "descuentos.aporte_jubilatorio",
    "descuentos.ley_4035",   "descuentos.agmer",  "descuentos.caja_complementaria",
    "descuentos.seguro_3011"};

// The columns of a catalogue row in the file.
constexpr std::array<const char*, 7> kPositionColumns = {
    "código",           "nombre",          "puntos básicos", "comp. de básico", "tarea diferenciada",
    "jornada completa", "prol. de jornada"};

// ---- The file's description ---------------------------------------------------

// `v` is a writer or a reader; `s` a scale's numbers, const for writing.
template <typename V, typename P>
void describeHoursLevel(V& v, P& level)
{
    v.number("puntos_por_hora", level.pointsPerHour, Range::Positive, "puntos de cada hora cátedra");
    v.number("item_006_por_hora_tope", level.item006HourCap, 0, kLargestWhole,
             "desde esta cantidad de horas con código 06, el ítem 006 es el importe fijo");
    v.amount("item_006_fijo", level.item006Fixed, "ítem 006 desde el tope de horas");
    v.number("item_084_por_hora", level.item084PerHour, Range::Pesos, "incentivo de Nación por hora");
    v.number("item_113_por_hora", level.item113PerHour, Range::Pesos, "negro de Nación por hora");
    v.number("horas_mostradas_tope", level.nationalHoursShownCap, 0, kLargestWhole,
             "cantidad de horas que muestran a lo sumo las líneas 084 y 113");
}

template <typename V, typename P>
void describe(V& v, P& s)
{
    v.group("punto", "Valor del punto: pasa los puntos de cada cargo a pesos.");
    v.number("valor", s.pointValue, Range::PositivePesos, "básico, comp. de básico, tarea diferenciada y horas");
    v.number("valor_jornada", s.workingDayPointValue, Range::PositivePesos,
             "jornada completa y prolongación de jornada");

    v.group("horas_medio", "Horas cátedra de nivel medio.");
    describeHoursLevel(v, s.middleLevel);
    v.group("horas_superior", "Horas cátedra de nivel superior.");
    describeHoursLevel(v, s.higherLevel);

    v.group("item_006", "Ítem 006, adicional art. 2 y 3 del decreto 5863/05.");
    v.number("por_hora", s.item006PerHour, Range::Pesos, "importe por hora con código 06");
    v.number("jornada_completa_desde", s.item006FullDayThreshold, 0, kLargestWhole,
             "puntos de jornada completa desde los que un cargo usa las columnas 1 y 2");
    v.number("basico_columna_1_hasta", s.item006BaseUpToFirstColumn, 0, kLargestWhole,
             "con esa jornada, puntos básicos hasta los que corresponde la columna 1 (si no, la 2)");
    v.list("columnas_hasta", s.item006BaseColumnBounds, 0, kLargestWhole, Order::Ascending,
           "sin esa jornada, puntos básicos hasta los que corresponde cada columna, de la 3 a la 7\n"
           "(cada uno mayor que el anterior); por encima del último, la columna 8");
    v.table("tabla", s.item006Table, 0, kLargestWhole,
            "importe en pesos por cargo: una fila por opción de antigüedad (la 1 primero;\n"
            "sin antigüedad cuenta la 1), ocho columnas");

    v.group("item_084", "Ítem 084, incentivo de Nación.");
    v.amount("tope", s.item084Ceiling, "tope para horas");
    v.amount("cargo", s.item084PositionBelowThreshold, "cargo con jornada completa por debajo del umbral");
    v.amount("cargo_desde_umbral", s.item084PositionFromThreshold, "cargo con jornada completa desde el umbral");
    v.group("item_113", "Ítem 113, negro de Nación.");
    v.amount("tope", s.item113Ceiling, "tope para horas");
    v.amount("cargo", s.item113PositionBelowThreshold, "cargo con jornada completa por debajo del umbral");
    v.amount("cargo_desde_umbral", s.item113PositionFromThreshold, "cargo con jornada completa desde el umbral");
    v.group("items_nacionales", "Umbral de los ítems 084 y 113 para cargos.");
    v.number("umbral_jornada_completa", s.nationalItemsFullDayThreshold, 0, kLargestWhole,
             "puntos de jornada completa desde los que un cargo cobra los importes mayores");

    v.group("antiguedad", "Antigüedad (línea 010).");
    v.list("porcentajes", s.seniorityPercent, 0, UINT8_MAX, Order::Any, "porcentaje de cada opción, de la 1 a la 12");
    v.group("zona", "Zona (línea 078).");
    v.list("porcentajes", s.zonePercent, 0, UINT8_MAX, Order::Any, "porcentaje de cada zona, de la 0 a la 4");

    v.group("item_014", "Línea 014, productividad del decreto 5863/05.");
    v.number("tasa", s.decreeProductivityRate, Range::Rate, "parte del ítem 006");
    v.quantity("cantidad", s.decreeProductivityQuantity, "cantidad que muestra la línea");
    v.group("item_188", "Línea 188, plus productividad.");
    v.number("tasa", s.productivityPlusRate, Range::Rate, "parte del básico, la jornada, la antigüedad y la zona");
    v.text("cantidad", s.productivityPlusQuantity, "cantidad que muestra la línea, tal cual");

    v.group("inasistencias", "Reajuste del plus por inasistencias (línea 440).");
    v.list("reduccion", s.absenceReductionRate, Range::Rate, "parte del plus que se descuenta por 1, 2 y 3 días");
    v.number("dias_plus_entero", s.absenceDaysForWholePlus, 0, kLargestWhole,
             "con más días que estos se descuenta el plus entero");

    v.group("minimo", "Adicional para el mínimo garantizado (línea 172), sólo para cargos.");
    v.number("puntos_basicos_mas_de", s.minimumBasePointsAbove, 0, kLargestWhole,
             "cargos con más puntos básicos que estos (igual al siguiente: ningún cargo cobra la línea)");
    v.number("puntos_basicos_menos_de", s.minimumBasePointsBelow, 0, kLargestWhole,
             "y con menos puntos básicos que estos");
    v.number("garantizado", s.minimumGuaranteed, Range::Pesos, "líquido mínimo garantizado");
    v.number("factor_zona", s.minimumZoneFactor, Range::NonNegative, "factor de la zona en el cálculo");
    v.number("tasa_descuentos", s.minimumAssumedDeductionRate, Range::Rate, "descuentos supuestos");

    v.group("transporte", "Transporte por kilómetro (línea 029).");
    v.number("por_kilometro", s.transportPerKilometre, Range::Pesos, "importe por kilómetro");
    v.number("semanas_por_mes", s.transportWeeksPerMonth, Range::NonNegative, "semanas que cuenta un mes");
    v.amount("tope", s.transportCeiling, "tope del importe");

    v.group("salario_familiar", "Asignaciones familiares (líneas 1001, 1002, 1003 y 1010).");
    v.amount("ingreso_bajo_hasta", s.childRateIncomeLow, "ingreso hasta el que se cobra la asignación por hijo mayor");
    v.amount("ingreso_medio_hasta", s.childRateIncomeHigh,
             "ingreso hasta el que se cobra la del medio (igual al anterior: no hay tramo medio)");
    v.number("hijo_ingreso_bajo", s.childRateLowIncome, 0, kLargestWhole, "por hijo, ingreso bajo (pesos enteros)");
    v.number("hijo_ingreso_medio", s.childRateMiddleIncome, 0, kLargestWhole, "por hijo, ingreso medio");
    v.number("hijo_ingreso_alto", s.childRateHighIncome, 0, kLargestWhole, "por hijo, ingreso alto");
    v.number("hijo_diferenciado", s.disabledChildRate, 0, kLargestWhole, "por hijo diferenciado");
    v.number("familia_numerosa_desde", s.largeFamilyChildren, 1, UINT8_MAX,
             "hijos (comunes y diferenciados) desde los que se cobra familia numerosa");
    v.number("familia_numerosa", s.largeFamilyAmount, 0, kLargestWhole, "familia numerosa (pesos enteros)");
    v.amount("conyuge", s.spouseAllowance, "asignación por cónyuge");

    constexpr std::array<const char*, payroll::kRateDeductions> kDeductionTitles = {
        "IOSPER (línea 505).",     "OSPLAD (línea 508).", "Aporte jubilatorio (línea 502).",
        "Ley 4035 (línea 504).",   "AGMER (línea 332).",  "Caja complementaria (línea 512).",
        "Seguro 3011 (línea 510)."};
    for (std::size_t i = 0; i < kDeductionGroups.size(); ++i) {
        v.group(kDeductionGroups[i], kDeductionTitles[i]);
        v.number("tasa", s.deductions[i].rate, Range::Rate, "parte de la base remunerativa");
        v.text("cantidad", s.deductions[i].quantity, "cantidad que muestra la línea, tal cual");
    }
}

// ---- Writing ------------------------------------------------------------------

std::string shortest(double value)
{
    return payroll::shortestText(value);
}

std::string amountText(Currency amount)
{
    const std::int64_t raw = amount.raw();
    std::string text = std::to_string(raw / Currency::kScale);
    std::int64_t fraction = raw % Currency::kScale;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction + Currency::kScale).substr(1);
        digits.erase(digits.find_last_not_of('0') + 1);
        text += '.' + digits;
    }
    return text;
}

std::string quotedToml(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7f) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + '"';
}

class Writer {
public:
    std::string out;

    void group(std::string_view name, std::string_view title)
    {
        out += "\n# " + std::string(title) + "\n[" + std::string(name) + "]\n";
    }
    void number(std::string_view key, double value, Range, std::string_view comment)
    {
        line(key, shortest(value), comment);
    }
    template <typename T>
    void number(std::string_view key, T value, std::int64_t, std::int64_t, std::string_view comment)
    {
        line(key, std::to_string(static_cast<std::int64_t>(value)), comment);
    }
    void amount(std::string_view key, Currency value, std::string_view comment)
    {
        line(key, amountText(value), comment);
    }
    void quantity(std::string_view key, Currency value, std::string_view comment) { amount(key, value, comment); }
    void text(std::string_view key, const std::string& value, std::string_view comment)
    {
        line(key, quotedToml(value), comment);
    }
    template <typename T, std::size_t N>
    void list(std::string_view key, const std::array<T, N>& values, std::int64_t, std::int64_t, Order,
              std::string_view comment)
    {
        comments(comment);
        out += std::string(key) + " = " + wholes(values) + '\n';
    }
    template <std::size_t N>
    void list(std::string_view key, const std::array<double, N>& values, Range, std::string_view comment)
    {
        comments(comment);
        std::string items;
        for (const double value : values)
            items += (items.empty() ? "" : ", ") + shortest(value);
        out += std::string(key) + " = [" + items + "]\n";
    }
    template <typename T, std::size_t N, std::size_t M>
    void table(std::string_view key, const std::array<std::array<T, N>, M>& rows, std::int64_t, std::int64_t,
               std::string_view comment)
    {
        comments(comment);
        out += std::string(key) + " = [\n";
        for (const auto& row : rows)
            out += "    " + wholes(row) + ",\n";
        out += "]\n";
    }

private:
    template <typename T, std::size_t N>
    static std::string wholes(const std::array<T, N>& values)
    {
        std::string items;
        for (const T value : values)
            items += (items.empty() ? "" : ", ") + std::to_string(static_cast<std::int64_t>(value));
        return '[' + items + ']';
    }
    void comments(std::string_view comment)
    {
        std::size_t start = 0;
        while (start <= comment.size()) {
            const std::size_t end = std::min(comment.find('\n', start), comment.size());
            out += "# " + std::string(comment.substr(start, end - start)) + '\n';
            start = end + 1;
        }
    }
    void line(std::string_view key, const std::string& value, std::string_view comment)
    {
        out += std::string(key) + " = " + value + "  # " + std::string(comment) + '\n';
    }
};

// ---- Reading ------------------------------------------------------------------

// Why a file is refused: where, which key, and what is wrong with it.
struct Refusal {
    toml::source_position where;
    std::string key;
    std::string what;
};

std::string typeName(toml::node_type type)
{
    switch (type) {
    case toml::node_type::string: return "un texto";
    case toml::node_type::integer: return "un número entero";
    case toml::node_type::floating_point: return "un número con decimales";
    case toml::node_type::boolean: return "verdadero o falso";
    case toml::node_type::array: return "una lista";
    case toml::node_type::table: return "una tabla";
    case toml::node_type::date:
    case toml::node_type::time:
    case toml::node_type::date_time: return "una fecha u hora";
    case toml::node_type::none: break;
    }
    return "nada";
}

std::string rangeText(std::int64_t low, std::int64_t high)
{
    return "un número entero de " + std::to_string(low) + " a " + std::to_string(high);
}

bool hasControlCharacter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7f;
    });
}

class Reader {
public:
    explicit Reader(std::string_view document) : document_(document)
    {
        std::size_t start = 0;
        while (start <= document.size()) {
            const std::size_t end = std::min(document.find('\n', start), document.size());
            lines_.push_back(document.substr(start, end - start));
            start = end + 1;
        }
    }

    void begin(const toml::table& root) { root_ = &root; }

    // ---- Header keys, at the top of the file.
    const toml::node& required(std::string_view key)
    {
        const std::string path = qualified(key);
        const toml::node* node = table_ ? table_->get(key) : root_->get(key);
        if (!node)
            throw Refusal{table_ ? table_->source().begin : toml::source_position{1, 1}, path,
                          "falta: una escala tiene que tener todas sus claves (copiala de la escala incluida)"};
        return *node;
    }

    void header(std::string_view key, std::string& value)
    {
        const toml::node& node = required(key);
        value = checkedText(node, qualified(key), kLongestText);
    }

    // The file's format number: 1 when it has none (the files written
    // before there was one); a newer format than this program reads is
    // refused, saying so.
    void format()
    {
        const toml::node* node = root_->get("formato");
        if (!node)
            return;
        const auto* number = node->as_integer();
        if (!number || number->get() < 1)
            wrongType(*node, "formato", "un número entero desde 1, el formato del archivo");
        if (number->get() > kFormat)
            throw Refusal{node->source().begin, "formato",
                          "el archivo es del formato " + std::to_string(number->get())
                              + ", de una versión más nueva del programa, y esta lee hasta el formato "
                              + std::to_string(kFormat) + ": instalá la versión nueva de recibo"};
    }

    void date(std::string_view key, std::string& value)
    {
        const toml::node& node = required(key);
        const auto* date = node.as_date();
        if (!date)
            wrongType(node, qualified(key), "una fecha, como 2026-03-01 (sin comillas)");
        char text[16];
        std::snprintf(text, sizeof text, "%04u-%02u-%02u", unsigned(date->get().year), unsigned(date->get().month),
                      unsigned(date->get().day));
        value = text;
    }

    // ---- What describe() asks for.
    void group(std::string_view name, std::string_view)
    {
        group_ = std::string(name);
        const toml::node* node = root_->at_path(name).node();
        if (!node)
            throw Refusal{
                {1, 1}, group_, "falta la tabla [" + group_ + "] con sus claves (copiala de la escala incluida)"};
        table_ = node->as_table();
        if (!table_)
            wrongType(*node, group_, "una tabla, [" + group_ + "]");
    }

    void number(std::string_view key, double& value, Range range, std::string_view)
    {
        const std::string path = qualified(key);
        value = decimal(required(key), path, range);
        if (inPesos(range))
            pesos_.emplace_back(path, value);
        else if (range != Range::Rate)
            others_.emplace_back(path, value);
    }

    template <typename T>
    void number(std::string_view key, T& value, std::int64_t low, std::int64_t high, std::string_view)
    {
        const std::string path = qualified(key);
        value = static_cast<T>(whole(required(key), path, low, high));
    }

    void amount(std::string_view key, Currency& value, std::string_view)
    {
        quantity(key, value, {});
        pesos_.emplace_back(qualified(key), value.toDouble());
    }
    // An amount that is no price: a quantity the receipt shows.
    void quantity(std::string_view key, Currency& value, std::string_view)
    {
        const std::string path = qualified(key);
        value = currency(required(key), path);
    }

    // The amounts in pesos read, with their keys, in the file's order.
    const std::vector<std::pair<std::string, double>>& pesos() const { return pesos_; }
    // The other decimal numbers but rates (points per hour, weeks in a
    // month, factors), which prices do not move.
    const std::vector<std::pair<std::string, double>>& others() const { return others_; }

    // The keys listed under "fuera_de_proporcion" (none when it is absent):
    // each one of the amounts in pesos.
    std::vector<std::string> exemptFromProportion() const
    {
        std::vector<std::string> keys;
        const toml::node* node = root_->get("fuera_de_proporcion");
        if (!node)
            return keys;
        const auto* list = node->as_array();
        if (!list)
            wrongType(*node, "fuera_de_proporcion", "una lista de claves entre comillas, como [\"punto.valor\"]");
        for (const toml::node& item : *list) {
            const auto* key = item.as_string();
            const std::string keyText = key ? withoutStandIns(key->get()) : std::string();
            const auto named = [&](const auto& number) { return key && number.first == keyText; };
            if (std::none_of(pesos_.begin(), pesos_.end(), named)
                && std::none_of(others_.begin(), others_.end(), named))
                throw Refusal{item.source().begin, "fuera_de_proporcion",
                              "cada elemento tiene que ser la clave de un importe en pesos o de otro número con "
                              "decimales que no sea una tasa, entre comillas, como \"punto.valor\""};
            keys.push_back(keyText);
        }
        return keys;
    }

    void text(std::string_view key, std::string& value, std::string_view)
    {
        const std::string path = qualified(key);
        value = checkedText(required(key), path, 20);
    }

    template <typename T, std::size_t N>
    void list(std::string_view key, std::array<T, N>& values, std::int64_t low, std::int64_t high, Order order,
              std::string_view)
    {
        const std::string path = qualified(key);
        const toml::array& items = sizedArray(required(key), path, N, "números enteros");
        for (std::size_t i = 0; i < N; ++i) {
            values[i] = static_cast<T>(whole(*items.get(i), path, low, high));
            if (order == Order::Ascending && i > 0 && values[i] <= values[i - 1])
                throw Refusal{items.get(i)->source().begin, path,
                              "cada número tiene que ser mayor que el anterior (" + std::to_string(values[i])
                                  + " no es mayor que " + std::to_string(values[i - 1]) + ")"};
        }
    }

    template <std::size_t N>
    void list(std::string_view key, std::array<double, N>& values, Range range, std::string_view)
    {
        const std::string path = qualified(key);
        const toml::array& items = sizedArray(required(key), path, N, "números");
        for (std::size_t i = 0; i < N; ++i)
            values[i] = decimal(*items.get(i), path, range);
    }

    template <typename T, std::size_t N, std::size_t M>
    void table(std::string_view key, std::array<std::array<T, N>, M>& rows, std::int64_t low, std::int64_t high,
               std::string_view)
    {
        const std::string path = qualified(key);
        const toml::array& items = sizedArray(required(key), path, M, "filas");
        for (std::size_t r = 0; r < M; ++r) {
            const toml::array& row = sizedArray(*items.get(r), path, N, "números enteros en cada fila");
            for (std::size_t c = 0; c < N; ++c)
                rows[r][c] = static_cast<T>(whole(*row.get(c), path, low, high));
        }
    }

    // ---- The catalogue.
    positions::Catalogue catalogue()
    {
        group("nomenclador", "");
        const std::string path = qualified("cargos");
        const toml::node& node = required("cargos");
        const toml::array* rows = node.as_array();
        if (!rows)
            wrongType(node, path, "una lista de cargos, [[\"código\", \"nombre\", puntos...], ...]");
        if (rows->empty() || rows->size() > kMostPositions)
            throw Refusal{node.source().begin, path,
                          "tiene " + std::to_string(rows->size()) + " cargos y tiene que tener de 1 a "
                              + std::to_string(kMostPositions)};
        std::vector<positions::CatalogueEntry> entries;
        entries.reserve(rows->size());
        std::set<std::string_view> codes;
        for (std::size_t i = 0; i < rows->size(); ++i) {
            const toml::node& rowNode = *rows->get(i);
            const std::string where = path + ", cargo " + std::to_string(i + 1);
            const toml::array& row =
                sizedArray(rowNode, where, kPositionColumns.size(), "datos: código, nombre y los cinco puntajes");
            positions::CatalogueEntry& entry = entries.emplace_back();
            entry.codigocargo = checkedText(*row.get(0), where + " (código)", 8);
            const std::string& code = entry.codigocargo;
            if (code.size() != 3 || !std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; })
                || code == "000")
                throw Refusal{row.get(0)->source().begin, where + " (código)",
                              "el código " + quotedForMessage(code) + " tiene que tener tres cifras, de 001 a 999"};
            entry.cargox = checkedText(*row.get(1), where + " (nombre)", kLongestText);
            std::string* points[] = {&entry.puntosbasicos, &entry.compbasico, &entry.tareadif, &entry.jorcompleta,
                                     &entry.proljornada};
            for (std::size_t p = 0; p < std::size(points); ++p)
                *points[p] = std::to_string(whole(*row.get(p + 2), where + " (" + kPositionColumns[p + 2] + ")",
                                                  p == 0 ? 1 : 0, kLargestWhole));
        }
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (!codes.insert(entries[i].codigocargo).second)
                throw Refusal{rows->get(i)->source().begin, path + ", cargo " + std::to_string(i + 1) + " (código)",
                              "el código " + quotedForMessage(entries[i].codigocargo)
                                  + " ya es de otro cargo: cada código tiene que ser de un solo cargo"};
        return positions::Catalogue(std::move(entries));
    }

private:
    std::string qualified(std::string_view key) const
    {
        return group_.empty() ? std::string(key) : group_ + "." + std::string(key);
    }

    // The value's text as it stands in the file.
    std::string_view sourceText(const toml::node& node) const
    {
        const toml::source_region& region = node.source();
        if (region.begin.line == 0 || region.begin.line > lines_.size())
            return {};
        const std::string_view line = lines_[region.begin.line - 1];
        const std::size_t begin = byteOffset(line, region.begin.column);
        const std::size_t end =
            region.end.line == region.begin.line ? byteOffset(line, region.end.column) : line.size();
        return line.substr(begin, end > begin ? end - begin : 0);
    }

    // Columns count characters from 1.
    static std::size_t byteOffset(std::string_view line, std::size_t column)
    {
        return text::characterOffset(line, column == 0 ? 0 : column - 1);
    }

    [[noreturn]] void wrongType(const toml::node& node, const std::string& path, const std::string& expected) const
    {
        throw Refusal{node.source().begin, path,
                      "tiene que ser " + expected + " y es " + typeName(node.type()) + " ("
                          + quotedForMessage(sourceText(node)) + ")"};
    }

    [[noreturn]] void outOfRange(const toml::node& node, const std::string& path, const std::string& expected) const
    {
        throw Refusal{node.source().begin, path,
                      "tiene que ser " + expected + " y es " + quotedForMessage(sourceText(node))};
    }

    std::string checkedText(const toml::node& node, const std::string& path, std::size_t longest) const
    {
        const auto* text = node.as_string();
        if (!text)
            wrongType(node, path, "un texto entre comillas");
        const std::string value = withoutStandIns(text->get());
        if (value.find_first_not_of(' ') == std::string::npos || text::characterCount(value) > longest
            || hasControlCharacter(value))
            outOfRange(node, path,
                       "un texto de 1 a " + std::to_string(longest) + " caracteres, en una línea y no en blanco");
        return value;
    }

    const toml::array& sizedArray(const toml::node& node, const std::string& path, std::size_t size,
                                  const std::string& what) const
    {
        const auto* array = node.as_array();
        if (!array)
            wrongType(node, path, "una lista de " + std::to_string(size) + " " + what + " entre [ ]");
        if (array->size() != size)
            throw Refusal{node.source().begin, path,
                          "tiene que ser una lista de " + std::to_string(size) + " " + what + " y tiene "
                              + std::to_string(array->size())};
        return *array;
    }

    std::int64_t whole(const toml::node& node, const std::string& path, std::int64_t low, std::int64_t high) const
    {
        const auto* integer = node.as_integer();
        if (!integer)
            wrongType(node, path, rangeText(low, high));
        const std::int64_t value = integer->get();
        if (value < low || value > high)
            outOfRange(node, path, rangeText(low, high));
        return value;
    }

    // The number exactly as written: the nearest double to the decimal text
    // in the file, as the same digits written in the program would give.
    double decimal(const toml::node& node, const std::string& path, Range range) const
    {
        if (inPesos(range))
            range = range == Range::PositivePesos ? Range::Positive : Range::NonNegative;
        const char* expected = range == Range::Rate ? "un número de 0 a 1"
            : range == Range::Positive              ? "un número mayor que 0 (hasta 1000000000)"
                                                    : "un número de 0 a 1000000000";
        double value;
        if (const auto* integer = node.as_integer()) {
            if (integer->get() < 0 || integer->get() > static_cast<std::int64_t>(kLargestNumber))
                outOfRange(node, path, expected);
            value = static_cast<double>(integer->get());
        } else if (node.is_floating_point()) {
            std::string digits;
            for (const char c : sourceText(node))
                if (c != '_' && c != '+')
                    digits += c;
            if (!payroll::readDouble(digits, value) || !std::isfinite(value))
                outOfRange(node, path, expected);
        } else {
            wrongType(node, path, expected);
        }
        const bool inRange = range == Range::Rate ? value >= 0 && value <= 1
            : range == Range::Positive            ? value > 0 && value <= kLargestNumber
                                                  : value >= 0 && value <= kLargestNumber;
        if (!inRange)
            outOfRange(node, path, expected);
        return value;
    }

    // An amount, exact to the ten-thousandth as written.
    Currency currency(const toml::node& node, const std::string& path) const
    {
        constexpr const char* kExpected =
            "un importe de 0 a 1000000000 pesos, con a lo sumo cuatro decimales y sin exponente";
        constexpr std::int64_t kMostUnits = kLargestAmount;
        if (const auto* integer = node.as_integer()) {
            if (integer->get() < 0 || integer->get() > kMostUnits)
                outOfRange(node, path, kExpected);
            return Currency::fromUnits(integer->get());
        }
        if (!node.is_floating_point())
            wrongType(node, path, kExpected);
        std::string_view text = sourceText(node);
        if (!text.empty() && text.front() == '+')
            text.remove_prefix(1);
        std::int64_t units = 0;
        std::int64_t fraction = 0;
        int decimals = -1;  // none before the point
        for (const char c : text) {
            if (c == '_')
                continue;
            if (c == '.' && decimals < 0) {
                decimals = 0;
            } else if (c >= '0' && c <= '9' && decimals < 0) {
                if (units > kMostUnits / 10)
                    outOfRange(node, path, kExpected);
                units = units * 10 + (c - '0');
            } else if (c >= '0' && c <= '9' && decimals < 4) {
                fraction = fraction * 10 + (c - '0');
                ++decimals;
            } else {
                outOfRange(node, path, kExpected);
            }
        }
        if (decimals < 0 || units > kMostUnits)
            outOfRange(node, path, kExpected);
        for (int d = decimals; d < 4; ++d)
            fraction *= 10;
        return Currency::fromRaw(units * Currency::kScale + fraction);
    }

    std::string_view document_;
    std::vector<std::string_view> lines_;
    std::vector<std::pair<std::string, double>> pesos_;
    std::vector<std::pair<std::string, double>> others_;
    const toml::table* root_ = nullptr;
    const toml::table* table_ = nullptr;
    std::string group_;
};

// A key's dotted path below `prefix`, in the file's own characters.
std::string qualifiedKey(const std::string& prefix, const toml::key& key)
{
    const std::string name = withoutStandIns(key.str());
    return prefix.empty() ? name : prefix + "." + name;
}

// The document a scale file's text holds, read with the stand-ins
// toml_stand_ins.h explains.
toml::table parsedToml(std::string_view text, std::string_view fileName = {})
{
    return toml::parse(withStandIns(text), fileName);
}

// Every key and table a scale file has (from "nombre" to
// "nomenclador.cargos"), with its tables' names before the key ("punto.valor").
void collectKeys(const toml::table& table, const std::string& prefix, std::set<std::string>& keys)
{
    for (const auto& [key, node] : table) {
        const std::string path = qualifiedKey(prefix, key);
        keys.insert(path);
        if (const auto* inner = node.as_table())
            collectKeys(*inner, path, keys);
    }
}

// The keys are the built-in scale's: its file has them all.
// The built-in scale's own file, written and parsed once: the model both
// the known keys and the numbers compared with are taken from.
struct BuiltInFile {
    std::string text = scaleFileText(builtInScale());
    toml::table document = parsedToml(text);
};

const BuiltInFile& builtInFile()
{
    static const BuiltInFile file;
    return file;
}

const std::set<std::string>& scaleKeys()
{
    static const std::set<std::string> keys = [] {
        std::set<std::string> collected;
        collectKeys(builtInFile().document, {}, collected);
        return collected;
    }();
    return keys;
}

std::size_t editDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// The scale's key beside `path` (in the same table) that `path` most likely
// misspells: one or two letters off, a third of a long name at most.
std::optional<std::string> closestKey(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    const std::string prefix = dot == std::string::npos ? std::string() : path.substr(0, dot + 1);
    const std::string_view name = std::string_view(path).substr(prefix.size());
    std::optional<std::string> closest;
    std::size_t best = std::max<std::size_t>(2, name.size() / 3) + 1;
    for (const std::string& key : scaleKeys()) {
        if (!key.starts_with(prefix) || key.find('.', prefix.size()) != std::string::npos)
            continue;
        const std::size_t distance = editDistance(name, std::string_view(key).substr(prefix.size()));
        if (distance < best) {
            best = distance;
            closest = key.substr(prefix.size());
        }
    }
    return closest;
}

// Every key and table of the file must be one of the scale's: a misspelt
// key is never ignored. The first other one in the file, at its own line,
// with the key it most likely misspells.
void findUnknownKey(const toml::table& table, const std::string& prefix, std::optional<Refusal>& first)
{
    for (const auto& [key, node] : table) {
        const std::string path = qualifiedKey(prefix, key);
        if (scaleKeys().contains(path)) {
            if (const auto* inner = node.as_table())
                findUnknownKey(*inner, path, first);
            continue;
        }
        const toml::source_position where = key.source().begin;
        if (first
            && (where.line > first->where.line
                || (where.line == first->where.line && where.column >= first->where.column)))
            continue;
        const std::optional<std::string> meant = closestKey(path);
        first = Refusal{
            where, path,
            meant ? "no es una clave de la escala (¿quisiste decir «" + *meant + "»?): corregí su nombre o borrala"
                  : "no es una clave de la escala: corregí su nombre o borrala (una clave mal escrita no "
                    "se puede pasar por alto)"};
    }
}

// A rate as a percentage to one decimal, written as users write it: "105,1 %".
std::string percentText(double rate)
{
    std::string text = shortest(std::round(rate * 1000) / 10);
    if (const std::size_t point = text.find('.'); point != std::string::npos)
        text[point] = ',';
    return text + " %";
}

// Numbers that are each fine alone but together can only be a typing
// mistake: a band whose lower bound is above its upper one (equal bounds
// are the documented way to have no band), deductions that take the whole
// pay. Named at the key to correct.
std::optional<Refusal> inconsistency(const toml::table& document, const payroll::PayScale& s)
{
    const auto at = [&](const std::string& path, std::string what) {
        return Refusal{document.at_path(path).node()->source().begin, path, std::move(what)};
    };
    if (s.minimumBasePointsAbove > s.minimumBasePointsBelow)
        return at("minimo.puntos_basicos_mas_de",
                  "es mayor que puntos_basicos_menos_de (" + std::to_string(s.minimumBasePointsBelow)
                      + "), así que ningún cargo cobraría la línea 172; si es a propósito, poné los dos números "
                        "iguales");
    if (s.childRateIncomeLow > s.childRateIncomeHigh)
        return at("salario_familiar.ingreso_bajo_hasta",
                  "es mayor que ingreso_medio_hasta (" + amountText(s.childRateIncomeHigh)
                      + "): los tramos de ingreso van de menor a mayor; para no tener tramo medio, poné los dos "
                        "iguales");
    double total = 0;
    std::size_t largest = 0;
    for (std::size_t i = 0; i < s.deductions.size(); ++i) {
        total += s.deductions[i].rate;
        if (s.deductions[i].rate > s.deductions[largest].rate)
            largest = i;
    }
    if (total >= 1)
        return at(std::string(kDeductionGroups[largest]) + ".tasa",
                  "los siete descuentos juntos suman " + percentText(total)
                      + " del sueldo, y no pueden llegar al 100 %: revisá las tasas (3 % se escribe 0.03)");
    return std::nullopt;
}

// The built-in scale's decimal numbers but rates, amounts in pesos and
// others alike, with their keys.
const std::map<std::string, double>& builtInNumbers()
{
    static const std::map<std::string, double> numbers = [] {
        Reader reader(builtInFile().text);
        reader.begin(builtInFile().document);
        payroll::PayScale pay = payroll::builtInPayScale();
        describe(reader, pay);
        std::map<std::string, double> all(reader.pesos().begin(), reader.pesos().end());
        all.insert(reader.others().begin(), reader.others().end());
        return all;
    }();
    return numbers;
}

// The number that stands apart by more than kMostOrdersApart orders of
// magnitude, compared with the built-in scale's: the farthest one, named at
// its key. A scale raised for prices moves all its amounts in pesos alike,
// so for them the typical ratio (the median) is the yardstick; prices do not
// move the other numbers (`others`), which are compared one to one.
std::optional<Refusal> outOfProportion(const toml::table& document,
                                       const std::vector<std::pair<std::string, double>>& amounts,
                                       const std::vector<std::pair<std::string, double>>& others,
                                       const std::vector<std::string>& exempt)
{
    // key, log10 of the file's value over the built-in's
    const auto orders = [&](const std::vector<std::pair<std::string, double>>& numbers) {
        std::vector<std::pair<std::string, double>> found;
        for (const auto& [key, value] : numbers) {
            const auto builtIn = builtInNumbers().find(key);
            if (value > 0 && builtIn != builtInNumbers().end() && builtIn->second > 0
                && std::find(exempt.begin(), exempt.end(), key) == exempt.end())
                found.emplace_back(key, std::log10(value / builtIn->second));
        }
        return found;
    };
    std::vector<std::pair<std::string, double>> apart = orders(amounts);
    if (!apart.empty()) {
        std::vector<double> sorted;
        for (const auto& order : apart)
            sorted.push_back(order.second);
        std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
        const double typical = sorted[sorted.size() / 2];
        for (auto& order : apart)
            order.second -= typical;
    }
    for (const auto& order : orders(others))
        apart.push_back(order);
    if (apart.empty())
        return std::nullopt;
    const auto farthest = std::max_element(apart.begin(), apart.end(), [](const auto& a, const auto& b) {
        return std::abs(a.second) < std::abs(b.second);
    });
    const double distance = farthest->second;
    if (std::abs(distance) <= kMostOrdersApart)
        return std::nullopt;
    const std::string times = std::to_string(std::llround(std::pow(10, std::abs(distance))));
    return Refusal{document.at_path(farthest->first).node()->source().begin, farthest->first,
                   "es unas " + times + " veces " + (distance > 0 ? "más grande" : "más chico")
                       + " de lo que hace esperar la escala incluida (y el resto de esta escala): revisá si le "
                       + (distance > 0 ? "sobran" : "faltan") + " ceros; si es así a propósito, agregá \""
                       + farthest->first + "\" a la lista fuera_de_proporcion"};
}

// Spanish for what the TOML reader says, as far as it can be told.
std::string syntaxProblem(std::string_view description)
{
    if (description.find("redefine") != std::string_view::npos)
        return "una clave o una tabla está repetida: dejá una sola";
    if (description.find("UTF-8") != std::string_view::npos || description.find("utf-8") != std::string_view::npos)
        return "el archivo no está en UTF-8: guardalo con esa codificación";
    if (description.find("nested") != std::string_view::npos)
        return "las listas o las tablas entre llaves se anidan demasiado, y una escala no anida tanto: revisá los "
               "corchetes y las llaves de esa línea";
    if (description.find("end-of-file") != std::string_view::npos)
        return "el archivo termina antes de tiempo: falta cerrar una lista, una tabla o un texto";
    return "no se puede leer como TOML: revisá las comillas, los corchetes, las comas y el signo = de esa línea";
}

// The line and the column (from 1, the column in characters) where the
// byte at `at` stands.
std::pair<std::size_t, std::size_t> lineAndColumn(std::string_view text, std::size_t at)
{
    const std::string_view before = text.substr(0, at);
    const std::size_t newline = before.rfind('\n');
    const std::size_t lineStart = newline == std::string_view::npos ? 0 : newline + 1;
    return {1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')),
            1 + text::characterCount(before.substr(lineStart))};
}

Unusable unusableScale(std::string_view fileName, std::size_t line, std::size_t column, std::string_view key,
                       std::string_view what)
{
    std::string message = "El archivo de escala " + payroll::quotedPathForMessage(fileName)
        + " no se puede usar: línea " + std::to_string(line) + ", columna " + std::to_string(column);
    if (!key.empty())
        message += ", clave " + quotedForMessage(key);
    return Unusable{message + ": " + std::string(what) + ".", std::string(key)};
}

}  // namespace

std::string scaleFileText(const Scale& scale)
{
    Writer writer;
    writer.out =
        "# Escala salarial docente para recibo y recibo-lote.\n"
        "#\n"
        "# Para una escala nueva, copiá este archivo y cambiá los números según la\n"
        "# lista oficial. Tienen que estar todas las claves, con los nombres que tienen\n"
        "# acá; una clave que falta, que sobra o que está mal escrita hace que el\n"
        "# archivo no se use. Los decimales se escriben con punto (0.9842); los\n"
        "# importes en pesos, con a lo sumo cuatro decimales. Lo que va después de #\n"
        "# es un comentario. Las reglas del cálculo (qué línea, qué fórmula, en qué\n"
        "# orden) son las del programa: una escala sólo cambia sus números, sus textos\n"
        "# y el nomenclador de cargos.\n"
        "\n";
    writer.out += "formato = " + std::to_string(kFormat) + "  # la versión de este tipo de archivo; no la cambies\n";
    writer.out += "nombre = " + quotedToml(scale.name) + "  # cómo se la nombra en el menú y en recibo-lote\n";
    writer.out += "vigente_desde = " + scale.inForceFrom + "  # fecha desde la que rige (AAAA-MM-DD)\n";
    writer.out +=
        "subtitulo_ingreso = " + quotedToml(scale.entrySubtitle) + "  # debajo del título de \"Ingreso de datos\"\n";
    writer.out += "titulo_recibo = " + quotedToml(scale.receiptTitle) + "  # título de la ventana \"Haberes\"\n";
    std::string exempt;
    for (const std::string& key : scale.outOfProportion)
        exempt += (exempt.empty() ? "" : ", ") + quotedToml(key);
    writer.out += "fuera_de_proporcion = [" + exempt
        + "]  # importes que a propósito no siguen la proporción de la escala incluida, como [\"punto.valor\"]\n";
    describe(writer, scale.pay);

    writer.out +=
        "\n# El nomenclador: un cargo por renglón, en el orden en que aparecen en la\n"
        "# lista de nombres. Cada uno: código (tres cifras, entre comillas, sin\n"
        "# repetir), nombre (entre comillas, tal cual se lo muestra), puntos básicos,\n"
        "# comp. de básico, tarea diferenciada, jornada completa y prolongación de\n"
        "# jornada (números enteros). De 1 a 999 cargos.\n"
        "[nomenclador]\n"
        "cargos = [\n";
    for (const positions::CatalogueRow& row : scale.catalogue) {
        writer.out += "    [" + quotedToml(row.codigocargo) + ", " + quotedToml(row.cargox);
        for (const std::string_view points :
             {row.puntosbasicos, row.compbasico, row.tareadif, row.jorcompleta, row.proljornada})
            writer.out += ", " + std::string(points);
        writer.out += "],\n";
    }
    writer.out += "]\n";
    return writer.out;
}

OrUnusable<Scale> parseScale(std::string_view text, std::string_view fileName)
{
    if (const std::optional<DeepKey> deep = keyDeeperThan(text, kMostKeyParts))
        return unusableScale(fileName, deep->line, deep->column, {},
                             "una clave tiene más de " + std::to_string(kMostKeyParts)
                                 + " partes separadas por puntos, y una escala no anida tanto: revisá esa clave");
    if (const std::optional<std::size_t> at = firstStandIn(text)) {
        const auto [line, column] = lineAndColumn(text, *at);
        char codePoint[16];
        std::snprintf(codePoint, sizeof codePoint, "U+%04X", unsigned(text::decodeAt(text, *at).codePoint));
        return unusableScale(
            fileName, line, column, {},
            "hay un carácter de uso privado (" + std::string(codePoint) + "), que una escala no lleva: borralo");
    }
    toml::table document;
    try {
        document = parsedToml(text, fileName);
    } catch (const toml::parse_error& error) {
        return unusableScale(fileName, error.source().begin.line, error.source().begin.column, {},
                             syntaxProblem(error.description()));
    }
    std::optional<Refusal> unknown;
    findUnknownKey(document, {}, unknown);
    if (unknown)
        return unusableScale(fileName, unknown->where.line, unknown->where.column, unknown->key, unknown->what);
    Reader reader(text);
    reader.begin(document);
    try {
        Scale scale{{}, {}, {}, {}, payroll::builtInPayScale(), positions::catalogue()};
        reader.format();
        reader.header("nombre", scale.name);
        reader.date("vigente_desde", scale.inForceFrom);
        reader.header("subtitulo_ingreso", scale.entrySubtitle);
        reader.header("titulo_recibo", scale.receiptTitle);
        describe(reader, scale.pay);
        scale.catalogue = reader.catalogue();
        if (const std::optional<Refusal> refusal = inconsistency(document, scale.pay))
            throw *refusal;
        scale.outOfProportion = reader.exemptFromProportion();
        if (const std::optional<Refusal> refusal =
                outOfProportion(document, reader.pesos(), reader.others(), scale.outOfProportion))
            throw *refusal;
        return scale;
    } catch (const Refusal& refusal) {
        return unusableScale(fileName, refusal.where.line, refusal.where.column, refusal.key, refusal.what);
    }
}

OrUnusable<Scale> readScaleFile(const std::string& path)
{
    const auto refused = [&](std::string_view why) {
        return Unusable{"El archivo de escala " + payroll::quotedPathForMessage(path)
                        + " no se puede usar: " + std::string(why) + "."};
    };
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return refused(files::systemErrorText(errno, files::Access::Read));
    std::string text;
    char buffer[1 << 16];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        text.append(buffer, static_cast<std::size_t>(file.gcount()));
        if (text.size() > kLargestFile)
            return refused("es demasiado grande para una escala (más de 4 MiB)");
    }
    if (file.bad())
        return refused("no se pudo leer entero");
    return parseScale(text, path);
}

}  // namespace recibo::scales
