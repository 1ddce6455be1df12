#include "text_width.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>

#include "remembered.h"

namespace recibo::receipt {

namespace {

struct Measured {
    QFont font;
    QString text;
    qreal dpi;  // a size in points measures differently on another screen
    bool operator==(const Measured&) const = default;
};

size_t qHash(const Measured& key, size_t seed)
{
    return qHashMulti(seed, key.font, key.text, key.dpi);
}

// Enough for every text of a few hundred different receipts; then it starts again.
constexpr qsizetype kMostRemembered = 4096;

}  // namespace

qreal textWidth(const QFont& font, const QString& text)
{
    thread_local QHash<Measured, qreal> widths;
    const QScreen* screen = font.pixelSize() > 0 ? nullptr : QGuiApplication::primaryScreen();
    const Measured key{font, text, screen ? screen->logicalDotsPerInchY() : 0};
    return remembered(widths, key, kMostRemembered, [&] { return QFontMetricsF(font).horizontalAdvance(text); });
}

}  // namespace recibo::receipt
