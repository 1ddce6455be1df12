#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "payroll/receipt.h"

namespace recibo::batch {

// Why one row has no receipt. `field` is empty when no control is to blame
// (no kind of employment chosen); then the object carries no "campo" and no
// "texto".
struct RowFailure {
    std::string_view message;
    std::string_view field;
    std::string_view text;
};

// JSON Lines collected in memory: one object per row, each ended by a line
// break. Texts must be valid UTF-8; quotes, backslashes and control
// characters are escaped, everything else is copied as it is.
class JsonLines {
public:
    // The line ends with the name of the scale that computed the receipt.
    // With `explanations`, each line object has "explicacion" and the totals
    // theirs ("explicacion_total_haberes"...).
    void appendReceipt(std::size_t fila, const payroll::Receipt& receipt, std::string_view scaleName,
                       bool explanations = false);
    void appendFailure(std::size_t fila, std::string_view docente, const RowFailure& failure);

    std::string_view text() const { return {data_.get(), used_}; }
    std::size_t size() const { return used_; }
    void clear() { used_ = 0; }

private:
    // Room for at least `bytes` more; returns where to write.
    char* reserve(std::size_t bytes);

    std::unique_ptr<char[]> data_;
    std::size_t capacity_ = 0;
    std::size_t used_ = 0;
};

}  // namespace recibo::batch
