#include "table_lines.h"

#include <algorithm>
#include <optional>
#include <variant>

#include "rows/row_computation.h"
#include "table/columns.h"

namespace recibo::batch {

namespace {

// The second reading: each row's line, computed as it is read.
class LineRows : public table::TableSink {
public:
    LineRows(const payroll::RegionalSettings& settings, const scales::Scale& scale, bool explain)
        : settings_(settings), scale_(scale), explain_(explain)
    {}

    Problem header(const std::vector<std::string>& names) override
    {
        auto resolved = table::resolveHeader(names);
        if (const auto* problem = std::get_if<Unusable>(&resolved))
            return *problem;
        computation_.emplace(std::move(std::get<std::vector<table::Column>>(resolved)), settings_, scale_, explain_);
        cells_.assign(computation_->columnCount(), std::string_view());
        return std::nullopt;
    }

    bool row(std::size_t fila, std::span<const std::string_view> rowCells) override
    {
        // A cell beyond the end of a short row is empty.
        std::fill(std::copy(rowCells.begin(), rowCells.end(), cells_.begin()), cells_.end(), std::string_view());
        if (!computation_->compute(fila, cells_, lines_))
            someRowFailed_ = true;
        return true;
    }

    TableLines take() { return {std::string(lines_.text()), someRowFailed_}; }

private:
    const payroll::RegionalSettings& settings_;
    const scales::Scale& scale_;
    bool explain_;
    std::optional<RowComputation> computation_;
    std::vector<std::string_view> cells_;
    JsonLines lines_;
    bool someRowFailed_ = false;
};

// Why `sink` found the table unusable, or nothing.
Problem readWhole(std::string_view csv, table::TableSink& sink, table::CsvReader::Pass pass)
{
    table::CsvReader reader(sink, pass);
    if (reader.feed(csv) && reader.finish())
        return std::nullopt;
    return Unusable{reader.problem()};
}

}  // namespace

Problem HeaderCheck::header(const std::vector<std::string>& names)
{
    const auto resolved = table::resolveHeader(names);
    if (const auto* problem = std::get_if<Unusable>(&resolved))
        return *problem;
    return std::nullopt;
}

OrUnusable<TableLines> computeTable(std::string_view csv, const payroll::RegionalSettings& settings,
                                    const scales::Scale& scale, bool explain)
{
    HeaderCheck check;
    if (auto problem = readWhole(csv, check, table::CsvReader::Pass::Check))
        return std::move(*problem);
    LineRows rows(settings, scale, explain);
    if (auto problem = readWhole(csv, rows, table::CsvReader::Pass::ReadCells))
        return std::move(*problem);
    return rows.take();
}

}  // namespace recibo::batch
