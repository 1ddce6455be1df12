#pragma once

// The planilla against recibo-lote on one text: the desktop program must
// read exactly the rows and cells recibo-lote reads (or refuse the table
// with recibo-lote's own message), give back the same bytes when nothing
// changed, and, when one teacher changes, change that teacher's row alone.

#include <algorithm>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>

#include "batch/batch.h"
#include "table/csv_table.h"
#include "table/planilla.h"

namespace recibo::table {

// How a table's rows read, cell by cell.
inline std::vector<std::vector<std::string>> cellsOf(const CsvTable& table, std::size_t columns)
{
    std::vector<std::vector<std::string>> rows(table.rowCount());
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < columns; ++c)
            rows[r].emplace_back(table.cell(r, c));
    return rows;
}

inline std::vector<std::vector<std::string>> cellsOf(const Planilla& planilla)
{
    std::vector<std::vector<std::string>> rows(planilla.rows());
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (const std::string_view cell : planilla.cells(r))
            rows[r].emplace_back(cell);
    return rows;
}

// What is wrong, or empty when the planilla and recibo-lote agree on `text`.
inline std::string planillaDisagreement(std::string_view text, std::size_t rowsChanged = 8)
{
    std::istringstream in{std::string(text)};
    std::ostringstream out, err;
    const int status = batch::runBatch({"--locale", "C", "-"}, in, out, err);
    const auto read = Planilla::read(text);
    if (status == batch::kInputUnusable) {
        const auto* problem = std::get_if<Unusable>(&read);
        if (!problem)
            return "the planilla reads a table recibo-lote refuses: " + err.str();
        if ("recibo-lote: " + problem->message + "\n" != err.str())
            return "refused otherwise: \"" + problem->message + "\" against " + err.str();
        return {};
    }
    if (!std::holds_alternative<Planilla>(read))
        return "the planilla refuses a table recibo-lote reads: " + std::get<Unusable>(read).message;
    const Planilla& planilla = std::get<Planilla>(read);
    const std::string lines = out.str();
    if (planilla.rows() != static_cast<std::size_t>(std::count(lines.begin(), lines.end(), '\n')))
        return "the planilla has " + std::to_string(planilla.rows()) + " rows, recibo-lote computed another count";
    const auto asRead = std::get<CsvTable>(readCsvTable(text));
    const auto cells = cellsOf(planilla);
    if (cells != cellsOf(asRead, planilla.columns().size()))
        return "the planilla's cells are not recibo-lote's";
    if (planilla.text() != text)
        return "the planilla read and given back is not the same bytes";

    // One teacher renamed: that row's name changes, nothing else.
    const auto docente = std::find(planilla.columns().begin(), planilla.columns().end(), Column::Docente);
    if (docente == planilla.columns().end())
        return {};
    const auto column = static_cast<std::size_t>(docente - planilla.columns().begin());
    for (std::size_t row = 0; row < std::min(planilla.rows(), rowsChanged); ++row) {
        auto input = planilla.input(row);
        if (!std::holds_alternative<RowInput>(input))
            continue;
        Planilla changed = planilla;
        std::get<RowInput>(input).entry.docente = "Otro, \"Nombre\"; con\r\ncoma,";
        changed.replaceRow(row, std::get<RowInput>(input));
        const auto again = readCsvTable(changed.text());
        if (!std::holds_alternative<CsvTable>(again))
            return "row " + std::to_string(row + 1)
                + " renamed makes the table unusable: " + std::get<Unusable>(again).message;
        auto expected = cells;
        expected[row][column] = std::get<RowInput>(input).entry.docente;
        if (cellsOf(std::get<CsvTable>(again), planilla.columns().size()) != expected)
            return "renaming row " + std::to_string(row + 1) + " changed other cells or rows";
    }
    return {};
}

}  // namespace recibo::table
