#include "receipt_grid.h"

#include <cmath>

#include <QAccessible>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QTimer>
#include <QToolTip>

#include "grid_accessible.h"
#include "twip_line.h"
#include "twips.h"
#include "widgets/window_helpers.h"

namespace recibo::receipt {

// ---- Cells and rules -----------------------------------------------------------

GridCell::GridCell(ReceiptGrid* grid, const QString& name, const QRect& twips, Qt::Alignment alignment,
                   const QFont& font)
    : QObject(grid),
      grid_(grid),
      twips_(twips),
      pixels_(toPixels(twips)),
      alignment_(alignment),
      design_(font),
      font_(font)
{
    setObjectName(name);
}

void GridCell::setText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    laidOutNow_ = false;
    if (!hidden_)
        grid_->changed(pixels_);
}

void GridCell::setVisible(bool visible)
{
    if (visible == !hidden_)
        return;
    hidden_ = !visible;
    grid_->changed(pixels_);
}

void GridCell::setPointSize(qreal points)
{
    if (font_.pointSizeF() == points)
        return;
    font_ = design_;
    font_.setPointSizeF(points);
    laidOutNow_ = false;
    if (!hidden_)
        grid_->changed(pixels_);
}

const QStaticText& GridCell::laidOut() const
{
    if (!laidOutNow_) {
        laidOut_.setTextFormat(Qt::PlainText);
        laidOut_.setText(text_);
        laidOut_.prepare(QTransform(), font_);
        laidOutNow_ = true;
    }
    return laidOut_;
}

GridRule::GridRule(ReceiptGrid* grid, const QString& name, int x1, int y1, int x2, int y2)
    : QObject(grid), grid_(grid), x1_(x1), y1_(y1), x2_(x2), y2_(y2), pixels_(linePixels(x1, y1, x2, y2))
{
    setObjectName(name);
}

void GridRule::setVisible(bool visible)
{
    if (visible == !hidden_)
        return;
    hidden_ = !visible;
    grid_->changed(pixels_);
}

// ---- The grid ------------------------------------------------------------------

ReceiptGrid::ReceiptGrid(QWidget* frame) : QWidget(frame)
{
    GridAccessible::installFactory();  // before anything asks how the grid is read
    setObjectName(QStringLiteral("rejilla"));
    setAccessibleName(QStringLiteral("Líneas del recibo"));
    catchPointerOnRowsOnly();
}

QString ReceiptGrid::columnName(int column)
{
    static const std::array<QString, kColumns> names = {QStringLiteral("Código"), QStringLiteral("Cantidad"),
                                                        QStringLiteral("Concepto"), QStringLiteral("Haberes"),
                                                        QStringLiteral("Descuentos")};
    return column >= 0 && column < kColumns ? names[static_cast<std::size_t>(column)] : QString();
}

// The grid covers the frame's lower part, totals included: the pointer is
// the grid's only over the rows written, and the rule under each, so that
// everything else under the grid's rectangle (the totals and their
// explanations) gets its clicks and hovering.
void ReceiptGrid::catchPointerOnRowsOnly()
{
    QRegion rows;
    for (const Row& row : std::as_const(rows_))
        rows += row.box.translated(-pos());
    for (const GridRule* rule : std::as_const(rules_))
        if (!rule->isHidden())
            rows += rule->geometry().translated(-pos());
    // An empty mask would be no mask at all: the whole grid.
    setAttribute(Qt::WA_TransparentForMouseEvents, rows.isEmpty());
    if (rows.isEmpty())
        clearMask();
    else
        setMask(rows);
}

GridCell* ReceiptGrid::addCell(const QString& name, const QRect& twips, Qt::Alignment alignment, const QFont& font)
{
    cells_.append(new GridCell(this, name, twips, alignment, font));
    return cells_.last();
}

GridRule* ReceiptGrid::addRule(const QString& name, int x1, int y1, int x2, int y2)
{
    rules_.append(new GridRule(this, name, x1, y1, x2, y2));
    return rules_.last();
}

void ReceiptGrid::fitToContents()
{
    QRect covered;
    for (const GridCell* cell : cells_)
        covered |= cell->geometry();
    for (const GridRule* rule : rules_)
        covered |= rule->geometry();
    setGeometry(covered);
}

void ReceiptGrid::changed(const QRect& framePixels)
{
    update(framePixels.translated(-pos()));
}

void ReceiptGrid::setRows(QList<Row> rows)
{
    rows_ = std::move(rows);
    selected_ = -1;
    if (QAccessible::isActive())
        if (auto* table = dynamic_cast<GridAccessible*>(QAccessible::queryAccessibleInterface(this)))
            table->rowsChanged();
    setFocusPolicy(rows_.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    catchPointerOnRowsOnly();
    update();
}

int ReceiptGrid::rowAt(const QPoint& gridPoint) const
{
    const QPoint framePoint = gridPoint + pos();
    for (int row = 0; row < rows_.size(); ++row)
        if (rows_[row].box.contains(framePoint))
            return row;
    return -1;
}

void ReceiptGrid::selectRow(int row)
{
    if (row < -1 || row >= rows_.size() || row == selected_)
        return;
    if (selected_ >= 0)
        update(rows_[selected_].box.translated(-pos()));
    selected_ = row;
    if (row < 0)
        return;
    update(rows_[row].box.translated(-pos()));
    announceSelectedRow();
}

// The selected row's first cell takes the screen reader's focus, which
// reads the row, the column's header and the explanation.
void ReceiptGrid::announceSelectedRow()
{
    if (selected_ < 0 || !hasFocus() || !QAccessible::isActive())
        return;
    QAccessibleEvent focused(this, QAccessible::Focus);
    focused.setChild(selected_ * kColumns);
    QAccessible::updateAccessibility(&focused);
}

QString ReceiptGrid::explanationAt(const QPoint& gridPoint) const
{
    return explanation(rowAt(gridPoint));
}

void ReceiptGrid::showExplanation(int row)
{
    if (explanation(row).isEmpty())
        return;
    const QRect box = rows_[row].box.translated(-pos());
    QToolTip::showText(mapToGlobal(box.bottomLeft()), widgets::readableTip(explanation(row)), this, box);
}

bool ReceiptGrid::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString text = explanationAt(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), widgets::readableTip(text), this);
        return true;
    }
    return QWidget::event(event);
}

void ReceiptGrid::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up: selectRow(std::max(selected_ - 1, 0)); break;
    case Qt::Key_Down: selectRow(std::min(selected_ + 1, static_cast<int>(rows_.size()) - 1)); break;
    case Qt::Key_Home: selectRow(rows_.isEmpty() ? -1 : 0); break;
    case Qt::Key_End: selectRow(static_cast<int>(rows_.size()) - 1); break;
    case Qt::Key_F1:
    case Qt::Key_Return:
    case Qt::Key_Enter: showExplanation(selected_); break;
    case Qt::Key_Escape: QToolTip::hideText(); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

// A click selects the row under the pointer, as in any list.
void ReceiptGrid::mousePressEvent(QMouseEvent* event)
{
    if (const int row = rowAt(event->position().toPoint()); row >= 0)
        selectRow(row);
    QWidget::mousePressEvent(event);
}

void ReceiptGrid::focusInEvent(QFocusEvent* event)
{
    if (selected_ < 0 && !rows_.isEmpty())
        selectRow(0);
    QWidget::focusInEvent(event);
    // After the grid's own focus is announced, which comes when this returns.
    QTimer::singleShot(0, this, &ReceiptGrid::announceSelectedRow);
}

void ReceiptGrid::focusOutEvent(QFocusEvent* event)
{
    if (selected_ >= 0)
        update(rows_[selected_].box.translated(-pos()));
    QWidget::focusOutEvent(event);
}

namespace {

// Where a text of `size` starts in `box` for the alignment a label gives it.
QPointF alignedIn(const QRect& box, const QSizeF& size, Qt::Alignment alignment)
{
    qreal x = box.left();
    if (alignment & Qt::AlignRight)
        x = box.left() + box.width() - size.width();
    else if (alignment & Qt::AlignHCenter)
        x = box.left() + (box.width() - size.width()) / 2;
    qreal y = box.top();
    if (alignment & Qt::AlignVCenter)
        y = box.top() + (box.height() - size.height()) / 2;
    else if (alignment & Qt::AlignBottom)
        y = box.top() + box.height() - size.height();
    return {std::round(x), std::round(y)};
}

}  // namespace

// Each cell's text is drawn as a label draws it: in the cell's font and
// alignment, in the window's text colour, cut at the cell's edges.
void ReceiptGrid::paintEvent(QPaintEvent* event)
{
    const QRect dirty = event->rect().translated(pos());
    QPainter painter(this);
    painter.translate(-pos());
    // The selected row, on screen only and while the grid has the focus.
    if (hasFocus() && selected_ >= 0 && selected_ < rows_.size())
        painter.fillRect(rows_[selected_].box, palette().color(QPalette::Highlight).lighter(170));
    for (const GridRule* rule : rules_)
        if (!rule->isHidden() && rule->geometry().intersects(dirty))
            painter.fillRect(rule->geometry(), Qt::black);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const GridCell* cell : cells_) {
        if (cell->isHidden() || cell->text().isEmpty() || !cell->geometry().intersects(dirty))
            continue;
        const QStaticText& text = cell->laidOut();
        const QSizeF size = text.size();
        const bool fits = size.width() <= cell->width() && size.height() <= cell->geometry().height();
        if (!fits) {
            painter.save();
            painter.setClipRect(cell->geometry(), Qt::IntersectClip);
        }
        // A column's cells share one font: the painter changes font between columns.
        if (painter.font() != cell->font())
            painter.setFont(cell->font());
        painter.drawStaticText(alignedIn(cell->geometry(), size, cell->alignment()), text);
        if (!fits)
            painter.restore();
    }
}

}  // namespace recibo::receipt
