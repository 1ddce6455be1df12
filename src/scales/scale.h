#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "payroll/pay_scale.h"
#include "positions/catalogue.h"
#include "unusable/unusable.h"

namespace recibo::scales {

// A teachers' pay scale as the programs use it: what it is called and from
// when it is in force, the texts that show it on the windows, the numbers
// of the calculation and the positions' catalogue.
struct Scale {
    std::string name;           // "Escala de septiembre de 2010"
    std::string inForceFrom;    // a date, YYYY-MM-DD
    std::string entrySubtitle;  // the entry window's Label9
    std::string receiptTitle;   // the receipt window's Label3
    payroll::PayScale pay;
    positions::Catalogue catalogue;
    // Amounts (their keys) that the file says stand out of proportion with
    // the rest of the scale on purpose.
    std::vector<std::string> outOfProportion = {};

    bool operator==(const Scale&) const = default;
};

// The scale in force since September 2010, built into the programs.
const Scale& builtInScale();

// A scale file's text (TOML) read as a scale, or why it cannot be used: one
// Spanish line naming the file (`fileName`), the line and column and the
// key (the key also as `where`). Only a complete, sound file is a scale.
OrUnusable<Scale> parseScale(std::string_view text, std::string_view fileName);

// The same, for the file at `path`.
OrUnusable<Scale> readScaleFile(const std::string& path);

// The scale as a complete scale file, with a comment at every item.
std::string scaleFileText(const Scale& scale);

}  // namespace recibo::scales
