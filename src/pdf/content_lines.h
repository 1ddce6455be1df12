#pragma once

// A content stream rewritten one operation a line, with what the shared
// blocks need to know of each line: whether it saves or restores the
// graphics state, changes the transformation, or opens or closes text.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace recibo::pdf {

using Matrix = std::array<double, 6>;  // a b c d e f, as "cm" takes them

struct ContentLines {
    enum class Kind : unsigned char { Other, Save, Restore, Transform, BeginText, EndText };
    struct Line {
        std::size_t begin = 0;
        std::size_t end = 0;  // past the newline
        Kind kind = Kind::Other;
        std::size_t matrix = 0;  // a Transform line's, in matrices
    };

    std::string text;
    std::vector<Line> lines;
    std::vector<Matrix> matrices;

    void clear()
    {
        text.clear();
        lines.clear();
        matrices.clear();
    }
    void add(std::string_view operation, Kind kind = Kind::Other)
    {
        const std::size_t begin = text.size();
        text.append(operation);
        text.push_back('\n');
        lines.push_back({begin, text.size(), kind, 0});
    }
    void addTransform(std::string_view operation, const Matrix& matrix)
    {
        add(operation, Kind::Transform);
        lines.back().matrix = matrices.size();
        matrices.push_back(matrix);
    }
    std::string_view lineText(const Line& line) const
    {
        return std::string_view(text).substr(line.begin, line.end - line.begin);
    }
};

}  // namespace recibo::pdf
