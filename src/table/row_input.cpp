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
using payroll::EntryValues;
using ValueBox = positions::PositionSelection::ValueBox;

// A row as its cells are read: the entry window's values, and what is typed
// into the selection dialog (its code box, then the point boxes).
struct RowBeingRead {
    EntryValues entry;
    std::optional<std::string_view> code;
    std::array<std::string_view, 5> typedPoints{};  // in the order of kPointBoxes
    const payroll::PayScale& scale;
};

constexpr std::array<ValueBox, 5> kPointBoxes = {ValueBox::Punbas, ValueBox::Compbas, ValueBox::Proljor,
                                                 ValueBox::Jorcom, ValueBox::Tardif};

// What a cell must be, for the message about one that is not.
using Expected = std::optional<std::string>;

// One column: the control's name, how its cell sets the row (an empty cell
// leaves the control as at program start), and the cell a row's values
// give, which reads back to the same values.
struct ColumnRule {
    std::string_view name;
    Expected (*read)(std::string_view cell, RowBeingRead& row);
    std::string (*write)(const RowInput& row, const positions::Catalogue& catalogue);
    bool position = false;  // the selection dialog's: only a teacher with a position has one
};

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

// A box typed into: its text as the cell has it.
template <std::string EntryValues::*box>
constexpr ColumnRule textBox(std::string_view name)
{
    return {name,
            [](std::string_view cell, RowBeingRead& row) -> Expected {
                row.entry.*box = cell;
                return std::nullopt;
            },
            [](const RowInput& row, const positions::Catalogue&) { return row.entry.*box; }};
}

// A check box: 0 or 1, and 2 (grayed, counted as unchecked) where `grayed`.
template <CheckState EntryValues::*box, bool grayed>
constexpr ColumnRule checkBox(std::string_view name)
{
    return {name,
            [](std::string_view cell, RowBeingRead& row) -> Expected {
                if (cell.empty())
                    return std::nullopt;
                if (cell == "0" || cell == "1" || (grayed && cell == "2")) {
                    row.entry.*box = cell == "0" ? CheckState::Unchecked
                        : cell == "1"            ? CheckState::Checked
                                                 : CheckState::Grayed;
                    return std::nullopt;
                }
                return grayed ? "ser 0, 1 o 2 (2 = atenuada, cuenta como no marcada)" : "ser 0 o 1";
            },
            [](const RowInput& row, const positions::Catalogue&) -> std::string {
                switch (row.entry.*box) {
                case CheckState::Unchecked: return "0";
                case CheckState::Checked: return "1";
                case CheckState::Grayed: return "2";
                }
                return "0";
            }};
}

// A point box of the selection dialog, typed over where the cell is not
// empty; written only where it differs from the position's own, so that a
// planilla keeps following the catalogue for the rest.
template <std::size_t index, std::string payroll::SelectedPosition::*box>
constexpr ColumnRule pointBox(std::string_view name)
{
    return {name,
            [](std::string_view cell, RowBeingRead& row) -> Expected {
                row.typedPoints[index] = cell;
                return std::nullopt;
            },
            [](const RowInput& row, const positions::Catalogue& catalogue) -> std::string {
                positions::PositionSelection byCode(catalogue);
                byCode.setCode(row.position.codigocargo);
                const std::string& typed = row.position.*box;
                return typed == byCode.selected().*box ? std::string() : typed;
            },
            true};
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

// Clicking the seniority option `option` (1 to 12) sets the percentage and
// its text; 0 leaves every option off, as at program start.
void chooseSeniority(EntryValues& entry, int option, const payroll::PayScale& scale)
{
    entry.seniorityOption = option;
    if (option == 0)
        return;
    payroll::SeniorityBracket bracket = payroll::seniorityBracket(option, scale);
    entry.pctantig = bracket.percent;
    entry.porcantig = std::move(bracket.text);
}

// Every column, in the order of Column.
constexpr std::array<ColumnRule, kColumnCount> kColumns = {{
    textBox<&EntryValues::docente>("docente"),
    {"tipo",
     [](std::string_view cell, RowBeingRead& row) -> Expected {
         if (const auto kind = kindOf(cell)) {
             row.entry.kind = *kind;
             return std::nullopt;
         }
         return "decir cargo, medio o superior";
     },
     [](const RowInput& row, const positions::Catalogue&) -> std::string {
         switch (row.entry.kind) {
         case EmploymentKind::Position: return "cargo";
         case EmploymentKind::MiddleLevelHours: return "medio";
         case EmploymentKind::HigherLevelHours: return "superior";
         case EmploymentKind::None: return "";
         }
         return "";
     }},
    {"codcargo",
     [](std::string_view cell, RowBeingRead& row) -> Expected {
         row.code = cell;
         return std::nullopt;
     },
     [](const RowInput& row, const positions::Catalogue&) { return row.position.codigocargo; }, true},
    pointBox<0, &payroll::SelectedPosition::punbas>("punbas"),
    pointBox<1, &payroll::SelectedPosition::compbas>("compbas"),
    pointBox<2, &payroll::SelectedPosition::proljor>("proljor"),
    pointBox<3, &payroll::SelectedPosition::jorcom>("jorcom"),
    pointBox<4, &payroll::SelectedPosition::tardif>("tardif"),
    textBox<&EntryValues::numerohorasmed>("numerohorasmed"),
    textBox<&EntryValues::numerohorassup>("numerohorassup"),
    textBox<&EntryValues::numhorascod06>("numhorascod06"),
    textBox<&EntryValues::numhorasincen>("numhorasincen"),
    textBox<&EntryValues::numhorascod113>("numhorascod113"),
    {"antiguedad",
     [](std::string_view cell, RowBeingRead& row) -> Expected {
         const auto option = cell.empty() ? std::optional(0) : smallInteger(cell);
         if (!option || *option < 0 || *option > payroll::kSeniorityOptions)
             return "ser un número entero de 0 a " + std::to_string(payroll::kSeniorityOptions)
                 + " (0 = ninguna opción)";
         chooseSeniority(row.entry, *option, row.scale);
         return std::nullopt;
     },
     [](const RowInput& row, const positions::Catalogue&) { return std::to_string(row.entry.seniorityOption); }},
    {"zona",
     [](std::string_view cell, RowBeingRead& row) -> Expected {
         const auto index = cell.empty() ? std::optional(-1) : smallInteger(cell);
         if (!index || *index < -1 || *index > payroll::kZones)
             return "ser un número entero de -1 a " + std::to_string(payroll::kZones) + " (-1 = ninguna zona)";
         row.entry.zona = *index;
         return std::nullopt;
     },
     [](const RowInput& row, const positions::Catalogue&) { return std::to_string(row.entry.zona); }},
    checkBox<&EntryValues::opincentivo, false>("opincentivo"),
    textBox<&EntryValues::dinasist>("dinasist"),
    checkBox<&EntryValues::transporte, false>("transporte"),
    checkBox<&EntryValues::hijos, false>("hijos"),
    checkBox<&EntryValues::hijosdisc, false>("hijosdisc"),
    checkBox<&EntryValues::conyuge, false>("conyuge"),
    textBox<&EntryValues::cantkm>("cantkm"),
    textBox<&EntryValues::cantidadhijos>("cantidadhijos"),
    textBox<&EntryValues::cantidadhijosdisc>("cantidadhijosdisc"),
    checkBox<&EntryValues::iosper, true>("Iosper"),
    checkBox<&EntryValues::osplad, true>("Osplad"),
    checkBox<&EntryValues::aportejub, true>("APORTEJUB"),
    checkBox<&EntryValues::ley4035, true>("Ley4035"),
    checkBox<&EntryValues::agmer, true>("AGMER"),
    checkBox<&EntryValues::cajacomp, true>("cajacomp"),
    checkBox<&EntryValues::seguro3011, true>("Seguro3011"),
}};

const ColumnRule& ruleOf(Column column)
{
    return kColumns[static_cast<std::size_t>(column)];
}

}  // namespace

std::string_view columnName(Column column)
{
    return ruleOf(column).name;
}

bool isPositionColumn(Column column)
{
    return ruleOf(column).position;
}

OrUnusable<RowInput> mapRow(std::span<const Column> columns, std::span<const std::string_view> cells,
                            const payroll::PayScale& scale, const positions::Catalogue& catalogue)
{
    RowBeingRead read{{}, std::nullopt, {}, scale};
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const std::string_view cell = i < cells.size() ? cells[i] : std::string_view();
        if (const Expected expected = ruleOf(columns[i]).read(cell, read))
            return Unusable{"La columna " + quotedForMessage(columnName(columns[i])) + " no tiene un valor válido: "
                                + quotedForMessage(cell) + ". Debe " + *expected + " o quedar vacía.",
                            std::string(columnName(columns[i])), std::string(cell)};
    }
    // The selection dialog as the user leaves it: the code typed into its
    // code box, then the point boxes edited by hand.
    positions::PositionSelection dialog(catalogue);
    if (read.code)
        dialog.setCode(std::string(*read.code));
    for (std::size_t i = 0; i < kPointBoxes.size(); ++i)
        if (!read.typedPoints[i].empty())
            dialog.setValue(kPointBoxes[i], std::string(read.typedPoints[i]));
    return RowInput{std::move(read.entry), dialog.selected()};
}

std::string cellFor(Column column, const RowInput& input, const positions::Catalogue& catalogue)
{
    if (isPositionColumn(column) && input.entry.kind != EmploymentKind::Position)
        return {};
    return ruleOf(column).write(input, catalogue);
}

}  // namespace recibo::table
