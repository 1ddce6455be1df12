#include "row_computation.h"

#include <variant>

#include "payroll/calculation.h"
#include "payroll/number_text.h"
#include "table/row_input.h"

namespace recibo::batch {

RowComputation::RowComputation(std::vector<table::Column> columns, const payroll::RegionalSettings& settings,
                               const scales::Scale& scale, bool explain, const OfficialLines* official)
    : columns_(std::move(columns)), settings_(settings), scale_(scale), explain_(explain), official_(official)
{
    for (std::size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i] == table::Column::Docente)
            docenteColumn_ = i;
}

Comparison RowComputation::compare(const table::RowInput& teacher, const payroll::Receipt& receipt,
                                   std::span<const payslip::OfficialLine> official) const
{
    const auto amount = [&](payroll::Currency value) { return payroll::formatAmount(value, settings_, "$ "); };
    const payslip::PayslipCheck check = payslip::checkPayslip(receipt, official);
    Comparison comparison;
    comparison.coinciden = check.matches();
    for (const payslip::LineCheck& line : check.lines)
        if (line.differs)
            comparison.lineas.push_back(
                {line.code, line.official ? std::optional(amount(*line.official)) : std::nullopt,
                 line.computed ? std::optional(amount(*line.computed)) : std::nullopt, amount(line.difference())});
    if (!comparison.coinciden)
        comparison.sugerencias = payslip::likelyCauses(teacher, official, scale_, settings_);
    return comparison;
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
        const auto official = official_ ? official_->find(fila) : OfficialLines::const_iterator();
        if (!official_ || official == official_->end()) {
            lines.appendReceipt(fila, *receipt, scale_.name, explain_);
            return ComputedRow{fila, std::move(*receipt), rowInput.position};
        }
        const Comparison comparison = compare(rowInput, *receipt, official->second);
        lines.appendReceipt(fila, *receipt, scale_.name, explain_, &comparison);
        return ComputedRow{fila, std::move(*receipt), rowInput.position, nullptr, !comparison.coinciden};
    }
    const auto& failure = std::get<Unusable>(result);
    const std::string_view docente = docenteColumn_ ? cells[*docenteColumn_] : std::string_view();
    lines.appendFailure(fila, docente, failure);
    return std::nullopt;
}

}  // namespace recibo::batch
