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
    const int left = toPixels(std::min(x1_, x2_));
    const int top = toPixels(std::min(y1_, y2_));
    const int width = toPixels(std::max(x1_, x2_)) - left + 1;
    const int height = toPixels(std::max(y1_, y2_)) - top + 1;
    setGeometry(left, top, width, height);
}

}  // namespace recibo::receipt
