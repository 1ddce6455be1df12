#include "row_computation.h"

#include <variant>

#include "batch_row.h"
#include "payroll/calculation.h"

namespace recibo::batch {

RowComputation::RowComputation(std::vector<Column> columns, const payroll::RegionalSettings& settings,
                               const scales::Scale& scale, bool explain)
    : columns_(std::move(columns)), settings_(settings), scale_(scale), explain_(explain)
{
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i] == Column::Docente)
            docenteColumn_ = i;
}

std::optional<ComputedRow> RowComputation::compute(std::size_t fila, std::span<const std::string_view> cells,
                                                   JsonLines& lines) const
{
    const auto mapped = mapRow(columns_, cells, scale_.pay, scale_.catalogue);
    if (const auto* bad = std::get_if<CellError>(&mapped)) {
        const std::string_view docente = docenteColumn_ ? cells[*docenteColumn_] : std::string_view();
        lines.appendFailure(fila, docente, RowFailure{bad->message, columnName(bad->column), bad->text});
        return std::nullopt;
    }
    const RowInput& rowInput = std::get<RowInput>(mapped);
    auto result = payroll::calculate(rowInput.entry, rowInput.position, settings_, scale_.pay,
                                     explain_ ? payroll::Explain::Yes : payroll::Explain::No);
    if (auto* receipt = std::get_if<payroll::Receipt>(&result)) {
        lines.appendReceipt(fila, *receipt, scale_.name, explain_);
        return ComputedRow{fila, std::move(*receipt), rowInput.position};
    }
    const auto& failure = std::get<payroll::Failure>(result);
    const std::string_view docente = docenteColumn_ ? cells[*docenteColumn_] : std::string_view();
    lines.appendFailure(fila, docente, RowFailure{failure.message, failure.control, failure.text});
    return std::nullopt;
}

}  // namespace recibo::batch
