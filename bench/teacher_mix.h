#pragma once

#include <cstddef>
#include <string>

namespace recibo::bench {

// A CSV table of `rows` teachers as a school office would export it: positions
// from all over the catalogue and middle- and higher-level hours, every
// seniority bracket and zone, absences, transport, family allowances and the
// usual deductions. The same seed always gives the same table; every row
// computes.
std::string teacherTable(std::size_t rows, unsigned seed = 2010);

}  // namespace recibo::bench
