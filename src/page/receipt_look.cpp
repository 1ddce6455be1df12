#include "receipt_look.h"

namespace recibo::receipt {

QFont receiptFont(qreal points)
{
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                 QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

QFont windowFont()
{
    return receiptFont(9.75);
}

QFont gridFont()
{
    return receiptFont(8.25);
}

QFont designFont(unsigned look)
{
    QFont font = (look & GridFont) ? gridFont() : windowFont();
    if (look & TitleFont) {
        font = windowFont();
        font.setPointSize(12);
        font.setBold(true);
    } else if (look & Bold) {
        font.setBold(true);
    }
    return font;
}

Qt::Alignment alignmentOf(unsigned look)
{
    const Qt::Alignment vertical = (look & Middle) ? Qt::AlignVCenter : Qt::AlignTop;
    if (look & Centred)
        return Qt::AlignHCenter | vertical;
    if (look & RightAligned)
        return Qt::AlignRight | vertical;
    return Qt::AlignLeft | vertical;
}

int indentOf(unsigned look)
{
    return (look & ClearOfRule) ? 3 : 0;
}

}  // namespace recibo::receipt
