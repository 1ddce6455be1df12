#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "payroll/regional_settings.h"
#include "payslip/payslip_check.h"
#include "unusable/unusable.h"

namespace recibo::batch {

// recibo-lote --comparar: each row's official payslip lines, by the row of
// the teachers' table they belong to (`fila`, from 1).
using OfficialLines = std::unordered_map<std::size_t, std::vector<payslip::OfficialLine>>;

// The table of `path`, with the columns `fila`, `cod` and `importe` (any
// order, any case; others ignored), amounts in the regional decimal
// convention of `settings`. Why it cannot be used, naming the row.
OrUnusable<OfficialLines> readOfficialLines(const std::string& path, const payroll::RegionalSettings& settings);

}  // namespace recibo::batch
