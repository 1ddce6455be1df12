#pragma once

#include <QRect>
#include <QWidget>

#include "page/twip_units.h"

namespace recibo::receipt {

inline int toPixels(int twips)
{
    // Round half away from zero, the same for negative positions.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

inline QRect toPixels(const QRect& twips)
{
    return {toPixels(twips.x()), toPixels(twips.y()), toPixels(twips.width()), toPixels(twips.height())};
}

// Places a control at a rectangle given in twips. The rectangle is kept as
// the property "twips", the exact position the pixels were rounded from.
inline void placeInTwips(QWidget* control, const QRect& twips)
{
    control->setProperty("twips", twips);
    control->setGeometry(toPixels(twips));
}

inline QRect twipsOf(const QWidget* control)
{
    return control->property("twips").toRect();
}

}  // namespace recibo::receipt
