#include "widgets/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace recibo::widgets {
namespace {

QAccessibleInterface* notificationFor(const QString& className, QObject* object)
{
    if (className == QLatin1String(Announcer::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

}  // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(notificationFor), true);
    (void)installed;
    setObjectName("announcer");
    setFixedSize(0, 0);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void Announcer::announce(const QString& text)
{
    hide();
    setAccessibleName(text);
    show();
}

}  // namespace recibo::widgets
