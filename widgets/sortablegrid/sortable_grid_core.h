#pragma once
#include "widgets/sortablegrid/grid_table.h"
#include "widgets/sortablegrid/sort_entries.h"

#include <QFlags>
#include <QLocale>
#include <QRect>
#include <QString>
#include <functional>

// Options of the grid, as the string grid names them.
enum TGridOption {
    goFixedVertLine = 0x001,
    goFixedHorzLine = 0x002,
    goVertLine = 0x004,
    goHorzLine = 0x008,
    goRangeSelect = 0x010,
    goDrawFocusSelected = 0x020,
    goEditing = 0x040,
    goAlwaysShowEditor = 0x080,
    goTabs = 0x100,
};
Q_DECLARE_FLAGS(TGridOptions, TGridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridOptions)

// Events. The sender is the grid the handler was assigned to, so it is not passed.
using TNotifyEvent = std::function<void()>;
using TUpdateGridEvent = std::function<void(int Index)>;
using TClickSortEvent = std::function<void(int Col, int Row, TSortOptions &SortOptions)>;
using TBeginSortEvent = std::function<void(int Col, TSortOptions &SortOptions)>;
using TEndSortEvent = std::function<void(int Col)>;
using TSizeChangedEvent = std::function<void(int OldColCount, int OldRowCount)>;
using TCellValidateEvent = std::function<void(int Col, int Row, QString &Value, bool &Valid)>;

// Everything of the sortable grid that needs no window: the cells, the fixed
// rows and columns, the current cell and selection, sorting and its record,
// row and column operations, search, text files and cell validation. The
// widget derives from it and answers the protected view hooks.
//
// Row 0 up to FixedRows - 1 and column 0 up to FixedCols - 1 are fixed; there is
// always at least one row and one column that are not, and the current cell is
// never fixed. Indexes outside the grid raise RomdeckError ("Grid index out of
// range").
class SortableGridCore
{
public:
    SortableGridCore();
    virtual ~SortableGridCore() = default;
    SortableGridCore(const SortableGridCore &) = delete;
    SortableGridCore &operator=(const SortableGridCore &) = delete;

    // ---- Cells, counts and sizes
    int ColCount() const { return table_.ColCount(); }
    int RowCount() const { return table_.RowCount(); }
    void SetColCount(int count); // at least 1; lowers FixedCols to keep one free column
    void SetRowCount(int count); // at least 1; lowers FixedRows to keep one free row
    int FixedCols() const { return fixedCols_; }
    int FixedRows() const { return fixedRows_; }
    void SetFixedCols(int count); // must be below ColCount
    void SetFixedRows(int count); // must be below RowCount
    QString Cells(int col, int row) const;
    void SetCells(int col, int row, QString text);
    int ColWidths(int col) const;
    void SetColWidths(int col, int width);
    int RowHeights(int row) const;
    void SetRowHeights(int row, int height);
    int DefaultColWidth() const { return table_.DefaultColWidth(); }
    int DefaultRowHeight() const { return table_.DefaultRowHeight(); }
    void SetDefaultColWidth(int width);   // every column
    void SetDefaultRowHeight(int height); // every row
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions options);

    // ---- Current cell and selection
    int Col() const { return col_; }
    int Row() const { return row_; }
    void SetCol(int col);
    void SetRow(int row);
    // The selected cells: from the anchor to the current cell.
    QRect Selection() const;
    // Moves the current cell as the user does; with moveAnchor the selection
    // shrinks to it, otherwise it stretches from the anchor.
    void FocusCell(int col, int row, bool moveAnchor);
    virtual void GoToCell(int col, int row);

    // ---- Properties
    bool ClickSorting() const { return clickSorting_; }
    void SetClickSorting(bool on) { clickSorting_ = on; }
    bool ExtendedKeys() const { return extendedKeys_; }
    void SetExtendedKeys(bool on) { extendedKeys_ = on; }
    bool Sorting() const { return sorting_; }
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }
    // The locale whose number and short date formats the sorts read;
    // QLocale::system() unless set.
    const QLocale &SortLocale() const { return sortLocale_; }
    void SetSortLocale(const QLocale &locale) { sortLocale_ = locale; }

    // ---- Sorting
    virtual void SortOnColumn(int col, TSortOptions options);
    virtual void ReorderRows(int col, TSortOptions options);
    virtual TSortKind DetectSortKind(int col) const;
    // The comparison of the last sort (or of ascending text before the first).
    int CompareSortEntries(const TSortedListEntry &a, const TSortedListEntry &b) const;
    virtual bool SortRecordValid();
    virtual void RestoreUnsortedOrder();
    // The record of the last sort: entry i is the row now at FixedRows + i.
    const TSortedList &SortRecord() const { return sortRecord_; }
    // A header click: the options, OnClickSort, the busy cursor and the sort.
    void ClickSort(int col, int row, bool rightButton);

    // ---- Row and column operations
    virtual void ClearCells();
    virtual void InsertRowAt(int row);
    virtual void InsertColumnAt(int col);
    virtual void DeleteRowAt(int row);
    virtual void DeleteColumnAt(int col);
    virtual void MoveRowTo(int from, int to);
    virtual void MoveColumnTo(int from, int to);
    virtual void SwapRows(int a, int b);
    virtual void SwapColumns(int a, int b);
    // The keys bound by ExtendedKeys; true when the key is one of them.
    bool HandleExtendedKey(int key, Qt::KeyboardModifiers modifiers);

    // ---- Search and text files
    virtual bool FindCellText(const QString &text, int &col, int &row) const;
    virtual void LoadFromTextFile(const QString &fileName, QChar separator);
    virtual void SaveToTextFile(const QString &fileName, QChar separator) const;

    // ---- Validation of a changed cell
    virtual void NoteCurrentCell();
    virtual void CheckCellChange();
    // The in-place editor sets a cell's text.
    void SetEditText(int col, int row, const QString &text);
    // A click on the grid (also every move of the current cell), then the check.
    void Click();
    void FocusEntered();
    void FocusLeft();
    bool Entered() const { return entered_; }

    // ---- Events
    TClickSortEvent OnClickSort;
    TUpdateGridEvent OnRowInsert;
    TUpdateGridEvent OnRowDelete;
    TUpdateGridEvent OnColumnInsert;
    TUpdateGridEvent OnColumnDelete;
    TNotifyEvent OnColumnWidthsChanged;
    TNotifyEvent OnRowHeightsChanged;
    TSizeChangedEvent OnSizeChanged;
    TBeginSortEvent OnBeginSort;
    TEndSortEvent OnEndSort;
    TCellValidateEvent OnCellValidate;
    TNotifyEvent OnClick;

protected:
    // View hooks, answered by the widget.
    virtual bool EditorShowing() const { return false; }
    virtual bool SelectCell(int col, int row) const;
    virtual void GridChanged() {}
    virtual void CurrentCellMoved() {}
    virtual void OptionsChanged() {}
    virtual void SetBusyCursor(bool /*busy*/) {}
    virtual void ApplyScrollPage() {}
    // The text of cell (col, row) was set; col and row are -1 when any cells
    // may have changed or moved at once.
    virtual void CellsChanged(int /*col*/, int /*row*/) {}
    // The row or column count changed.
    virtual void CountsChanged() {}

    const GridTable &Table() const { return table_; }
    void CheckCol(int col) const; // raises RomdeckError outside the grid
    void CheckRow(int row) const;
    void ColWidthsChanged();
    void RowHeightsChanged();

private:
    class EditorSuppressor;

    // Every change of a cell's text or of the counts: it ends the use of the
    // keys a detection read.
    void ContentChanged(int col, int row);
    void SizeChanged(int oldColCount, int oldRowCount);
    void SetCurrentQuietly(int col, int row, bool moveAnchor);
    void KeepCurrentOutOfFixed();
    // Index mappings applied to the current cell, the anchor and the noted cell
    // when rows or columns move, so that they stay with their content.
    void FollowRows(const std::function<int(int)> &newIndex);
    void FollowColumns(const std::function<int(int)> &newIndex);
    // Whether every row (column) from a to b, in either order, has the same
    // height (width), so that moving one among them changes none.
    bool SameRowHeights(int a, int b) const;
    bool SameColWidths(int a, int b) const;

    GridTable table_;
    int fixedCols_ = 1;
    int fixedRows_ = 1;
    TGridOptions options_;
    int col_ = 1, row_ = 1;
    int anchorCol_ = 1, anchorRow_ = 1;

    TSortedList sortRecord_;
    int sortRecordFixedRows_ = 0;
    // The keys the last kind detection read, for the sort that follows it,
    // with the column and the content they belong to.
    mutable ColumnKeys detectedKeys_;
    mutable int detectedCol_ = -1;
    mutable quint64 detectedGeneration_ = 0;
    quint64 contentGeneration_ = 0;
    // Swaps raise the size events once, for the net change of their two moves.
    bool sizeEventsHeld_ = false;
    TSortOptions compareOptions_{skText, 0, 1};
    QLocale sortLocale_;
    bool clickSorting_ = true;
    bool extendedKeys_ = false;
    bool sorting_ = false;
    bool modified_ = false;

    QString notedText_;
    int notedCol_ = -1, notedRow_ = -1;
    bool notedModified_ = false;
    bool entered_ = false;
};
