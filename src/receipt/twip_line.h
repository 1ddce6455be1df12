#pragma once

#include <QRect>
#include <QWidget>

namespace recibo::receipt {

// The pixels a line between two points in twips covers: from its end points
// to the right and downwards, one pixel thick.
QRect linePixels(int x1, int y1, int x2, int y2);

// A straight horizontal or vertical line between two points given in twips,
// drawn one pixel thick. Its end points can be moved one coordinate at a time.
class TwipLine : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int x1 READ x1)
    Q_PROPERTY(int y1 READ y1 WRITE setY1)
    Q_PROPERTY(int x2 READ x2)
    Q_PROPERTY(int y2 READ y2 WRITE setY2)
public:
    TwipLine(int x1, int y1, int x2, int y2, QWidget* parent = nullptr);

    int x1() const { return x1_; }
    int y1() const { return y1_; }
    int x2() const { return x2_; }
    int y2() const { return y2_; }
    void setY1(int y);
    void setY2(int y);

private:
    void place();

    int x1_, y1_, x2_, y2_;
};

}  // namespace recibo::receipt
