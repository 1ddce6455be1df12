#pragma once

// Text as Qt writes it places every glyph on its own ("dx 0 Td <0002> Tj"):
// a run of them becomes one TJ whose glyphs advance by the font's widths,
// with a correction wherever those widths and Qt's steps part by half a
// thousandth of the em or more, so that every glyph stays where it was.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include <qpdf/QPDFObjectHandle.hh>

#include "content_lines.h"
#include "content_operations.h"

namespace recibo::pdf {

// The advance of each glyph of a CID font, in thousandths of the em.
class GlyphWidths {
public:
    // From the font's /W array and /DW; nothing when /W is missing or is
    // not what it should be.
    static std::optional<GlyphWidths> read(QPDFObjectHandle widths, QPDFObjectHandle defaultWidth);
    double of(unsigned glyph) const
    {
        return glyph < widths_.size() && widths_[glyph] >= 0 ? widths_[glyph] : default_;
    }

private:
    std::vector<double> widths_;  // -1 where /W says nothing
    double default_ = 1000;
};

// The fonts whose runs may be merged, by their names in the resources ("/F7").
using FontWidths = std::map<std::string, GlyphWidths, std::less<>>;

// Writes the operations to `out` one a line, runs of single glyphs of the
// fonts in `fonts` merged. A stream that sets character or word spacing,
// scaling, rise or leading, which change what a TJ advances, is written
// without merging.
// False when a "cm" is not six numbers or a "Q" restores nothing: then
// the content is better left as it was.
bool writeMergingGlyphRuns(const Operations& operations, const FontWidths& fonts, ContentLines& out);

}  // namespace recibo::pdf
