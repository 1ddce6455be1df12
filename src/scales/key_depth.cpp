#include "key_depth.h"

namespace recibo::scales {
namespace {

bool isBareKeyCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

}  // namespace

std::optional<DeepKey> keyDeeperThan(std::string_view text, std::size_t mostParts)
{
    std::size_t line = 1;
    std::size_t lineStart = 0;
    std::size_t parts = 0;  // parts of the dotted chain being read
    bool afterDot = false;  // a dot was read and its next part not yet
    DeepKey chainStart;
    const auto part = [&](std::size_t at) {
        if (parts == 0 || !afterDot) {
            parts = 0;
            chainStart = {line, at - lineStart + 1};
        }
        ++parts;
        afterDot = false;
    };
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            lineStart = ++i;
            parts = 0;  // a key never runs over a line
            continue;
        }
        if (c == '#') {
            while (i < text.size() && text[i] != '\n')
                ++i;
            continue;
        }
        if (c == '"' || c == '\'') {
            // A quoted key or a string value: one part, its dots its own.
            const bool multiLine = text.substr(i, 3) == std::string_view(c == '"' ? "\"\"\"" : "'''");
            const std::size_t start = i;
            i += multiLine ? 3 : 1;
            while (i < text.size()) {
                if (c == '"' && text[i] == '\\') {
                    if (i + 1 < text.size() && text[i + 1] == '\n') {
                        ++line;
                        lineStart = i + 2;
                    }
                    i += 2;
                    continue;
                }
                if (text[i] == '\n') {
                    if (!multiLine)
                        break;  // the reader will say what is wrong
                    ++line;
                    lineStart = i + 1;
                }
                if (text[i] == c && (!multiLine || text.substr(i, 3) == text.substr(start, 3))) {
                    i += multiLine ? 3 : 1;
                    break;
                }
                ++i;
            }
            part(start);
        } else if (isBareKeyCharacter(c)) {
            const std::size_t start = i;
            while (i < text.size() && isBareKeyCharacter(text[i]))
                ++i;
            part(start);
        } else {
            if (c == '.' && parts > 0 && !afterDot)
                afterDot = true;
            else if (c != ' ' && c != '\t')
                parts = 0;
            ++i;
        }
        if (parts > mostParts)
            return chainStart;
    }
    return std::nullopt;
}

}  // namespace recibo::scales
