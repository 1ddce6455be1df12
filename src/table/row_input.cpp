#include "row_input.h"

#include <array>
#include <optional>

#include "payroll/pay_scale.h"
#include "payroll/seniority.h"
#include "positions/position_selection.h"

namespace recibo::table {

namespace {

using payroll::CheckState;
using payroll::EmploymentKind;
using ValueBox = positions::PositionSelection::ValueBox;

std::string inColumn(Column column)
{
    return "La columna " + quotedForMessage(columnName(column));
}

CellError badCell(Column column, std::string_view text, std::string_view expected)
{
    return CellError{column, std::string(text),
                     inColumn(column) + " no tiene un valor válido: " + quotedForMessage(text) + ". Debe "
                         + std::string(expected) + " o quedar vacía."};
}

// A small whole number written plainly: an optional minus sign and one or
// two digits.
std::optional<int> smallInteger(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 2)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::optional<EmploymentKind> kindOf(std::string_view text)
{
    if (text.empty())
        return EmploymentKind::None;
    if (equalsIgnoringAsciiCase(text, "cargo"))
        return EmploymentKind::Position;
    if (equalsIgnoringAsciiCase(text, "medio"))
        return EmploymentKind::MiddleLevelHours;
    if (equalsIgnoringAsciiCase(text, "superior"))
        return EmploymentKind::HigherLevelHours;
    return std::nullopt;
}

std::optional<CheckState> checkState(std::string_view text, bool grayedAllowed)
{
    if (text == "0")
        return CheckState::Unchecked;
    if (text == "1")
        return CheckState::Checked;
    if (grayedAllowed && text == "2")
        return CheckState::Grayed;
    return std::nullopt;
}

// Clicking the seniority option `option` (1 to 12) sets the percentage and
// its text; 0 leaves every option off, as at program start.
void chooseSeniority(payroll::EntryValues& entry, int option, const payroll::PayScale& scale)
{
    entry.seniorityOption = option;
    if (option == 0)
        return;
    payroll::SeniorityBracket bracket = payroll::seniorityBracket(option, scale);
    entry.pctantig = bracket.percent;
    entry.porcantig = std::move(bracket.text);
}

}  // namespace

std::variant<RowInput, CellError> mapRow(std::span<const Column> columns, std::span<const std::string_view> cells,
                                         const payroll::PayScale& scale, const positions::Catalogue& catalogue)
{
    RowInput row;
    payroll::EntryValues& entry = row.entry;
    std::optional<std::string_view> code;
    std::array<std::string_view, 5> typedPoints{};  // Punbas, Compbas, Proljor, Jorcom, Tardif

    for (std::size_t i = 0; i < columns.size(); ++i) {
        const Column column = columns[i];
        const std::string_view cell = i < cells.size() ? cells[i] : std::string_view();

        auto setCheck = [&](CheckState& state, bool grayedAllowed) -> std::optional<CellError> {
            if (cell.empty())
                return std::nullopt;
            const auto parsed = checkState(cell, grayedAllowed);
            if (!parsed)
                return badCell(column, cell,
                               grayedAllowed ? "ser 0, 1 o 2 (2 = atenuada, cuenta como no marcada)" : "ser 0 o 1");
            state = *parsed;
            return std::nullopt;
        };
        std::optional<CellError> error;

        switch (column) {
        case Column::Docente: entry.docente = cell; break;
        case Column::Tipo:
            if (const auto kind = kindOf(cell))
                entry.kind = *kind;
            else
                error = badCell(column, cell, "decir cargo, medio o superior");
            break;
        case Column::Codcargo: code = cell; break;
        case Column::Punbas: typedPoints[0] = cell; break;
        case Column::Compbas: typedPoints[1] = cell; break;
        case Column::Proljor: typedPoints[2] = cell; break;
        case Column::Jorcom: typedPoints[3] = cell; break;
        case Column::Tardif: typedPoints[4] = cell; break;
        case Column::Numerohorasmed: entry.numerohorasmed = cell; break;
        case Column::Numerohorassup: entry.numerohorassup = cell; break;
        case Column::Numhorascod06: entry.numhorascod06 = cell; break;
        case Column::Numhorasincen: entry.numhorasincen = cell; break;
        case Column::Numhorascod113: entry.numhorascod113 = cell; break;
        case Column::Antiguedad:
            if (cell.empty()) {
                chooseSeniority(entry, 0, scale);
            } else if (const auto option = smallInteger(cell);
                       option && *option >= 0 && *option <= payroll::kSeniorityOptions) {
                chooseSeniority(entry, *option, scale);
            } else {
                error = badCell(column, cell,
                                "ser un número entero de 0 a " + std::to_string(payroll::kSeniorityOptions)
                                    + " (0 = ninguna opción)");
            }
            break;
        case Column::Zona:
            if (cell.empty()) {
                entry.zona = -1;
            } else if (const auto index = smallInteger(cell); index && *index >= -1 && *index <= payroll::kZones) {
                entry.zona = *index;
            } else {
                error =
                    badCell(column, cell,
                            "ser un número entero de -1 a " + std::to_string(payroll::kZones) + " (-1 = ninguna zona)");
            }
            break;
        case Column::Opincentivo: error = setCheck(entry.opincentivo, false); break;
        case Column::Dinasist: entry.dinasist = cell; break;
        case Column::Transporte: error = setCheck(entry.transporte, false); break;
        case Column::Hijos: error = setCheck(entry.hijos, false); break;
        case Column::Hijosdisc: error = setCheck(entry.hijosdisc, false); break;
        case Column::Conyuge: error = setCheck(entry.conyuge, false); break;
        case Column::Cantkm: entry.cantkm = cell; break;
        case Column::Cantidadhijos: entry.cantidadhijos = cell; break;
        case Column::Cantidadhijosdisc: entry.cantidadhijosdisc = cell; break;
        case Column::Iosper: error = setCheck(entry.iosper, true); break;
        case Column::Osplad: error = setCheck(entry.osplad, true); break;
        case Column::Aportejub: error = setCheck(entry.aportejub, true); break;
        case Column::Ley4035: error = setCheck(entry.ley4035, true); break;
        case Column::Agmer: error = setCheck(entry.agmer, true); break;
        case Column::Cajacomp: error = setCheck(entry.cajacomp, true); break;
        case Column::Seguro3011: error = setCheck(entry.seguro3011, true); break;
        }
        if (error)
            return std::move(*error);
    }

    // The selection dialog as the user leaves it: the code typed into its
    // code box, then the point boxes edited by hand.
    positions::PositionSelection dialog(catalogue);
    if (code)
        dialog.setCode(std::string(*code));
    constexpr std::array<ValueBox, 5> kBoxes = {ValueBox::Punbas, ValueBox::Compbas, ValueBox::Proljor,
                                                ValueBox::Jorcom, ValueBox::Tardif};
    for (std::size_t i = 0; i < kBoxes.size(); ++i)
        if (!typedPoints[i].empty())
            dialog.setValue(kBoxes[i], std::string(typedPoints[i]));
    row.position = dialog.selected();
    return row;
}

}  // namespace recibo::table
