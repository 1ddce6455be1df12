#include "suggestion_text.h"

#include <charconv>
#include <optional>

#include "payroll/seniority.h"
#include "payroll/zones.h"
#include "table/columns.h"

namespace recibo::payslip {

namespace {

std::string quoted(std::string_view text)
{
    return "«" + std::string(text) + "»";
}

std::optional<int> number(std::string_view cell)
{
    int value = 0;
    const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    return error == std::errc() && end == cell.data() + cell.size() ? std::optional(value) : std::nullopt;
}

// The captions of the check boxes and the counts, by column name.
struct Caption {
    std::string_view column;
    std::string_view caption;
};
constexpr Caption kCheckBoxes[] = {
    {"opincentivo", "Incentivo en cargos"},
    {"transporte", "Transporte"},
    {"hijos", "Hijos"},
    {"hijosdisc", "Hijos Diferenc"},
    {"conyuge", "Conyuge"},
    {"Iosper", "IOSPER"},
    {"Osplad", "OSPLAD"},
    {"APORTEJUB", "Aporte jubilatorio"},
    {"Ley4035", "Ley 4035"},
    {"AGMER", "AGMER"},
    {"cajacomp", "Caja compensadora"},
    {"Seguro3011", "Seguro (3011)"},
};
constexpr Caption kCounts[] = {
    {"numerohorasmed", "horas N. Medio"},         {"numerohorassup", "horas N. Superior"},
    {"numhorascod06", "horas con código 06"},     {"numhorasincen", "horas con incentivo"},
    {"numhorascod113", "horas con código 113"},   {"cantidadhijos", "hijos"},
    {"cantidadhijosdisc", "hijos diferenciados"}, {"dinasist", "días de inasistencia"},
};

template <std::size_t N>
std::optional<std::string_view> captionOf(const Caption (&captions)[N], std::string_view column)
{
    for (const Caption& caption : captions)
        if (table::equalsIgnoringAsciiCase(caption.column, column))
            return caption.caption;
    return std::nullopt;
}

std::string seniority(std::string_view cell)
{
    const std::optional<int> option = number(cell);
    if (!option || *option < 1 || *option > payroll::kSeniorityOptions)
        return "ninguna antigüedad elegida";
    return quoted(payroll::kSeniorityCaptions[static_cast<std::size_t>(*option - 1)]);
}

std::string zone(std::string_view cell)
{
    const std::optional<int> index = number(cell);
    if (!index || *index < 0 || *index > payroll::kZones)
        return "ninguna zona";
    return "la zona " + quoted(payroll::kZoneNames[static_cast<std::size_t>(*index)]);
}

std::string position(std::string_view code, const positions::Catalogue& catalogue)
{
    const std::optional<int> row = catalogue.findByCode(code);
    if (!row)
        return std::string(code);
    return std::string(code) + " (" + std::string(catalogue[*row].cargox) + ")";
}

}  // namespace

// "Con X en lugar de Y", "Con «AGMER» marcado", "Con la escala «…»".
std::string describeChange(const Suggestion& s, const positions::Catalogue& catalogue)
{
    if (s.campo == "escala")
        return "Con la escala " + quoted(s.valor);
    if (table::equalsIgnoringAsciiCase(s.campo, "antiguedad"))
        return "Con " + seniority(s.valor) + " en lugar de " + seniority(s.antes);
    if (table::equalsIgnoringAsciiCase(s.campo, "zona"))
        return "Con " + zone(s.valor) + " en lugar de " + zone(s.antes);
    if (table::equalsIgnoringAsciiCase(s.campo, "codcargo"))
        return "Con el cargo " + position(s.valor, catalogue) + " en lugar del " + position(s.antes, catalogue);
    if (const auto caption = captionOf(kCheckBoxes, s.campo))
        return "Con " + quoted(*caption) + (s.valor == "1" ? " marcado" : " sin marcar");
    if (const auto caption = captionOf(kCounts, s.campo))
        return "Con " + s.valor + " " + std::string(*caption) + " en lugar de " + (s.antes.empty() ? "0" : s.antes);
    return "Con " + s.campo + " " + quoted(s.valor) + " en lugar de " + quoted(s.antes);
}

std::string describe(const Suggestion& suggestion, const positions::Catalogue& catalogue)
{
    std::string text = describeChange(suggestion, catalogue);
    if (suggestion.explainsAll())
        return text + " coinciden todas las líneas.";
    return text + " coinciden " + std::to_string(suggestion.coinciden) + " de " + std::to_string(suggestion.lineas)
        + " líneas.";
}

}  // namespace recibo::payslip
