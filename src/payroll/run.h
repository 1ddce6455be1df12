#pragma once

// One run of the calculation, shared by its stages: the inputs, the receipt
// being written, the reading of boxes and the writing of lines. A stage that
// meets a text it cannot use throws why (Unusable); `calculate` catches it, so a
// failed run never hands out a receipt.

#include <array>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "calculation.h"
#include "explanation_text.h"
#include "input_field.h"
#include "number_text.h"
#include "pay_scale.h"

namespace recibo::payroll {

class Run {
public:
    Run(const EntryValues& entry, const SelectedPosition& position, const RegionalSettings& settings,
        const PayScale& scale, Receipt& receipt);

    const EntryValues& entry() const { return entry_; }
    const SelectedPosition& position() const { return position_; }
    const RegionalSettings& settings() const { return settings_; }
    const PayScale& scale() const { return scale_; }
    Receipt& receipt() { return receipt_; }
    ComputationState& state() { return receipt_.state; }

    // What a stage captured for a line that a later stage writes, and the
    // remunerative base's codes.
    struct Notes {
        ReceiptExplanations::Range item006, item084, item113, absence, remunerative;
    };
    // Explains this run's lines: every explanation is written only then.
    void explainWith(Notes& notes, ReceiptExplanations& explanations)
    {
        notes_ = &notes;
        explanations_ = &explanations;
    }
    bool explaining() const { return notes_ != nullptr; }
    ReceiptExplanations& explanations() { return *explanations_; }
    ExplanationText text() { return ExplanationText(settings_, explanations_->text); }
    // Sets the explanation of the line written last.
    void explain(ReceiptExplanations::Range range) { explanations_->lines[receipt_.lines.size() - 1] = range; }
    void explain(const ExplanationText& text) { explain(text.range()); }
    Notes& notes() { return *notes_; }

    // The box's text read as the type its item needs; a failure names the box.
    double number(InputField field);
    std::int16_t integer(InputField field);
    std::uint8_t byte(InputField field);
    Currency currency(InputField field);

    // A double amount made Currency; out of range names the box it came from.
    Currency money(double value, InputField source);
    // A Currency amount that stems from a box, remembered so that an overflow
    // further on can name the box behind the largest amount.
    Currency tracked(Currency amount, InputField source);
    // An amount derived from earlier amounts; out of range names the box
    // behind the largest amount so far.
    Currency money(double value);
    Currency sum(std::initializer_list<Currency> amounts);
    Currency sum(std::span<const Currency> amounts);
    Currency difference(Currency minuend, Currency subtrahend);
    Currency product(Currency amount, std::int64_t factor);

    // Product of a count and a whole rate as a 16-bit whole number.
    std::int16_t wholeProduct(std::uint8_t count, std::int16_t rate, InputField countField);

    // Amounts are shown after "$ ", except on line 001 ("$" alone).
    void firstLine(std::string_view quantity, std::string_view description, Currency amount);
    void earningsLine(std::string_view code, std::string_view quantity, std::string_view description, Currency amount);
    // Line 1010 shows no quantity at all.
    void earningsLineWithoutQuantity(std::string_view code, std::string_view description, Currency amount);
    void deductionsLine(std::string_view code, std::string_view quantity, std::string_view description,
                        Currency amount);

    // "$ " followed by the amount, written over `text`: the totals' captions.
    void writeAmount(std::string& text, Currency amount) const;

    const std::string& textOf(InputField field) const;

    [[noreturn]] void fail(InputField field, std::string message) const;

private:
    [[noreturn]] void failReading(InputField field, ReadStatus status, std::string_view range) const;
    [[noreturn]] void failOverflow() const;
    void addLine(std::string_view code, std::string_view quantity, bool showsQuantity, std::string_view description,
                 Currency amount, std::string_view amountPrefix, Column column);

    const EntryValues& entry_;
    const SelectedPosition& position_;
    const RegionalSettings& settings_;
    const PayScale& scale_;
    Receipt& receipt_;
    Notes* notes_ = nullptr;
    ReceiptExplanations* explanations_ = nullptr;

    struct Source {
        Currency amount;
        InputField field;
    };
    std::array<Source, 16> sources_;  // the first sourceCount_ are set
    std::size_t sourceCount_ = 0;
};

// The stages of a run, in their order.
void computeEarnings(Run& run);
void computeSupplements(Run& run);
void computeAllowances(Run& run);
void computeDeductionsAndTotals(Run& run);

}  // namespace recibo::payroll
