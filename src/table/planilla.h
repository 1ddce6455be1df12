#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "table/columns.h"
#include "table/row_input.h"
#include "unusable/unusable.h"

namespace recibo::table {

// A teachers' table, the planilla: exactly the CSV table recibo-lote reads,
// kept byte for byte. Its header, separator, blank lines and each row's own
// text and line ending stay as they were, so that writing it back changes
// only the rows that were replaced.
class Planilla {
public:
    // Told how far a long reading got (of `total` bytes); stops it by
    // returning false.
    using Progress = std::function<bool(std::size_t done, std::size_t total)>;
    // The table in `text`; one recibo-lote would refuse is refused with the
    // same message, naming the line. A reading `progress` stops is refused
    // as stopped.
    static OrUnusable<Planilla> read(std::string_view text, const Progress& progress = {});
    // A new table with every column, for "Nueva planilla".
    static Planilla empty(char separator = ',');

    const std::vector<Column>& columns() const { return columns_; }
    std::size_t rows() const { return rows_.size(); }
    // Row `row`'s cell in column `column` (both from 0), unquoted; a short
    // row's missing cells are empty.
    std::string_view cell(std::size_t row, std::size_t column) const;
    // Row `row`'s cells, one per column.
    std::vector<std::string_view> cells(std::size_t row) const;
    // Row `row`'s teacher, as the docente column has it (empty without one).
    std::string docente(std::size_t row) const;
    // What the entry window and the dialog hold for row `row`, as recibo-lote
    // maps it under `scale` and `catalogue`, or why a cell cannot be used.
    OrUnusable<RowInput> input(std::size_t row, const payroll::PayScale& scale = payroll::builtInPayScale(),
                               const positions::Catalogue& catalogue = positions::catalogue()) const;

    // What a user types and clicks to enter row `row` by hand: the entry
    // window's values, and in the selection dialog the code typed (when the
    // table has that column) and the points typed over (empty: left as the
    // code gives them). Or why a cell cannot be used.
    struct HandEntry {
        payroll::EntryValues entry;
        std::optional<std::string> code;
        std::array<std::string, 5> typedPoints;  // punbas, compbas, proljor, jorcom, tardif
    };
    OrUnusable<HandEntry> handEntry(std::size_t row, const payroll::PayScale& scale = payroll::builtInPayScale()) const;

    // Writes `input` as row `row`: a cell whose meaning `input` leaves as it
    // was keeps its text; the others are written as recibo-lote reads them
    // (points where they differ from `catalogue`'s for the code). The
    // position's cells of a teacher without a position stay as they are.
    void replaceRow(std::size_t row, const RowInput& input,
                    const positions::Catalogue& catalogue = positions::catalogue());
    // Adds a row holding `input` at the end; returns its index.
    std::size_t appendRow(const RowInput& input, const positions::Catalogue& catalogue = positions::catalogue());

    // The whole table as text, for saving.
    std::string text() const;

    // The same table saved again by someone else since this one was read
    // (`current`), with this planilla's changes made on it: each row
    // replaced here goes over the row of `current` that still reads as it
    // was read here, and the rows added here are added. A row replaced here
    // that `current` changed or removed too is a conflict, settled by
    // `conflicts`: this planilla's version over `current`'s (over the row
    // with the same teacher, or added when `current` has none), or
    // `current`'s kept. `follow`: rows of this planilla whose places in the
    // result are wanted (the teacher on the form, those with official
    // lines); a row not replaced here lands on the row of `current` that
    // reads as it was read, or else on the nearest with the same teacher.
    enum class Conflicts { KeepMine, KeepTheirs };
    struct Rebased;
    Rebased rebasedOnto(Planilla current, Conflicts conflicts, std::span<const std::size_t> follow = {},
                        const positions::Catalogue& catalogue = positions::catalogue()) const;

private:
    // Where a row lies in text_, its line break excluded; a row replaced
    // since has its text and cells in replaced_.
    struct Extent {
        std::size_t begin = 0;
        std::size_t end = 0;
    };
    struct Replaced {
        std::string text;
        std::vector<std::string> cells;
    };
    friend class PlanillaRows;

    std::string writeCells(std::span<const std::string> cells) const;
    // Row `row` as read or added, whatever replaced it since.
    std::string_view readText(std::size_t row) const;
    std::string_view readCell(std::size_t row, std::size_t column) const;
    std::string docenteAsRead(std::size_t row) const;
    std::optional<std::size_t> docenteColumn() const;
    std::optional<std::size_t> counterpart(std::size_t row, const Planilla& current,
                                           const std::vector<bool>& taken) const;
    std::optional<std::size_t> sameTeacher(std::size_t row, const Planilla& current,
                                           const std::vector<bool>& taken) const;
    void keepCells(std::span<const std::string_view> cells);

    std::string text_;  // as read, the rows added appended
    std::vector<Column> columns_;
    std::vector<Extent> rows_;
    std::size_t rowsRead_ = 0;  // the rows after these were added
    // Every row's cells as read or added, one right after the other, each
    // row with one per column: row r's begin at rowCells_[r], and its cell c
    // ends cellEnds_[r * columns + c] bytes after that (a row is far shorter
    // than 4 GiB: see kMaxRowBytes).
    std::string cellText_;
    std::vector<std::size_t> rowCells_;
    std::vector<std::uint32_t> cellEnds_;
    std::map<std::size_t, Replaced> replaced_;
    char separator_ = ',';
    std::string lineEnding_ = "\n";  // the header's, for rows added
};

struct Planilla::Rebased {
    Planilla table;
    std::size_t conflicts = 0;  // rows replaced here that `current` changed or removed too
    // Where each row followed is in `table`; one that `table` no longer
    // has is missing.
    std::map<std::size_t, std::size_t> followed;
};

}  // namespace recibo::table
