#include "notice_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "payroll/calculation.h"
#include "widgets/window_helpers.h"

namespace recibo::entry {

NoticeWindow::NoticeWindow(QWidget* parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName("error");
    setWindowTitle("Error de selección");

    QPalette darkGreen = palette();
    darkGreen.setColor(QPalette::Window, QColor(0, 100, 0));
    darkGreen.setColor(QPalette::WindowText, Qt::white);
    setPalette(darkGreen);
    setAutoFillBackground(true);

    auto* text = new QLabel(QString::fromUtf8(payroll::kNoKindChosenMessage));
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
}

}  // namespace recibo::entry
