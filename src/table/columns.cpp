#include "columns.h"

#include <optional>

#include "payroll/message_text.h"

namespace recibo::table {

namespace {

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::optional<Column> columnNamed(std::string_view name)
{
    for (std::size_t i = 0; i < kColumnCount; ++i)
        if (equalsIgnoringAsciiCase(name, columnName(static_cast<Column>(i))))
            return static_cast<Column>(i);
    return std::nullopt;
}

}  // namespace

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

OrUnusable<std::vector<Column>> resolveHeader(const std::vector<std::string>& names)
{
    std::vector<Column> columns;
    columns.reserve(names.size());
    std::array<std::size_t, kColumnCount> seenAt{};  // 1-based position, 0 when not seen
    for (std::size_t i = 0; i < names.size(); ++i) {
        const auto column = columnNamed(names[i]);
        if (!column)
            return Unusable{"columna desconocida " + quotedForMessage(names[i]) + " en la cabecera (columna "
                            + std::to_string(i + 1) + ")"};
        std::size_t& seen = seenAt[static_cast<std::size_t>(*column)];
        if (seen != 0)
            return Unusable{"la columna " + quotedForMessage(columnName(*column))
                            + " aparece dos veces en la cabecera (columnas " + std::to_string(seen) + " y "
                            + std::to_string(i + 1) + ")"};
        seen = i + 1;
        columns.push_back(*column);
    }
    return columns;
}

std::string quotedForMessage(std::string_view text)
{
    return payroll::quotedForMessage(text);
}

}  // namespace recibo::table
