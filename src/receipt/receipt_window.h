#pragma once

#include <QFont>
#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

#include "payroll/entry_values.h"
#include "payroll/receipt.h"
#include "receipt_grid.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QScrollBar;

namespace recibo::receipt {

class GridRule;
class TwipLine;

// The points of the accepted position, written to the panel by "Listo".
struct PositionPanel {
    std::string numcargo, punbasicos, compbas, proljor, jorcom, tardif;
};

// The receipt window "Haberes": the framed receipt grid with its totals
// under a header, the panel beside it and the scroll bar that moves the
// frame. Built from the control tables of receipt_layout.h.
class ReceiptWindow : public QWidget {
    Q_OBJECT
public:
    explicit ReceiptWindow(QWidget* parent = nullptr);

    // Shows a computed receipt: fillReceipt, then the window, enabled, in front.
    void showReceipt(const payroll::Receipt& receipt, const QString& date);
    // The same with the panel showing the points of the position the
    // receipt was computed with: the window shows one calculation.
    void showReceipt(const payroll::Receipt& receipt, const payroll::SelectedPosition& position, const QString& date);
    // Writes a computed receipt into the window without showing it: grid,
    // panel header, totals placed under the last row, teacher and date.
    void fillReceipt(const payroll::Receipt& receipt, const QString& date);
    // The window as "Listo" and then "Calcular" leave it for `position`'s
    // receipt: the panel with the position's points (for a position), then
    // the receipt.
    void fillReceipt(const payroll::Receipt& receipt, const payroll::SelectedPosition& position, const QString& date);
    void showPositionPanel(const PositionPanel& panel);
    // "Volver": disabled and hidden until the next receipt.
    void putAway();
    // The pay scale's title over the panel (Label3), on screen and on paper.
    void setScaleTitle(const QString& title);

    // A control by its name ("thaberes", "Line1", ...); the grid's cells and
    // rules ("cod(3)", "Line8(0)") are the grid's, not windows. For building
    // and for tests: the code holds what it touches in typed members.
    QWidget* control(const QString& name) const { return controls_.value(name); }
    const ReceiptGrid* grid() const { return grid_; }
    QGroupBox* frame() const { return sosten_; }
    QString docente() const;

    // What printing hides (the buttons and the two hints) and shows (the
    // eight margin boxes, in the order they are shown and hidden).
    const QList<QWidget*>& screenOnly() const { return screenOnly_; }
    const QList<QWidget*>& marginBoxes() const { return marginBoxes_; }

signals:
    void volverPressed();
    void salirPressed();
    void printRequested();  // "Imprimir"
    void closedByUser();    // the title bar's close button

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showFilled();
    void buildFrame();
    void buildControls();
    void nameFieldsByTheirLabels();
    void buildGrid();
    void buildLines();
    void buildScrollBar();
    void holdWhatTheCodeTouches();
    template <typename Control>
    Control* find(const char* name) const;
    void useClassicStyle();

    void writeGrid(const std::vector<payroll::ReceiptLine>& lines);
    void writeHeader(const payroll::ReceiptHeader& header);
    void showExplanations(const payroll::Receipt& receipt);
    ReceiptGrid::Row gridRow(int row) const;
    void placeLowerPart(int rowsWritten);
    void setCaption(QLabel* label, const QString& text);
    void setText(QLineEdit* box, const QString& text);

    qreal fittingSize(const QObject* control, const QFont& design, int room, const QString& text);
    qreal fittingSize(const QWidget* control, const QString& text);
    qreal fittingSize(const GridCell* cell, const QString& text);
    void setPointSize(QWidget* control, qreal points);
    void setPointSize(GridCell* cell, qreal points);
    void fitText(QWidget* control, const QString& text);
    template <typename Cell>
    void fitColumn(const QList<Cell*>& cells, const QList<bool>& written);

    void onScrolled(int value);
    void fitScrollBar();
    void placeFrame();

    QHash<QString, QWidget*> controls_;
    ReceiptGrid* grid_ = nullptr;
    // The grid's cells: codes, quantities and descriptions by row, amounts
    // by row in the earnings column and 27 rows on in the deductions column,
    // and the rule under each row.
    QList<GridCell*> codes_, quantities_, descriptions_, amounts_;
    QList<GridRule*> rowRules_;

    // The size a control's text was last fitted at, in its designed font.
    struct Fitting {
        QFont design;
        QString text;
        int room = -1;  // pixels; -1 until first fitted
        qreal dpi = 0;
        qreal points = 0;
    };
    QHash<const QObject*, Fitting> fittings_;
    QGroupBox* sosten_ = nullptr;
    QScrollBar* movedor_ = nullptr;
    // The controls a receipt writes, by their names.
    QLabel *docente_ = nullptr, *carsel_ = nullptr, *label11_ = nullptr;
    QLineEdit *numcargo_ = nullptr, *punbasicos_ = nullptr, *compbas_ = nullptr, *proljor_ = nullptr,
              *jorcom_ = nullptr, *tardif_ = nullptr, *date_ = nullptr;
    // Total of earnings, of deductions, net pay; and their captions.
    QList<QLabel*> totals_, totalCaptions_;
    // Line1, Line2, Line3(0), Line3(1), Line5, Line7: their lower ends follow the last row.
    QList<TwipLine*> verticalLines_;
    // Line6, Line15, Line16, Line17: the rules under the grid and each total.
    QList<TwipLine*> lowerRules_;
    // The labels and boxes of a position's points, hidden for hours.
    QList<QWidget*> positionPoints_;
    QList<QWidget*> screenOnly_, marginBoxes_;
    int frameTop_ = 0;     // twips
    int frameHeight_ = 0;  // twips
};

}  // namespace recibo::receipt
