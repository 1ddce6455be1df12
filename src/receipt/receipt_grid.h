#pragma once

#include <QFont>
#include <QList>
#include <QObject>
#include <QRect>
#include <QStaticText>
#include <QString>
#include <QWidget>

namespace recibo::receipt {

class ReceiptGrid;

// One cell of the receipt grid: a label without a window of its own, drawn
// by its grid. It keeps a label's name, place, font, alignment and text, and
// is shown and hidden like one.
class GridCell : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
    Q_PROPERTY(bool hidden READ isHidden)
    Q_PROPERTY(QRect twips READ twips)
public:
    GridCell(ReceiptGrid* grid, const QString& name, const QRect& twips, Qt::Alignment alignment, const QFont& font);

    QString text() const { return text_; }
    void setText(const QString& text);
    bool isHidden() const { return hidden_; }
    void setVisible(bool visible);

    // Where the cell stands in the frame: exactly, in twips, and in pixels.
    QRect twips() const { return twips_; }
    QRect geometry() const { return pixels_; }
    int y() const { return pixels_.y(); }
    int width() const { return pixels_.width(); }

    Qt::Alignment alignment() const { return alignment_; }
    QFont font() const { return font_; }
    // The font the cell was designed with; fitting a text only changes its size.
    const QFont& designFont() const { return design_; }
    void setPointSize(qreal points);

    // The text laid out in the cell's font, ready for drawing again and
    // again: laying a text out takes longer than drawing it.
    const QStaticText& laidOut() const;

private:
    ReceiptGrid* grid_;
    QRect twips_, pixels_;
    Qt::Alignment alignment_;
    QFont design_, font_;
    QString text_;
    bool hidden_ = true;
    mutable QStaticText laidOut_;
    mutable bool laidOutNow_ = false;
};

// A rule under a row of the grid, between two points in twips, one pixel thick.
class GridRule : public QObject {
    Q_OBJECT
    Q_PROPERTY(int x1 READ x1)
    Q_PROPERTY(int y1 READ y1)
    Q_PROPERTY(int x2 READ x2)
    Q_PROPERTY(int y2 READ y2)
    Q_PROPERTY(bool hidden READ isHidden)
public:
    GridRule(ReceiptGrid* grid, const QString& name, int x1, int y1, int x2, int y2);

    int x1() const { return x1_; }
    int y1() const { return y1_; }
    int x2() const { return x2_; }
    int y2() const { return y2_; }
    bool isHidden() const { return hidden_; }
    void setVisible(bool visible);
    QRect geometry() const { return pixels_; }
    int y() const { return pixels_.y(); }

private:
    ReceiptGrid* grid_;
    int x1_, y1_, x2_, y2_;
    QRect pixels_;
    bool hidden_ = true;
};

// The receipt's grid of lines, drawn by one widget laid over the frame. With
// a window of its own for each of its 162 cells and rules, every showing of
// the receipt would show, enable and paint each of them one by one, and the
// receipt would take several times as long to appear.
class ReceiptGrid : public QWidget {
    Q_OBJECT
public:
    explicit ReceiptGrid(QWidget* frame);

    GridCell* addCell(const QString& name, const QRect& twips, Qt::Alignment alignment, const QFont& font);
    GridRule* addRule(const QString& name, int x1, int y1, int x2, int y2);
    // Covers every cell and rule added; called once they all are.
    void fitToContents();

    const QList<GridCell*>& cells() const { return cells_; }
    const QList<GridRule*>& rules() const { return rules_; }

    // A cell or rule changed: the part of the frame it covers is drawn again.
    void changed(const QRect& framePixels);

    // The rows written (in frame pixels), each with its text and the
    // explanation of its amount. Hovering a row shows its explanation; with
    // the keyboard, the arrow keys select a row and F1 or Enter shows it,
    // and screen readers get it as the selected row's description.
    void setRows(const QList<QRect>& rows, const QStringList& texts, const QStringList& explanations);
    int selectedRow() const { return selected_; }
    void selectRow(int row);
    // The row written at a point of the grid, or -1; its explanation, shown
    // as a tooltip there, or none.
    int rowAt(const QPoint& gridPoint) const;
    QString explanationAt(const QPoint& gridPoint) const;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void showExplanation(int row);
    void catchPointerOnRowsOnly();

    QList<GridCell*> cells_;
    QList<GridRule*> rules_;
    QList<QRect> rows_;
    QStringList rowTexts_, explanations_;
    QString wholeText_;  // the grid's description with no row selected
    int selected_ = -1;
};

}  // namespace recibo::receipt
