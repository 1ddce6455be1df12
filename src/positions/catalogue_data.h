#pragma once

#include <vector>

#include "catalogue.h"

namespace recibo::positions::detail {

// The built-in catalogue's rows, in their stored order; the views point into
// data that lasts as long as the program.
std::vector<CatalogueRow> builtInRows();

}  // namespace recibo::positions::detail
