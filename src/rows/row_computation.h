#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "json_lines.h"
#include "payroll/entry_values.h"
#include "payroll/receipt.h"
#include "payroll/regional_settings.h"
#include "payslip/official_file.h"
#include "scales/scale.h"
#include "table/columns.h"
#include "table/row_input.h"

namespace recibo::batch {

using payslip::OfficialLines;

// The work on a row's page that the thread computing the row does (its
// layout), for the thread that writes the page.
struct PreparedPage {
    virtual ~PreparedPage() = default;
};

// A row's receipt with the position it was computed with, for its PDF, and
// its page when it was prepared.
struct ComputedRow {
    std::size_t fila = 0;
    payroll::Receipt receipt;
    payroll::SelectedPosition position;
    std::shared_ptr<const PreparedPage> page;
    // Its official payslip (--comparar) differs from it.
    bool differsFromOfficial = false;
};

// Prepares a computed row's page; called by several threads at once, each
// with its own worker number (from 0).
using PagePreparer = std::function<std::shared_ptr<const PreparedPage>(const ComputedRow&, std::size_t worker)>;
// Called by each of those threads as it stops, with its worker number: what
// it drew with Qt's fonts, which are the thread's own, is finished there.
using WorkerStop = std::function<void(std::size_t worker)>;

// One row of a table made into its JSON line: the controls set to its cells,
// "Calcular" run on them. Holds nothing that changes, so that several
// threads may compute rows with the same object at once.
class RowComputation {
public:
    // With `explain`, every line and total of a receipt carries its
    // explanation; with `official`, a row that has official payslip lines is
    // compared with them.
    RowComputation(std::vector<table::Column> columns, const payroll::RegionalSettings& settings,
                   const scales::Scale& scale, bool explain = false, const OfficialLines* official = nullptr);

    std::size_t columnCount() const { return columns_.size(); }

    // Appends row `fila`'s line to `lines`: its receipt, or why it has none.
    // `cells` holds one cell per column (an empty one for a cell a short row
    // lacks). The receipt when the row was computed, nothing when it failed.
    std::optional<ComputedRow> compute(std::size_t fila, std::span<const std::string_view> cells,
                                       JsonLines& lines) const;

private:
    Comparison compare(const table::RowInput& teacher, const payroll::Receipt& receipt,
                       std::span<const payslip::OfficialLine> official) const;

    std::vector<table::Column> columns_;
    std::optional<std::size_t> docenteColumn_;
    const payroll::RegionalSettings& settings_;
    const scales::Scale& scale_;
    bool explain_;
    const OfficialLines* official_;
};

}  // namespace recibo::batch
