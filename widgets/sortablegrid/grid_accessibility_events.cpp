#include "widgets/sortablegrid/grid_accessibility_events.h"

#include <QAccessible>
#include <QWidget>

GridAccessibilityEvents::GridAccessibilityEvents(QWidget &grid, std::function<GridShape()> shape)
    : grid_(grid), shape_(std::move(shape))
{
}

std::optional<GridShape> GridAccessibilityEvents::Listening()
{
    if (!QAccessible::isActive()) {
        listening_ = false;
        return std::nullopt;
    }
    const GridShape now = shape_();
    if (!listening_) {
        // What changed before anyone listened is no news: start from here.
        told_ = now;
        listening_ = true;
    }
    return now;
}

void GridAccessibilityEvents::NoteCounts(const GridShape &now)
{
    told_.cols = now.cols;
    told_.rows = now.rows;
    told_.fixedCols = now.fixedCols;
    told_.fixedRows = now.fixedRows;
}

void GridAccessibilityEvents::Send(QAccessibleEvent &event)
{
    QAccessible::updateAccessibility(&event);
}

void GridAccessibilityEvents::CellsChanged(int col, int row)
{
    const std::optional<GridShape> listening = Listening();
    if (!listening)
        return;
    const GridShape &now = *listening;
    if (col < 0 || row < 0 || told_.cols != now.cols || told_.rows != now.rows) {
        NoteCounts(now);
        QAccessibleTableModelChangeEvent reset(&grid_, QAccessibleTableModelChangeEvent::ModelReset);
        Send(reset);
    } else if (col < now.fixedCols || row < now.fixedRows) {
        QAccessibleEvent named(&grid_, QAccessible::NameChanged);
        named.setChild(GridChildIndex(now.cols, col, row));
        Send(named);
    } else {
        QAccessibleTableModelChangeEvent changed(&grid_, QAccessibleTableModelChangeEvent::DataChanged);
        changed.setFirstRow(row - now.fixedRows);
        changed.setLastRow(row - now.fixedRows);
        changed.setFirstColumn(col - now.fixedCols);
        changed.setLastColumn(col - now.fixedCols);
        Send(changed);
    }
    CurrentOrSelectionMoved(now);
}

void GridAccessibilityEvents::CountsChanged()
{
    const std::optional<GridShape> listening = Listening();
    if (!listening)
        return;
    const GridShape &now = *listening;
    const int oldCols = told_.cols - told_.fixedCols, oldRows = told_.rows - told_.fixedRows;
    const bool fixedSame = told_.fixedCols == now.fixedCols && told_.fixedRows == now.fixedRows;
    NoteCounts(now);
    const int newCols = now.cols - now.fixedCols, newRows = now.rows - now.fixedRows;
    if (!fixedSame) {
        QAccessibleTableModelChangeEvent reset(&grid_, QAccessibleTableModelChangeEvent::ModelReset);
        Send(reset);
        return;
    }
    // Rows and columns come and go at the end.
    auto send = [this](QAccessibleTableModelChangeEvent::ModelChangeType type, int first, int last, bool rows) {
        QAccessibleTableModelChangeEvent event(&grid_, type);
        if (rows) {
            event.setFirstRow(first);
            event.setLastRow(last);
        } else {
            event.setFirstColumn(first);
            event.setLastColumn(last);
        }
        Send(event);
    };
    if (newRows > oldRows)
        send(QAccessibleTableModelChangeEvent::RowsInserted, oldRows, newRows - 1, true);
    else if (newRows < oldRows)
        send(QAccessibleTableModelChangeEvent::RowsRemoved, newRows, oldRows - 1, true);
    if (newCols > oldCols)
        send(QAccessibleTableModelChangeEvent::ColumnsInserted, oldCols, newCols - 1, false);
    else if (newCols < oldCols)
        send(QAccessibleTableModelChangeEvent::ColumnsRemoved, newCols, oldCols - 1, false);
}

void GridAccessibilityEvents::CurrentOrSelectionMoved()
{
    if (const std::optional<GridShape> now = Listening())
        CurrentOrSelectionMoved(*now);
}

void GridAccessibilityEvents::CurrentOrSelectionMoved(const GridShape &now)
{
    const QRect selection = now.selection;
    const bool moved = now.col != told_.col || now.row != told_.row;
    const QRect before = told_.selection;
    told_.col = now.col;
    told_.row = now.row;
    told_.selection = selection;

    if (moved && now.focused)
        FocusEntered(now);
    if (selection == before)
        return;
    // One cell added or taken away is told as such; any other change as a
    // change within the selection.
    const QRect common = selection.intersected(before);
    const auto area = [](const QRect &r) { return qint64(r.width()) * r.height(); };
    const qint64 added = area(selection) - area(common), removed = area(before) - area(common);
    auto corner = [](const QRect &of, const QRect &outside) {
        for (const QPoint p : {of.topLeft(), of.topRight(), of.bottomLeft(), of.bottomRight()}) {
            if (!outside.contains(p))
                return p;
        }
        return of.topLeft();
    };
    QAccessible::Event type = QAccessible::SelectionWithin;
    QPoint cell;
    if (area(selection) == 1) {
        type = QAccessible::Selection;
        cell = selection.topLeft();
    } else if (added == 1 && removed == 0) {
        type = QAccessible::SelectionAdd;
        cell = corner(selection, before);
    } else if (removed == 1 && added == 0) {
        type = QAccessible::SelectionRemove;
        cell = corner(before, selection);
    }
    QAccessibleEvent event(&grid_, type);
    if (type != QAccessible::SelectionWithin)
        event.setChild(GridChildIndex(now.cols, cell.x(), cell.y()));
    Send(event);
}

void GridAccessibilityEvents::FocusEntered()
{
    if (const std::optional<GridShape> now = Listening())
        FocusEntered(*now);
}

void GridAccessibilityEvents::FocusEntered(const GridShape &now)
{
    QAccessibleEvent event(&grid_, QAccessible::Focus);
    event.setChild(GridChildIndex(now.cols, now.col, now.row));
    Send(event);
}
