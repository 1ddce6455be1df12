#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "csv_reader.h"

namespace recibo::table {

// A CSV table held whole, for whoever wants every row at once (the
// benchmarks, the tests): the header's column names and the data rows, every
// cell already unquoted. Rows may hold fewer cells than the header, never
// more. recibo-lote itself reads its tables row by row (CsvReader).
class CsvTable {
public:
    const std::vector<std::string>& header() const { return header_; }

    std::size_t rowCount() const { return rowEnds_.size(); }
    std::size_t cellCount(std::size_t row) const { return rowEnds_[row] - rowBegin(row); }
    // The cell's text; a cell beyond the end of a short row is empty.
    std::string_view cell(std::size_t row, std::size_t column) const
    {
        if (column >= cellCount(row))
            return {};
        const std::size_t index = rowBegin(row) + column;
        const std::size_t begin = cellBegin(index);
        return std::string_view(text_).substr(begin, cellEnds_[index] - begin);
    }

private:
    friend class CsvTableBuilder;

    std::size_t rowBegin(std::size_t row) const { return row == 0 ? 0 : rowEnds_[row - 1]; }
    std::size_t cellBegin(std::size_t index) const { return index == 0 ? 0 : cellEnds_[index - 1]; }

    std::vector<std::string> header_;
    // Every data cell's text, one right after the other: cell i ends where
    // cell i + 1 begins.
    std::string text_;
    std::vector<std::size_t> cellEnds_;  // where each cell ends in text_
    std::vector<std::size_t> rowEnds_;   // one past each row's last cell
};

// Reads a whole CSV text as recibo-lote does, checked, then read with its
// cells (CsvReader), handed over in pieces of `pieceSize` bytes as a stream
// would arrive.
OrUnusable<CsvTable> readCsvTable(std::string_view input, std::size_t pieceSize = std::string_view::npos);

}  // namespace recibo::table
