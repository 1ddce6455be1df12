#include "catalogue.h"

namespace recibo::positions {

namespace detail {
// The rows themselves, defined with the data.
extern const std::array<CatalogueRow, kCatalogueRows> kCatalogueData;
}  // namespace detail

Catalogue::Catalogue(std::vector<CatalogueRow> staticRows) : rows_(std::move(staticRows)) {}

Catalogue::Catalogue(std::vector<CatalogueEntry> entries)
    : texts_(std::make_shared<const std::vector<CatalogueEntry>>(std::move(entries)))
{
    // The views point into the shared texts, which stay where they are.
    rows_.reserve(texts_->size());
    for (const CatalogueEntry& e : *texts_)
        rows_.push_back(
            {e.codigocargo, e.cargox, e.puntosbasicos, e.compbasico, e.tareadif, e.jorcompleta, e.proljornada});
}

std::optional<int> Catalogue::findByCode(std::string_view code) const
{
    for (int row = 0; row < size(); ++row) {
        if (rows_[static_cast<std::size_t>(row)].codigocargo == code)
            return row;
    }
    return std::nullopt;
}

const Catalogue& catalogue()
{
    static const Catalogue builtIn(
        std::vector<CatalogueRow>(detail::kCatalogueData.begin(), detail::kCatalogueData.end()));
    return builtIn;
}

std::optional<int> findByCode(std::string_view code)
{
    return catalogue().findByCode(code);
}

}  // namespace recibo::positions
