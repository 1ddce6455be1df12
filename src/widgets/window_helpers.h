#pragma once

#include <algorithm>
#include <cstdint>

#include <QColor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace recibo::widgets {

// A long text (an explanation) as a tooltip a reader can follow: as rich
// text, which Qt wraps at a readable width, where plain text would run on
// one line across the screen. A line break stays one.
inline QString readableTip(const QString& text)
{
    return text.isEmpty() ? text
                          : QStringLiteral("<qt>")
            + text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")) + QStringLiteral("</qt>");
}

// Shows a window and brings it in front of the others, with the keyboard.
inline void showInFront(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

// Shows a window that belongs to `owner` (a dialog, a notice: of the
// Qt::Dialog type, which X11 window managers keep above the window they are
// transient for) in front of it, so that a click on the owner never buries
// it; a window that was hidden opens centred over its owner, inside the
// owner's screen.
inline void showOver(QWidget* window, QWidget* owner)
{
    if (!window->isVisible()) {
        if (!window->testAttribute(Qt::WA_Resized))
            window->adjustSize();
        QRect place(QPoint(), window->frameGeometry().size());
        place.moveCenter(owner->frameGeometry().center());
        if (const QScreen* screen = owner->screen()) {
            const QRect room = screen->availableGeometry();
            place.moveLeft(std::clamp(place.left(), room.left(), std::max(room.left(), room.right() - place.width())));
            place.moveTop(std::clamp(place.top(), room.top(), std::max(room.top(), room.bottom() - place.height())));
        }
        window->move(place.topLeft());
    }
    window->winId();  // the native window, to be marked before it is mapped
    owner->winId();
    window->windowHandle()->setTransientParent(owner->windowHandle());
    showInFront(window);
}

// For a window's destructor: its controls are destroyed after the window's
// own members, and one that had the focus still reports changes as it loses
// it (an editable list ends its editing and changes its row); the window
// hears nothing from them any more.
inline void stopHearingControls(QWidget* window)
{
    for (const QObject* control : window->findChildren<QObject*>())
        QObject::disconnect(control, nullptr, window, nullptr);
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
