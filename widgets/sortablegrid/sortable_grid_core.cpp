#include "widgets/sortablegrid/sortable_grid_core.h"

#include "platform/errors.h"
#include "widgets/sortablegrid/grid_text_file.h"
#include "widgets/sortablegrid/sort_key_reader.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kDefaultColCount = 5;
constexpr int kDefaultRowCount = 5;
constexpr int kDefaultColWidth = 64;
constexpr int kDefaultRowHeight = 24;

[[noreturn]] void ThrowIndexError()
{
    throw RomdeckError("Grid index out of range");
}

// Where index i lands when the element at from is taken out and put at to.
int IndexAfterMove(int i, int from, int to)
{
    if (i == from)
        return to;
    if (from < to && i > from && i <= to)
        return i - 1;
    if (to < from && i >= to && i < from)
        return i + 1;
    return i;
}

// Calls a function on leaving a scope, also when an error is raised.
template <class F>
class ScopeExit
{
public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ~ScopeExit() { f_(); }
    ScopeExit(const ScopeExit &) = delete;
    ScopeExit &operator=(const ScopeExit &) = delete;

private:
    F f_;
};

} // namespace

// Keeps the in-place editor from showing while rows or columns change.
class SortableGridCore::EditorSuppressor
{
public:
    explicit EditorSuppressor(SortableGridCore &grid) : grid_(grid), saved_(grid.options_)
    {
        if (saved_ & goAlwaysShowEditor)
            grid_.SetOptions(saved_ & ~TGridOptions(goAlwaysShowEditor));
    }
    ~EditorSuppressor()
    {
        if (saved_ & goAlwaysShowEditor)
            grid_.SetOptions(saved_);
    }

private:
    SortableGridCore &grid_;
    TGridOptions saved_;
};

SortableGridCore::SortableGridCore()
    : table_(kDefaultColCount, kDefaultRowCount, kDefaultColWidth, kDefaultRowHeight),
      options_(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect),
      sortLocale_(QLocale::system())
{
    NoteCurrentCell();
}

// ---- Cells, counts and sizes

void SortableGridCore::CheckCol(int col) const
{
    if (col < 0 || col >= ColCount())
        ThrowIndexError();
}

void SortableGridCore::CheckRow(int row) const
{
    if (row < 0 || row >= RowCount())
        ThrowIndexError();
}

void SortableGridCore::SetColCount(int count)
{
    count = std::max(count, 1);
    const int oldCols = ColCount();
    if (count == oldCols)
        return;
    table_.SetColCount(count);
    fixedCols_ = std::min(fixedCols_, count - 1);
    col_ = std::min(col_, count - 1);
    anchorCol_ = std::min(anchorCol_, count - 1);
    KeepCurrentOutOfFixed();
    SizeChanged(oldCols, RowCount());
}

void SortableGridCore::SetRowCount(int count)
{
    count = std::max(count, 1);
    const int oldRows = RowCount();
    if (count == oldRows)
        return;
    table_.SetRowCount(count);
    fixedRows_ = std::min(fixedRows_, count - 1);
    row_ = std::min(row_, count - 1);
    anchorRow_ = std::min(anchorRow_, count - 1);
    KeepCurrentOutOfFixed();
    SizeChanged(ColCount(), oldRows);
}

void SortableGridCore::SetFixedCols(int count)
{
    if (count < 0 || count >= ColCount())
        throw RomdeckError("Fixed column count must be less than column count");
    fixedCols_ = count;
    KeepCurrentOutOfFixed();
    GridChanged();
    ContentChanged(-1, -1);
    ApplyScrollPage();
}

void SortableGridCore::SetFixedRows(int count)
{
    if (count < 0 || count >= RowCount())
        throw RomdeckError("Fixed row count must be less than row count");
    fixedRows_ = count;
    KeepCurrentOutOfFixed();
    GridChanged();
    ContentChanged(-1, -1);
    ApplyScrollPage();
}

QString SortableGridCore::Cells(int col, int row) const
{
    CheckCol(col);
    CheckRow(row);
    return table_.Cell(col, row);
}

void SortableGridCore::SetCells(int col, int row, QString text)
{
    CheckCol(col);
    CheckRow(row);
    table_.SetCell(col, row, std::move(text));
    GridChanged();
    ContentChanged(col, row);
}

int SortableGridCore::ColWidths(int col) const
{
    CheckCol(col);
    return table_.ColWidth(col);
}

void SortableGridCore::SetColWidths(int col, int width)
{
    CheckCol(col);
    if (table_.ColWidth(col) == width)
        return;
    table_.SetColWidth(col, std::max(width, 0));
    ColWidthsChanged();
}

int SortableGridCore::RowHeights(int row) const
{
    CheckRow(row);
    return table_.RowHeight(row);
}

void SortableGridCore::SetRowHeights(int row, int height)
{
    CheckRow(row);
    if (table_.RowHeight(row) == height)
        return;
    table_.SetRowHeight(row, std::max(height, 0));
    RowHeightsChanged();
}

void SortableGridCore::SetDefaultColWidth(int width)
{
    width = std::max(width, 0);
    bool changed = false;
    for (int col = 0; col < ColCount() && !changed; ++col)
        changed = table_.ColWidth(col) != width;
    table_.SetDefaultColWidth(width);
    if (changed)
        ColWidthsChanged();
}

void SortableGridCore::SetDefaultRowHeight(int height)
{
    height = std::max(height, 0);
    bool changed = false;
    for (int row = 0; row < RowCount() && !changed; ++row)
        changed = table_.RowHeight(row) != height;
    table_.SetDefaultRowHeight(height);
    if (changed)
        RowHeightsChanged();
}

bool SortableGridCore::SameRowHeights(int a, int b) const
{
    for (int row = std::min(a, b); row < std::max(a, b); ++row) {
        if (table_.RowHeight(row) != table_.RowHeight(row + 1))
            return false;
    }
    return true;
}

bool SortableGridCore::SameColWidths(int a, int b) const
{
    for (int col = std::min(a, b); col < std::max(a, b); ++col) {
        if (table_.ColWidth(col) != table_.ColWidth(col + 1))
            return false;
    }
    return true;
}

void SortableGridCore::SetOptions(TGridOptions options)
{
    if (options == options_)
        return;
    options_ = options;
    OptionsChanged();
    GridChanged();
}

void SortableGridCore::ColWidthsChanged()
{
    GridChanged();
    if (OnColumnWidthsChanged)
        OnColumnWidthsChanged();
    ApplyScrollPage();
}

void SortableGridCore::RowHeightsChanged()
{
    GridChanged();
    if (OnRowHeightsChanged)
        OnRowHeightsChanged();
    ApplyScrollPage();
}

void SortableGridCore::ContentChanged(int col, int row)
{
    ++contentGeneration_;
    CellsChanged(col, row);
}

void SortableGridCore::SizeChanged(int oldColCount, int oldRowCount)
{
    GridChanged();
    ++contentGeneration_;
    CountsChanged();
    if (OnSizeChanged)
        OnSizeChanged(oldColCount, oldRowCount);
    ApplyScrollPage();
}

// ---- Current cell and selection

bool SortableGridCore::SelectCell(int col, int row) const
{
    return col >= fixedCols_ && col < ColCount() && row >= fixedRows_ && row < RowCount();
}

void SortableGridCore::SetCurrentQuietly(int col, int row, bool moveAnchor)
{
    col_ = col;
    row_ = row;
    if (moveAnchor) {
        anchorCol_ = col;
        anchorRow_ = row;
    }
}

void SortableGridCore::KeepCurrentOutOfFixed()
{
    col_ = std::max(col_, fixedCols_);
    row_ = std::max(row_, fixedRows_);
    anchorCol_ = std::max(anchorCol_, fixedCols_);
    anchorRow_ = std::max(anchorRow_, fixedRows_);
}

void SortableGridCore::FocusCell(int col, int row, bool moveAnchor)
{
    if (!SelectCell(col, row))
        return;
    const bool moved = col != col_ || row != row_;
    const bool selectionChanged = moveAnchor && (anchorCol_ != col || anchorRow_ != row);
    SetCurrentQuietly(col, row, moveAnchor);
    if (!moved && !selectionChanged)
        return;
    GridChanged();
    CurrentCellMoved();
    if (moved)
        Click();
}

void SortableGridCore::SetCol(int col)
{
    FocusCell(col, row_, true);
}

void SortableGridCore::SetRow(int row)
{
    FocusCell(col_, row, true);
}

QRect SortableGridCore::Selection() const
{
    return QRect(QPoint(std::min(col_, anchorCol_), std::min(row_, anchorRow_)),
                 QPoint(std::max(col_, anchorCol_), std::max(row_, anchorRow_)));
}

void SortableGridCore::GoToCell(int col, int row)
{
    FocusCell(std::max(col, fixedCols_), std::max(row, fixedRows_), true);
    CurrentCellMoved();
}

void SortableGridCore::FollowRows(const std::function<int(int)> &newIndex)
{
    row_ = newIndex(row_);
    anchorRow_ = newIndex(anchorRow_);
    if (notedRow_ >= 0)
        notedRow_ = newIndex(notedRow_);
    KeepCurrentOutOfFixed();
}

void SortableGridCore::FollowColumns(const std::function<int(int)> &newIndex)
{
    col_ = newIndex(col_);
    anchorCol_ = newIndex(anchorCol_);
    if (notedCol_ >= 0)
        notedCol_ = newIndex(notedCol_);
    KeepCurrentOutOfFixed();
}

// ---- Sorting

void SortableGridCore::ClickSort(int col, int row, bool rightButton)
{
    TSortOptions options;
    options.SortKind = skAuto;
    options.Descending = rightButton ? 1 : 0;
    options.CaseSensitive = 1;
    if (OnClickSort)
        OnClickSort(col, row, options);
    SetBusyCursor(true);
    ScopeExit restoreCursor([this] { SetBusyCursor(false); });
    SortOnColumn(col, options);
}

void SortableGridCore::SortOnColumn(int col, TSortOptions options)
{
    if (EditorShowing())
        return;
    if (fixedRows_ + 1 >= RowCount())
        return;
    if (col < 0 || col >= ColCount())
        return;
    if (OnBeginSort)
        OnBeginSort(col, options);
    if (options.SortKind == skAuto)
        options.SortKind = DetectSortKind(col);
    ReorderRows(col, options);
    if (OnEndSort)
        OnEndSort(col);
}

TSortKind SortableGridCore::DetectSortKind(int col) const
{
    detectedKeys_ = ColumnKeys();
    if (col < 0 || col >= ColCount())
        return skText;
    const SortKeyReader reader(sortLocale_);
    ColumnKeys keys;
    const size_t count = size_t(RowCount() - fixedRows_);
    keys.texts.reserve(count);
    keys.numbers.reserve(count);
    keys.dates.reserve(count);
    bool numberPossible = true;
    bool datePossible = true;
    for (int row = fixedRows_; row < RowCount() && (numberPossible || datePossible); ++row) {
        const QString &text = table_.Cell(col, row);
        long double number = 0;
        qint64 date = 0;
        if (numberPossible && !reader.ReadNumber(text, number))
            numberPossible = false;
        if (datePossible && !reader.ReadDate(text, false, date))
            datePossible = false;
        if (numberPossible)
            keys.numbers.push_back(number);
        if (datePossible)
            keys.dates.push_back(date);
        keys.texts.push_back(text);
    }
    const TSortKind kind = numberPossible ? skNumber : (datePossible ? skDate : skText);
    if (kind != skText) {
        // A date read without a time has the value the sort reads with an optional one.
        if (kind == skNumber)
            keys.dates = {};
        else
            keys.numbers = {};
        keys.kind = kind;
        keys.locale = sortLocale_;
        detectedKeys_ = std::move(keys);
        detectedCol_ = col;
        detectedGeneration_ = contentGeneration_;
    }
    return kind;
}

int SortableGridCore::CompareSortEntries(const TSortedListEntry &a, const TSortedListEntry &b) const
{
    return SortEntryComparer(compareOptions_, sortLocale_).CompareSortEntries(a, b);
}

void SortableGridCore::ReorderRows(int col, TSortOptions options)
{
    sorting_ = true;
    ScopeExit clearSorting([this] { sorting_ = false; });
    sortRecord_.clear();
    compareOptions_ = options;
    if (col < 0 || col >= ColCount())
        return;

    const int first = fixedRows_;
    const int count = RowCount() - first;
    // The texts and keys of a detection of this column with no change of the
    // cells since serve the sort: no text is copied or read twice.
    ColumnKeys known = std::exchange(detectedKeys_, ColumnKeys());
    const bool fits =
        detectedCol_ == col && detectedGeneration_ == contentGeneration_ && known.texts.size() == size_t(count);
    TSortedList entries;
    entries.reserve(count);
    for (int i = 0; i < count; ++i)
        entries.push_back({fits ? std::move(known.texts[i]) : table_.Cell(col, first + i), first + i});
    SortEntryComparer(options, sortLocale_).Sort(entries, fits ? &known : nullptr);

    // Rows move as handles through a scratch list; their heights stay in place.
    std::vector<QStringList> &rows = table_.Rows();
    std::vector<QStringList> scratch(count);
    std::vector<int> newIndexOf(RowCount());
    for (int row = 0; row < first; ++row)
        newIndexOf[row] = row;
    for (int i = 0; i < count; ++i) {
        scratch[i] = std::move(rows[entries[i].RowIndex]);
        newIndexOf[entries[i].RowIndex] = first + i;
    }
    for (int i = 0; i < count; ++i)
        rows[first + i] = std::move(scratch[i]);

    sortRecord_ = std::move(entries);
    sortRecordFixedRows_ = first;
    // The current cell and the noted cell follow their rows.
    const int currentRowAfter = newIndexOf[row_];
    anchorRow_ = newIndexOf[anchorRow_];
    if (notedRow_ >= 0 && notedRow_ < RowCount())
        notedRow_ = newIndexOf[notedRow_];
    GridChanged();
    ContentChanged(-1, -1);
    GoToCell(col_, currentRowAfter);
}

bool SortableGridCore::SortRecordValid()
{
    // A record made with other fixed rows would move rows across the header.
    if (sortRecord_.size() == size_t(RowCount() - fixedRows_) && sortRecordFixedRows_ == fixedRows_)
        return true;
    sortRecord_.clear();
    return false;
}

void SortableGridCore::RestoreUnsortedOrder()
{
    if (!SortRecordValid())
        return;
    const int first = fixedRows_;
    const int count = RowCount() - first;
    std::vector<QStringList> &rows = table_.Rows();
    std::vector<QStringList> scratch(count);
    for (int i = 0; i < count; ++i)
        scratch[i] = std::move(rows[first + i]);
    std::vector<int> newIndexOf(RowCount());
    for (int row = 0; row < first; ++row)
        newIndexOf[row] = row;
    for (int i = 0; i < count; ++i) {
        rows[sortRecord_[i].RowIndex] = std::move(scratch[i]);
        newIndexOf[first + i] = sortRecord_[i].RowIndex;
    }
    const int currentRowAfter = sortRecord_[row_ - first].RowIndex;
    anchorRow_ = newIndexOf[anchorRow_];
    if (notedRow_ >= 0 && notedRow_ < RowCount())
        notedRow_ = newIndexOf[notedRow_];
    sortRecord_.clear();
    GridChanged();
    ContentChanged(-1, -1);
    GoToCell(col_, currentRowAfter);
}

// ---- Row and column operations

void SortableGridCore::ClearCells()
{
    table_.ClearAll();
    GridChanged();
    ContentChanged(-1, -1);
}

void SortableGridCore::InsertRowAt(int row)
{
    if (row < 0 || row > RowCount())
        ThrowIndexError();
    SetRowCount(RowCount() + 1);
    MoveRowTo(RowCount() - 1, row);
    table_.ClearRow(row);
    GridChanged();
    ContentChanged(-1, -1);
    GoToCell(col_, row);
    if (OnRowInsert)
        OnRowInsert(row);
}

void SortableGridCore::InsertColumnAt(int col)
{
    if (col < 0 || col > ColCount())
        ThrowIndexError();
    SetColCount(ColCount() + 1);
    MoveColumnTo(ColCount() - 1, col);
    table_.ClearColumn(col);
    GridChanged();
    ContentChanged(-1, -1);
    GoToCell(col, row_);
    if (OnColumnInsert)
        OnColumnInsert(col);
}

void SortableGridCore::DeleteRowAt(int row)
{
    CheckRow(row);
    EditorSuppressor noEditor(*this);
    table_.ClearRow(row);
    if (RowCount() > 1) {
        const int oldRows = RowCount();
        const bool notedGone = notedRow_ == row;
        table_.DeleteRow(row);
        fixedRows_ = std::min(fixedRows_, RowCount() - 1);
        FollowRows([row](int i) { return i > row ? i - 1 : i; });
        row_ = std::min(row_, RowCount() - 1);
        anchorRow_ = std::min(anchorRow_, RowCount() - 1);
        KeepCurrentOutOfFixed();
        if (notedGone)
            NoteCurrentCell();
        SizeChanged(ColCount(), oldRows);
        CurrentCellMoved();
    }
    GridChanged();
    ContentChanged(-1, -1);
    if (OnRowDelete)
        OnRowDelete(row);
}

void SortableGridCore::DeleteColumnAt(int col)
{
    CheckCol(col);
    EditorSuppressor noEditor(*this);
    table_.ClearColumn(col);
    if (ColCount() > 1) {
        const int oldCols = ColCount();
        const bool notedGone = notedCol_ == col;
        table_.DeleteColumn(col);
        fixedCols_ = std::min(fixedCols_, ColCount() - 1);
        FollowColumns([col](int i) { return i > col ? i - 1 : i; });
        col_ = std::min(col_, ColCount() - 1);
        anchorCol_ = std::min(anchorCol_, ColCount() - 1);
        KeepCurrentOutOfFixed();
        if (notedGone)
            NoteCurrentCell();
        SizeChanged(oldCols, RowCount());
        CurrentCellMoved();
    }
    GridChanged();
    ContentChanged(-1, -1);
    if (OnColumnDelete)
        OnColumnDelete(col);
}

void SortableGridCore::MoveRowTo(int from, int to)
{
    CheckRow(from);
    CheckRow(to);
    if (from == to)
        return;
    EditorSuppressor noEditor(*this);
    const bool heightsMove = !SameRowHeights(from, to);
    table_.MoveRow(from, to);
    FollowRows([from, to](int i) { return IndexAfterMove(i, from, to); });
    GridChanged();
    ContentChanged(-1, -1);
    if (heightsMove && !sizeEventsHeld_)
        RowHeightsChanged();
    CurrentCellMoved();
}

void SortableGridCore::MoveColumnTo(int from, int to)
{
    CheckCol(from);
    CheckCol(to);
    if (from == to)
        return;
    EditorSuppressor noEditor(*this);
    const bool widthsMove = !SameColWidths(from, to);
    table_.MoveColumn(from, to);
    FollowColumns([from, to](int i) { return IndexAfterMove(i, from, to); });
    GridChanged();
    ContentChanged(-1, -1);
    if (widthsMove && !sizeEventsHeld_)
        ColWidthsChanged();
    CurrentCellMoved();
}

void SortableGridCore::SwapRows(int a, int b)
{
    if (a == b)
        return;
    CheckRow(a);
    CheckRow(b);
    const bool heightsChange = table_.RowHeight(a) != table_.RowHeight(b);
    {
        sizeEventsHeld_ = true;
        ScopeExit release([this] { sizeEventsHeld_ = false; });
        MoveRowTo(std::max(a, b), std::min(a, b));
        MoveRowTo(std::min(a, b) + 1, std::max(a, b));
    }
    if (heightsChange)
        RowHeightsChanged();
}

void SortableGridCore::SwapColumns(int a, int b)
{
    if (a == b)
        return;
    CheckCol(a);
    CheckCol(b);
    const bool widthsChange = table_.ColWidth(a) != table_.ColWidth(b);
    {
        sizeEventsHeld_ = true;
        ScopeExit release([this] { sizeEventsHeld_ = false; });
        MoveColumnTo(std::max(a, b), std::min(a, b));
        MoveColumnTo(std::min(a, b) + 1, std::max(a, b));
    }
    if (widthsChange)
        ColWidthsChanged();
}

bool SortableGridCore::HandleExtendedKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (!extendedKeys_ || EditorShowing())
        return false;
    modifiers &= ~Qt::KeypadModifier;
    const bool ctrl = modifiers == Qt::ControlModifier;
    const bool ctrlShift = modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    if (ctrl && key == Qt::Key_Insert) {
        InsertRowAt(row_);
    } else if (ctrl && key == Qt::Key_Delete) {
        if (RowCount() - fixedRows_ >= 2)
            DeleteRowAt(row_);
    } else if (ctrlShift && key == Qt::Key_Insert) {
        InsertColumnAt(col_);
    } else if (ctrlShift && key == Qt::Key_Delete) {
        if (ColCount() - fixedCols_ >= 2)
            DeleteColumnAt(col_);
    } else {
        return false;
    }
    return true;
}

// ---- Search and text files

bool SortableGridCore::FindCellText(const QString &text, int &col, int &row) const
{
    for (int c = 0; c < ColCount(); ++c) {
        for (int r = 0; r < RowCount(); ++r) {
            if (table_.Cell(c, r).compare(text, Qt::CaseInsensitive) == 0) {
                col = c;
                row = r;
                return true;
            }
        }
    }
    return false;
}

void SortableGridCore::LoadFromTextFile(const QString &fileName, QChar separator)
{
    // Read before clearing, so that a file that cannot be read leaves the grid whole.
    std::vector<QStringList> lines = ReadSeparatedTextFile(fileName, separator);
    ClearCells();
    sortRecord_.clear(); // the record belongs to rows that are gone
    SetRowCount(int(lines.size()));
    SetColCount(fixedCols_ + 1);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].size() > ColCount())
            SetColCount(int(lines[i].size()));
        table_.Row(int(i)) = std::move(lines[i]);
    }
    GridChanged();
    ContentChanged(-1, -1);
}

void SortableGridCore::SaveToTextFile(const QString &fileName, QChar separator) const
{
    WriteSeparatedTextFile(fileName, separator, table_);
}

// ---- Validation

void SortableGridCore::NoteCurrentCell()
{
    notedCol_ = col_;
    notedRow_ = row_;
    notedText_ = table_.Cell(col_, row_);
    notedModified_ = modified_;
}

void SortableGridCore::CheckCellChange()
{
    ScopeExit noteAfterwards([this] { NoteCurrentCell(); });
    const int col = notedCol_, row = notedRow_;
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return;
    const QString current = table_.Cell(col, row);
    if (current == notedText_)
        return;
    QString value = current;
    bool valid = true;
    if (OnCellValidate)
        OnCellValidate(col, row, value, valid);
    if (value != table_.Cell(col, row))
        table_.SetCell(col, row, value);
    else if (!valid)
        table_.SetCell(col, row, notedText_);
    if (!valid)
        modified_ = notedModified_;
    GridChanged();
    ContentChanged(col, row);
}

void SortableGridCore::SetEditText(int col, int row, const QString &text)
{
    if (text != Cells(col, row))
        modified_ = true;
    SetCells(col, row, text);
}

void SortableGridCore::Click()
{
    // The check runs also when the click event fails.
    try {
        if (OnClick)
            OnClick();
    } catch (...) {
        if (entered_)
            CheckCellChange();
        throw;
    }
    if (entered_)
        CheckCellChange();
}

void SortableGridCore::FocusEntered()
{
    NoteCurrentCell();
    entered_ = true;
}

void SortableGridCore::FocusLeft()
{
    ScopeExit leave([this] { entered_ = false; });
    Click();
}
