#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "payroll/regional_settings.h"
#include "scales/scale.h"
#include "table/csv_reader.h"
#include "unusable/unusable.h"

namespace recibo::batch {

// A table's first reading: the header's columns must be known and
// unrepeated; the rows wait for the second.
class HeaderCheck : public table::TableSink {
public:
    Problem header(const std::vector<std::string>& names) override;
    bool row(std::size_t, std::span<const std::string_view>) override { return true; }  // not called
};

// A whole table's JSON lines, one row after the other.
struct TableLines {
    std::string text;
    bool someRowFailed = false;  // some row has no receipt
};

// The JSON lines of a table held whole in memory (the WebAssembly module's
// tables), as recibo-lote writes them for the same table: checked whole
// first, so that a table that cannot be used gets why and no line at all.
// With `explain`, every line and total carries its explanation.
OrUnusable<TableLines> computeTable(std::string_view csv, const payroll::RegionalSettings& settings,
                                    const scales::Scale& scale, bool explain = false);

}  // namespace recibo::batch
