#include "csv_reader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include <csv.h>

#include "text/utf8.h"

namespace recibo::table {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// libcsv is handed at most this much at a time, so that its buffer is
// checked, and its growth step set, every so often.
constexpr std::size_t kSliceBytes = std::size_t{1} << 16;

bool isBlank(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

// RFC 4180: the blanks around a cell belong to it.
int noBlankIsSpace(unsigned char)
{
    return 0;
}

struct FirstLine {
    char separator;
    bool whole;  // the text holds the line's end
};

FirstLine scanFirstLine(std::string_view text)
{
    std::size_t commas = 0, semicolons = 0;
    bool quoted = false;
    bool lineHasText = false;
    bool whole = false;
    for (const char c : text) {
        if (quoted) {
            if (c == '"')
                quoted = false;
            continue;
        }
        if (c == '\n' || c == '\r') {
            if (lineHasText) {
                whole = true;
                break;
            }
            continue;
        }
        if (c != ' ' && c != '\t')
            lineHasText = true;
        if (c == '"')
            quoted = true;
        else if (c == ',')
            ++commas;
        else if (c == ';')
            ++semicolons;
    }
    return {semicolons > commas ? ';' : ',', whole};
}

// `where`: "que empieza en la línea 3 ".
std::string rowTooLong(const std::string& where)
{
    return "la fila " + where + "pasa de " + std::to_string(kMaxRowBytes >> 20)
        + " MiB (ninguna fila de una planilla es tan larga): revisá que la entrada sea una tabla CSV y que no "
          "falte una comilla de cierre";
}

std::string startingAt(std::size_t line)
{
    return "que empieza en la línea " + std::to_string(line) + " ";
}

std::string notUtf8(std::size_t line)
{
    return "la entrada no es texto UTF-8 válido (línea " + std::to_string(line) + ")";
}

}  // namespace

char detectSeparator(std::string_view text)
{
    return scanFirstLine(text).separator;
}

void CsvReader::ParserDeleter::operator()(csv_parser* parser) const
{
    csv_free(parser);
    delete parser;
}

CsvReader::CsvReader(TableSink& sink, Pass pass) : sink_(sink), pass_(pass) {}

CsvReader::~CsvReader() = default;

bool CsvReader::feed(std::string_view bytes)
{
    if (state_ != State::Reading)
        return false;
    if (pass_ == Pass::ReadCells)
        return consume(bytes);
    // The check takes whole characters: the one the last piece cut off is
    // completed first.
    if (!cutOff_.empty()) {
        const std::size_t length = text::sequenceLength(static_cast<unsigned char>(cutOff_[0]));
        const std::size_t taken = std::min(length - cutOff_.size(), bytes.size());
        cutOff_.append(bytes.substr(0, taken));
        bytes.remove_prefix(taken);
        if (cutOff_.size() < length)
            return true;
        const std::string character = std::move(cutOff_);
        cutOff_.clear();
        if (!consume(character))
            return false;
    }
    const std::size_t tail = text::cutOffTail(bytes);
    cutOff_.assign(bytes.substr(bytes.size() - tail));
    return consume(bytes.substr(0, bytes.size() - tail));
}

bool CsvReader::finish()
{
    if (state_ != State::Reading)
        return false;
    if (!separator_ && !detectOrWait(true))
        return false;
    if (!cutOff_.empty())
        return fail(notUtf8(line_));  // a character cut off by the end of the text
    bool unclosedQuote = false;
    if (parser_) {
        if (csv_fini(parser_.get(), onCell, onRowEnd, this) != 0) {
            if (csv_error(parser_.get()) != CSV_EPARSE)
                return fail("no hay memoria para leer la tabla");
            unclosedQuote = true;
        }
    } else if (quoting_ == Quoting::Quoted) {
        unclosedQuote = true;
    } else if (quoting_ != Quoting::RowNotBegun) {
        ++checkedCells_;
        rowEnd_ = offset_;
        if (!haveHeader_)
            cellEnds_.push_back(rowText_.size());
        checkedRowEnd();
    }
    if (unclosedQuote)
        return fail(
            "la entrada termina dentro de un texto entre comillas"
            + (pass_ == Pass::Check ? " (la fila empieza en la línea " + std::to_string(rowLine_) + ")" : std::string())
            + ": falta la comilla de cierre");
    if (state_ != State::Reading)
        return false;
    if (!haveHeader_)
        return fail("la entrada está vacía: falta la línea de cabecera");
    return true;
}

bool CsvReader::consume(std::string_view bytes)
{
    if (separator_)
        return pass_ == Pass::Check ? check(bytes) : read(bytes);
    pending_.append(bytes);
    return detectOrWait(false);
}

// The separator comes from the first non-blank line: the text is held until
// that line is whole.
bool CsvReader::detectOrWait(bool atEnd)
{
    if (!byteOrderMarkChecked_) {
        if (!atEnd && pending_.size() < kByteOrderMark.size() && kByteOrderMark.starts_with(pending_))
            return true;
        if (std::string_view(pending_).starts_with(kByteOrderMark))
            pending_.erase(0, kByteOrderMark.size());
        byteOrderMarkChecked_ = true;
    }
    const FirstLine first = scanFirstLine(pending_);
    if (!first.whole && !atEnd) {
        if (pending_.size() <= kMaxRowBytes)
            return true;
        const std::size_t firstText = pending_.find_first_not_of(" \t\r\n");
        if (firstText == std::string::npos)
            return fail("la tabla no tiene cabecera: empieza con más de " + std::to_string(kMaxRowBytes >> 20)
                        + " MiB de líneas en blanco; revisá que la entrada sea una tabla CSV con la cabecera en su "
                          "primera línea");
        const auto text = static_cast<std::ptrdiff_t>(firstText);
        const auto line = 1 + static_cast<std::size_t>(std::count(pending_.begin(), pending_.begin() + text, '\n'));
        return fail(rowTooLong(startingAt(line)));
    }
    separator_ = first.separator;
    if (pass_ == Pass::Check) {
        for (const char c : {first.separator, '"', '\r', '\n'})
            special_[static_cast<unsigned char>(c)] = true;
    } else {
        parser_.reset(new csv_parser);
        if (csv_init(parser_.get(), CSV_STRICT | CSV_STRICT_FINI) != 0)
            return fail("no hay memoria para leer la tabla");
        csv_set_delim(parser_.get(), static_cast<unsigned char>(first.separator));
        csv_set_space_func(parser_.get(), noBlankIsSpace);
        // libcsv grows its cell buffer by a fixed step; read() doubles the
        // step as the buffer grows, so that a long cell costs linear time.
        csv_set_blk_size(parser_.get(), kSliceBytes);
    }
    const std::string text = std::move(pending_);
    pending_ = std::string();
    return consume(text);
}

bool CsvReader::check(std::string_view bytes)
{
    // What comes before a byte that is not UTF-8 is checked first: the
    // problems are told in the order of the text.
    const auto bad = text::firstInvalidUtf8(bytes);
    if (!checkQuoting(bad ? bytes.substr(0, *bad) : bytes))
        return false;
    if (bad)
        return fail(notUtf8(line_));
    // A row that does not end is refused before it fills the memory.
    if (quoting_ != Quoting::RowNotBegun && offset_ - rowOffset_ > kMaxRowBytes)
        return fail(rowTooLong(startingAt(rowLine_)));
    return true;
}

// libcsv's reading with CSV_STRICT, blanks kept, without the cells' texts
// (but for the header's).
bool CsvReader::checkQuoting(std::string_view bytes)
{
    const char separator = *separator_;
    const auto text = [&](std::size_t begin, std::size_t end) {
        const std::string_view run = bytes.substr(begin, end - begin);
        if (!haveHeader_)
            rowText_.append(run);
        if (checkedBlank_)
            checkedBlank_ = isBlank(run);
    };
    // The cell, and with `end` (the byte after the row's line break) the row.
    const auto cellEnd = [&](char c, std::size_t end) {
        ++checkedCells_;
        if (!haveHeader_)
            cellEnds_.push_back(rowText_.size());
        quoting_ = Quoting::CellNotBegun;
        if (c == separator)
            return;
        line_ += c == '\n';
        rowEnd_ = offset_ + end - 1;
        if (offset_ + end - rowOffset_ > kMaxRowBytes)
            fail(rowTooLong(startingAt(rowLine_)));
        else
            checkedRowEnd();
    };
    const auto badQuotes = [&] { return fail("comillas mal puestas en la línea " + std::to_string(line_)); };
    std::size_t i = 0;
    while (i < bytes.size() && state_ == State::Reading) {
        const char c = bytes[i];
        switch (quoting_) {
        case Quoting::RowNotBegun:
            if (c == '\r' || c == '\n') {
                line_ += c == '\n';
                ++i;
                break;
            }
            rowLine_ = line_;
            rowOffset_ = offset_ + i;
            [[fallthrough]];
        case Quoting::CellNotBegun:
            if (c == '"') {
                ++i;
                quoting_ = Quoting::Quoted;
                break;
            }
            quoting_ = Quoting::Unquoted;
            [[fallthrough]];
        case Quoting::Unquoted:
            // Cell after unquoted cell in one go: most of a table.
            for (;;) {
                // Past the row's first cell only the count of cells matters,
                // not their text: they are counted eight bytes at a time, up
                // to the next quote or line break.
                if (haveHeader_ && checkedCells_ > 0) {
                    bool afterSeparator = false;
                    const std::size_t skipped = skipUnquotedCells(bytes, i, afterSeparator);
                    if (skipped != i && afterSeparator) {
                        i = skipped;
                        quoting_ = Quoting::CellNotBegun;  // the next cell may be quoted
                        break;
                    }
                    i = skipped;
                }
                std::size_t end = i;
                while (end < bytes.size() && !special_[static_cast<unsigned char>(bytes[end])])
                    ++end;
                text(i, end);
                i = end;
                if (i == bytes.size())
                    break;
                const char stop = bytes[i++];
                if (stop == '"')
                    return badQuotes();
                cellEnd(stop, i);
                if (stop != separator)
                    break;
                if (i == bytes.size() || bytes[i] == '"')
                    break;  // the next cell starts in the next piece, or quoted
                quoting_ = Quoting::Unquoted;
            }
            break;
        case Quoting::Quoted: {
            const std::size_t quote = std::min(bytes.find('"', i), bytes.size());
            text(i, quote);
            line_ += static_cast<std::size_t>(std::count(bytes.begin() + static_cast<std::ptrdiff_t>(i),
                                                         bytes.begin() + static_cast<std::ptrdiff_t>(quote), '\n'));
            i = quote;
            if (i < bytes.size()) {
                ++i;
                quoting_ = Quoting::QuoteInQuoted;
            }
            break;
        }
        case Quoting::QuoteInQuoted:
            if (c != '"' && c != separator && c != '\r' && c != '\n')
                return badQuotes();
            ++i;
            if (c == '"') {
                text(i - 1, i);
                quoting_ = Quoting::Quoted;
            } else {
                cellEnd(c, i);
            }
            break;
        }
    }
    offset_ += i;
    return state_ == State::Reading;
}

namespace {

// A byte set to 0x80 where `word` has a zero byte, and to 0 elsewhere (no
// carry from one byte into the next, unlike the shorter formula).
std::uint64_t zeroBytes(std::uint64_t word)
{
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    return ~(((word & kLow7) + kLow7) | word | kLow7);
}

std::uint64_t everyByte(char c)
{
    return 0x0101010101010101ULL * static_cast<unsigned char>(c);
}

// How many bytes of `marks` (see zeroBytes) are set; without a popcount
// instruction on the baseline processor, a multiplication adds them up.
unsigned marked(std::uint64_t marks)
{
    return static_cast<unsigned>(((marks >> 7) * 0x0101010101010101ULL) >> 56);
}

// The index of the first byte of a word loaded from memory with memcpy
// whose mark (see zeroBytes) is set; `marks` is not 0.
int firstMarked(std::uint64_t marks)
{
    if constexpr (std::endian::native == std::endian::little)
        return std::countr_zero(marks) / 8;
    else
        return std::countl_zero(marks) / 8;
}

}  // namespace

// From `from`, inside an unquoted cell that is not the first of its row:
// counts the separators up to the next quote or line break, or to the last
// whole eight bytes of `bytes`, and returns where it stopped; `afterSeparator`
// tells whether the byte before that is a separator.
std::size_t CsvReader::skipUnquotedCells(std::string_view bytes, std::size_t from, bool& afterSeparator)
{
    const std::uint64_t separators = everyByte(*separator_);
    const std::uint64_t quotes = everyByte('"'), returns = everyByte('\r'), newlines = everyByte('\n');
    std::size_t i = from;
    while (bytes.size() - i >= sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, sizeof word);
        const std::uint64_t stops = zeroBytes(word ^ quotes) | zeroBytes(word ^ returns) | zeroBytes(word ^ newlines);
        const std::uint64_t cellEnds = zeroBytes(word ^ separators);
        if (stops == 0) {
            checkedCells_ += static_cast<std::size_t>(marked(cellEnds));
            i += sizeof word;
            continue;
        }
        const int stop = firstMarked(stops);
        for (int k = 0; k < stop; ++k)
            checkedCells_ += bytes[i + static_cast<std::size_t>(k)] == *separator_;
        i += static_cast<std::size_t>(stop);
        break;
    }
    afterSeparator = i > from && bytes[i - 1] == *separator_;
    return i;
}

void CsvReader::checkedRowEnd()
{
    rowEnded(checkedCells_, checkedCells_ == 1 && checkedBlank_);
    checkedCells_ = 0;
    checkedBlank_ = true;
    rowText_.clear();
    cellEnds_.clear();
    quoting_ = Quoting::RowNotBegun;
}

bool CsvReader::read(std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::string_view slice = bytes.substr(0, kSliceBytes);
        bytes.remove_prefix(slice.size());
        const std::size_t parsed = csv_parse(parser_.get(), slice.data(), slice.size(), onCell, onRowEnd, this);
        if (state_ != State::Reading)
            return false;
        if (parsed != slice.size())
            return fail(csv_error(parser_.get()) == CSV_EPARSE ? "comillas mal puestas"
                                                               : "no hay memoria para leer la tabla");
        const std::size_t buffer = csv_get_buffer_size(parser_.get());
        if (buffer > kMaxRowBytes || rowText_.size() > kMaxRowBytes)
            return fail(rowTooLong(std::string()));
        if (buffer > kSliceBytes)
            csv_set_blk_size(parser_.get(), buffer);
    }
    return true;
}

void CsvReader::onCell(void* data, std::size_t length, void* self)
{
    auto& reader = *static_cast<CsvReader*>(self);
    if (reader.state_ != State::Reading)
        return;
    if (length != 0)
        reader.rowText_.append(static_cast<const char*>(data), length);
    reader.cellEnds_.push_back(reader.rowText_.size());
}

void CsvReader::onRowEnd(int, void* self)
{
    auto& reader = *static_cast<CsvReader*>(self);
    if (reader.state_ == State::Reading)
        reader.rowEnded(reader.cellEnds_.size(), reader.cellEnds_.size() == 1 && isBlank(reader.rowText_));
    reader.rowText_.clear();
    reader.cellEnds_.clear();
}

// `blank`: a line of nothing but blanks, which is skipped.
void CsvReader::rowEnded(std::size_t count, bool blank)
{
    if (count == 1 && blank)
        return;
    // The reading does not take the check's word for the encoding: a file
    // changed after it was checked is stopped before such a row goes on.
    if (pass_ == Pass::ReadCells && text::firstInvalidUtf8(rowText_)) {
        fail("una fila no es texto UTF-8 válido");
        return;
    }
    cells_.clear();
    for (std::size_t i = 0, begin = 0; i < cellEnds_.size(); begin = cellEnds_[i++])
        cells_.push_back(std::string_view(rowText_).substr(begin, cellEnds_[i] - begin));
    if (!haveHeader_) {
        haveHeader_ = true;
        columnCount_ = count;
        if (auto problem = sink_.header(std::vector<std::string>(cells_.begin(), cells_.end())))
            fail(std::move(problem->message));
        else if (pass_ == Pass::Check && !sink_.rowExtent(0, rowOffset_, rowEnd_))
            state_ = State::Stopped;
        return;
    }
    ++rowCount_;
    if (pass_ == Pass::Check && !sink_.rowExtent(rowCount_, rowOffset_, rowEnd_)) {
        state_ = State::Stopped;
        return;
    }
    if (count > columnCount_) {
        fail("la fila " + std::to_string(rowCount_) + " tiene " + std::to_string(count) + " celdas y la cabecera solo "
             + std::to_string(columnCount_) + " columnas");
        return;
    }
    if (pass_ == Pass::ReadCells && !sink_.row(rowCount_, cells_))
        state_ = State::Stopped;
}

bool CsvReader::fail(std::string message)
{
    state_ = State::Unusable;
    problem_ = std::move(message);
    return false;
}

}  // namespace recibo::table
