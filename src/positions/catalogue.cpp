#include "catalogue.h"

#include <algorithm>

#include "catalogue_data.h"

namespace recibo::positions {

Catalogue::Catalogue(std::vector<CatalogueRow> staticRows)
    : shared_(indexed(std::make_shared<Shared>(Shared{{}, std::move(staticRows), {}})))
{}

Catalogue::Catalogue(std::vector<CatalogueEntry> entries)
{
    auto shared = std::make_shared<Shared>(Shared{std::move(entries), {}, {}});
    // The views point into the texts, which stay where they are.
    shared->rows.reserve(shared->texts.size());
    for (const CatalogueEntry& e : shared->texts)
        shared->rows.push_back(
            {e.codigocargo, e.cargox, e.puntosbasicos, e.compbasico, e.tareadif, e.jorcompleta, e.proljornada});
    shared_ = indexed(std::move(shared));
}

// Codes are unique; where a catalogue had one twice, the first row is found,
// as a search from the top would find it.
std::shared_ptr<const Catalogue::Shared> Catalogue::indexed(std::shared_ptr<Shared> shared)
{
    shared->byCode.reserve(shared->rows.size());
    for (std::size_t row = 0; row < shared->rows.size(); ++row)
        shared->byCode.emplace_back(shared->rows[row].codigocargo, static_cast<int>(row));
    std::stable_sort(shared->byCode.begin(), shared->byCode.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    return shared;
}

std::optional<int> Catalogue::findByCode(std::string_view code) const
{
    const auto& byCode = shared_->byCode;
    const auto found = std::lower_bound(byCode.begin(), byCode.end(), code,
                                        [](const auto& entry, std::string_view key) { return entry.first < key; });
    if (found == byCode.end() || found->first != code)
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
