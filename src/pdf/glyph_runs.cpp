#include "glyph_runs.h"

#include <charconv>
#include <cmath>

namespace recibo::pdf {

namespace {

constexpr unsigned kGlyphLimit = 65536;  // two bytes a glyph, Identity-H

// "<0041>": one glyph of a two-byte encoding.
bool singleGlyph(const Object& operand, unsigned& glyph)
{
    const std::string_view text = operand.text;
    if (operand.kind != Object::Kind::String || text.size() != 6 || text.front() != '<')
        return false;
    const auto [end, error] = std::from_chars(text.data() + 1, text.data() + 5, glyph, 16);
    return error == std::errc() && end == text.data() + 5;
}

bool numbers(const Operations& operations, const Operation& operation, double* values, std::size_t count)
{
    if (operation.operandCount != count)
        return false;
    for (std::size_t i = 0; i < count; ++i)
        if (!operations.operand(operation, i).number(values[i]))
            return false;
    return true;
}

bool changesAdvance(std::string_view name)
{
    return name == "Tc" || name == "Tw" || name == "Tz" || name == "Ts" || name == "TL" || name == "T*" || name == "'"
        || name == "\"";
}

struct TextFont {
    const GlyphWidths* widths = nullptr;
    double size = 0;
};

class RunWriter {
public:
    RunWriter(const Operations& operations, ContentLines& out) : operations_(operations), out_(out) {}

    // The glyph of a "<gggg> Tj" at `i`, if that is what is there.
    bool glyphAt(std::size_t i, unsigned& glyph) const
    {
        const auto& list = operations_.list;
        return i < list.size() && list[i].name == "Tj" && list[i].operandCount == 1
            && singleGlyph(operations_.operand(list[i], 0), glyph);
    }
    // The step of a "dx 0 Td" at `i`, if that is what is there.
    bool stepAt(std::size_t i, double& dx) const
    {
        double move[2];
        const auto& list = operations_.list;
        return i < list.size() && list[i].name == "Td" && numbers(operations_, list[i], move, 2) && move[1] == 0
            && ((dx = move[0]), true);
    }

    // A run starting with the "x y Td" at `i`: how many operations it takes
    // and its TJ written; 0 when there is none to merge.
    std::size_t mergeRun(std::size_t i, const TextFont& font)
    {
        double start[2];
        unsigned glyph = 0;
        const auto& list = operations_.list;
        if (!numbers(operations_, list[i], start, 2) || !glyphAt(i + 1, glyph))
            return 0;
        glyphs_.assign(1, glyph);
        steps_.clear();
        std::size_t end = i + 2;
        double dx = 0;
        unsigned next = 0;
        while (stepAt(end, dx) && glyphAt(end + 1, next)) {
            steps_.push_back(dx);
            glyphs_.push_back(next);
            end += 2;
        }
        // The TJ leaves the line matrix at the run's first glyph, where Qt's
        // steps leave it at the last: only an ET or a new Tm may follow.
        if (end == i + 2 || end >= list.size() || (list[end].name != "ET" && list[end].name != "Tm"))
            return 0;

        out_.add(list[i].text);
        tj_.assign("[<");
        appendGlyph(glyphs_[0]);
        double drift = 0;  // where Qt put the next glyph, short of where the widths put it
        for (std::size_t k = 0; k < steps_.size(); ++k) {
            drift += font.widths->of(glyphs_[k]) * font.size / 1000 - steps_[k];
            const long correction = std::lround(drift * 1000 / font.size);
            if (correction != 0) {
                tj_.push_back('>');
                char digits[24];
                tj_.append(digits, std::to_chars(digits, digits + sizeof digits, correction).ptr);
                tj_.push_back('<');
                drift -= double(correction) * font.size / 1000;
            }
            appendGlyph(glyphs_[k + 1]);
        }
        tj_.append(">] TJ");
        out_.add(tj_);
        return end - i;
    }

private:
    void appendGlyph(unsigned glyph)
    {
        static constexpr char kHex[] = "0123456789ABCDEF";
        for (int shift = 12; shift >= 0; shift -= 4)
            tj_.push_back(kHex[(glyph >> shift) & 15]);
    }

    const Operations& operations_;
    ContentLines& out_;
    std::string tj_;
    std::vector<unsigned> glyphs_;  // the run's, and the steps Qt took after each but the last
    std::vector<double> steps_;
};

}  // namespace

std::optional<GlyphWidths> GlyphWidths::read(QPDFObjectHandle widths, QPDFObjectHandle defaultWidth)
{
    if (!widths.isArray())
        return std::nullopt;
    GlyphWidths result;
    if (!defaultWidth.isNull() && !defaultWidth.getValueAsNumber(result.default_))
        return std::nullopt;
    auto set = [&](double glyph, QPDFObjectHandle width) {
        double value = 0;
        if (glyph < 0 || glyph >= kGlyphLimit || !width.getValueAsNumber(value) || value < 0)
            return false;
        if (result.widths_.size() <= glyph)
            result.widths_.resize(std::size_t(glyph) + 1, -1);
        result.widths_[std::size_t(glyph)] = value;
        return true;
    };
    std::vector<QPDFObjectHandle> items = widths.getArrayAsVector();
    for (std::size_t i = 0; i < items.size();) {
        double first = 0, last = 0;
        if (!items[i].getValueAsNumber(first) || i + 1 >= items.size())
            return std::nullopt;
        if (items[i + 1].isArray()) {
            for (const QPDFObjectHandle& width : items[i + 1].getArrayAsVector())
                if (!set(first++, width))
                    return std::nullopt;
            i += 2;
        } else {
            if (!items[i + 1].getValueAsNumber(last) || i + 2 >= items.size() || last - first > kGlyphLimit)
                return std::nullopt;
            for (double glyph = first; glyph <= last; ++glyph)
                if (!set(glyph, items[i + 2]))
                    return std::nullopt;
            i += 3;
        }
    }
    return result;
}

bool writeMergingGlyphRuns(const Operations& operations, const FontWidths& fonts, ContentLines& out)
{
    out.clear();
    bool merge = true;
    for (const Operation& operation : operations.list)
        merge = merge && !changesAdvance(operation.name);

    RunWriter runs(operations, out);
    std::vector<TextFont> saved;
    TextFont font;
    bool plainMatrix = true;  // no Tm that turns or slants the text
    const auto& list = operations.list;
    for (std::size_t i = 0; i < list.size();) {
        const Operation& operation = list[i];
        const std::string_view name = operation.name;
        if (merge && name == "Td" && font.widths && plainMatrix) {
            if (const std::size_t taken = runs.mergeRun(i, font)) {
                i += taken;
                continue;
            }
        }
        if (name == "cm") {
            Matrix matrix;
            if (!numbers(operations, operation, matrix.data(), 6))
                return false;
            out.addTransform(operation.text, matrix);
        } else if (name == "q") {
            saved.push_back(font);
            out.add(operation.text, ContentLines::Kind::Save);
        } else if (name == "Q") {
            if (saved.empty())
                return false;
            font = saved.back();
            saved.pop_back();
            out.add(operation.text, ContentLines::Kind::Restore);
        } else if (name == "BT") {
            plainMatrix = true;
            out.add(operation.text, ContentLines::Kind::BeginText);
        } else if (name == "ET") {
            out.add(operation.text, ContentLines::Kind::EndText);
        } else {
            if (name == "Tf") {
                font = {};
                auto found =
                    operation.operandCount == 2 ? fonts.find(operations.operand(operation, 0).text) : fonts.end();
                if (found != fonts.end() && operations.operand(operation, 1).number(font.size) && font.size > 0)
                    font.widths = &found->second;
            } else if (name == "Tm") {
                double matrix[6];
                plainMatrix = numbers(operations, operation, matrix, 6) && matrix[1] == 0 && matrix[2] == 0;
            }
            out.add(operation.text);
        }
        ++i;
    }
    return true;
}

}  // namespace recibo::pdf
