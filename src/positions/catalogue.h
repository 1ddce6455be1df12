#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace recibo::positions {

// One position of the built-in catalogue, every field the stored text.
struct CatalogueRow {
    std::string_view codigocargo;    // three digits, unique
    std::string_view cargox;         // name, not unique, used exactly as stored
    std::string_view puntosbasicos;  // base points
    std::string_view compbasico;     // basic-complement points
    std::string_view tareadif;       // differentiated-task points
    std::string_view jorcompleta;    // full-working-day points
    std::string_view proljornada;    // extended-working-day points
};

inline constexpr int kCatalogueRows = 311;

// The 311 positions in their stored order (alphabetical by name, ignoring
// case); the row number is the only key that links a row's fields.
const std::array<CatalogueRow, kCatalogueRows>& catalogue();

// The row whose code equals the whole text exactly (no trimming, no prefix).
std::optional<int> findByCode(std::string_view code);

}  // namespace recibo::positions
