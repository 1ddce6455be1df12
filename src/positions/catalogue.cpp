#include "catalogue.h"

namespace recibo::positions {

namespace detail {
// The rows themselves, defined with the data.
extern const std::array<CatalogueRow, kCatalogueRows> kCatalogueData;
}  // namespace detail

const std::array<CatalogueRow, kCatalogueRows>& catalogue()
{
    return detail::kCatalogueData;
}

std::optional<int> findByCode(std::string_view code)
{
    const auto& rows = catalogue();
    for (int row = 0; row < kCatalogueRows; ++row) {
        if (rows[row].codigocargo == code)
            return row;
    }
    return std::nullopt;
}

}  // namespace recibo::positions
