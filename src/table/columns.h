#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "unusable/unusable.h"

namespace recibo::table {

// The columns a table may have: the entry window's and the selection
// dialog's control names.
enum class Column : std::uint8_t {
    Docente,
    Tipo,
    Codcargo,
    Punbas,
    Compbas,
    Proljor,
    Jorcom,
    Tardif,
    Numerohorasmed,
    Numerohorassup,
    Numhorascod06,
    Numhorasincen,
    Numhorascod113,
    Antiguedad,
    Zona,
    Opincentivo,
    Dinasist,
    Transporte,
    Hijos,
    Hijosdisc,
    Conyuge,
    Cantkm,
    Cantidadhijos,
    Cantidadhijosdisc,
    Iosper,
    Osplad,
    Aportejub,
    Ley4035,
    Agmer,
    Cajacomp,
    Seguro3011,
};

inline constexpr std::size_t kColumnCount = 31;

// The control's name as the program writes it ("docente", "APORTEJUB").
std::string_view columnName(Column column);

// The column of each header name, matched without regard to ASCII case, or
// the reason the header cannot be used: a name that is no column, or a
// column named twice.
OrUnusable<std::vector<Column>> resolveHeader(const std::vector<std::string>& names);

// Equal when ASCII letters are compared without regard to case.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// A text fit for a one-line message, quoted as the calculation's messages
// quote theirs: shortened when long, with line breaks, other control
// characters and bidirectional marks written as escapes.
std::string quotedForMessage(std::string_view text);

}  // namespace recibo::table
