#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "payroll/regional_settings.h"
#include "payslip_check.h"
#include "unusable/unusable.h"

namespace recibo::payslip {

// The official payslips of a teachers' table, each row's lines by the row
// they belong to (`fila`, from 1): what recibo-lote --comparar reads, and
// what the desktop keeps beside a planilla.
using OfficialLines = std::unordered_map<std::size_t, std::vector<OfficialLine>>;

// The table of `path`, with the columns `fila`, `cod` and `importe` (any
// order, any case; others ignored), amounts in the regional decimal
// convention of `settings`. Why it cannot be used, naming `what` (the file
// as the user knows it) and the row.
OrUnusable<OfficialLines> readOfficialLines(const std::string& path, const payroll::RegionalSettings& settings,
                                            std::string_view what = "el archivo de --comparar");

// The same table as text, rows in order, separated by semicolons (the
// amounts may carry a decimal comma), amounts to the cent.
std::string writeOfficialLines(const OfficialLines& lines, const payroll::RegionalSettings& settings);

}  // namespace recibo::payslip
