#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "payroll/calculation.h"
#include "regional_test_support.h"

namespace recibo::testing {

using namespace payroll;

// A receipt line as the receipt window shows it.
struct ShownLine {
    std::string code, quantity, description, amount;
    Column column;
    bool operator==(const ShownLine&) const = default;
};

inline void PrintTo(const ShownLine& line, std::ostream* out)
{
    *out << "{" << line.code << " | " << line.quantity << " | " << line.description << " | " << line.amount
         << (line.column == Column::Earnings ? " | haberes}" : " | descuentos}");
}

inline std::vector<ShownLine> shown(const Receipt& receipt)
{
    std::vector<ShownLine> lines;
    for (const ReceiptLine& line : receipt.lines)
        lines.push_back(
            {std::string(line.code), line.quantity, std::string(line.description), line.amount, line.column});
    return lines;
}

inline std::vector<std::string> codes(const Receipt& receipt)
{
    std::vector<std::string> result;
    for (const ReceiptLine& line : receipt.lines)
        result.emplace_back(line.code);
    return result;
}

// The first line with that code (and description, when given), or null.
inline const ReceiptLine* findLine(const Receipt& receipt, std::string_view code, std::string_view description = {})
{
    for (const ReceiptLine& line : receipt.lines)
        if (line.code == code && (description.empty() || line.description == description))
            return &line;
    return nullptr;
}

// Runs the calculation under each regional setting, with the entry values
// and the dialog's boxes that a test sets up.
class CalculationTest : public ::testing::TestWithParam<RegionalSettings> {
protected:
    EntryValues entry;
    SelectedPosition position;

    const RegionalSettings& settings() const { return GetParam(); }
    std::string L(const std::string& pointText) const { return local(pointText, settings()); }

    void choosePosition(const std::string& punbas, const std::string& compbas = "0", const std::string& jorcom = "0",
                        const std::string& proljor = "0", const std::string& tardif = "0")
    {
        entry.kind = EmploymentKind::Position;
        position = {L(punbas), L(compbas), L(proljor), L(jorcom), L(tardif), "600", L(punbas), "Cargo de prueba"};
    }

    void chooseSeniority(int option)
    {
        static constexpr int kPercent[] = {0, 10, 15, 30, 40, 50, 60, 70, 80, 100, 110, 120};
        entry.seniorityOption = option;
        entry.pctantig = static_cast<std::uint8_t>(kPercent[option - 1]);
        entry.porcantig = std::to_string(kPercent[option - 1]) + " %";
    }

    Receipt run()
    {
        CalculationResult result = calculate(entry, position, settings());
        if (const Unusable* failure = std::get_if<Unusable>(&result)) {
            ADD_FAILURE() << "unexpected failure on " << failure->where << ": " << failure->message;
            return {};
        }
        return std::get<Receipt>(std::move(result));
    }

    Unusable runFailing()
    {
        CalculationResult result = calculate(entry, position, settings());
        if (!std::holds_alternative<Unusable>(result)) {
            ADD_FAILURE() << "the run should have failed";
            return {};
        }
        return std::get<Unusable>(std::move(result));
    }

    // The amount text of the line as shown, or "(absent)".
    std::string amountOf(std::string_view code, std::string_view description = {})
    {
        const Receipt receipt = run();
        const ReceiptLine* line = findLine(receipt, code, description);
        return line != nullptr ? line->amount : "(absent)";
    }
};

}  // namespace recibo::testing
