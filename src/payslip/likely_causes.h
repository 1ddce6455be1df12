#pragma once

// Why an official payslip differs from ours: every single change of the
// teacher's data is tried (a computation takes about a microsecond) and
// those after which more lines agree are reported, best first.

#include <span>
#include <string>
#include <vector>

#include "payroll/regional_settings.h"
#include "payslip_check.h"
#include "scales/scale.h"
#include "table/row_input.h"

namespace recibo::payslip {

// One change that explains the payslip: the teachers' table column
// (`campo`), the cell it would hold (`valor`) instead of what it holds
// (`antes`), and how many of the compared lines then agree (`coinciden`,
// of `lineas`). For another scale, `campo` is "escala" and `valor` its name.
struct Suggestion {
    std::string campo;
    std::string valor;
    std::string antes;
    int coinciden = 0;
    int lineas = 0;
    // The codes of the lines that still differ after the change.
    std::vector<std::string> difieren;

    bool explainsAll() const { return coinciden == lineas; }
    bool operator==(const Suggestion&) const = default;
};

// The changes after which fewer lines of the official payslip differ from
// ours than now: first those after which none differs, then the best, at
// most `most`. Tried: each seniority option, each zone, each
// check box (incentive, transport, children, spouse, each deduction), the
// hours of each kind up and down by 1 to 5, the number of children and of
// disabled children, the days of absence, every position of the catalogue
// (for a teacher with a position), and each of `otherScales`. Empty when
// the payslip already agrees, or when no single change makes fewer lines
// differ.
std::vector<Suggestion> likelyCauses(const table::RowInput& teacher, std::span<const OfficialLine> official,
                                     const scales::Scale& scale, const payroll::RegionalSettings& settings,
                                     std::span<const scales::Scale* const> otherScales = {}, std::size_t most = 5);

}  // namespace recibo::payslip
