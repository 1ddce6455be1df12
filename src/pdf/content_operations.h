#pragma once

// A page's content stream as its operations: each operator with the
// operands before it, and the bytes they were written as.

#include <cstddef>
#include <string_view>
#include <vector>

#include "content_syntax.h"

namespace recibo::pdf {

struct Operation {
    std::string_view name;  // the operator: "q", "cm", "Td", "Tj"...
    std::string_view text;  // the operands and the operator, as written
    std::size_t firstOperand = 0;
    std::size_t operandCount = 0;
};

// Kept from page to page, so that its memory is taken once.
struct Operations {
    std::vector<Operation> list;
    std::vector<Object> operands;

    const Object& operand(const Operation& operation, std::size_t i) const
    {
        return operands[operation.firstOperand + i];
    }
};

// False when the content holds what this does not read (an inline image,
// a stray delimiter, operands with no operator after them).
bool splitOperations(std::string_view content, Operations& out);

}  // namespace recibo::pdf
