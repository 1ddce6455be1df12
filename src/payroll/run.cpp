#include "run.h"

#include <cstdlib>

#include "message_text.h"

namespace recibo::payroll {

namespace {

std::uint64_t magnitude(Currency amount)
{
    const std::int64_t raw = amount.raw();
    return raw < 0 ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
}

}  // namespace

Run::Run(const EntryValues& entry, const SelectedPosition& position, const RegionalSettings& settings,
         const PayScale& scale, Receipt& receipt)
    : entry_(entry), position_(position), settings_(settings), scale_(scale), receipt_(receipt)
{}

const std::string& Run::textOf(InputField field) const
{
    switch (field) {
    case InputField::Punbas: return position_.punbas;
    case InputField::Compbas: return position_.compbas;
    case InputField::Jorcom: return position_.jorcom;
    case InputField::Proljor: return position_.proljor;
    case InputField::Tardif: return position_.tardif;
    case InputField::Numerohorasmed: return entry_.numerohorasmed;
    case InputField::Numerohorassup: return entry_.numerohorassup;
    case InputField::Numhorascod06: return entry_.numhorascod06;
    case InputField::Numhorasincen: return entry_.numhorasincen;
    case InputField::Numhorascod113: return entry_.numhorascod113;
    case InputField::Dinasist: return entry_.dinasist;
    case InputField::Cantkm: return entry_.cantkm;
    case InputField::Cantidadhijos: return entry_.cantidadhijos;
    case InputField::Cantidadhijosdisc: break;
    }
    return entry_.cantidadhijosdisc;
}

void Run::fail(InputField field, std::string message) const
{
    throw Unusable{std::move(message), std::string(controlName(field)), textOf(field)};
}

void Run::failReading(InputField field, ReadStatus status, std::string_view range) const
{
    const std::string label = quotedForMessage(userLabel(field));
    const std::string& text = textOf(field);
    if (status == ReadStatus::NotANumber) {
        if (text.find_first_not_of(" \t") == std::string::npos)
            fail(field, "El campo " + label + " está vacío: escribí un número.");
        fail(field, "El campo " + label + " no tiene un número válido: " + quotedForMessage(text) + ".");
    }
    fail(field,
         "El número " + quotedForMessage(text) + " del campo " + label + " está fuera del rango permitido "
             + std::string(range) + ".");
}

double Run::number(InputField field)
{
    const Reading<double> reading = readNumber(textOf(field), settings_);
    if (!reading.ok())
        failReading(field, reading.status, "(es demasiado grande)");
    return reading.value;
}

std::int16_t Run::integer(InputField field)
{
    const Reading<std::int16_t> reading = readInteger(textOf(field), settings_);
    if (!reading.ok())
        failReading(field, reading.status, "(de -32768 a 32767)");
    return reading.value;
}

std::uint8_t Run::byte(InputField field)
{
    const Reading<std::uint8_t> reading = readByte(textOf(field), settings_);
    if (!reading.ok())
        failReading(field, reading.status, "(de 0 a 255)");
    return reading.value;
}

Currency Run::currency(InputField field)
{
    const Reading<Currency> reading = readCurrency(textOf(field), settings_);
    if (!reading.ok())
        failReading(field, reading.status, "para un importe");
    return reading.value;
}

Currency Run::tracked(Currency amount, InputField source)
{
    if (sourceCount_ < sources_.size())
        sources_[sourceCount_++] = {amount, source};
    return amount;
}

Currency Run::money(double value, InputField source)
{
    const std::optional<Currency> amount = Currency::fromDouble(value);
    if (!amount)
        fail(source,
             "El valor " + quotedForMessage(textOf(source)) + " del campo " + quotedForMessage(userLabel(source))
                 + " da un importe demasiado grande.");
    return tracked(*amount, source);
}

void Run::failOverflow() const
{
    // Every amount stems from the boxes; the one behind the largest amount
    // is what made the result too large.
    const Source* largest = nullptr;
    for (std::size_t i = 0; i < sourceCount_; ++i)
        if (largest == nullptr || magnitude(sources_[i].amount) > magnitude(largest->amount))
            largest = &sources_[i];
    const InputField field = largest != nullptr ? largest->field : InputField::Punbas;
    fail(field,
         "El valor " + quotedForMessage(textOf(field)) + " del campo " + quotedForMessage(userLabel(field))
             + " lleva el recibo a importes demasiado grandes.");
}

Currency Run::money(double value)
{
    const std::optional<Currency> amount = Currency::fromDouble(value);
    if (!amount)
        failOverflow();
    return *amount;
}

Currency Run::sum(std::initializer_list<Currency> amounts)
{
    return sum(std::span<const Currency>(amounts.begin(), amounts.size()));
}

Currency Run::sum(std::span<const Currency> amounts)
{
    Currency total;
    for (Currency amount : amounts) {
        const std::optional<Currency> next = total.plus(amount);
        if (!next)
            failOverflow();
        total = *next;
    }
    return total;
}

Currency Run::difference(Currency minuend, Currency subtrahend)
{
    const std::optional<Currency> result = minuend.minus(subtrahend);
    if (!result)
        failOverflow();
    return *result;
}

Currency Run::product(Currency amount, std::int64_t factor)
{
    const std::optional<Currency> result = amount.times(factor);
    if (!result)
        failOverflow();
    return *result;
}

std::int16_t Run::wholeProduct(std::uint8_t count, std::int16_t rate, InputField countField)
{
    const int result = count * rate;
    if (result > INT16_MAX || result < INT16_MIN)
        fail(countField,
             "El valor " + quotedForMessage(textOf(countField)) + " del campo "
                 + quotedForMessage(userLabel(countField)) + " da una asignación fuera de rango (más de 32767).");
    return static_cast<std::int16_t>(result);
}

namespace {
constexpr std::string_view kAmountPrefix = "$ ";
constexpr std::string_view kFirstLineAmountPrefix = "$";
}  // namespace

// Built in place in the receipt: every text is written once.
void Run::addLine(std::string_view code, std::string_view quantity, bool showsQuantity, std::string_view description,
                  Currency amount, std::string_view amountPrefix, Column column)
{
    ReceiptLine& line = receipt_.lines.emplace_back();
    line.code = code;
    line.quantity = quantity;
    line.showsQuantity = showsQuantity;
    line.description = description;
    formatAmountInto(line.amount, amount, settings_, amountPrefix);
    line.value = amount;
    line.column = column;
}

void Run::firstLine(std::string_view quantity, std::string_view description, Currency amount)
{
    addLine("001", quantity, true, description, amount, kFirstLineAmountPrefix, Column::Earnings);
}

void Run::earningsLine(std::string_view code, std::string_view quantity, std::string_view description, Currency amount)
{
    addLine(code, quantity, true, description, amount, kAmountPrefix, Column::Earnings);
}

void Run::earningsLineWithoutQuantity(std::string_view code, std::string_view description, Currency amount)
{
    addLine(code, {}, false, description, amount, kAmountPrefix, Column::Earnings);
}

void Run::deductionsLine(std::string_view code, std::string_view quantity, std::string_view description,
                         Currency amount)
{
    addLine(code, quantity, true, description, amount, kAmountPrefix, Column::Deductions);
}

void Run::writeAmount(std::string& text, Currency amount) const
{
    formatAmountInto(text, amount, settings_, kAmountPrefix);
}

}  // namespace recibo::payroll
