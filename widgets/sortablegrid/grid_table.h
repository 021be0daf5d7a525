#pragma once
#include <QString>
#include <QStringList>
#include <vector>

// Cell storage of the grid: one implicitly shared QStringList per row, so that
// reordering rows moves row handles and never copies cell texts. A row may be
// shorter than the column count; its missing cells are empty. Column widths and
// row heights live here too, since they travel with their column or row.
class GridTable
{
public:
    GridTable(int colCount, int rowCount, int defaultColWidth, int defaultRowHeight);

    int ColCount() const { return colCount_; }
    int RowCount() const { return int(rows_.size()); }
    void SetColCount(int count);
    void SetRowCount(int count);

    // The cell's text; an empty text for a cell beyond the row's end.
    const QString &Cell(int col, int row) const;
    void SetCell(int col, int row, QString text);

    // The row's cell list (possibly shorter than ColCount).
    QStringList &Row(int row) { return rows_[row]; }
    const QStringList &Row(int row) const { return rows_[row]; }
    std::vector<QStringList> &Rows() { return rows_; }

    void ClearAll();
    void ClearRow(int row);
    void ClearColumn(int col);

    // Takes the row or column out and inserts it at the target index.
    void MoveRow(int from, int to);
    void MoveColumn(int from, int to);
    void DeleteRow(int row);
    void DeleteColumn(int col);

    int ColWidth(int col) const { return colWidths_[col]; }
    void SetColWidth(int col, int width) { colWidths_[col] = width; }
    int RowHeight(int row) const { return rowHeights_[row]; }
    void SetRowHeight(int row, int height) { rowHeights_[row] = height; }
    int DefaultColWidth() const { return defaultColWidth_; }
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void SetDefaultColWidth(int width);   // all columns take the width
    void SetDefaultRowHeight(int height); // all rows take the height

private:
    int colCount_;
    int defaultColWidth_;
    int defaultRowHeight_;
    std::vector<QStringList> rows_;
    std::vector<QStringList> spareRows_; // storage of rows cut off, reused first
    std::vector<int> colWidths_;
    std::vector<int> rowHeights_;
};
