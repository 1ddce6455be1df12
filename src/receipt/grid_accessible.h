#pragma once

#include <QAccessibleWidget>
#include <QHash>

namespace recibo::receipt {

class ReceiptGrid;

// The receipt's lines as screen readers read a table: a row per line and a
// cell per column, each cell with its column's header ("Código",
// "Cantidad", "Concepto", "Haberes", "Descuentos"), so that moving by line or
// by cell is spoken and an earning is told from a deduction. The selected
// line's cells carry the explanation of its amount as their description.
class GridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridAccessible(ReceiptGrid* grid);
    ~GridAccessible() override;

    // Installed once: every ReceiptGrid is read through a GridAccessible.
    static void installFactory();

    // The rows were written again: the cells read before are let go.
    void rowsChanged();
    // The selected line's first cell, for the focus to be announced on.
    QAccessibleInterface* selectedCell() const;

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::Role role() const override { return QAccessible::Table; }
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    ReceiptGrid* grid() const;
    // A column's header, as the cells of that column name it.
    QAccessibleInterface* header(int column) const;

private:
    // Made when first asked for and kept, registered with Qt by id, as Qt's
    // own item views keep theirs: a screen reader holds on to them.
    QAccessibleInterface* kept(int key, QAccessibleInterface* (*make)(const GridAccessible*, int)) const;
    void letGo();

    mutable QHash<int, QAccessible::Id> kept_;
};

}  // namespace recibo::receipt
