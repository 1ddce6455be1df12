#pragma once

#include <QPointF>
#include <QRectF>

#include "page_parts.h"
#include "sheet.h"

class QPainter;

namespace recibo::receipt {

// The page of `sheet` as drawn into `target` of a device of `dpi` dots per
// inch, as a value: its parts in twips, and where they go on the device
// (twips times `scale`, from `at`). The whole receipt (see PaperLayout),
// scaled to fit, proportions kept, at the top of `target` and centred
// across it, in shades of grey, no text smaller than 7 points on the device.
struct PlacedPage {
    Page page;
    qreal scale = 1;
    QPointF at;
};
PlacedPage placeSheet(const Sheet& sheet, int dpi, const QRectF& target);

// Draws the page of `sheet` onto `painter` inside `target` (in the painter's
// coordinates), as lines, fills and text at the device's own resolution.
// The one drawing of the printed page, for the printer, PDF files and images.
void drawSheet(const Sheet& sheet, QPainter& painter, const QRectF& target);
// The same for a page already placed for the painter's device and target.
void drawPlaced(const PlacedPage& placed, QPainter& painter);

}  // namespace recibo::receipt
