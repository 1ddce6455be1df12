#include "batch.h"

#include <algorithm>
#include <cerrno>
#include <istream>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <span>
#include <thread>
#include <variant>

#include <QDate>
#include <QLocale>

#include "command_line.h"
#include "files/system_error.h"
#include "regional/regional.h"
#include "row_pool.h"
#include "rows/json_lines.h"
#include "rows/row_computation.h"
#include "rows/table_lines.h"
#include "scales/scale.h"
#include "table/columns.h"
#include "table/csv_reader.h"
#include "table_input.h"

namespace recibo::batch {

namespace {

constexpr std::string_view kUsage =
    "Uso: recibo-lote [--locale NOMBRE] [--escala ARCHIVO]\n"
    "                 [--pdf CARPETA | --pdf-unico ARCHIVO.pdf | --svg CARPETA]\n"
    "                 [-j N] [--explicar] [--comparar OFICIAL.csv]\n"
    "                 [ARCHIVO]\n"
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
    "  --pdf-unico ARCHIVO.pdf\n"
    "                   además, guarda en ARCHIVO.pdf un solo PDF con una hoja\n"
    "                   por fila calculada, en el orden de la tabla; el archivo\n"
    "                   se escribe entero al terminar o no se escribe (uno que\n"
    "                   ya estaba se reemplaza sólo entonces). No va junto con\n"
    "                   --pdf\n"
    "  --svg CARPETA    además, guarda en CARPETA la hoja de cada fila calculada\n"
    "                   como imagen SVG, la misma hoja del PDF con su texto como\n"
    "                   texto: NNNN-docente.svg\n"
    "  -j N, --trabajos N\n"
    "                   calcula N filas a la vez (de 1 a 256; sin esta opción,\n"
    "                   una por núcleo del procesador); la salida es la misma.\n"
    "                   Con --pdf, --pdf-unico y --svg cada hilo dibuja sus hojas\n"
    "  --explicar       agrega a cada línea del recibo \"explicacion\": la cuenta\n"
    "                   que da su importe, con los números que usó el cálculo;\n"
    "                   y a cada fila calculada \"explicacion_total_haberes\",\n"
    "                   \"explicacion_total_descuentos\" y \"explicacion_liquido\"\n"
    "  --comparar OFICIAL.csv\n"
    "                   compara cada fila con las líneas de su recibo oficial,\n"
    "                   tabla con las columnas fila (de la tabla de docentes,\n"
    "                   desde 1), cod e importe: agrega \"comparacion\" con las\n"
    "                   líneas que difieren y los cambios de un solo dato que\n"
    "                   las explicarían; estado 1 si alguna fila difiere\n"
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
    "error (o no se pudo guardar su PDF o el de --pdf-unico, o difiere de su\n"
    "recibo oficial), 2 si la entrada, la escala, la carpeta de --pdf, el archivo\n"
    "de --pdf-unico o el de --comparar no se pudieron usar.\n";

// Output is handed to the stream in pieces of about this size.
constexpr std::size_t kFlushSize = 1 << 18;

// With -j, rows go to the computing threads in batches of this many; fewer
// when each is drawn as a PDF too, which takes milliseconds.
constexpr std::size_t kBatchRows = 512;
constexpr std::size_t kPdfBatchRows = 8;

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
    return Unusable{"no se pudo escribir la salida"
                    + (error != 0 ? " (" + files::systemErrorText(error, files::Access::Write) + ")" : std::string())
                    + ": revisá que el disco de destino tenga lugar y que la salida siga abierta"};
}

// The second reading: each row's receipt, or why it has none, as a JSON line;
// with `jobs` above one, computed by as many threads and written in order.
class ReceiptRows : public table::TableSink {
public:
    ReceiptRows(const payroll::RegionalSettings& settings, const scales::Scale& scale, unsigned jobs, std::ostream& out,
                std::ostream& err, ReceiptPdfs* pdfs, bool explain, const OfficialLines* official)
        : settings_(settings),
          scale_(scale),
          jobs_(jobs),
          out_(out),
          err_(err),
          pdfs_(pdfs),
          explain_(explain),
          official_(official)
    {}

    Problem header(const std::vector<std::string>& names) override
    {
        auto resolved = table::resolveHeader(names);
        if (const auto* problem = std::get_if<Unusable>(&resolved))
            return *problem;
        pool_.reset();
        computation_.emplace(std::move(std::get<std::vector<table::Column>>(resolved)), settings_, scale_, explain_,
                             official_);
        cells_.assign(computation_->columnCount(), std::string_view());
        if (jobs_ > 1) {
            PagePreparer prepare;
            WorkerStop stop;
            if (pdfs_) {
                prepare = [pdfs = pdfs_](const ComputedRow& row, std::size_t worker) {
                    return pdfs->prepare(row, worker);
                };
                stop = [pdfs = pdfs_](std::size_t worker) { pdfs->stopWorker(worker); };
            }
            pool_.emplace(*computation_, jobs_, pdfs_ ? kPdfBatchRows : kBatchRows, pdfs_ != nullptr,
                          std::move(prepare), std::move(stop));
            if (pool_->threads() == 0)  // the system would start none: one row at a time
                pool_.reset();
        }
        return std::nullopt;
    }

    bool row(std::size_t fila, std::span<const std::string_view> rowCells) override
    {
        if (pool_)
            return !pool_->add(fila, rowCells) || writeFinished(false);
        // A cell beyond the end of a short row is empty.
        std::fill(std::copy(rowCells.begin(), rowCells.end(), cells_.begin()), cells_.end(), std::string_view());
        const auto computed = computation_->compute(fila, cells_, lines_);
        if (!computed)
            someRowFailed_ = true;
        else if (pdfs_)
            writePdf(*computed);
        if (computed && computed->differsFromOfficial)
            someRowFailed_ = true;
        // A PDF takes milliseconds: its line goes out at once.
        return (lines_.size() < kFlushSize && !pdfs_) || flush();
    }

    // Hands every line still held or being computed to the output; false
    // when they did not get there.
    bool finish()
    {
        if (pool_ && !writeError_) {
            pool_->close();
            writeFinished(true);
        }
        // The threads stop here, whatever they had left, and finish their
        // pages: after a failed write they would go on drawing pages into a
        // book being dropped.
        pool_.reset();
        return flush();
    }

    bool someRowFailed() const { return someRowFailed_; }
    std::optional<int> writeError() const { return writeError_; }

private:
    bool flush()
    {
        if (!writeError_)
            writeError_ = writeFailure(out_, lines_.text());
        lines_.clear();
        return !writeError_;
    }

    // The batches the threads have finished, in order, waiting for them
    // when `wait`.
    bool writeFinished(bool wait)
    {
        while (const auto finished = pool_->next(wait)) {
            someRowFailed_ = someRowFailed_ || finished->someRowFailed;
            if (!writeError_)
                writeError_ = writeFailure(out_, finished->lines);
            if (writeError_)
                return false;
            for (const ComputedRow& computed : finished->receipts)
                writePdf(computed);
        }
        return true;
    }

    void writePdf(const ComputedRow& computed)
    {
        if (const auto problem = pdfs_->write(computed)) {
            someRowFailed_ = true;
            err_ << "recibo-lote: fila " << computed.fila << ": " << *problem << '\n';
        }
    }

    const payroll::RegionalSettings& settings_;
    const scales::Scale& scale_;
    const unsigned jobs_;
    std::ostream& out_;
    std::ostream& err_;
    ReceiptPdfs* pdfs_;
    bool explain_;
    const OfficialLines* official_;
    std::optional<RowComputation> computation_;
    std::optional<RowPool> pool_;  // with jobs_ above one; ends before computation_
    std::vector<std::string_view> cells_;
    JsonLines lines_;
    bool someRowFailed_ = false;
    std::optional<int> writeError_;
};

// Reads the whole table through `reader`. Why the input could not be read or
// the table cannot be used, or nothing (also when the reader's sink stopped).
Problem readThrough(TableInput& input, table::CsvReader& reader)
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
    ReceiptPdfs* pdfs = nullptr;        // with --pdf or --pdf-unico only
    unsigned jobs = 1;
    bool explain = false;
    std::optional<OfficialLines> official;  // with --comparar only
};

// -j's default: one thread per core.
unsigned jobsOf(const CommandLine& commandLine)
{
    if (commandLine.jobs)
        return *commandLine.jobs;
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxJobs);
}

// The regional settings of --locale, or the system's; and the locale that
// writes the receipts' date.
OrUnusable<std::pair<payroll::RegionalSettings, QLocale>> regionalSettingsOf(const CommandLine& commandLine)
{
    if (!commandLine.locale)
        return std::pair{regional::systemSettings(), QLocale::system()};
    const auto named = regional::localeNamed(*commandLine.locale);
    if (!named)
        return Unusable{"configuración regional desconocida " + table::quotedForMessage(*commandLine.locale)};
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
    const bool pages = commandLine.pdfDirectory || commandLine.pdfFile || commandLine.svgDirectory;
    if (pages && !pdfs)
        return Unusable{"esta versión de recibo-lote no escribe PDF ni SVG: se compiló sin el programa de escritorio"};
    auto scale = commandLine.scaleFile ? scales::readScaleFile(*commandLine.scaleFile)
                                       : OrUnusable<scales::Scale>(scales::builtInScale());
    if (auto* problem = std::get_if<Unusable>(&scale))
        return std::move(*problem);
    std::optional<OfficialLines> official;
    if (commandLine.compareFile) {
        auto read = payslip::readOfficialLines(*commandLine.compareFile, settings);
        if (auto* problem = std::get_if<Unusable>(&read))
            return std::move(*problem);
        official = std::move(std::get<OfficialLines>(read));
    }

    auto opened = openInput(commandLine, in);
    if (auto* problem = std::get_if<Unusable>(&opened))
        return std::move(*problem);
    Prepared prepared{settings,
                      std::move(std::get<scales::Scale>(scale)),
                      std::move(std::get<std::unique_ptr<TableInput>>(opened)),
                      nullptr,
                      jobsOf(commandLine),
                      commandLine.explain,
                      std::move(official)};
    {
        HeaderCheck check;
        table::CsvReader checker(check, table::CsvReader::Pass::Check);
        if (auto problem = readThrough(*prepared.input, checker))
            return std::move(*problem);
    }
    // The receipts carry the day's date as the desktop program shows it, in
    // the same regional settings as the amounts.
    if (pages) {
        const std::string date = locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
        const std::string& title = prepared.scale.receiptTitle;
        if (auto problem = commandLine.pdfFile ? pdfs->openOneFile(*commandLine.pdfFile, date, title)
                : commandLine.svgDirectory     ? pdfs->open(*commandLine.svgDirectory, PageFiles::Svg, date, title)
                                               : pdfs->open(*commandLine.pdfDirectory, PageFiles::Pdf, date, title))
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
    ReceiptRows rows(prepared.settings, prepared.scale, prepared.jobs, out, err, prepared.pdfs, prepared.explain,
                     prepared.official ? &*prepared.official : nullptr);
    table::CsvReader reader(rows, table::CsvReader::Pass::ReadCells);
    const auto problem = readThrough(*prepared.input, reader);
    const bool written = rows.finish();
    // --pdf-unico's file is kept only when the run went through.
    const auto pdfProblem = prepared.pdfs ? prepared.pdfs->finish(written && !problem) : std::nullopt;
    if (!written)
        return unusable(err, outputFailed(*rows.writeError()));
    // Only a file changed since its first reading gets here.
    if (problem)
        return unusable(err, reader.problem().empty() ? *problem : Unusable{prepared.input->changed(problem->message)});
    if (pdfProblem) {
        err << "recibo-lote: " << *pdfProblem << '\n';
        return kSomeRowFailed;
    }
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
    } catch (const std::exception&) {
        // Nothing else is expected from the standard library (a text longer
        // than it can hold, a thread it could not start); said, not an abort.
        return unusable(err,
                        Unusable{"el sistema no dio lo que el cálculo necesitaba (un error interno): probá "
                                 "de nuevo con menos trabajos (-j)"});
    }
}

}  // namespace recibo::batch
