#pragma once
#include "widgets/accessible_child_cache.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QRect>

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
    static int ChildIndex(const TSortableGrid &grid, int col, int row);

private:
    TSortableGrid *Grid() const;

    mutable AccessibleChildCache cells_;
};

// Makes the grid's interface known to QAccessible; once per program.
void InstallAccessibleSortableGrid();

// Tells assistive technology what changed in a grid, with the events Qt's
// table views send; nearly free while none listens.
class GridAccessibilityEvents
{
public:
    explicit GridAccessibilityEvents(TSortableGrid &grid);

    // One cell's text (col, row), or with -1, -1 any cells, changed.
    void CellsChanged(int col, int row);
    void CountsChanged();
    // Compares the current cell and the selection with those last told.
    void CurrentOrSelectionMoved();
    // The grid took the focus: its current cell has it.
    void FocusEntered();

private:
    // Whether assistive technology listens; when it starts to, the grid's
    // state as it is then is the start of what is told.
    bool Listening();
    void Send(QAccessibleEvent &event);
    void NoteCounts();

    TSortableGrid &grid_;
    bool listening_ = false;
    int cols_ = 0, rows_ = 0, fixedCols_ = 0, fixedRows_ = 0;
    int col_ = -1, row_ = -1;
    QRect selection_;
};
