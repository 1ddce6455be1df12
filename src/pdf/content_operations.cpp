#include "content_operations.h"

namespace recibo::pdf {

bool splitOperations(std::string_view content, Operations& out)
{
    out.list.clear();
    out.operands.clear();
    Scanner scanner(content);
    std::size_t start = 0;
    std::size_t first = 0;
    for (;;) {
        scanner.skipSpace();
        if (scanner.at() >= content.size())
            break;
        if (out.operands.size() == first)
            start = scanner.at();
        Object token = scanner.read();
        if (!token)
            return false;
        if (token.kind != Object::Kind::Keyword) {
            out.operands.push_back(std::move(token));
            continue;
        }
        // An inline image's data is no PDF syntax.
        if (token.text == "BI" || token.text == "ID")
            return false;
        const std::size_t end = scanner.at();
        out.list.push_back({token.text, content.substr(start, end - start), first, out.operands.size() - first});
        first = out.operands.size();
    }
    return out.operands.size() == first;
}

}  // namespace recibo::pdf
