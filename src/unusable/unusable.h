#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace recibo {

// Why some input cannot be used: a box's text, a cell or a whole teachers'
// table, a scale file, a file to open, an option of recibo-lote. `message`
// is one Spanish line that names what is wrong and what to do. `where` names
// the place as the program knows it (a box's control name, a column's name),
// empty when the message alone says where; `text` quotes what was found there.
struct Unusable {
    std::string message;
    std::string where = {};
    std::string text = {};

    bool operator==(const Unusable&) const = default;
};

// A value, or why there is none.
template <typename T>
using OrUnusable = std::variant<T, Unusable>;

// Nothing when all is well, or why not.
using Problem = std::optional<Unusable>;

}  // namespace recibo
