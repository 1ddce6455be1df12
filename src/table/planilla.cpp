#include "planilla.h"

#include <algorithm>
#include <array>

#include "positions/position_selection.h"
#include "table/csv_reader.h"

namespace recibo::table {

namespace {

using payroll::CheckState;
using payroll::EmploymentKind;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The header must name known columns, each once: as recibo-lote checks it.
class HeaderCheck : public TableSink {
public:
    Problem header(const std::vector<std::string>& names) override
    {
        auto resolved = resolveHeader(names);
        if (auto* problem = std::get_if<Unusable>(&resolved))
            return std::move(*problem);
        return std::nullopt;
    }
    bool row(std::size_t, std::span<const std::string_view>) override { return true; }
};

// The next record of `text` from `at`: up to and including its line break
// outside quotes, or to the end.
std::string_view nextRecord(std::string_view text, std::size_t at)
{
    bool quoted = false;
    for (std::size_t i = at; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == '\n' && !quoted)
            return text.substr(at, i + 1 - at);
    }
    return text.substr(at);
}

std::string_view withoutLineEnding(std::string_view record)
{
    if (!record.empty() && record.back() == '\n')
        record.remove_suffix(1);
    if (!record.empty() && record.back() == '\r')
        record.remove_suffix(1);
    return record;
}

// A checked record's cells, unquoted (a doubled quote inside quotes is one).
std::vector<std::string> cellsOf(std::string_view record, char separator)
{
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (std::size_t i = 0; i < record.size(); ++i) {
        const char c = record[i];
        if (quoted) {
            if (c == '"' && i + 1 < record.size() && record[i + 1] == '"')
                cells.back() += record[++i];
            else if (c == '"')
                quoted = false;
            else
                cells.back() += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

// A line of nothing but blanks, which recibo-lote skips.
bool blank(std::string_view record)
{
    return std::all_of(record.begin(), record.end(), [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
}

std::string checkCell(CheckState state)
{
    switch (state) {
    case CheckState::Unchecked: return "0";
    case CheckState::Checked: return "1";
    case CheckState::Grayed: return "2";
    }
    return "0";
}

// A point column holds a value only where it differs from the position's
// own: a planilla keeps following the catalogue for the rest.
std::string pointCell(const std::string& box, positions::PositionSelection::ValueBox which,
                      const payroll::SelectedPosition& fromCode)
{
    using Box = positions::PositionSelection::ValueBox;
    const std::string& own = which == Box::Punbas ? fromCode.punbas
        : which == Box::Compbas                   ? fromCode.compbas
        : which == Box::Proljor                   ? fromCode.proljor
        : which == Box::Jorcom                    ? fromCode.jorcom
                                                  : fromCode.tardif;
    return box == own ? std::string() : box;
}

}  // namespace

std::string cellFor(Column column, const RowInput& input, const positions::Catalogue& catalogue)
{
    const payroll::EntryValues& e = input.entry;
    const payroll::SelectedPosition& p = input.position;
    using Box = positions::PositionSelection::ValueBox;
    const auto point = [&](const std::string& box, Box which) {
        positions::PositionSelection byCode(catalogue);
        byCode.setCode(p.codigocargo);
        return pointCell(box, which, byCode.selected());
    };
    switch (column) {
    case Column::Docente: return e.docente;
    case Column::Tipo:
        switch (e.kind) {
        case EmploymentKind::Position: return "cargo";
        case EmploymentKind::MiddleLevelHours: return "medio";
        case EmploymentKind::HigherLevelHours: return "superior";
        case EmploymentKind::None: return "";
        }
        return "";
    case Column::Codcargo: return p.codigocargo;
    case Column::Punbas: return point(p.punbas, Box::Punbas);
    case Column::Compbas: return point(p.compbas, Box::Compbas);
    case Column::Proljor: return point(p.proljor, Box::Proljor);
    case Column::Jorcom: return point(p.jorcom, Box::Jorcom);
    case Column::Tardif: return point(p.tardif, Box::Tardif);
    case Column::Numerohorasmed: return e.numerohorasmed;
    case Column::Numerohorassup: return e.numerohorassup;
    case Column::Numhorascod06: return e.numhorascod06;
    case Column::Numhorasincen: return e.numhorasincen;
    case Column::Numhorascod113: return e.numhorascod113;
    case Column::Antiguedad: return std::to_string(e.seniorityOption);
    case Column::Zona: return std::to_string(e.zona);
    case Column::Opincentivo: return checkCell(e.opincentivo);
    case Column::Dinasist: return e.dinasist;
    case Column::Transporte: return checkCell(e.transporte);
    case Column::Hijos: return checkCell(e.hijos);
    case Column::Hijosdisc: return checkCell(e.hijosdisc);
    case Column::Conyuge: return checkCell(e.conyuge);
    case Column::Cantkm: return e.cantkm;
    case Column::Cantidadhijos: return e.cantidadhijos;
    case Column::Cantidadhijosdisc: return e.cantidadhijosdisc;
    case Column::Iosper: return checkCell(e.iosper);
    case Column::Osplad: return checkCell(e.osplad);
    case Column::Aportejub: return checkCell(e.aportejub);
    case Column::Ley4035: return checkCell(e.ley4035);
    case Column::Agmer: return checkCell(e.agmer);
    case Column::Cajacomp: return checkCell(e.cajacomp);
    case Column::Seguro3011: return checkCell(e.seguro3011);
    }
    return "";
}

OrUnusable<Planilla> Planilla::read(std::string_view text)
{
    HeaderCheck check;
    CsvReader checker(check, CsvReader::Pass::Check);
    if (!checker.feed(text) || !checker.finish())
        return Unusable{checker.problem()};

    Planilla planilla;
    std::size_t at = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    planilla.separator_ = detectSeparator(text.substr(at));
    // The header: the first line that is not blank.
    for (;;) {
        const std::string_view record = nextRecord(text, at);
        at += record.size();
        if (!blank(withoutLineEnding(record)) || at >= text.size()) {
            std::vector<std::string> names = cellsOf(withoutLineEnding(record), planilla.separator_);
            planilla.columns_ = std::get<std::vector<Column>>(resolveHeader(names));
            if (record.ends_with("\r\n"))
                planilla.lineEnding_ = "\r\n";
            break;
        }
    }
    planilla.head_ = std::string(text.substr(0, at));
    while (at < text.size()) {
        const std::string_view record = nextRecord(text, at);
        at += record.size();
        Record kept{std::string(record), !blank(withoutLineEnding(record)), {}};
        if (kept.isRow) {
            kept.cells = cellsOf(withoutLineEnding(record), planilla.separator_);
            kept.cells.resize(planilla.columns_.size());
            planilla.rows_.push_back(planilla.records_.size());
        }
        planilla.records_.push_back(std::move(kept));
    }
    return planilla;
}

Planilla Planilla::empty(char separator)
{
    Planilla planilla;
    planilla.separator_ = separator;
    std::vector<std::string> names;
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        planilla.columns_.push_back(static_cast<Column>(i));
        names.emplace_back(columnName(static_cast<Column>(i)));
    }
    planilla.head_ = planilla.writeCells(names) + planilla.lineEnding_;
    return planilla;
}

std::string Planilla::docente(std::size_t row) const
{
    const auto at = std::find(columns_.begin(), columns_.end(), Column::Docente);
    return at == columns_.end() ? std::string() : cells(row)[static_cast<std::size_t>(at - columns_.begin())];
}

std::variant<RowInput, CellError> Planilla::input(std::size_t row, const payroll::PayScale& scale,
                                                  const positions::Catalogue& catalogue) const
{
    const std::vector<std::string>& held = cells(row);
    const std::vector<std::string_view> views(held.begin(), held.end());
    return mapRow(columns_, views, scale, catalogue);
}

std::variant<Planilla::HandEntry, CellError> Planilla::handEntry(std::size_t row, const payroll::PayScale& scale) const
{
    auto mapped = input(row, scale);
    if (auto* bad = std::get_if<CellError>(&mapped))
        return std::move(*bad);
    HandEntry hand{std::move(std::get<RowInput>(mapped).entry), std::nullopt, {}};
    constexpr std::array<Column, 5> kPoints = {Column::Punbas, Column::Compbas, Column::Proljor, Column::Jorcom,
                                               Column::Tardif};
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i] == Column::Codcargo)
            hand.code = cells(row)[i];
        for (std::size_t p = 0; p < kPoints.size(); ++p)
            if (columns_[i] == kPoints[p])
                hand.typedPoints[p] = cells(row)[i];
    }
    return hand;
}

std::string Planilla::writeCells(const std::vector<std::string>& cells) const
{
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            line += separator_;
        const std::string& cell = cells[i];
        if (cell.find_first_of(std::string{separator_, '"', '\r', '\n'}) == std::string::npos) {
            line += cell;
            continue;
        }
        line += '"';
        for (const char c : cell)
            line += c == '"' ? std::string("\"\"") : std::string(1, c);
        line += '"';
    }
    return line;
}

void Planilla::replaceRow(std::size_t row, const RowInput& input, const positions::Catalogue& catalogue)
{
    Record& record = records_[rows_[row]];
    const auto before = this->input(row, payroll::builtInPayScale(), catalogue);
    const auto* was = std::get_if<RowInput>(&before);
    std::vector<std::string> cells = record.cells;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        const std::string now = cellFor(columns_[i], input, catalogue);
        if (!was || cellFor(columns_[i], *was, catalogue) != now)
            cells[i] = now;
    }
    if (cells == record.cells)
        return;
    const std::string_view ending = std::string_view(record.raw).substr(withoutLineEnding(record.raw).size());
    record.raw = writeCells(cells) + std::string(ending);
    record.cells = std::move(cells);
}

std::size_t Planilla::appendRow(const RowInput& input, const positions::Catalogue& catalogue)
{
    std::string& last = records_.empty() ? head_ : records_.back().raw;
    if (!last.ends_with('\n'))
        last += lineEnding_;
    std::vector<std::string> cells;
    for (const Column column : columns_)
        cells.push_back(cellFor(column, input, catalogue));
    records_.push_back({writeCells(cells) + lineEnding_, true, cells});
    rows_.push_back(records_.size() - 1);
    return rows_.size() - 1;
}

std::string Planilla::text() const
{
    std::string all = head_;
    for (const Record& record : records_)
        all += record.raw;
    return all;
}

}  // namespace recibo::table
