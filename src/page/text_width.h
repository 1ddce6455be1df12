#pragma once

#include <QFont>
#include <QString>

namespace recibo::receipt {

// How wide `text` is in `font` (in the font's pixels), as QFontMetricsF
// measures it. Measuring shapes the text; the receipt window and its page
// measure the same labels, descriptions and amounts receipt after receipt,
// so the widths are remembered, by each thread for itself.
qreal textWidth(const QFont& font, const QString& text);

}  // namespace recibo::receipt
