#include "active_window_keeper.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace recibo::widgets {

ActiveWindowKeeper::ActiveWindowKeeper(QObject* parent) : QObject(parent)
{
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &ActiveWindowKeeper::checkSoon);
    qApp->installEventFilter(this);
}

bool ActiveWindowKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide)
        if (const auto* widget = qobject_cast<const QWidget*>(watched); widget && widget->windowType() == Qt::Popup)
            checkSoon();
    return false;
}

void ActiveWindowKeeper::checkSoon()
{
    QTimer::singleShot(0, this, &ActiveWindowKeeper::check);
}

void ActiveWindowKeeper::check()
{
    const QWindow* keyboard = QGuiApplication::focusWindow();
    if (!keyboard || QApplication::activePopupWidget())
        return;
    if (const QWidget* modal = QApplication::activeModalWidget(); modal && modal->windowHandle() != keyboard)
        return;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->windowHandle() == keyboard && window->isVisible() && QApplication::activeWindow() != window)
            QApplication::setActiveWindow(window);
}

}  // namespace recibo::widgets
