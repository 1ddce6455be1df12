#pragma once

#include <QGroupBox>
#include <QRect>
#include <QSize>
#include <QStaticText>

namespace recibo::receipt {

// The frame "sosten" that holds the receipt: a group box that measures its
// caption and edge once, not at every paint. A group box lays its caption
// out twice at every paint, which takes longer than drawing the frame.
class ReceiptFrame : public QGroupBox {
    Q_OBJECT
public:
    ReceiptFrame(const QString& title, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void measure();

    bool measured_ = false;
    QRect edge_;     // where the etched edge runs
    QRect caption_;  // where the caption stands, on the edge
    QStaticText laidOut_;
};

}  // namespace recibo::receipt
