#include "csv_table.h"

#include <algorithm>

namespace recibo::table {

// Keeps every row the reader hands over.
class CsvTableBuilder : public TableSink {
public:
    Problem header(const std::vector<std::string>& names) override
    {
        table_.header_ = names;
        return std::nullopt;
    }

    bool row(std::size_t, std::span<const std::string_view> cells) override
    {
        for (const std::string_view cell : cells) {
            table_.text_.append(cell);
            table_.cellEnds_.push_back(table_.text_.size());
        }
        table_.rowEnds_.push_back(table_.cellEnds_.size());
        return true;
    }

    CsvTable take() { return std::move(table_); }

private:
    CsvTable table_;
};

OrUnusable<CsvTable> readCsvTable(std::string_view input, std::size_t pieceSize)
{
    CsvTableBuilder builder;
    pieceSize = std::max<std::size_t>(pieceSize, 1);
    for (const CsvReader::Pass pass : {CsvReader::Pass::Check, CsvReader::Pass::ReadCells}) {
        CsvReader reader(builder, pass);
        bool read = true;
        for (std::size_t at = 0; read && at < input.size(); at += pieceSize)
            read = reader.feed(input.substr(at, pieceSize));
        if (!read || !reader.finish())
            return Unusable{reader.problem()};
    }
    return builder.take();
}

}  // namespace recibo::table
