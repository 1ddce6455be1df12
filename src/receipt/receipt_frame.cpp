#include "receipt_frame.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionGroupBox>

namespace recibo::receipt {

ReceiptFrame::ReceiptFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

void ReceiptFrame::measure()
{
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    edge_ = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, this);
    caption_ = style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, this);
    laidOut_.setTextFormat(Qt::PlainText);
    laidOut_.setText(title());
    laidOut_.prepare(QTransform(), font());
    measured_ = true;
}

// The edge as the style draws a group box's, broken under the caption, and
// the caption at the place the style gives it.
void ReceiptFrame::paintEvent(QPaintEvent*)
{
    if (!measured_ || laidOut_.text() != title())
        measure();
    QPainter painter(this);
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    QStyleOptionFrame edge;
    edge.QStyleOption::operator=(option);
    edge.features = option.features;
    edge.lineWidth = option.lineWidth;
    edge.midLineWidth = option.midLineWidth;
    edge.rect = edge_;
    style()->drawPrimitive(QStyle::PE_FrameGroupBox, &edge, &painter, this);
    if (title().isEmpty())
        return;
    painter.fillRect(caption_, palette().brush(backgroundRole()));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.setFont(font());
    painter.drawStaticText(caption_.topLeft(), laidOut_);
}

void ReceiptFrame::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::LayoutDirectionChange: measured_ = false; break;
    default: break;
    }
    QGroupBox::changeEvent(event);
}

void ReceiptFrame::resizeEvent(QResizeEvent* event)
{
    measured_ = false;
    QGroupBox::resizeEvent(event);
}

}  // namespace recibo::receipt
