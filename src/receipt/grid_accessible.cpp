#include "grid_accessible.h"

#include "receipt_grid.h"

namespace recibo::receipt {

namespace {

constexpr int kColumns = ReceiptGrid::kColumns;

// A part of the table without an object or children of its own: a cell or
// a column's header.
class PartAccessible : public QAccessibleInterface {
public:
    explicit PartAccessible(const GridAccessible* table) : table_(table) {}

    bool isValid() const override { return table_->isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return table_->window(); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return const_cast<GridAccessible*>(table_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    const GridAccessible* table_;
};

// One cell of a receipt line, as a screen reader reads a table's cell.
class CellAccessible : public PartAccessible, public QAccessibleTableCellInterface {
public:
    CellAccessible(const GridAccessible* table, int row, int column) : PartAccessible(table), row_(row), column_(column)
    {}

    bool isValid() const override { return table_->isValid() && row_ < table_->grid()->rowCount(); }

    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        switch (kind) {
        case QAccessible::Name: {
            // A screen reader reads a line's cells in a row without their
            // headers: a deduction's amount says what it is.
            const QString text = table_->grid()->cellText(row_, column_);
            const bool deduction = column_ == ReceiptGrid::kColumns - 1 && !text.isEmpty();
            return deduction ? QStringLiteral("%1, descuento").arg(text) : text;
        }
        case QAccessible::Description: return table_->grid()->explanation(row_);
        default: return {};
        }
    }
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const ReceiptGrid* grid = table_->grid();
        const QRect box = grid->cellBox(row_, column_).translated(-grid->pos());
        return QRect(grid->mapToGlobal(box.topLeft()), box.size());
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.selectable = true;
        state.focusable = true;
        if (isValid() && isSelected()) {
            state.selected = true;
            state.focused = column_ == 0 && table_->grid()->hasFocus();
        }
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    bool isSelected() const override { return table_->grid()->selectedRow() == row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {table_->header(column_)}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    QAccessibleInterface* table() const override { return const_cast<GridAccessible*>(table_); }

    int row() const { return row_; }
    int column() const { return column_; }

private:
    int row_, column_;
};

// A column's header: the grid shows none, the lines' layout says it.
class HeaderAccessible : public PartAccessible {
public:
    HeaderAccessible(const GridAccessible* table, int column) : PartAccessible(table), column_(column) {}

    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? ReceiptGrid::columnName(column_) : QString();
    }
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
    QAccessible::State state() const override { return {}; }

private:
    int column_;
};

QAccessibleInterface* makeCell(const GridAccessible* table, int key)
{
    return new CellAccessible(table, key / kColumns, key % kColumns);
}

QAccessibleInterface* makeHeader(const GridAccessible* table, int key)
{
    return new HeaderAccessible(table, -1 - key);
}

QAccessibleInterface* gridAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(ReceiptGrid::staticMetaObject.className()) && object->isWidgetType())
        return new GridAccessible(static_cast<ReceiptGrid*>(object));
    return nullptr;
}

}  // namespace

GridAccessible::GridAccessible(ReceiptGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}

GridAccessible::~GridAccessible()
{
    letGo();
}

void GridAccessible::installFactory()
{
    static const bool installed = (QAccessible::installFactory(gridAccessible), true);
    Q_UNUSED(installed);
}

ReceiptGrid* GridAccessible::grid() const
{
    return static_cast<ReceiptGrid*>(widget());
}

void* GridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface* GridAccessible::kept(int key, QAccessibleInterface* (*make)(const GridAccessible*, int)) const
{
    if (const auto found = kept_.constFind(key); found != kept_.constEnd())
        return QAccessible::accessibleInterface(*found);
    QAccessibleInterface* made = make(this, key);
    kept_.insert(key, QAccessible::registerAccessibleInterface(made));
    return made;
}

void GridAccessible::letGo()
{
    for (const QAccessible::Id id : std::as_const(kept_))
        QAccessible::deleteAccessibleInterface(id);
    kept_.clear();
}

void GridAccessible::rowsChanged()
{
    letGo();
    QAccessibleTableModelChangeEvent reset(grid(), QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&reset);
}

int GridAccessible::rowCount() const
{
    return grid()->rowCount();
}

int GridAccessible::columnCount() const
{
    return kColumns;
}

int GridAccessible::childCount() const
{
    return rowCount() * kColumns;
}

QAccessibleInterface* GridAccessible::cellAt(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= kColumns)
        return nullptr;
    return kept(row * kColumns + column, makeCell);
}

QAccessibleInterface* GridAccessible::header(int column) const
{
    return kept(-1 - column, makeHeader);
}

QAccessibleInterface* GridAccessible::child(int index) const
{
    return index < 0 ? nullptr : cellAt(index / kColumns, index % kColumns);
}

int GridAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* cell = dynamic_cast<const CellAccessible*>(child);
    return cell && cell->parent() == this ? cell->row() * kColumns + cell->column() : -1;
}

QAccessibleInterface* GridAccessible::focusChild() const
{
    return grid()->hasFocus() ? selectedCell() : nullptr;
}

QAccessibleInterface* GridAccessible::selectedCell() const
{
    return cellAt(grid()->selectedRow(), 0);
}

QString GridAccessible::columnDescription(int column) const
{
    return ReceiptGrid::columnName(column);
}

int GridAccessible::selectedRowCount() const
{
    return grid()->selectedRow() >= 0 ? 1 : 0;
}

QList<int> GridAccessible::selectedRows() const
{
    const int row = grid()->selectedRow();
    return row >= 0 ? QList<int>{row} : QList<int>{};
}

int GridAccessible::selectedCellCount() const
{
    return selectedRowCount() * kColumns;
}

QList<QAccessibleInterface*> GridAccessible::selectedCells() const
{
    QList<QAccessibleInterface*> cells;
    for (const int row : selectedRows())
        for (int column = 0; column < kColumns; ++column)
            cells << cellAt(row, column);
    return cells;
}

bool GridAccessible::isRowSelected(int row) const
{
    return row >= 0 && row == grid()->selectedRow();
}

bool GridAccessible::selectRow(int row)
{
    if (row < 0 || row >= rowCount())
        return false;
    grid()->selectRow(row);
    return true;
}

bool GridAccessible::unselectRow(int row)
{
    if (!isRowSelected(row))
        return false;
    grid()->selectRow(-1);
    return true;
}

}  // namespace recibo::receipt
