#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "payroll/receipt.h"
#include "payslip/likely_causes.h"
#include "unusable/unusable.h"

namespace recibo::batch {

// A row's official payslip against its receipt (--comparar), its amounts
// written as the receipt writes them: the lines that differ, and the
// single changes that would explain them.
struct Comparison {
    struct Line {
        std::string cod;
        std::optional<std::string> oficial, calculado;  // nothing for a line on the other side only
        std::string diferencia;
    };
    bool coinciden = false;
    std::vector<Line> lineas;
    std::vector<payslip::Suggestion> sugerencias;
};

// JSON Lines collected in memory: one object per row, each ended by a line
// break. Texts must be valid UTF-8; quotes, backslashes and control
// characters are escaped, everything else is copied as it is.
class JsonLines {
public:
    // The line ends with the name of the scale that computed the receipt.
    // With `explanations`, each line object has "explicacion" and the totals
    // theirs ("explicacion_total_haberes"...).
    // With `comparison`, the object ends with "comparacion".
    void appendReceipt(std::size_t fila, const payroll::Receipt& receipt, std::string_view scaleName,
                       bool explanations = false, const Comparison* comparison = nullptr);
    // Why row `fila` has no receipt; "campo" and "texto" come from `where`
    // and `text`, and are left out when no place is to blame (no kind of
    // employment chosen).
    void appendFailure(std::size_t fila, std::string_view docente, const Unusable& failure);

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
