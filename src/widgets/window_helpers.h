#pragma once

#include <cstdint>

#include <QColor>
#include <QWidget>

namespace recibo::widgets {

// Shows a window and brings it in front of the others, with the keyboard.
inline void showInFront(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

// A colour written 0xRRGGBB, as the windows' designs give them.
inline QColor colourOf(std::uint32_t rgb)
{
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// A control's background (or other role) in a colour written 0xRRGGBB.
inline void fillWith(QWidget* widget, QPalette::ColorRole role, std::uint32_t rgb)
{
    QPalette colours = widget->palette();
    colours.setColor(role, colourOf(rgb));
    widget->setPalette(colours);
}

}  // namespace recibo::widgets
