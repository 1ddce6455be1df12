#include "official_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fstream>
#include <optional>

#include "files/system_error.h"
#include "official_amount.h"
#include "payroll/message_text.h"
#include "payroll/number_text.h"
#include "table/columns.h"
#include "table/csv_table.h"

namespace recibo::payslip {

namespace {

// The largest official table read: far more than any school's payslips.
constexpr std::size_t kMostBytes = std::size_t{64} << 20;

std::string quotedPath(const std::string& path)
{
    return payroll::quotedPathForMessage(path);
}

std::optional<std::size_t> columnNamed(const std::vector<std::string>& header, std::string_view name)
{
    for (std::size_t i = 0; i < header.size(); ++i)
        if (table::equalsIgnoringAsciiCase(header[i], name))
            return i;
    return std::nullopt;
}

// A code as typed, quoted when it holds what would end or break the cell.
std::string quotedCell(const std::string& cell)
{
    if (cell.find_first_of(";\"\r\n") == std::string::npos)
        return cell;
    std::string quoted = "\"";
    for (const char c : cell) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

OrUnusable<OfficialLines> readOfficialLines(const std::string& path, const payroll::RegionalSettings& settings,
                                            std::string_view what)
{
    const std::string where = std::string(what) + " " + quotedPath(path);
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return Unusable{"no se puede leer " + where + ": " + files::systemErrorText(errno, files::Access::Read)};
    std::string text;
    char piece[65536];
    while (file.read(piece, sizeof piece) || file.gcount() > 0) {
        text.append(piece, static_cast<std::size_t>(file.gcount()));
        if (text.size() > kMostBytes)
            return Unusable{where + " pasa de 64 MB: no es una tabla de recibos oficiales"};
    }
    if (file.bad())
        return Unusable{"no se puede leer " + where + ": " + files::systemErrorText(errno, files::Access::Read)};

    auto read = table::readCsvTable(text);
    if (auto* problem = std::get_if<Unusable>(&read)) {
        problem->message = where + ": " + problem->message;
        return std::move(*problem);
    }
    const table::CsvTable& official = std::get<table::CsvTable>(read);
    std::size_t columns[3];
    const char* const names[] = {"fila", "cod", "importe"};
    for (int i = 0; i < 3; ++i) {
        const auto found = columnNamed(official.header(), names[i]);
        if (!found)
            return Unusable{where + " no tiene la columna \"" + names[i]
                            + "\": su primera línea tiene que nombrar fila, cod e importe"};
        columns[i] = *found;
    }

    OfficialLines lines;
    for (std::size_t row = 0; row < official.rowCount(); ++row) {
        const std::string at = where + ", línea " + std::to_string(row + 2) + ": ";
        const std::string_view fila = official.cell(row, columns[0]);
        const std::string_view code = official.cell(row, columns[1]);
        const std::string_view amount = official.cell(row, columns[2]);
        std::size_t number = 0;
        const auto [end, error] = std::from_chars(fila.data(), fila.data() + fila.size(), number);
        if (error != std::errc() || end != fila.data() + fila.size() || number == 0)
            return Unusable{at + "la fila " + payroll::quotedForMessage(std::string(fila))
                            + " no es un número de fila de la tabla de docentes (1, 2, 3…)"};
        if (code.empty())
            return Unusable{at + "falta el código de la línea (cod)"};
        const auto money = readOfficialAmount(amount, settings);
        if (!money)
            return Unusable{at + "el importe " + payroll::quotedForMessage(std::string(amount))
                            + " no es un importe: escribilo como en el recibo, por ejemplo 1234"
                            + settings.decimalSeparator + "56"};
        lines[number].push_back({std::string(code), *money});
    }
    return lines;
}

std::string writeOfficialLines(const OfficialLines& lines, const payroll::RegionalSettings& settings)
{
    std::vector<std::size_t> rows;
    for (const auto& [row, payslip] : lines)
        rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    std::string text = "fila;cod;importe\n";
    for (const std::size_t row : rows)
        for (const OfficialLine& line : lines.at(row))
            text += std::to_string(row) + ";" + quotedCell(line.code) + ";" + centsText(line.amount, settings) + "\n";
    return text;
}

}  // namespace recibo::payslip
