#include "catalogue.h"

#include <algorithm>

#include "catalogue_data.h"

namespace recibo::positions {

Catalogue::Catalogue(std::vector<CatalogueRow> staticRows) : rows_(std::move(staticRows))
{
    indexCodes();
}

Catalogue::Catalogue(std::vector<CatalogueEntry> entries)
    : texts_(std::make_shared<const std::vector<CatalogueEntry>>(std::move(entries)))
{
    // The views point into the shared texts, which stay where they are.
    rows_.reserve(texts_->size());
    for (const CatalogueEntry& e : *texts_)
        rows_.push_back(
            {e.codigocargo, e.cargox, e.puntosbasicos, e.compbasico, e.tareadif, e.jorcompleta, e.proljornada});
    indexCodes();
}

// Codes are unique; where a catalogue had one twice, the first row is found,
// as a search from the top would find it.
void Catalogue::indexCodes()
{
    byCode_.clear();
    for (int row = 0; row < size(); ++row)
        byCode_.emplace_back(rows_[static_cast<std::size_t>(row)].codigocargo, row);
    std::stable_sort(byCode_.begin(), byCode_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

std::optional<int> Catalogue::findByCode(std::string_view code) const
{
    const auto found = std::lower_bound(byCode_.begin(), byCode_.end(), code,
                                        [](const auto& entry, std::string_view key) { return entry.first < key; });
    if (found == byCode_.end() || found->first != code)
        return std::nullopt;
    return found->second;
}

const Catalogue& catalogue()
{
    static const Catalogue builtIn(detail::builtInRows());
    return builtIn;
}

std::optional<int> findByCode(std::string_view code)
{
    return catalogue().findByCode(code);
}

}  // namespace recibo::positions
