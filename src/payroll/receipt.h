#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "currency.h"

namespace recibo::payroll {

enum class Column : std::uint8_t { Earnings, Deductions };

// One line of the receipt grid. Code and description are fixed texts of the
// pay scale; quantity and amount are the texts shown.
struct ReceiptLine {
    std::string_view code;
    std::string_view description;
    std::string quantity;
    std::string amount;
    Currency value;  // the amount itself, as computed
    Column column = Column::Earnings;
    // Line "1010" shows no quantity at all (its quantity cell stays hidden).
    bool showsQuantity = true;
};

// The texts of the receipt header that a run sets.
struct ReceiptHeader {
    std::string_view label11;  // "Código del cargo" or "Cantidad de horas"
    std::string numcargo;
    std::string punbasicos;
    std::string carsel;
    // The position's point labels and boxes of the panel are shown for a
    // position and hidden for hours.
    bool showsPositionPoints = false;
};

// The amounts and counts a run computes, by their names in the pay scale.
struct ComputationState {
    std::int16_t puntosbas = 0, puntosjor = 0, puntosprol = 0;
    Currency puntostd;
    Currency impbasico, impcompbas, impjorcom, impproljor, impjornada, imptardif;
    Currency imp006, impincentivo, imp113;
    Currency sumabase, impantig, impzona, imp014, impplus, descinasist, remunerativo;
    std::uint8_t pctantig = 0, pctzona = 0;
    Currency impminimo, imptransporte, imphijos, imphijosdisc, impconyuge;
    std::int16_t kilometros = 0, impfamnum = 0;
    std::uint8_t canthijos = 0, canthijosdisc = 0;
    Currency impiosper, imposplad, impaportejub, impley4035, impagmer, impcajacomp, impseguro;
    Currency totalhaberes, totaldescuentos, impliquido;
};

inline constexpr int kMaxReceiptLines = 26;

// The column a line of `code` stands in on every receipt, or nothing for a
// code no receipt has: what places a payslip's lines in its totals.
std::optional<Column> lineColumn(std::string_view code);

// Each line's and each total's operation with its operands as the run used
// them, in Spanish and in the receipt's number style.
// All of a receipt's explanations are written one after another in `text`;
// each line and total holds where its own stands.
struct ReceiptExplanations {
    struct Range {
        std::uint32_t begin = 0, end = 0;
    };
    std::string text;
    std::array<Range, kMaxReceiptLines> lines;  // in the receipt's line order
    Range thaberes, tdescuentos, liquido;

    std::string_view of(Range range) const
    {
        return std::string_view(text).substr(range.begin, range.end - range.begin);
    }
};

struct Receipt {
    ReceiptHeader header;
    std::string docente;
    std::vector<ReceiptLine> lines;  // in receipt order; lines.size() rows written
    std::string thaberes;            // the captions of thaberes, tdescuentos and liquido
    std::string tdescuentos;
    std::string liquido;
    ComputationState state;
    // Only when the run was asked to explain its amounts; shared by copies,
    // never changed once the run has ended.
    std::shared_ptr<const ReceiptExplanations> explanations;

    int rowsWritten() const { return static_cast<int>(lines.size()); }
    // The explanation of line `index`; empty when the run wrote none.
    std::string_view explanation(std::size_t index) const
    {
        return explanations && index < lines.size() && index < explanations->lines.size()
            ? explanations->of(explanations->lines[index])
            : std::string_view();
    }
};

}  // namespace recibo::payroll
