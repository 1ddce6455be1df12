#include "focus_colours.h"

#include <QEvent>
#include <QWidget>

namespace recibo::widgets {

FocusColours::FocusColours(QObject* parent) : QObject(parent) {}

void FocusColours::watch(QWidget* widget)
{
    filledBefore_.insert(widget, widget->autoFillBackground());
    widget->installEventFilter(this);
}

bool FocusColours::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusIn && event->type() != QEvent::FocusOut)
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    const bool focused = event->type() == QEvent::FocusIn;
    widget->setAutoFillBackground(focused || filledBefore_.value(watched));
    widget->setBackgroundRole(focused ? QPalette::Highlight : QPalette::Window);
    widget->setForegroundRole(focused ? QPalette::HighlightedText : QPalette::WindowText);
    return false;
}

}  // namespace recibo::widgets
