#include "likely_causes.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

#include "payroll/calculation.h"
#include "table/columns.h"

namespace recibo::payslip {

namespace {

using table::Column;

// Every column, in the order of Column.
std::vector<Column> everyColumn()
{
    std::vector<Column> columns;
    for (std::size_t i = 0; i < table::kColumnCount; ++i)
        columns.push_back(static_cast<Column>(i));
    return columns;
}

constexpr Column kCheckBoxes[] = {Column::Opincentivo, Column::Transporte, Column::Hijos,    Column::Hijosdisc,
                                  Column::Conyuge,     Column::Iosper,     Column::Osplad,   Column::Aportejub,
                                  Column::Ley4035,     Column::Agmer,      Column::Cajacomp, Column::Seguro3011};
constexpr Column kHours[] = {Column::Numerohorasmed, Column::Numerohorassup, Column::Numhorascod06,
                             Column::Numhorasincen, Column::Numhorascod113};
constexpr int kHoursStep = 5;
constexpr int kMostChildren = 10;
constexpr int kMostAbsenceDays = 10;

// The cells a single change may put in `column`, given what it holds.
std::vector<std::string> candidates(Column column, const std::string& now, const positions::Catalogue& catalogue)
{
    std::vector<std::string> values;
    const auto range = [&](int from, int to) {
        for (int value = from; value <= to; ++value)
            values.push_back(std::to_string(value));
    };
    if (column == Column::Antiguedad)
        range(0, payroll::kSeniorityOptions);
    else if (column == Column::Zona)
        range(-1, payroll::kZones);
    else if (std::find(std::begin(kCheckBoxes), std::end(kCheckBoxes), column) != std::end(kCheckBoxes))
        values.push_back(now == "1" ? "0" : "1");
    else if (column == Column::Cantidadhijos || column == Column::Cantidadhijosdisc)
        range(0, kMostChildren);
    else if (column == Column::Dinasist)
        range(0, kMostAbsenceDays);
    else if (std::find(std::begin(kHours), std::end(kHours), column) != std::end(kHours)) {
        char* end = nullptr;
        const long hours = std::strtol(now.c_str(), &end, 10);
        if (end != now.c_str() && *end == '\0')
            for (long step = -kHoursStep; step <= kHoursStep; ++step)
                if (hours + step >= 0 && step != 0)
                    values.push_back(std::to_string(hours + step));
    } else if (column == Column::Codcargo) {
        for (const positions::CatalogueRow& row : catalogue)
            values.emplace_back(row.codigocargo);
    }
    values.erase(std::remove(values.begin(), values.end(), now), values.end());
    return values;
}

// How many lines agree, of how many, for the teacher the cells describe;
// nothing when they describe no teacher the scale computes.
struct Agreement {
    int equal = 0;
    int lines = 0;
    std::vector<std::string> codesDiffering;
    int differing() const { return lines - equal; }
};

std::optional<Agreement> agreeing(const std::vector<Column>& columns, const std::vector<std::string>& cells,
                                  std::span<const OfficialLine> official, const scales::Scale& scale,
                                  const payroll::RegionalSettings& settings)
{
    std::vector<std::string_view> views(cells.begin(), cells.end());
    const auto row = table::mapRow(columns, views, scale.pay, scale.catalogue);
    const auto* input = std::get_if<table::RowInput>(&row);
    if (!input)
        return std::nullopt;
    const auto computed = payroll::calculate(input->entry, input->position, settings, scale.pay);
    const auto* receipt = std::get_if<payroll::Receipt>(&computed);
    if (!receipt)
        return std::nullopt;
    const PayslipCheck check = checkPayslip(*receipt, official);
    Agreement agreement{check.equalLines(), static_cast<int>(check.lines.size()), {}};
    for (const LineCheck& line : check.lines)
        if (line.differs)
            agreement.codesDiffering.push_back(line.code);
    return agreement;
}

}  // namespace

std::vector<Suggestion> likelyCauses(const table::RowInput& teacher, std::span<const OfficialLine> official,
                                     const scales::Scale& scale, const payroll::RegionalSettings& settings,
                                     std::span<const scales::Scale* const> otherScales, std::size_t most)
{
    const std::vector<Column> columns = everyColumn();
    std::vector<std::string> cells;
    for (Column column : columns)
        cells.push_back(table::cellFor(column, teacher, scale.catalogue));
    const std::optional<Agreement> now = agreeing(columns, cells, official, scale, settings);
    if (!now || now->differing() == 0)
        return {};
    // A change helps when fewer lines differ: the number that agree may
    // fall with it, when the change takes a line away.
    std::vector<Suggestion> found;
    const auto note = [&](std::string campo, std::string valor, std::string antes, std::optional<Agreement> then) {
        if (then && then->differing() < now->differing())
            found.push_back({std::move(campo), std::move(valor), std::move(antes), then->equal, then->lines,
                             std::move(then->codesDiffering)});
    };
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (columns[i] == Column::Codcargo && teacher.entry.kind != payroll::EmploymentKind::Position)
            continue;
        const std::string before = cells[i];
        for (const std::string& value : candidates(columns[i], before, scale.catalogue)) {
            cells[i] = value;
            note(std::string(table::columnName(columns[i])), value, before,
                 agreeing(columns, cells, official, scale, settings));
        }
        cells[i] = before;
    }
    for (const scales::Scale* other : otherScales)
        note("escala", other->name, scale.name, agreeing(columns, cells, official, *other, settings));
    // By how few lines still differ, then how many agree; ties in the order
    // tried, which puts the teacher's own data before the positions.
    std::stable_sort(found.begin(), found.end(), [](const Suggestion& a, const Suggestion& b) {
        if (a.lineas - a.coinciden != b.lineas - b.coinciden)
            return a.lineas - a.coinciden < b.lineas - b.coinciden;
        return a.coinciden > b.coinciden;
    });
    if (found.size() > most)
        found.resize(most);
    return found;
}

}  // namespace recibo::payslip
