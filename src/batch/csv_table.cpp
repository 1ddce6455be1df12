#include "csv_table.h"

#include <algorithm>
#include <memory>
#include <string>

#include <csv.h>

#include "utf8.h"

namespace recibo::batch {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::size_t lineNumberAt(std::string_view text, std::size_t offset)
{
    offset = std::min(offset, text.size());
    return static_cast<std::size_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n')) + 1;
}

bool isBlank(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

// RFC 4180: the blanks around a cell belong to it.
int noBlankIsSpace(unsigned char)
{
    return 0;
}

struct ParserDeleter {
    void operator()(csv_parser* p) const
    {
        csv_free(p);
        delete p;
    }
};

}  // namespace

char detectSeparator(std::string_view text)
{
    std::size_t commas = 0, semicolons = 0;
    bool quoted = false;
    bool lineHasText = false;
    for (const char c : text) {
        if (quoted) {
            if (c == '"')
                quoted = false;
            continue;
        }
        if (c == '\n' || c == '\r') {
            if (lineHasText)
                break;
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
    return semicolons > commas ? ';' : ',';
}

// Collects the cells that the parser hands over, row by row.
class CsvTableBuilder {
public:
    // Cells never take more text than the input, nor are they more than the
    // separators and line ends plus one.
    CsvTableBuilder(std::string_view input, char separator)
    {
        table_.separator_ = separator;
        table_.text_.reserve(input.size());
        std::size_t ends = 1;
        for (const char c : input)
            ends += (c == separator) | (c == '\n') | (c == '\r');
        table_.cellEnds_.reserve(ends);
    }

    static void onCell(void* data, std::size_t length, void* self)
    {
        static_cast<CsvTableBuilder*>(self)->addCell(static_cast<const char*>(data), length);
    }
    static void onRowEnd(int, void* self) { static_cast<CsvTableBuilder*>(self)->endRow(); }

    bool failed() const { return !error_.empty(); }
    std::string takeError() { return std::move(error_); }
    bool hasHeader() const { return haveHeader_; }
    CsvTable take() { return std::move(table_); }

private:
    void addCell(const char* data, std::size_t length)
    {
        if (failed())
            return;
        if (length != 0)
            table_.text_.append(data, length);
        table_.cellEnds_.push_back(table_.text_.size());
    }

    void endRow()
    {
        if (failed())
            return;
        const std::size_t begin = table_.rowEnds_.empty() ? 0 : table_.rowEnds_.back();
        const std::size_t count = table_.cellEnds_.size() - begin;
        const std::string_view text = std::string_view(table_.text_).substr(table_.cellBegin(begin));
        // A line of nothing but blanks is a blank line.
        if (count == 1 && isBlank(text)) {
            dropRow(begin);
            return;
        }
        if (!haveHeader_) {
            for (std::size_t i = begin; i < table_.cellEnds_.size(); ++i) {
                const std::size_t cellBegin = table_.cellBegin(i);
                table_.header_.emplace_back(std::string_view(table_.text_).substr(cellBegin, table_.cellEnds_[i] - cellBegin));
            }
            dropRow(begin);
            haveHeader_ = true;
            return;
        }
        if (count > table_.header_.size()) {
            error_ = "la fila " + std::to_string(table_.rowEnds_.size() + 1) + " tiene " + std::to_string(count)
                + " celdas y la cabecera solo " + std::to_string(table_.header_.size()) + " columnas";
            return;
        }
        table_.rowEnds_.push_back(table_.cellEnds_.size());
    }

    // Forgets the cells of the row being read, which start at cell `begin`.
    void dropRow(std::size_t begin)
    {
        table_.text_.resize(table_.cellBegin(begin));
        table_.cellEnds_.resize(begin);
    }

    CsvTable table_;
    bool haveHeader_ = false;
    std::string error_;
};

std::variant<CsvTable, TableError> readCsvTable(std::string_view input)
{
    if (input.starts_with(kByteOrderMark))
        input.remove_prefix(kByteOrderMark.size());

    if (const auto bad = firstInvalidUtf8(input))
        return TableError{"la entrada no es texto UTF-8 válido (línea " + std::to_string(lineNumberAt(input, *bad)) + ")"};

    std::unique_ptr<csv_parser, ParserDeleter> parser(new csv_parser);
    if (csv_init(parser.get(), CSV_STRICT | CSV_STRICT_FINI) != 0)
        return TableError{"no se pudo preparar la lectura de la tabla"};
    const char separator = detectSeparator(input);
    csv_set_delim(parser.get(), static_cast<unsigned char>(separator));
    csv_set_space_func(parser.get(), noBlankIsSpace);

    CsvTableBuilder builder(input, separator);
    const std::size_t parsed =
        csv_parse(parser.get(), input.data(), input.size(), CsvTableBuilder::onCell, CsvTableBuilder::onRowEnd, &builder);
    if (parsed != input.size()) {
        if (csv_error(parser.get()) == CSV_EPARSE)
            return TableError{"comillas mal puestas en la línea " + std::to_string(lineNumberAt(input, parsed))};
        return TableError{"no hay memoria para leer la tabla"};
    }
    if (csv_fini(parser.get(), CsvTableBuilder::onCell, CsvTableBuilder::onRowEnd, &builder) != 0) {
        if (csv_error(parser.get()) == CSV_EPARSE)
            return TableError{"la entrada termina dentro de un texto entre comillas: falta la comilla de cierre"};
        return TableError{"no hay memoria para leer la tabla"};
    }
    if (builder.failed())
        return TableError{builder.takeError()};
    if (!builder.hasHeader())
        return TableError{"la entrada está vacía: falta la línea de cabecera"};
    return builder.take();
}

}  // namespace recibo::batch
