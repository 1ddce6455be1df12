#include "batch.h"

#include <algorithm>
#include <cerrno>
#include <istream>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <span>
#include <variant>

#include <QDate>
#include <QLocale>

#include "batch_row.h"
#include "columns.h"
#include "command_line.h"
#include "csv_reader.h"
#include "errno_text.h"
#include "json_lines.h"
#include "payroll/calculation.h"
#include "regional/regional.h"
#include "scales/scale.h"
#include "table_input.h"

namespace recibo::batch {

namespace {

constexpr std::string_view kUsage =
    "Uso: recibo-lote [--locale NOMBRE] [--escala ARCHIVO] [--pdf CARPETA] [ARCHIVO]\n"
    "     recibo-lote --escala-incluida\n"
    "\n"
    "Calcula el recibo de haberes de cada docente de una tabla CSV (ARCHIVO, o la\n"
    "entrada estándar si falta o es \"-\") y escribe un objeto JSON por fila, en\n"
    "el orden de las filas.\n"
    "\n"
    "  --locale NOMBRE  configuración regional con la que se leen los números y se\n"
    "                   escriben los importes (por ejemplo es_AR, en_US o C); sin\n"
    "                   esta opción, la del sistema\n"
    "  --escala ARCHIVO calcula con la escala salarial de ARCHIVO (TOML) en lugar\n"
    "                   de la incluida, la de septiembre de 2010\n"
    "  --escala-incluida\n"
    "                   escribe la escala incluida como archivo de escala, con\n"
    "                   comentarios: el modelo para armar una nueva\n"
    "  --pdf CARPETA    además, guarda en CARPETA (la crea si no existe) el recibo\n"
    "                   impreso de cada fila calculada, tal como lo imprime el\n"
    "                   programa de escritorio: un PDF por fila, llamado\n"
    "                   NNNN-docente.pdf (0001-Gómez-María-Laura.pdf); las filas\n"
    "                   con error no tienen PDF\n"
    "  -h, --help       muestra esta ayuda\n"
    "\n"
    "La primera línea de la tabla nombra las columnas, separadas por \",\" o \";\".\n"
    "Todas son optativas y da igual escribirlas con mayúsculas o minúsculas:\n"
    "  docente                 apellido y nombre\n"
    "  tipo                    cargo, medio, superior o vacío\n"
    "  codcargo                código del cargo; punbas, compbas, proljor, jorcom\n"
    "                          y tardif, si no están vacías, reemplazan sus puntos\n"
    "  numerohorasmed, numerohorassup, numhorascod06, numhorasincen,\n"
    "  numhorascod113, dinasist, cantkm, cantidadhijos, cantidadhijosdisc\n"
    "                          números, con el separador decimal regional\n"
    "  antiguedad              0 a 12 (0 = ninguna opción)\n"
    "  zona                    -1 a 4 (-1 = ninguna zona)\n"
    "  opincentivo, transporte, hijos, hijosdisc, conyuge\n"
    "                          0 o 1\n"
    "  Iosper, Osplad, APORTEJUB, Ley4035, AGMER, cajacomp, Seguro3011\n"
    "                          0, 1 o 2 (2 = atenuada, no cuenta)\n"
    "\n"
    "Estado de salida: 0 si se calcularon todas las filas, 1 si alguna fila tiene\n"
    "error (o no se pudo guardar su PDF), 2 si la entrada, la escala o la carpeta\n"
    "de --pdf no se pudieron usar.\n";

// Output is handed to the stream in pieces of about this size.
constexpr std::size_t kFlushSize = 1 << 18;

int unusable(std::ostream& err, const Unusable& why)
{
    err << "recibo-lote: " << why.message << '\n';
    err.flush();
    return kInputUnusable;
}

// Writes `text` to `out`. Nothing when all of it got there, otherwise the
// system's error number (0 when there is none).
std::optional<int> writeFailure(std::ostream& out, std::string_view text)
{
    errno = 0;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (out)
        return std::nullopt;
    return errno;
}

Unusable outputFailed(int error)
{
    return Unusable{"no se pudo escribir la salida" + (error != 0 ? " (" + errnoText(error) + ")" : std::string())
                    + ": revisá que el disco de destino tenga lugar y que la salida siga abierta"};
}

// The first reading: the header's columns must be known and unrepeated.
class HeaderCheck : public TableSink {
public:
    Problem header(const std::vector<std::string>& names) override
    {
        const auto resolved = resolveHeader(names);
        if (const auto* problem = std::get_if<Unusable>(&resolved))
            return *problem;
        return std::nullopt;
    }
    bool row(std::size_t, std::span<const std::string_view>) override { return true; }  // not called
};

// The second reading: each row's receipt, or why it has none, as a JSON line.
class ReceiptRows : public TableSink {
public:
    ReceiptRows(const payroll::RegionalSettings& settings, const scales::Scale& scale, std::ostream& out,
                std::ostream& err, ReceiptPdfs* pdfs)
        : settings_(settings), scale_(scale), out_(out), err_(err), pdfs_(pdfs)
    {}

    Problem header(const std::vector<std::string>& names) override
    {
        auto resolved = resolveHeader(names);
        if (const auto* problem = std::get_if<Unusable>(&resolved))
            return *problem;
        columns_ = std::move(std::get<std::vector<Column>>(resolved));
        docenteColumn_.reset();
        for (std::size_t i = 0; i < columns_.size(); ++i)
            if (columns_[i] == Column::Docente)
                docenteColumn_ = i;
        cells_.assign(columns_.size(), std::string_view());
        return std::nullopt;
    }

    bool row(std::size_t fila, std::span<const std::string_view> rowCells) override
    {
        // A cell beyond the end of a short row is empty.
        std::fill(std::copy(rowCells.begin(), rowCells.end(), cells_.begin()), cells_.end(), std::string_view());
        const std::string_view docente = docenteColumn_ ? cells_[*docenteColumn_] : std::string_view();

        const auto mapped = mapRow(columns_, cells_, scale_.pay, scale_.catalogue);
        if (const auto* bad = std::get_if<CellError>(&mapped)) {
            someRowFailed_ = true;
            lines_.appendFailure(fila, docente, RowFailure{bad->message, columnName(bad->column), bad->text});
        } else {
            const RowInput& rowInput = std::get<RowInput>(mapped);
            const auto result = payroll::calculate(rowInput.entry, rowInput.position, settings_, scale_.pay);
            if (const auto* receipt = std::get_if<payroll::Receipt>(&result)) {
                lines_.appendReceipt(fila, *receipt, scale_.name);
                if (pdfs_) {
                    if (const auto problem = pdfs_->write(fila, *receipt, rowInput.position)) {
                        someRowFailed_ = true;
                        err_ << "recibo-lote: fila " << fila << ": " << *problem << '\n';
                    }
                }
            } else {
                const auto& failure = std::get<payroll::Failure>(result);
                someRowFailed_ = true;
                lines_.appendFailure(fila, docente, RowFailure{failure.message, failure.control, failure.text});
            }
        }
        // A PDF takes milliseconds: its line goes out at once.
        return (lines_.size() < kFlushSize && !pdfs_) || flush();
    }

    // Hands the lines still held to the output; false when they did not get there.
    bool flush()
    {
        if (!writeError_)
            writeError_ = writeFailure(out_, lines_.text());
        lines_.clear();
        return !writeError_;
    }

    bool someRowFailed() const { return someRowFailed_; }
    std::optional<int> writeError() const { return writeError_; }

private:
    const payroll::RegionalSettings& settings_;
    const scales::Scale& scale_;
    std::ostream& out_;
    std::ostream& err_;
    ReceiptPdfs* pdfs_;
    std::vector<Column> columns_;
    std::optional<std::size_t> docenteColumn_;
    std::vector<std::string_view> cells_;
    JsonLines lines_;
    bool someRowFailed_ = false;
    std::optional<int> writeError_;
};

// Reads the whole table through `reader`. Why the input could not be read or
// the table cannot be used, or nothing (also when the reader's sink stopped).
Problem readThrough(TableInput& input, CsvReader& reader)
{
    for (;;) {
        auto piece = input.next();
        if (auto* problem = std::get_if<Unusable>(&piece))
            return std::move(*problem);
        const std::string_view bytes = std::get<std::string_view>(piece);
        if (bytes.empty() ? !reader.finish() : !reader.feed(bytes)) {
            if (!reader.problem().empty())
                return Unusable{reader.problem()};
            return std::nullopt;
        }
        if (bytes.empty())
            return std::nullopt;
    }
}

// What the rows are computed with once the options, the input, the whole
// table and the PDF folder have been found usable.
struct Prepared {
    payroll::RegionalSettings settings;
    scales::Scale scale;
    std::unique_ptr<TableInput> input;  // rewound, ready for the second reading
    ReceiptPdfs* pdfs = nullptr;        // with --pdf only
};

// The regional settings of --locale, or the system's; and the locale that
// writes the receipts' date.
OrUnusable<std::pair<payroll::RegionalSettings, QLocale>> regionalSettingsOf(const CommandLine& commandLine)
{
    if (!commandLine.locale)
        return std::pair{regional::systemSettings(), QLocale::system()};
    const auto named = regional::localeNamed(*commandLine.locale);
    if (!named)
        return Unusable{"configuración regional desconocida " + quotedForMessage(*commandLine.locale)};
    return std::pair{regional::settingsOf(*named), *named};
}

OrUnusable<std::unique_ptr<TableInput>> openInput(const CommandLine& commandLine, std::istream& in)
{
    if (!commandLine.file || *commandLine.file == "-")
        return std::make_unique<TableInput>(in);
    return TableInput::openFile(*commandLine.file);
}

// Everything that can make the whole run unusable, found before anything is
// computed or written: the whole table is checked, so that a table that
// cannot be used gets its message and no line at all.
OrUnusable<Prepared> prepare(const CommandLine& commandLine, std::istream& in, ReceiptPdfs* pdfs)
{
    auto regionalSettings = regionalSettingsOf(commandLine);
    if (auto* problem = std::get_if<Unusable>(&regionalSettings))
        return std::move(*problem);
    const auto& [settings, locale] = std::get<std::pair<payroll::RegionalSettings, QLocale>>(regionalSettings);
    if (commandLine.pdfDirectory && !pdfs)
        return Unusable{"esta versión de recibo-lote no escribe PDF: se compiló sin el programa de escritorio"};
    auto scale = commandLine.scaleFile ? scales::readScaleFile(*commandLine.scaleFile)
                                       : std::variant<scales::Scale, std::string>(scales::builtInScale());
    if (auto* problem = std::get_if<std::string>(&scale))
        return Unusable{std::move(*problem)};

    auto opened = openInput(commandLine, in);
    if (auto* problem = std::get_if<Unusable>(&opened))
        return std::move(*problem);
    Prepared prepared{settings, std::move(std::get<scales::Scale>(scale)),
                      std::move(std::get<std::unique_ptr<TableInput>>(opened)), nullptr};
    {
        HeaderCheck check;
        CsvReader checker(check, CsvReader::Pass::Check);
        if (auto problem = readThrough(*prepared.input, checker))
            return std::move(*problem);
    }
    // The receipts carry the day's date as the desktop program shows it, in
    // the same regional settings as the amounts.
    if (commandLine.pdfDirectory) {
        const std::string date = locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
        if (auto problem = pdfs->open(*commandLine.pdfDirectory, date, prepared.scale.receiptTitle))
            return std::move(*problem);
        prepared.pdfs = pdfs;
    }
    if (auto problem = prepared.input->rewind())
        return std::move(*problem);
    return prepared;
}

// The table is sound: every row gets its line, as soon as it is computed.
int computeRows(Prepared& prepared, std::ostream& out, std::ostream& err)
{
    ReceiptRows rows(prepared.settings, prepared.scale, out, err, prepared.pdfs);
    CsvReader reader(rows, CsvReader::Pass::ReadCells);
    const auto problem = readThrough(*prepared.input, reader);
    if (!rows.flush())
        return unusable(err, outputFailed(*rows.writeError()));
    // Only a file changed since its first reading gets here.
    if (problem)
        return unusable(err, reader.problem().empty() ? *problem : Unusable{prepared.input->changed(problem->message)});
    return rows.someRowFailed() ? kSomeRowFailed : kAllRowsComputed;
}

int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err, ReceiptPdfs* pdfs)
{
    const auto parsed = parseCommandLine(args);
    if (const auto* problem = std::get_if<Unusable>(&parsed))
        return unusable(err, *problem);
    const CommandLine& commandLine = std::get<CommandLine>(parsed);
    if (commandLine.help) {
        const auto failure = writeFailure(out, kUsage);
        return failure ? unusable(err, outputFailed(*failure)) : kAllRowsComputed;
    }
    if (commandLine.writeBuiltInScale) {
        const auto failure = writeFailure(out, scales::scaleFileText(scales::builtInScale()));
        return failure ? unusable(err, outputFailed(*failure)) : kAllRowsComputed;
    }
    auto prepared = prepare(commandLine, in, pdfs);
    if (const auto* problem = std::get_if<Unusable>(&prepared))
        return unusable(err, *problem);
    return computeRows(std::get<Prepared>(prepared), out, err);
}

}  // namespace

int runBatch(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
             ReceiptPdfs* pdfs)
{
    try {
        return run(args, in, out, err, pdfs);
    } catch (const std::bad_alloc&) {
        return unusable(err, Unusable{"no hay memoria suficiente para la tabla"});
    }
}

}  // namespace recibo::batch
