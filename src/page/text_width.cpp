#include "text_width.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>

#include "font_keyed.h"
#include "remembered.h"

namespace recibo::receipt {

namespace {

// A text, and the screen's resolution: a size in points measures
// differently on another screen.
using Measured = FontKeyed<std::pair<QString, qreal>>;

// Enough for every text of a few hundred different receipts; then it starts again.
constexpr qsizetype kMostRemembered = 4096;

}  // namespace

qreal textWidth(const QFont& font, const QString& text)
{
    thread_local QHash<Measured, qreal> widths;
    const QScreen* screen = font.pixelSize() > 0 ? nullptr : QGuiApplication::primaryScreen();
    const Measured key{font, {text, screen ? screen->logicalDotsPerInchY() : 0}};
    return remembered(widths, key, kMostRemembered, [&] { return QFontMetricsF(font).horizontalAdvance(text); });
}

}  // namespace recibo::receipt
