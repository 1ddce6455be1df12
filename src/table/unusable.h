#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace recibo::table {

// Why recibo-lote cannot go on with its options, its input, its table or its
// output: one line in Spanish on standard error, and exit status 2, with
// nothing written to standard output.
struct Unusable {
    std::string message;
};

// A value, or why there is none.
template <typename T>
using OrUnusable = std::variant<T, Unusable>;

// Nothing when all is well, or why not.
using Problem = std::optional<Unusable>;

}  // namespace recibo::table
