#include "row_computation.h"

#include <variant>

#include "payroll/calculation.h"
#include "table/row_input.h"

namespace recibo::batch {

RowComputation::RowComputation(std::vector<table::Column> columns, const payroll::RegionalSettings& settings,
                               const scales::Scale& scale, bool explain)
    : columns_(std::move(columns)), settings_(settings), scale_(scale), explain_(explain)
{
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i] == table::Column::Docente)
            docenteColumn_ = i;
}

std::optional<ComputedRow> RowComputation::compute(std::size_t fila, std::span<const std::string_view> cells,
                                                   JsonLines& lines) const
{
    const auto mapped = table::mapRow(columns_, cells, scale_.pay, scale_.catalogue);
    if (const auto* bad = std::get_if<Unusable>(&mapped)) {
        const std::string_view docente = docenteColumn_ ? cells[*docenteColumn_] : std::string_view();
        lines.appendFailure(fila, docente, *bad);
        return std::nullopt;
    }
    const table::RowInput& rowInput = std::get<table::RowInput>(mapped);
    auto result = payroll::calculate(rowInput.entry, rowInput.position, settings_, scale_.pay,
                                     explain_ ? payroll::Explain::Yes : payroll::Explain::No);
    if (auto* receipt = std::get_if<payroll::Receipt>(&result)) {
        lines.appendReceipt(fila, *receipt, scale_.name, explain_);
        return ComputedRow{fila, std::move(*receipt), rowInput.position};
    }
    const auto& failure = std::get<Unusable>(result);
    const std::string_view docente = docenteColumn_ ? cells[*docenteColumn_] : std::string_view();
    lines.appendFailure(fila, docente, failure);
    return std::nullopt;
}

}  // namespace recibo::batch
