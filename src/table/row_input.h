#pragma once

#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "columns.h"
#include "payroll/entry_values.h"
#include "payroll/pay_scale.h"
#include "positions/catalogue.h"

namespace recibo::table {

// What the entry window and the selection dialog would hold for one row.
struct RowInput {
    payroll::EntryValues entry;
    payroll::SelectedPosition position;
};

// The controls as a user would have set them to the row's cells: text
// columns give the boxes' texts as they stand, option and check-box columns
// their state (an empty cell leaves the control as at program start), and
// the position code is typed into the selection dialog, whose boxes the
// point columns then overwrite where they are not empty. `cells` holds one
// cell per column, an empty one for a cell a short row lacks. The seniority
// percentages and the positions are the scale's.
OrUnusable<RowInput> mapRow(std::span<const Column> columns, std::span<const std::string_view> cells,
                            const payroll::PayScale& scale = payroll::builtInPayScale(),
                            const positions::Catalogue& catalogue = positions::catalogue());

// The cell each column holds for `input`, as mapRow reads it back; a point
// column is empty where the point is `catalogue`'s own for the code, and the
// position's columns are empty for a teacher without a position.
std::string cellFor(Column column, const RowInput& input,
                    const positions::Catalogue& catalogue = positions::catalogue());

// The selection dialog's columns: the position's code and its points.
bool isPositionColumn(Column column);

}  // namespace recibo::table
