#include "widgets/sortablegrid/accessible_sortable_grid.h"

#include "widgets/sortablegrid/grid_accessibility_events.h"
#include "widgets/sortablegrid/sortable_grid.h"

#include <QWindow>
#include <functional>

namespace {

quint64 CellKey(int col, int row)
{
    return (quint64(quint32(row)) << 32) | quint32(col);
}

// One cell of the grid, found by its place: after a sort the cell at a place
// reads its new text. Fixed cells are headers, without a table cell interface,
// as the header cells of Qt's tables are.
class AccessibleGridCell : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    AccessibleGridCell(TSortableGrid *grid, int col, int row) : grid_(grid), col_(col), row_(row) {}

    bool isValid() const override { return grid_ && col_ < grid_->ColCount() && row_ < grid_->RowCount(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return grid_ ? grid_->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(grid_); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name && isValid() ? grid_->Cells(col_, row_) : QString();
    }

    QAccessible::Role role() const override
    {
        if (grid_ && row_ < grid_->FixedRows())
            return QAccessible::ColumnHeader;
        if (grid_ && col_ < grid_->FixedCols())
            return QAccessible::RowHeader;
        return QAccessible::Cell;
    }

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect cell = grid_->CellRect(col_, row_);
        return cell.isEmpty() ? QRect() : QRect(grid_->viewport()->mapToGlobal(cell.topLeft()), cell.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        if (grid_->CellRect(col_, row_).isEmpty()) {
            state.invisible = true;
            state.offscreen = true;
        }
        if (IsHeader())
            return state;
        state.selectable = true;
        state.focusable = true;
        state.readOnly = !(grid_->Options() & goEditing);
        state.selected = isSelected();
        state.focused = col_ == grid_->Col() && row_ == grid_->Row() && grid_->hasFocus();
        state.active = col_ == grid_->Col() && row_ == grid_->Row();
        return state;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface && grid_ && !IsHeader()
            ? static_cast<QAccessibleTableCellInterface *>(this)
            : nullptr;
    }

    bool isSelected() const override { return isValid() && !IsHeader() && grid_->Selection().contains(col_, row_); }

    QList<QAccessibleInterface *> columnHeaderCells() const override
    {
        QList<QAccessibleInterface *> headers;
        for (int row = 0; isValid() && row < grid_->FixedRows(); ++row)
            headers << Table()->GridCell(col_, row);
        return headers;
    }

    QList<QAccessibleInterface *> rowHeaderCells() const override
    {
        QList<QAccessibleInterface *> headers;
        for (int col = 0; isValid() && col < grid_->FixedCols(); ++col)
            headers << Table()->GridCell(col, row_);
        return headers;
    }

    int columnIndex() const override { return grid_ ? col_ - grid_->FixedCols() : -1; }
    int rowIndex() const override { return grid_ ? row_ - grid_->FixedRows() : -1; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

    const TSortableGrid *Grid() const { return grid_; }
    int Col() const { return col_; }
    int Row() const { return row_; }

private:
    bool IsHeader() const { return row_ < grid_->FixedRows() || col_ < grid_->FixedCols(); }
    AccessibleSortableGrid *Table() const { return static_cast<AccessibleSortableGrid *>(parent()); }

    QPointer<TSortableGrid> grid_;
    int col_, row_;
};

// The texts that are not empty among count, blanks between.
QString JoinedTexts(int count, const std::function<QString(int)> &text)
{
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        const QString one = text(i);
        if (!one.isEmpty())
            texts << one;
    }
    return texts.join(u' ');
}

} // namespace

AccessibleSortableGrid::AccessibleSortableGrid(TSortableGrid *grid) : QAccessibleWidget(grid, QAccessible::Table) {}

QAccessibleInterface *AccessibleSortableGrid::Factory(const QString &className, QObject *object)
{
    if (className == QLatin1String(TSortableGrid::staticMetaObject.className())) {
        if (auto *grid = qobject_cast<TSortableGrid *>(object))
            return new AccessibleSortableGrid(grid);
    }
    return nullptr;
}

TSortableGrid *AccessibleSortableGrid::Grid() const
{
    return static_cast<TSortableGrid *>(widget());
}

void *AccessibleSortableGrid::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessibleInterface *AccessibleSortableGrid::GridCell(int col, int row) const
{
    TSortableGrid *grid = Grid();
    if (col < 0 || row < 0 || col >= grid->ColCount() || row >= grid->RowCount())
        return nullptr;
    return cells_.Get(CellKey(col, row), [grid, col, row] { return new AccessibleGridCell(grid, col, row); });
}

int AccessibleSortableGrid::childCount() const
{
    return Grid()->RowCount() * Grid()->ColCount();
}

QAccessibleInterface *AccessibleSortableGrid::child(int index) const
{
    const int cols = Grid()->ColCount();
    return index < 0 ? nullptr : GridCell(index % cols, index / cols);
}

int AccessibleSortableGrid::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *cell = dynamic_cast<const AccessibleGridCell *>(child);
    if (!cell || cell->Grid() != Grid() || !cell->isValid())
        return -1;
    return GridChildIndex(Grid()->ColCount(), cell->Col(), cell->Row());
}

QAccessibleInterface *AccessibleSortableGrid::childAt(int x, int y) const
{
    TSortableGrid *grid = Grid();
    int col = -1, row = -1;
    grid->MouseToCell(grid->viewport()->mapFromGlobal(QPoint(x, y)), col, row);
    return GridCell(col, row);
}

QAccessibleInterface *AccessibleSortableGrid::focusChild() const
{
    TSortableGrid *grid = Grid();
    return grid->hasFocus() ? GridCell(grid->Col(), grid->Row()) : nullptr;
}

QAccessibleInterface *AccessibleSortableGrid::cellAt(int row, int column) const
{
    TSortableGrid *grid = Grid();
    if (row < 0 || column < 0)
        return nullptr;
    return GridCell(grid->FixedCols() + column, grid->FixedRows() + row);
}

int AccessibleSortableGrid::selectedCellCount() const
{
    const QRect selection = Grid()->Selection();
    return selection.width() * selection.height();
}

QList<QAccessibleInterface *> AccessibleSortableGrid::selectedCells() const
{
    const QRect selection = Grid()->Selection();
    QList<QAccessibleInterface *> cells;
    for (int row = selection.top(); row <= selection.bottom(); ++row) {
        for (int col = selection.left(); col <= selection.right(); ++col)
            cells << GridCell(col, row);
    }
    return cells;
}

QString AccessibleSortableGrid::columnDescription(int column) const
{
    const TSortableGrid &grid = *Grid();
    const int col = grid.FixedCols() + column;
    if (column < 0 || col >= grid.ColCount())
        return QString();
    return JoinedTexts(grid.FixedRows(), [&](int row) { return grid.Cells(col, row); });
}

QString AccessibleSortableGrid::rowDescription(int row) const
{
    const TSortableGrid &grid = *Grid();
    const int gridRow = grid.FixedRows() + row;
    if (row < 0 || gridRow >= grid.RowCount())
        return QString();
    return JoinedTexts(grid.FixedCols(), [&](int col) { return grid.Cells(col, gridRow); });
}

int AccessibleSortableGrid::columnCount() const
{
    return Grid()->ColCount() - Grid()->FixedCols();
}

int AccessibleSortableGrid::rowCount() const
{
    return Grid()->RowCount() - Grid()->FixedRows();
}

QList<int> AccessibleSortableGrid::selectedColumns() const
{
    QList<int> columns;
    for (int column = 0; column < columnCount(); ++column) {
        if (isColumnSelected(column))
            columns << column;
    }
    return columns;
}

QList<int> AccessibleSortableGrid::selectedRows() const
{
    QList<int> rows;
    const QRect selection = Grid()->Selection();
    for (int row = selection.top(); row <= selection.bottom(); ++row) {
        if (isRowSelected(row - Grid()->FixedRows()))
            rows << row - Grid()->FixedRows();
    }
    return rows;
}

int AccessibleSortableGrid::selectedColumnCount() const
{
    return int(selectedColumns().size());
}

int AccessibleSortableGrid::selectedRowCount() const
{
    return int(selectedRows().size());
}

bool AccessibleSortableGrid::isColumnSelected(int column) const
{
    const TSortableGrid &grid = *Grid();
    const QRect selection = grid.Selection();
    return selection.contains(grid.FixedCols() + column, grid.FixedRows()) && selection.top() == grid.FixedRows() &&
        selection.bottom() == grid.RowCount() - 1;
}

bool AccessibleSortableGrid::isRowSelected(int row) const
{
    const TSortableGrid &grid = *Grid();
    const QRect selection = grid.Selection();
    return selection.contains(grid.FixedCols(), grid.FixedRows() + row) && selection.left() == grid.FixedCols() &&
        selection.right() == grid.ColCount() - 1;
}

bool AccessibleSortableGrid::selectRow(int row)
{
    TSortableGrid &grid = *Grid();
    const int gridRow = grid.FixedRows() + row;
    const bool wide = grid.ColCount() - grid.FixedCols() > 1;
    if (row < 0 || gridRow >= grid.RowCount() || (wide && !(grid.Options() & goRangeSelect)))
        return false;
    grid.FocusCell(grid.FixedCols(), gridRow, true);
    grid.FocusCell(grid.ColCount() - 1, gridRow, false);
    return true;
}

bool AccessibleSortableGrid::selectColumn(int column)
{
    TSortableGrid &grid = *Grid();
    const int col = grid.FixedCols() + column;
    const bool tall = grid.RowCount() - grid.FixedRows() > 1;
    if (column < 0 || col >= grid.ColCount() || (tall && !(grid.Options() & goRangeSelect)))
        return false;
    grid.FocusCell(col, grid.FixedRows(), true);
    grid.FocusCell(col, grid.RowCount() - 1, false);
    return true;
}

void AccessibleSortableGrid::modelChange(QAccessibleTableModelChangeEvent *)
{
    // Cells are kept by place; only places that are gone lose theirs.
    const int cols = Grid()->ColCount(), rows = Grid()->RowCount();
    cells_.DropIf([cols, rows](quint64 key) { return int(key >> 32) >= rows || int(quint32(key)) >= cols; });
}
