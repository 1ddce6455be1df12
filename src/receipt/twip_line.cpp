#include "twip_line.h"

#include <algorithm>

#include "twips.h"

namespace recibo::receipt {

TwipLine::TwipLine(int x1, int y1, int x2, int y2, QWidget* parent)
    : QWidget(parent), x1_(x1), y1_(y1), x2_(x2), y2_(y2)
{
    setAutoFillBackground(true);
    QPalette ink = palette();
    ink.setColor(QPalette::Window, Qt::black);
    setPalette(ink);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    place();
}

void TwipLine::setY1(int y)
{
    y1_ = y;
    place();
}

void TwipLine::setY2(int y)
{
    y2_ = y;
    place();
}

void TwipLine::place()
{
    setGeometry(linePixels(x1_, y1_, x2_, y2_));
}

QRect linePixels(int x1, int y1, int x2, int y2)
{
    const int left = toPixels(std::min(x1, x2));
    const int top = toPixels(std::min(y1, y2));
    const int width = toPixels(std::max(x1, x2)) - left + 1;
    const int height = toPixels(std::max(y1, y2)) - top + 1;
    return {left, top, width, height};
}

}  // namespace recibo::receipt
