#pragma once

#include <array>

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

    // A row written: its box and its cells' boxes (frame pixels), the texts
    // its cells show (code, quantity, concept, earning, deduction; empty
    // where nothing shows) and the explanation of its amount.
    static constexpr int kColumns = 5;
    struct Row {
        QRect box;
        std::array<QRect, kColumns> cellBoxes;
        std::array<QString, kColumns> cells;
        QString explanation;
    };
    // The rows written. Hovering a row shows its explanation; with the
    // keyboard, the arrow keys select a row and F1 or Enter shows it.
    // Screen readers read the rows as a table's (see GridAccessible), the
    // explanation as the selected row's description.
    void setRows(QList<Row> rows);
    int rowCount() const { return static_cast<int>(rows_.size()); }
    QString cellText(int row, int column) const { return rows_.at(row).cells.at(column); }
    QRect cellBox(int row, int column) const { return rows_.at(row).cellBoxes.at(column); }
    QString explanation(int row) const { return row >= 0 && row < rowCount() ? rows_[row].explanation : QString(); }
    // What each column holds, as its header says it.
    static QString columnName(int column);
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
    void announceSelectedRow();
    void catchPointerOnRowsOnly();

    QList<GridCell*> cells_;
    QList<GridRule*> rules_;
    QList<Row> rows_;
    int selected_ = -1;
};

}  // namespace recibo::receipt
