#include "widgets/sortablegrid/grid_table.h"

#include <algorithm>
#include <utility>

namespace {

template <class T>
void MoveElement(std::vector<T> &items, int from, int to)
{
    if (from < to)
        std::rotate(items.begin() + from, items.begin() + from + 1, items.begin() + to + 1);
    else if (to < from)
        std::rotate(items.begin() + to, items.begin() + from, items.begin() + from + 1);
}

} // namespace

GridTable::GridTable(int colCount, int rowCount, int defaultColWidth, int defaultRowHeight)
    : colCount_(colCount), defaultColWidth_(defaultColWidth), defaultRowHeight_(defaultRowHeight), rows_(rowCount),
      colWidths_(colCount, defaultColWidth), rowHeights_(rowCount, defaultRowHeight)
{
}

void GridTable::SetColCount(int count)
{
    if (count < colCount_) {
        for (QStringList &row : rows_) {
            if (row.size() > count)
                row.resize(count);
        }
    }
    colCount_ = count;
    colWidths_.resize(count, defaultColWidth_);
}

void GridTable::SetRowCount(int count)
{
    const auto size = std::size_t(count);
    // Rows cut off are kept, texts and all, for rows added later, as a vector
    // keeps its capacity: a table filled again row by row reuses their lists,
    // and the old texts are freed a row at a time as new ones come, not all at
    // once before the first new row.
    while (rows_.size() > size) {
        spareRows_.push_back(std::move(rows_.back()));
        rows_.pop_back();
    }
    while (rows_.size() < size) {
        if (spareRows_.empty()) {
            rows_.emplace_back();
        } else {
            rows_.push_back(std::move(spareRows_.back()));
            spareRows_.pop_back();
            rows_.back().clear(); // keeps the list's capacity
        }
    }
    rowHeights_.resize(count, defaultRowHeight_);
}

const QString &GridTable::Cell(int col, int row) const
{
    static const QString empty;
    const QStringList &cells = rows_[row];
    return col < cells.size() ? cells[col] : empty;
}

void GridTable::SetCell(int col, int row, QString text)
{
    QStringList &cells = rows_[row];
    if (col >= cells.size()) {
        if (text.isEmpty())
            return;
        // A row filled cell by cell takes one allocation, not one per cell.
        if (cells.capacity() < colCount_)
            cells.reserve(colCount_);
        cells.resize(col + 1);
    }
    cells[col] = std::move(text);
}

void GridTable::ClearAll()
{
    for (QStringList &row : rows_)
        row.clear();
}

void GridTable::ClearRow(int row)
{
    rows_[row].clear();
}

void GridTable::ClearColumn(int col)
{
    for (QStringList &row : rows_) {
        if (col < row.size())
            row[col].clear();
    }
}

void GridTable::MoveRow(int from, int to)
{
    MoveElement(rows_, from, to);
    MoveElement(rowHeights_, from, to);
}

void GridTable::MoveColumn(int from, int to)
{
    const int reach = std::max(from, to);
    for (QStringList &row : rows_) {
        if (row.size() <= std::min(from, to))
            continue; // both cells lie beyond the row's end: all empty
        if (row.size() <= reach)
            row.resize(reach + 1);
        row.move(from, to);
    }
    MoveElement(colWidths_, from, to);
}

void GridTable::DeleteRow(int row)
{
    rows_.erase(rows_.begin() + row);
    rowHeights_.erase(rowHeights_.begin() + row);
}

void GridTable::DeleteColumn(int col)
{
    for (QStringList &row : rows_) {
        if (col < row.size())
            row.removeAt(col);
    }
    colWidths_.erase(colWidths_.begin() + col);
    --colCount_;
}

void GridTable::SetDefaultColWidth(int width)
{
    defaultColWidth_ = width;
    std::fill(colWidths_.begin(), colWidths_.end(), width);
}

void GridTable::SetDefaultRowHeight(int height)
{
    defaultRowHeight_ = height;
    std::fill(rowHeights_.begin(), rowHeights_.end(), height);
}
