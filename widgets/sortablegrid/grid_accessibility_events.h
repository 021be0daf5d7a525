#pragma once
#include <QRect>

#include <functional>
#include <optional>

class QAccessibleEvent;
class QWidget;

// What assistive technology is told of a grid: its counts, fixed ones
// included, its current cell and selection (in cells), and whether it has the
// focus.
struct GridShape
{
    int cols = 0, rows = 0, fixedCols = 0, fixedRows = 0;
    int col = -1, row = -1;
    QRect selection;
    bool focused = false;
};

// The accessible child of the cell (col, row) of a grid `cols` columns wide:
// all cells, fixed ones included, row by row.
inline int GridChildIndex(int cols, int col, int row)
{
    return row * cols + col;
}

// Tells assistive technology what changed in a grid, with the events Qt's
// table views send; nearly free while none listens: the grid's shape is read
// (through `shape`) only then.
class GridAccessibilityEvents
{
public:
    GridAccessibilityEvents(QWidget &grid, std::function<GridShape()> shape);

    // One cell's text (col, row), or with -1, -1 any cells, changed.
    void CellsChanged(int col, int row);
    void CountsChanged();
    // Compares the current cell and the selection with those last told.
    void CurrentOrSelectionMoved();
    // The grid took the focus: its current cell has it.
    void FocusEntered();

private:
    // The grid's shape now while assistive technology listens; when it starts
    // to, that shape is the start of what is told.
    std::optional<GridShape> Listening();
    void CurrentOrSelectionMoved(const GridShape &now);
    void FocusEntered(const GridShape &now);
    void NoteCounts(const GridShape &now);
    void Send(QAccessibleEvent &event);

    QWidget &grid_;
    std::function<GridShape()> shape_;
    bool listening_ = false;
    GridShape told_; // the counts, current cell and selection last told
};
