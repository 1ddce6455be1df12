#pragma once

#include <QFont>
#include <QHash>

namespace recibo::receipt {

// A font with what it measures or sets, as the key of a layout's cache.
// Its hash reads the font's size, weight and style only: Qt's own hash of a
// font hashes every family name in it, and a book of receipts looks up its
// texts a few hundred thousand times. Fonts that compare equal agree in
// those, and the caches hold a handful of families.
template <typename Value>
struct FontKeyed {
    QFont font;
    Value value;
    bool operator==(const FontKeyed&) const = default;
};

template <typename Value>
size_t qHash(const FontKeyed<Value>& key, size_t seed = 0)
{
    const QFont& font = key.font;
    return qHashMulti(seed, font.pointSizeF(), font.pixelSize(), int(font.weight()), int(font.style()), key.value);
}

}  // namespace recibo::receipt
