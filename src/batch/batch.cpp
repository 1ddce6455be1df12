#include "batch.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <istream>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <variant>

#include <QDate>
#include <QLocale>

#include "batch_row.h"
#include "columns.h"
#include "command_line.h"
#include "csv_table.h"
#include "json_lines.h"
#include "payroll/calculation.h"
#include "regional.h"

namespace recibo::batch {

namespace {

constexpr std::string_view kUsage =
    "Uso: recibo-lote [--locale NOMBRE] [--pdf CARPETA] [ARCHIVO]\n"
    "\n"
    "Calcula el recibo de haberes de cada docente de una tabla CSV (ARCHIVO, o la\n"
    "entrada estándar si falta o es \"-\") y escribe un objeto JSON por fila, en\n"
    "el orden de las filas.\n"
    "\n"
    "  --locale NOMBRE  configuración regional con la que se leen los números y se\n"
    "                   escriben los importes (por ejemplo es_AR, en_US o C); sin\n"
    "                   esta opción, la del sistema\n"
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
    "error (o no se pudo guardar su PDF), 2 si la entrada o la carpeta de --pdf no\n"
    "se pudieron usar.\n";

// Output is handed to the stream in pieces of about this size.
constexpr std::size_t kFlushSize = 1 << 18;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

std::string describeErrno(int error)
{
    switch (error) {
    case ENOENT: return "no existe";
    case EACCES: return "no tiene permiso de lectura";
    case EISDIR: return "es un directorio";
    default: return std::strerror(error);
    }
}

// A whole input, or why it could not be read.
struct Input {
    std::string text;
    std::optional<std::string> problem;
};

Input readFile(const std::string& path)
{
    Input input;
    errno = 0;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        input.problem = "no se puede abrir el archivo " + quotedForMessage(path) + ": " + describeErrno(errno);
        return input;
    }
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        input.text.append(buffer, n);
    if (std::ferror(file.get()))
        input.problem = "no se puede leer el archivo " + quotedForMessage(path) + ": " + describeErrno(errno);
    return input;
}

Input readStream(std::istream& in)
{
    Input input;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        input.text.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (!in)
            break;
    }
    if (in.bad())
        input.problem = "no se puede leer la entrada estándar";
    return input;
}

int unusable(std::ostream& err, std::string_view message)
{
    err << "recibo-lote: " << message << '\n';
    err.flush();
    return kInputUnusable;
}

int run(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
        ReceiptPdfs* pdfs)
{
    const auto parsed = parseCommandLine(args);
    if (const auto* problem = std::get_if<std::string>(&parsed))
        return unusable(err, *problem);
    const CommandLine& commandLine = std::get<CommandLine>(parsed);
    if (commandLine.help) {
        out << kUsage;
        out.flush();
        return out ? kAllRowsComputed : kInputUnusable;
    }

    payroll::RegionalSettings settings;
    QLocale locale = QLocale::system();
    if (commandLine.locale) {
        const auto named = regional::localeNamed(*commandLine.locale);
        if (!named)
            return unusable(err, "configuración regional desconocida " + quotedForMessage(*commandLine.locale));
        locale = *named;
        settings = regional::settingsOf(locale);
    } else {
        settings = regional::systemSettings();
    }
    if (commandLine.pdfDirectory && !pdfs)
        return unusable(err, "esta versión de recibo-lote no escribe PDF: se compiló sin el programa de escritorio");

    Input input = (!commandLine.file || *commandLine.file == "-") ? readStream(in) : readFile(*commandLine.file);
    if (input.problem)
        return unusable(err, *input.problem);

    const auto read = readCsvTable(input.text);
    std::string().swap(input.text);   // the table holds its own copy of the cells
    if (const auto* problem = std::get_if<TableError>(&read))
        return unusable(err, problem->message);
    const CsvTable& table = std::get<CsvTable>(read);

    const auto resolved = resolveHeader(table.header());
    if (const auto* problem = std::get_if<std::string>(&resolved))
        return unusable(err, *problem);
    const std::vector<Column>& columns = std::get<std::vector<Column>>(resolved);

    // The receipts carry the day's date as the desktop program shows it, in
    // the same regional settings as the amounts.
    if (commandLine.pdfDirectory) {
        const std::string date = locale.toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
        if (const auto problem = pdfs->open(*commandLine.pdfDirectory, date))
            return unusable(err, *problem);
    }

    // The table is sound: from here on every row gets its line.
    std::optional<std::size_t> docenteColumn;
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i] == Column::Docente)
            docenteColumn = i;

    JsonLines lines;
    std::vector<std::string_view> cells(columns.size());
    bool someRowFailed = false;
    for (std::size_t row = 0; row < table.rowCount(); ++row) {
        for (std::size_t i = 0; i < columns.size(); ++i)
            cells[i] = table.cell(row, i);
        const std::size_t fila = row + 1;
        const std::string_view docente = docenteColumn ? cells[*docenteColumn] : std::string_view();

        const auto mapped = mapRow(columns, cells);
        if (const auto* bad = std::get_if<CellError>(&mapped)) {
            someRowFailed = true;
            lines.appendFailure(fila, docente, RowFailure{bad->message, columnName(bad->column), bad->text});
        } else {
            const RowInput& rowInput = std::get<RowInput>(mapped);
            const auto result = payroll::calculate(rowInput.entry, rowInput.position, settings);
            if (const auto* receipt = std::get_if<payroll::Receipt>(&result)) {
                lines.appendReceipt(fila, *receipt);
                if (commandLine.pdfDirectory) {
                    if (const auto problem = pdfs->write(fila, *receipt, rowInput.position)) {
                        someRowFailed = true;
                        err << "recibo-lote: fila " << fila << ": " << *problem << '\n';
                    }
                }
            } else {
                const auto& failure = std::get<payroll::Failure>(result);
                someRowFailed = true;
                lines.appendFailure(fila, docente, RowFailure{failure.message, failure.control, failure.text});
            }
        }
        if (lines.size() >= kFlushSize) {
            out.write(lines.text().data(), static_cast<std::streamsize>(lines.size()));
            lines.clear();
            if (!out)
                break;
        }
    }
    if (out && lines.size() != 0)
        out.write(lines.text().data(), static_cast<std::streamsize>(lines.size()));
    out.flush();
    if (!out)
        return unusable(err, "no se pudo escribir la salida");
    return someRowFailed ? kSomeRowFailed : kAllRowsComputed;
}

}  // namespace

int runBatch(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
             ReceiptPdfs* pdfs)
{
    try {
        return run(args, in, out, err, pdfs);
    } catch (const std::bad_alloc&) {
        return unusable(err, "no hay memoria suficiente para la tabla");
    }
}

}  // namespace recibo::batch
