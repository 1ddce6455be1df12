#include "window_accessible.h"

#include <QGroupBox>

#include "receipt_frame.h"
#include "receipt_window.h"
#include "twip_line.h"

namespace recibo::receipt {
namespace {

constexpr char kUnread[] = "unread";

QAccessibleInterface* windowAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(ReceiptWindow::staticMetaObject.className()))
        return new WindowAccessible(static_cast<QWidget*>(object), QAccessible::Client);
    if (className == QLatin1String(ReceiptFrame::staticMetaObject.className()))
        return new WindowAccessible(static_cast<QWidget*>(object), QAccessible::Grouping);
    return nullptr;
}

}  // namespace

void WindowAccessible::installFactory()
{
    static const bool installed = (QAccessible::installFactory(windowAccessible), true);
    Q_UNUSED(installed);
}

void WindowAccessible::leaveUnread(QWidget* control)
{
    control->setProperty(kUnread, true);
}

WindowAccessible::WindowAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

// A frame is named by its caption, as any group box.
QString WindowAccessible::text(QAccessible::Text t) const
{
    const auto* frame = qobject_cast<const QGroupBox*>(widget());
    if (t == QAccessible::Name && frame && widget()->accessibleName().isEmpty())
        return frame->title();
    return QAccessibleWidget::text(t);
}

QList<QWidget*> WindowAccessible::readChildren() const
{
    QList<QWidget*> read;
    for (QObject* child : widget()->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control && !control->isWindow() && !qobject_cast<TwipLine*>(control)
            && !control->property(kUnread).toBool())
            read << control;
    }
    return read;
}

int WindowAccessible::childCount() const
{
    return static_cast<int>(readChildren().size());
}

QAccessibleInterface* WindowAccessible::child(int index) const
{
    const QList<QWidget*> read = readChildren();
    return index >= 0 && index < read.size() ? QAccessible::queryAccessibleInterface(read.at(index)) : nullptr;
}

int WindowAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    return child ? static_cast<int>(readChildren().indexOf(qobject_cast<QWidget*>(child->object()))) : -1;
}

}  // namespace recibo::receipt
