#include "json_lines.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace recibo::batch {

namespace {

constexpr std::array<bool, 256> makeEscapeTable()
{
    std::array<bool, 256> table{};
    for (int c = 0; c < 0x20; ++c)
        table[static_cast<std::size_t>(c)] = true;
    table['"'] = true;
    table['\\'] = true;
    return table;
}

constexpr std::array<bool, 256> kNeedsEscape = makeEscapeTable();

// Whether any of eight bytes is a control character, a quote or a backslash
// (the classic "has a byte less than n" and "has a zero byte" tests).
constexpr bool needsEscape(std::uint64_t bytes)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    const std::uint64_t control = (bytes - kOnes * 0x20) & ~bytes & kHighBits;
    const std::uint64_t quotes = bytes ^ (kOnes * '"');
    const std::uint64_t backslashes = bytes ^ (kOnes * '\\');
    return (control | ((quotes - kOnes) & ~quotes & kHighBits) | ((backslashes - kOnes) & ~backslashes & kHighBits))
        != 0;
}

// The most a text can take once escaped and quoted: six bytes for each of
// its bytes (a control character as \u00XX) and the two quotes.
constexpr std::size_t escapedBound(std::string_view text)
{
    return 6 * text.size() + 2;
}

// Objects are written through a raw pointer into room reserved beforehand
// for the longest form they can take.
class Cursor {
public:
    explicit Cursor(char* at) : at_(at) {}
    char* end() const { return at_; }

    template <std::size_t N>
    void raw(const char (&literal)[N])
    {
        std::memcpy(at_, literal, N - 1);
        at_ += N - 1;
    }

    void raw(char c) { *at_++ = c; }

    void number(std::size_t value) { at_ = std::to_chars(at_, at_ + 24, value).ptr; }

    void character(char ch)
    {
        static constexpr char kHex[] = "0123456789abcdef";
        const auto c = static_cast<unsigned char>(ch);
        if (!kNeedsEscape[c]) [[likely]] {
            *at_++ = ch;
        } else if (c == '"' || c == '\\') {
            *at_++ = '\\';
            *at_++ = ch;
        } else {
            std::memcpy(at_, "\\u00", 4);
            at_[4] = kHex[c >> 4];
            at_[5] = kHex[c & 0xF];
            at_ += 6;
        }
    }

    void string(std::string_view text)
    {
        *at_++ = '"';
        const char* from = text.data();
        const char* const end = from + text.size();
        // Eight bytes at a time while none of them needs an escape.
        while (end - from >= 8) {
            std::uint64_t chunk;
            std::memcpy(&chunk, from, 8);
            if (needsEscape(chunk))
                break;
            std::memcpy(at_, from, 8);
            at_ += 8;
            from += 8;
        }
        for (; from != end; ++from)
            character(*from);
        *at_++ = '"';
    }

private:
    char* at_;
};

// Fixed text of a receipt object around its strings, lines aside, and of one
// line around its strings; both generous.
constexpr std::size_t kReceiptFrame = 256;
constexpr std::size_t kLineFrame = 64;
constexpr std::size_t kFailureFrame = 128;
// What explanations add around their strings: the three totals' keys, and
// one key per line.
constexpr std::size_t kExplanationsFrame = 128;
constexpr std::size_t kLineExplanationFrame = 32;
// A comparison's keys, and those of each line and suggestion in it.
constexpr std::size_t kComparisonFrame = 96;
constexpr std::size_t kComparedLineFrame = 80;
constexpr std::size_t kSuggestionFrame = 64;

}  // namespace

char* JsonLines::reserve(std::size_t bytes)
{
    if (capacity_ - used_ < bytes) {
        const std::size_t capacity = std::max(2 * capacity_, used_ + bytes);
        std::unique_ptr<char[]> grown(new char[capacity]);
        if (used_ != 0)
            std::memcpy(grown.get(), data_.get(), used_);
        data_ = std::move(grown);
        capacity_ = capacity;
    }
    return data_.get() + used_;
}

void JsonLines::appendReceipt(std::size_t fila, const payroll::Receipt& receipt, std::string_view scaleName,
                              bool explanations, const Comparison* comparison)
{
    const payroll::ReceiptHeader& header = receipt.header;
    std::size_t bound = kReceiptFrame + escapedBound(scaleName) + escapedBound(receipt.docente)
        + escapedBound(header.label11) + escapedBound(header.numcargo) + escapedBound(header.punbasicos)
        + escapedBound(header.carsel) + escapedBound(receipt.thaberes) + escapedBound(receipt.tdescuentos)
        + escapedBound(receipt.liquido);
    for (const payroll::ReceiptLine& line : receipt.lines)
        bound += kLineFrame + escapedBound(line.code) + escapedBound(line.quantity) + escapedBound(line.description)
            + escapedBound(line.amount);
    // Empty texts for a receipt computed without them.
    static const payroll::ReceiptExplanations kNone;
    const payroll::ReceiptExplanations& explained = receipt.explanations ? *receipt.explanations : kNone;
    if (explanations) {
        bound += kExplanationsFrame + escapedBound(explained.text);
        for (std::size_t i = 0; i < receipt.lines.size(); ++i)
            bound += kLineExplanationFrame + escapedBound(receipt.explanation(i));
    }
    if (comparison) {
        bound += kComparisonFrame;
        for (const Comparison::Line& line : comparison->lineas)
            bound += kComparedLineFrame + escapedBound(line.cod) + escapedBound(line.oficial.value_or(""))
                + escapedBound(line.calculado.value_or("")) + escapedBound(line.diferencia);
        for (const payslip::Suggestion& suggestion : comparison->sugerencias)
            bound += kSuggestionFrame + escapedBound(suggestion.campo) + escapedBound(suggestion.valor);
    }

    Cursor out(reserve(bound));
    out.raw("{\"fila\":");
    out.number(fila);
    out.raw(",\"docente\":");
    out.string(receipt.docente);
    out.raw(",\"cabecera\":{\"Label11\":");
    out.string(header.label11);
    out.raw(",\"numcargo\":");
    out.string(header.numcargo);
    out.raw(",\"punbasicos\":");
    out.string(header.punbasicos);
    out.raw(",\"carsel\":");
    out.string(header.carsel);
    out.raw("},\"lineas\":[");
    for (std::size_t i = 0; i < receipt.lines.size(); ++i) {
        const payroll::ReceiptLine& line = receipt.lines[i];
        if (i != 0)
            out.raw(',');
        out.raw("{\"cod\":");
        out.string(line.code);
        // Line "1010" never shows its quantity: no key at all.
        if (line.showsQuantity) {
            out.raw(",\"cantidad\":");
            out.string(line.quantity);
        }
        out.raw(",\"descripcion\":");
        out.string(line.description);
        if (line.column == payroll::Column::Earnings)
            out.raw(",\"haberes\":");
        else
            out.raw(",\"descuentos\":");
        out.string(line.amount);
        if (explanations) {
            out.raw(",\"explicacion\":");
            out.string(receipt.explanation(i));
        }
        out.raw('}');
    }
    out.raw("],\"total_haberes\":");
    out.string(receipt.thaberes);
    out.raw(",\"total_descuentos\":");
    out.string(receipt.tdescuentos);
    out.raw(",\"liquido\":");
    out.string(receipt.liquido);
    if (explanations) {
        out.raw(",\"explicacion_total_haberes\":");
        out.string(explained.of(explained.thaberes));
        out.raw(",\"explicacion_total_descuentos\":");
        out.string(explained.of(explained.tdescuentos));
        out.raw(",\"explicacion_liquido\":");
        out.string(explained.of(explained.liquido));
    }
    out.raw(",\"escala\":");
    out.string(scaleName);
    if (comparison) {
        const auto optional = [&](const std::optional<std::string>& text) {
            if (text)
                out.string(*text);
            else
                out.raw("null");
        };
        out.raw(",\"comparacion\":{\"coinciden\":");
        if (comparison->coinciden)
            out.raw("true");
        else
            out.raw("false");
        out.raw(",\"lineas\":[");
        for (std::size_t i = 0; i < comparison->lineas.size(); ++i) {
            const Comparison::Line& line = comparison->lineas[i];
            if (i != 0)
                out.raw(',');
            out.raw("{\"cod\":");
            out.string(line.cod);
            out.raw(",\"oficial\":");
            optional(line.oficial);
            out.raw(",\"calculado\":");
            optional(line.calculado);
            out.raw(",\"diferencia\":");
            out.string(line.diferencia);
            out.raw('}');
        }
        out.raw("],\"sugerencias\":[");
        for (std::size_t i = 0; i < comparison->sugerencias.size(); ++i) {
            const payslip::Suggestion& suggestion = comparison->sugerencias[i];
            if (i != 0)
                out.raw(',');
            out.raw("{\"campo\":");
            out.string(suggestion.campo);
            out.raw(",\"valor\":");
            out.string(suggestion.valor);
            out.raw(",\"coinciden\":");
            out.number(static_cast<std::size_t>(suggestion.coinciden));
            out.raw('}');
        }
        out.raw("]}");
    }
    out.raw("}\n");
    used_ = static_cast<std::size_t>(out.end() - data_.get());
}

void JsonLines::appendFailure(std::size_t fila, std::string_view docente, const Unusable& failure)
{
    const std::size_t bound = kFailureFrame + escapedBound(docente) + escapedBound(failure.message)
        + escapedBound(failure.where) + escapedBound(failure.text);
    Cursor out(reserve(bound));
    out.raw("{\"fila\":");
    out.number(fila);
    out.raw(",\"docente\":");
    out.string(docente);
    out.raw(",\"error\":");
    out.string(failure.message);
    if (!failure.where.empty()) {
        out.raw(",\"campo\":");
        out.string(failure.where);
        out.raw(",\"texto\":");
        out.string(failure.text);
    }
    out.raw("}\n");
    used_ = static_cast<std::size_t>(out.end() - data_.get());
}

}  // namespace recibo::batch
