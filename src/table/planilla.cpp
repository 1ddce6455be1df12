#include "planilla.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>

#include "positions/position_selection.h"
#include "table/csv_reader.h"

namespace recibo::table {

namespace {

using payroll::EmploymentKind;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

// The table's rows as the reader finds them: while checking, where each
// lies in the text; then their cells.
class PlanillaRows : public TableSink {
public:
    PlanillaRows(Planilla& planilla, std::size_t total, const Planilla::Progress& progress)
        : planilla_(planilla), total_(total), progress_(progress)
    {}

    Problem header(const std::vector<std::string>& names) override
    {
        auto resolved = resolveHeader(names);
        if (auto* problem = std::get_if<Unusable>(&resolved))
            return std::move(*problem);
        planilla_.columns_ = std::get<std::vector<Column>>(std::move(resolved));
        return std::nullopt;
    }
    // The progress counts both passes: the check, then the cells.
    bool rowExtent(std::size_t fila, std::size_t begin, std::size_t end) override
    {
        if (fila == 0)
            headerEnd_ = end;
        else
            planilla_.rows_.push_back({begin, end});
        return tell(fila, end);
    }
    bool row(std::size_t fila, std::span<const std::string_view> cells) override
    {
        if (fila > planilla_.rows_.size())
            return false;
        planilla_.keepCells(cells);
        return tell(fila, total_ + planilla_.rows_[fila - 1].end);
    }
    bool stopped() const { return stopped_; }
    std::size_t headerEnd() const { return headerEnd_; }

private:
    // Every so many rows, not to slow the reading down.
    bool tell(std::size_t fila, std::size_t done)
    {
        constexpr std::size_t kRowsBetweenReports = 2048;
        if (progress_ && fila % kRowsBetweenReports == 0 && !progress_(done, 2 * total_))
            stopped_ = true;
        return !stopped_;
    }

    Planilla& planilla_;
    const std::size_t total_;
    const Planilla::Progress& progress_;
    std::size_t headerEnd_ = 0;
    bool stopped_ = false;
};

OrUnusable<Planilla> Planilla::read(std::string_view text, const Progress& progress)
{
    Planilla planilla;
    PlanillaRows rows(planilla, text.size(), progress);
    const auto refused = [&](const CsvReader& reader) {
        if (rows.stopped())
            return Unusable{"se dejó de leer la planilla"};
        return Unusable{reader.problem().empty() ? "la planilla no se pudo leer entera" : reader.problem()};
    };
    CsvReader checker(rows, CsvReader::Pass::Check);
    if (!checker.feed(text) || !checker.finish())
        return refused(checker);
    CsvReader reader(rows, CsvReader::Pass::ReadCells);
    if (!reader.feed(text) || !reader.finish()
        || planilla.cellEnds_.size() != planilla.rows_.size() * planilla.columns_.size())
        return refused(reader);

    // The reader's places count from after the byte-order mark.
    const std::size_t mark = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    for (Extent& row : planilla.rows_)
        row = {row.begin + mark, row.end + mark};
    const std::size_t headerEnd = rows.headerEnd() + mark;
    planilla.separator_ = detectSeparator(text.substr(mark));
    const std::string_view after = text.substr(headerEnd);
    planilla.lineEnding_ = after.starts_with("\r\n") ? "\r\n" : after.starts_with('\r') ? "\r" : "\n";
    planilla.text_ = std::string(text);
    planilla.rowsRead_ = planilla.rows_.size();
    return planilla;
}

void Planilla::keepCells(std::span<const std::string_view> cells)
{
    const std::size_t begin = cellText_.size();
    rowCells_.push_back(begin);
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (c < cells.size())
            cellText_.append(cells[c]);
        cellEnds_.push_back(static_cast<std::uint32_t>(cellText_.size() - begin));
    }
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
    planilla.text_ = planilla.writeCells(names) + planilla.lineEnding_;
    return planilla;
}

std::string_view Planilla::cell(std::size_t row, std::size_t column) const
{
    if (const auto replaced = replaced_.find(row); replaced != replaced_.end())
        return replaced->second.cells[column];
    return readCell(row, column);
}

std::string_view Planilla::readCell(std::size_t row, std::size_t column) const
{
    const std::size_t index = row * columns_.size() + column;
    const std::size_t begin = column == 0 ? 0 : cellEnds_[index - 1];
    return std::string_view(cellText_).substr(rowCells_[row] + begin, cellEnds_[index] - begin);
}

std::vector<std::string_view> Planilla::cells(std::size_t row) const
{
    std::vector<std::string_view> all;
    for (std::size_t c = 0; c < columns_.size(); ++c)
        all.push_back(cell(row, c));
    return all;
}

std::optional<std::size_t> Planilla::docenteColumn() const
{
    const auto at = std::find(columns_.begin(), columns_.end(), Column::Docente);
    return at == columns_.end() ? std::nullopt : std::optional(static_cast<std::size_t>(at - columns_.begin()));
}

std::string Planilla::docente(std::size_t row) const
{
    const auto column = docenteColumn();
    return column ? std::string(cell(row, *column)) : std::string();
}

std::string Planilla::docenteAsRead(std::size_t row) const
{
    const auto column = docenteColumn();
    return column ? std::string(readCell(row, *column)) : std::string();
}

OrUnusable<RowInput> Planilla::input(std::size_t row, const payroll::PayScale& scale,
                                     const positions::Catalogue& catalogue) const
{
    return mapRow(columns_, cells(row), scale, catalogue);
}

OrUnusable<Planilla::HandEntry> Planilla::handEntry(std::size_t row, const payroll::PayScale& scale) const
{
    auto mapped = input(row, scale);
    if (auto* bad = std::get_if<Unusable>(&mapped))
        return std::move(*bad);
    HandEntry hand{std::move(std::get<RowInput>(mapped).entry), std::nullopt, {}};
    constexpr std::array<Column, 5> kPoints = {Column::Punbas, Column::Compbas, Column::Proljor, Column::Jorcom,
                                               Column::Tardif};
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i] == Column::Codcargo)
            hand.code = std::string(cell(row, i));
        for (std::size_t p = 0; p < kPoints.size(); ++p)
            if (columns_[i] == kPoints[p])
                hand.typedPoints[p] = std::string(cell(row, i));
    }
    return hand;
}

std::string Planilla::writeCells(std::span<const std::string> cells) const
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
    const auto before = this->input(row, payroll::builtInPayScale(), catalogue);
    const auto* was = std::get_if<RowInput>(&before);
    const std::vector<std::string_view> held = cells(row);
    std::vector<std::string> cells(held.begin(), held.end());
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        // A teacher paid by hours has no position: whatever the selection
        // dialog last held is no change to the row, and its cells stay.
        if (input.entry.kind != EmploymentKind::Position && isPositionColumn(columns_[i]))
            continue;
        const std::string now = cellFor(columns_[i], input, catalogue);
        if (!was || cellFor(columns_[i], *was, catalogue) != now)
            cells[i] = now;
    }
    if (std::equal(cells.begin(), cells.end(), held.begin(), held.end()))
        return;
    replaced_[row] = {writeCells(cells), std::move(cells)};
}

std::size_t Planilla::appendRow(const RowInput& input, const positions::Catalogue& catalogue)
{
    if (!text_.ends_with('\n') && !text_.ends_with('\r'))
        text_ += lineEnding_;
    std::vector<std::string> cells;
    for (const Column column : columns_)
        cells.push_back(cellFor(column, input, catalogue));
    const std::size_t begin = text_.size();
    text_ += writeCells(cells);
    rows_.push_back({begin, text_.size()});
    text_ += lineEnding_;
    keepCells(std::vector<std::string_view>(cells.begin(), cells.end()));
    return rows_.size() - 1;
}

std::string Planilla::text() const
{
    std::string all;
    all.reserve(text_.size());
    std::size_t at = 0;
    for (const auto& [row, replaced] : replaced_) {
        all.append(text_, at, rows_[row].begin - at);
        all += replaced.text;
        at = rows_[row].end;
    }
    all.append(text_, at);
    return all;
}

std::string_view Planilla::readText(std::size_t row) const
{
    return std::string_view(text_).substr(rows_[row].begin, rows_[row].end - rows_[row].begin);
}

namespace {

// The row of `current` as it was read, not yet taken, nearest to `row`
// among those that `matches`; `taken` has one place for each of those rows
// (the rows added to it since are this planilla's own). Sought outwards
// from `row`, the lower of two as near first: a teacher a few rows away
// costs a few rows, not the whole table.
template <typename Matches>
std::optional<std::size_t> nearestOf(std::size_t row, const std::vector<bool>& taken, Matches matches)
{
    const std::size_t rows = taken.size();
    const auto fits = [&](std::size_t other) { return other < rows && !taken[other] && matches(other); };
    for (std::size_t distance = 0; distance < std::max(row + 1, rows); ++distance) {
        if (distance <= row && fits(row - distance))
            return row - distance;
        if (distance > 0 && fits(row + distance))
            return row + distance;
    }
    return std::nullopt;
}

}  // namespace

// The row of `current` that is row `row` as read here: the one that reads
// the same (the nearest, among equal ones), or nothing when `current`
// changed or removed it.
std::optional<std::size_t> Planilla::counterpart(std::size_t row, const Planilla& current,
                                                 const std::vector<bool>& taken) const
{
    const std::string_view was = readText(row);
    return nearestOf(row, taken, [&](std::size_t other) { return current.readText(other) == was; });
}

// The row of `current` with the teacher of row `row` as read here, for a
// row someone else changed: a teacher with no name has none.
std::optional<std::size_t> Planilla::sameTeacher(std::size_t row, const Planilla& current,
                                                 const std::vector<bool>& taken) const
{
    const std::string teacher = docenteAsRead(row);
    if (teacher.empty())
        return std::nullopt;
    return nearestOf(row, taken, [&](std::size_t other) { return current.docente(other) == teacher; });
}

Planilla::Rebased Planilla::rebasedOnto(Planilla current, Conflicts conflicts, std::span<const std::size_t> follow,
                                        const positions::Catalogue& catalogue) const
{
    Rebased rebased{std::move(current), 0, {}};
    Planilla& table = rebased.table;
    std::vector<bool> taken(table.rows());
    const std::set<std::size_t> wanted(follow.begin(), follow.end());
    const auto landed = [&](std::size_t row, std::optional<std::size_t> at) {
        if (at && wanted.contains(row))
            rebased.followed[row] = *at;
    };
    for (const auto& [row, replaced] : replaced_) {
        if (row >= rowsRead_)
            continue;
        const auto input = this->input(row, payroll::builtInPayScale(), catalogue);
        const auto* mine = std::get_if<RowInput>(&input);
        if (const auto same = counterpart(row, table, taken)) {
            taken[*same] = true;
            if (mine)
                table.replaceRow(*same, *mine, catalogue);
            landed(row, same);
            continue;
        }
        ++rebased.conflicts;
        // The same teacher, the nearest where the file gained or lost rows
        // before, is the row changed there too.
        const std::optional<std::size_t> there = sameTeacher(row, table, taken);
        if (there)
            taken[*there] = true;
        if (conflicts == Conflicts::KeepTheirs || !mine) {
            landed(row, there);
        } else if (there) {
            table.replaceRow(*there, *mine, catalogue);
            landed(row, there);
        } else {
            landed(row, table.appendRow(*mine, catalogue));
        }
    }
    for (std::size_t row = rowsRead_; row < rows(); ++row) {
        const auto added = input(row, payroll::builtInPayScale(), catalogue);
        if (const auto* mine = std::get_if<RowInput>(&added))
            landed(row, table.appendRow(*mine, catalogue));
    }
    // The rows followed that were not replaced here: first those the file
    // still has as they were, then those someone changed there.
    std::vector<std::size_t> changedThere;
    for (const std::size_t row : wanted) {
        if (row >= rowsRead_ || replaced_.contains(row))
            continue;
        if (const auto same = counterpart(row, table, taken)) {
            taken[*same] = true;
            landed(row, same);
        } else {
            changedThere.push_back(row);
        }
    }
    for (const std::size_t row : changedThere)
        if (const auto same = sameTeacher(row, table, taken)) {
            taken[*same] = true;
            landed(row, same);
        }
    return rebased;
}

}  // namespace recibo::table
