#pragma once
#include "widgets/accessible_child_cache.h"

#include <QAccessibleWidget>
#include <QPointer>

class TSortableGrid;

// The sortable grid as assistive technology sees it, the way Qt's table views
// show themselves: a table whose children are all its cells row by row, those
// of the fixed rows as column headers and those of the fixed columns as row
// headers. The table interface's rows and columns count the data cells, and
// its selection and focus child are the grid's selection and current cell.
class AccessibleSortableGrid : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit AccessibleSortableGrid(TSortableGrid *grid);

    // Installed with QAccessible::installFactory: the interface of every TSortableGrid.
    static QAccessibleInterface *Factory(const QString &className, QObject *object);

    void *interface_cast(QAccessible::InterfaceType type) override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *focusChild() const override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override;
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override;
    QList<int> selectedRows() const override;
    bool isColumnSelected(int column) const override;
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int column) override;
    // The selection is one rectangle around the current cell: no row or
    // column can be taken out of it.
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *event) override;

    // The child for a cell of the grid, fixed ones included.
    QAccessibleInterface *GridCell(int col, int row) const;

private:
    TSortableGrid *Grid() const;

    mutable AccessibleChildCache cells_;
};
