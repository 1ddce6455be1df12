#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace recibo::positions {

// One position of a catalogue, every field the stored text.
struct CatalogueRow {
    std::string_view codigocargo;    // three digits, unique
    std::string_view cargox;         // name, not unique, used exactly as stored
    std::string_view puntosbasicos;  // base points
    std::string_view compbasico;     // basic-complement points
    std::string_view tareadif;       // differentiated-task points
    std::string_view jorcompleta;    // full-working-day points
    std::string_view proljornada;    // extended-working-day points

    bool operator==(const CatalogueRow&) const = default;
};

// A catalogue row's fields as owned texts, for building a catalogue.
struct CatalogueEntry {
    std::string codigocargo, cargox, puntosbasicos, compbasico, tareadif, jorcompleta, proljornada;
};

inline constexpr int kCatalogueRows = 311;  // of the built-in catalogue

// The positions of a pay scale in their stored order; the row number is the
// only key that links a row's fields. A copy shares the rows, which never
// change.
class Catalogue {
public:
    // Rows whose texts live as long as the program (the built-in data).
    explicit Catalogue(std::vector<CatalogueRow> staticRows);
    // Rows that own their texts.
    explicit Catalogue(std::vector<CatalogueEntry> entries);
    // Copies share the rows; with these declared, a move copies too, so a
    // catalogue moved from keeps its rows.
    Catalogue(const Catalogue&) = default;
    Catalogue& operator=(const Catalogue&) = default;

    int size() const { return static_cast<int>(shared_->rows.size()); }
    const CatalogueRow& operator[](int row) const { return shared_->rows[static_cast<std::size_t>(row)]; }
    std::vector<CatalogueRow>::const_iterator begin() const { return shared_->rows.begin(); }
    std::vector<CatalogueRow>::const_iterator end() const { return shared_->rows.end(); }

    // The row whose code equals the whole text exactly (no trimming, no prefix).
    std::optional<int> findByCode(std::string_view code) const;

    bool operator==(const Catalogue& other) const { return shared_->rows == other.shared_->rows; }

private:
    struct Shared {
        std::vector<CatalogueEntry> texts;  // the rows' own texts, when they have them
        std::vector<CatalogueRow> rows;
        // The rows by code, for findByCode: every change of a payslip's
        // likely causes looks a position up.
        std::vector<std::pair<std::string_view, int>> byCode;
    };
    static std::shared_ptr<const Shared> indexed(std::shared_ptr<Shared> shared);

    std::shared_ptr<const Shared> shared_;
};

// The built-in catalogue: the 311 positions of the September 2010 scale in
// their stored order (alphabetical by name, ignoring case).
const Catalogue& catalogue();

// The row of the built-in catalogue whose code equals the whole text exactly.
std::optional<int> findByCode(std::string_view code);

}  // namespace recibo::positions
