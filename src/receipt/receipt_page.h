#pragma once

#include <QPointF>
#include <QPointer>
#include <QRectF>

#include "page_parts.h"

class QPainter;
class QWidget;

namespace recibo::receipt {

class ReceiptWindow;

// The receipt window made ready for paper for as long as this object lives:
// the buttons and the two hints hidden, the frame and the window white and
// the eight "AGMER" margin boxes shown. When it ends, however it ends, the
// window returns to its screen look: margin boxes hidden, the frame light
// green, the window dark cyan, the hints and buttons shown again and the
// keyboard focus back where it was.
class PaperLook {
public:
    explicit PaperLook(ReceiptWindow& window);
    ~PaperLook();
    PaperLook(const PaperLook&) = delete;
    PaperLook& operator=(const PaperLook&) = delete;

private:
    ReceiptWindow& window_;
    QPointer<QWidget> focused_;
};

// Draws the receipt window as a page, every control that is not hidden but
// the scroll bar, onto `painter` inside `target` (in the painter's
// coordinates): the whole receipt whatever the window's height and scroll
// position (see PaperLayout), scaled to fit, proportions kept, at the top of
// `target` and centred across it. Drawn as lines, fills and text at the
// device's own resolution, in shades of grey, no text smaller than 7 points
// on the device. The one drawing of the printed page, for the printer and
// for PDF files alike.
void drawReceiptPage(const ReceiptWindow& window, QPainter& painter, const QRectF& target);

// The page drawReceiptPage draws into `target` of a device of `dpi` dots per
// inch, as a value: its parts in twips, and where they go on the device
// (twips times `scale`, from `at`).
struct PlacedPage {
    Page page;
    qreal scale = 1;
    QPointF at;
};
PlacedPage placeReceiptPage(const ReceiptWindow& window, int dpi, const QRectF& target);

}  // namespace recibo::receipt
