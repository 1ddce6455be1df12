#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct csv_parser;

#include "unusable/unusable.h"

namespace recibo::table {

// No real table has a header or a row anywhere near this long; input that
// does is not a table (a device that never ends a line, a quote never
// closed), and refusing it keeps memory bounded.
inline constexpr std::size_t kMaxRowBytes = std::size_t{1} << 20;

// What a table holds, handed over as it is read.
class TableSink {
public:
    virtual ~TableSink() = default;
    // The header's column names; why they cannot be used, which makes the
    // whole table unusable, or nothing.
    virtual Problem header(const std::vector<std::string>& names) = 0;
    // Data row `fila` (from 1, blank lines not counted), never with more
    // cells than the header has names; the views last for the call only.
    // False stops the reading.
    virtual bool row(std::size_t fila, std::span<const std::string_view> cells) = 0;
    // While checking: where the header (`fila` 0) or data row `fila` lies in
    // the text after its byte-order mark, from its first byte up to the
    // line break that ends it (not included). Blank lines are no rows.
    // False stops the reading.
    virtual bool rowExtent(std::size_t /*fila*/, std::size_t /*begin*/, std::size_t /*end*/) { return true; }
};

// Reads a CSV table as it arrives, in pieces split anywhere, holding no more
// than one row: UTF-8 with an optional byte-order mark, RFC 4180 quoting,
// `,` or `;` between cells (whichever the first non-blank line uses, see
// detectSeparator), that line as the header. Blank lines are skipped.
//
// A table is read twice: first checked, then read with its cells. The check
// finds, in the order of the text and whatever the pieces, what makes the
// whole table unusable: text that is not UTF-8, malformed quoting, no header
// line, a header the sink refuses, a data row with more cells than the
// header, a row longer than kMaxRowBytes; its messages name the line. The
// reading unquotes the cells with libcsv and hands every row to the sink,
// each checked again for its encoding; it names no lines, so that a problem
// it meets (the text changed in between) is still refused, but described
// less closely.
class CsvReader {
public:
    enum class Pass {
        Check,      // the sink gets the header alone
        ReadCells,  // the sink gets the header and every row
    };

    CsvReader(TableSink& sink, Pass pass);
    ~CsvReader();
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    // The next bytes of the table. False once the table turned out unusable
    // (problem() says why) or the sink stopped the reading.
    bool feed(std::string_view bytes);
    // The end of the table; false as for feed().
    bool finish();
    // Why the table cannot be used, in Spanish, one line; empty while it can.
    const std::string& problem() const { return problem_; }

private:
    static void onCell(void* data, std::size_t length, void* self);
    static void onRowEnd(int, void* self);

    bool consume(std::string_view bytes);
    bool detectOrWait(bool atEnd);
    bool check(std::string_view bytes);
    bool checkQuoting(std::string_view bytes);
    std::size_t skipUnquotedCells(std::string_view bytes, std::size_t from, bool& afterSeparator);
    void checkedRowEnd();
    bool read(std::string_view bytes);
    void rowEnded(std::size_t count, bool blank);
    bool fail(std::string message);

    TableSink& sink_;
    const Pass pass_;
    enum class State { Reading, Unusable, Stopped } state_ = State::Reading;
    std::string problem_;

    std::string cutOff_;   // a character that the last piece cut off
    std::string pending_;  // the text before the header line is whole
    bool byteOrderMarkChecked_ = false;
    std::optional<char> separator_;

    // Pass::Check: where the checking stands, as libcsv's states with
    // CSV_STRICT, and what it has seen of the row.
    enum class Quoting { RowNotBegun, CellNotBegun, Unquoted, Quoted, QuoteInQuoted } quoting_ = Quoting::RowNotBegun;
    bool special_[256] = {};  // the bytes that end an unquoted run
    std::size_t checkedCells_ = 0;
    bool checkedBlank_ = true;  // nothing but blanks in the row's cells
    std::size_t line_ = 1;      // of the next byte checked
    std::size_t offset_ = 0;    // of the next byte checked
    std::size_t rowLine_ = 1;   // where the row being checked began
    std::size_t rowOffset_ = 0;
    std::size_t rowEnd_ = 0;  // of the row just checked, its line break excluded

    // Pass::ReadCells.
    struct ParserDeleter {
        void operator()(csv_parser* parser) const;
    };
    std::unique_ptr<csv_parser, ParserDeleter> parser_;

    bool haveHeader_ = false;
    std::size_t columnCount_ = 0;
    std::size_t rowCount_ = 0;
    std::string rowText_;                // the row's cells, one right after the other
    std::vector<std::size_t> cellEnds_;  // where each ends in rowText_
    std::vector<std::string_view> cells_;
};

// The cell separator of a table whose text starts at `text`: `;` when the
// first non-blank line holds more semicolons than commas outside quotes,
// `,` otherwise.
char detectSeparator(std::string_view text);

}  // namespace recibo::table
