#pragma once

#include <QByteArray>

#include "sheet_page.h"

namespace recibo::receipt {

// A placed page as an SVG picture, at the size it has on paper (`dpi`: the
// dots per inch of the device it was placed for), drawn in the page's twips:
// fills, outlines and lines as shapes, and every line of text as text, so
// that it can be searched and read out, stretched to the width Qt's shaping
// gives it so that it stands where it stands on paper whatever font the
// viewer has.
QByteArray pageSvg(const PlacedPage& placed, int dpi);

}  // namespace recibo::receipt
