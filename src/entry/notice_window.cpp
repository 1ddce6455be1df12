#include "notice_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "payroll/calculation.h"
#include "widgets/window_helpers.h"

namespace recibo::entry {

namespace {

// The notice is read as an alert, its text with it, as a message box is; a
// plain window is a "filler" whose text a screen reader does not say.
QAccessibleInterface* noticeAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(NoticeWindow::staticMetaObject.className()) && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
    return nullptr;
}

}  // namespace

NoticeWindow::NoticeWindow(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    static const bool readAsAnAlert = (QAccessible::installFactory(noticeAccessible), true);
    Q_UNUSED(readAsAnAlert);
    setObjectName("error");
    setWindowTitle("Error de selección");

    QPalette darkGreen = palette();
    darkGreen.setColor(QPalette::Window, QColor(0, 100, 0));
    darkGreen.setColor(QPalette::WindowText, Qt::white);
    setPalette(darkGreen);
    setAutoFillBackground(true);

    const QString message = QString::fromUtf8(payroll::kNoKindChosenMessage);
    setAccessibleDescription(message);
    auto* text = new QLabel(message);
    text->setObjectName("Label1");
    QFont bold = text->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    text->setFont(bold);
    text->setAlignment(Qt::AlignCenter);

    auto* aceptar = new QPushButton("Aceptar");
    aceptar->setObjectName("Aceptar");
    aceptar->setDefault(true);
    connect(aceptar, &QPushButton::clicked, this, &QWidget::hide);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(16);
    layout->addWidget(text);
    layout->addWidget(aceptar, 0, Qt::AlignHCenter);
}

// As in any message: Enter is "Aceptar", and Escape closes it too.
void NoticeWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: hide(); break;
    default: QWidget::keyPressEvent(event);
    }
}

void NoticeWindow::showOver(QWidget* owner)
{
    widgets::showOver(this, owner);
    QAccessibleEvent shown(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace recibo::entry
