#include "platform/errors.h"
#include "widgets/sortablegrid/sortable_grid_core.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// A grid with a fixed header row, no fixed column and the given rows.
void Fill(SortableGridCore &grid, const std::vector<QStringList> &rows)
{
    grid.SetSortLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    grid.SetFixedCols(0);
    grid.SetRowCount(int(rows.size()));
    grid.SetColCount(int(rows[0].size()));
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int c = 0; c < int(rows[r].size()); ++c)
            grid.SetCells(c, r, rows[r][c]);
    }
}

QStringList Column(const SortableGridCore &grid, int col, int from = 1)
{
    QStringList cells;
    for (int r = from; r < grid.RowCount(); ++r)
        cells << grid.Cells(col, r);
    return cells;
}

// A grid whose in-place editor and busy cursor are simulated.
class TestGrid : public SortableGridCore
{
public:
    bool editorShowing = false;
    int busy = 0;
    int busyCalls = 0;

protected:
    bool EditorShowing() const override { return editorShowing; }
    void SetBusyCursor(bool on) override
    {
        busy += on ? 1 : -1;
        ++busyCalls;
    }
};

TEST(SortableGridCore, DetectsNumbersDatesAndText)
{
    SortableGridCore grid;
    Fill(grid,
         {{"h0", "h1", "h2", "h3", "h4", "h5", "h6"},
          {"10", "1.5", "3/15/2024", "3/15/2024", "", "10", "a"},
          {"9", "abc", "12/1/1999", "1/2/2000 10:00", "5", "1/2/2000", "b"},
          {"100", "2", "1/1/2000", "1/1/2000", "6", "7", "c"}});
    EXPECT_EQ(grid.DetectSortKind(0), skNumber);
    EXPECT_EQ(grid.DetectSortKind(1), skText);
    EXPECT_EQ(grid.DetectSortKind(2), skDate);
    EXPECT_EQ(grid.DetectSortKind(3), skText); // a date with a time
    EXPECT_EQ(grid.DetectSortKind(4), skText); // one empty cell
    EXPECT_EQ(grid.DetectSortKind(5), skText); // numbers and dates mixed
    EXPECT_EQ(grid.DetectSortKind(6), skText);
    // The header row takes no part in the detection.
    grid.SetCells(0, 0, "not a number");
    EXPECT_EQ(grid.DetectSortKind(0), skNumber);

    grid.SortOnColumn(0, {});
    EXPECT_EQ(Column(grid, 0), QStringList({"9", "10", "100"}));
    grid.SortOnColumn(2, {});
    EXPECT_EQ(Column(grid, 2), QStringList({"12/1/1999", "1/1/2000", "3/15/2024"}));
    grid.SortOnColumn(4, {});
    EXPECT_EQ(Column(grid, 4), QStringList({"", "5", "6"})); // as text: empty first
}

TEST(SortableGridCore, SortMovesWholeRowsStablyInBothDirections)
{
    SortableGridCore grid;
    Fill(grid, {{"Key", "Id"}, {"b", "1"}, {"a", "2"}, {"b", "3"}, {"Zebra", "4"}, {"a", "5"}, {"apple", "6"}});
    grid.SetRowHeights(2, 40);
    grid.SortOnColumn(0, {});
    EXPECT_EQ(Column(grid, 0), QStringList({"Zebra", "a", "a", "apple", "b", "b"}));
    EXPECT_EQ(Column(grid, 1), QStringList({"4", "2", "5", "6", "1", "3"}));
    EXPECT_EQ(grid.Cells(0, 0), "Key"); // the header stays
    EXPECT_EQ(grid.RowHeights(2), 40);  // heights stay in place

    grid.SortOnColumn(0, {}); // again: nothing changes
    EXPECT_EQ(Column(grid, 1), QStringList({"4", "2", "5", "6", "1", "3"}));

    grid.SortOnColumn(0, {skAuto, 1, 1});
    EXPECT_EQ(Column(grid, 0), QStringList({"b", "b", "apple", "a", "a", "Zebra"}));
    EXPECT_EQ(Column(grid, 1), QStringList({"1", "3", "6", "2", "5", "4"}));

    // Case folding on request.
    grid.SortOnColumn(0, {skText, 0, 0});
    EXPECT_EQ(Column(grid, 0), QStringList({"a", "a", "apple", "b", "b", "Zebra"}));

    // A column of empty cells changes nothing.
    grid.SetColCount(3);
    const QStringList before = Column(grid, 1);
    grid.SortOnColumn(2, {});
    EXPECT_EQ(Column(grid, 1), before);
}

TEST(SortableGridCore, CurrentCellFollowsItsRowAndRecordRestoresTheOrder)
{
    SortableGridCore grid;
    Fill(grid, {{"N", "Id"}, {"3", "x"}, {"1", "y"}, {"2", "z"}, {"10", "w"}});
    grid.SetCol(1);
    grid.SetRow(1); // "3" / "x"
    grid.SortOnColumn(0, {});
    EXPECT_EQ(Column(grid, 0), QStringList({"1", "2", "3", "10"}));
    EXPECT_EQ(grid.Row(), 3);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Cells(grid.Col(), grid.Row()), "x");
    ASSERT_EQ(grid.SortRecord().size(), 4u);
    EXPECT_EQ(grid.SortRecord()[0].KeyText, "1");
    EXPECT_EQ(grid.SortRecord()[0].RowIndex, 2);

    ASSERT_TRUE(grid.SortRecordValid());
    grid.RestoreUnsortedOrder();
    EXPECT_EQ(Column(grid, 0), QStringList({"3", "1", "2", "10"}));
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_TRUE(grid.SortRecord().empty());

    // A changed number of data rows discards the record.
    grid.SortOnColumn(1, {});
    grid.InsertRowAt(2);
    const QStringList afterInsert = Column(grid, 1);
    EXPECT_FALSE(grid.SortRecordValid());
    EXPECT_TRUE(grid.SortRecord().empty());
    grid.RestoreUnsortedOrder();
    EXPECT_EQ(Column(grid, 1), afterInsert);

    // So does a changed number of fixed rows, even with as many data rows.
    grid.DeleteRowAt(2);
    grid.SortOnColumn(1, {});
    grid.SetRowCount(6);
    grid.SetFixedRows(2);
    EXPECT_FALSE(grid.SortRecordValid());
}

TEST(SortableGridCore, SortEventsAndWhenNothingSorts)
{
    TestGrid grid;
    Fill(grid, {{"H"}, {"b"}});
    int begins = 0, ends = 0;
    grid.OnBeginSort = [&](int, TSortOptions &) { ++begins; };
    grid.OnEndSort = [&](int) { ++ends; };
    grid.SortOnColumn(0, {}); // one data row
    EXPECT_EQ(begins + ends, 0);

    grid.SetRowCount(3);
    grid.SetCells(0, 2, "a");
    grid.editorShowing = true;
    grid.SortOnColumn(0, {});
    EXPECT_EQ(begins + ends, 0);
    grid.editorShowing = false;
    grid.SortOnColumn(5, {}); // no such column
    EXPECT_EQ(begins + ends, 0);

    // OnBeginSort may change the options; OnEndSort comes after the reorder.
    grid.OnBeginSort = [&](int col, TSortOptions &options) {
        EXPECT_EQ(col, 0);
        EXPECT_EQ(options.SortKind, skAuto);
        options.Descending = 1;
        ++begins;
    };
    grid.OnEndSort = [&](int col) {
        EXPECT_EQ(col, 0);
        EXPECT_EQ(Column(grid, 0), QStringList({"b", "a"}));
        EXPECT_FALSE(grid.Sorting());
        ++ends;
    };
    grid.SetCells(0, 1, "a");
    grid.SetCells(0, 2, "b");
    grid.SortOnColumn(0, {});
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(ends, 1);

    // A click: right button descends, the handler sees the options first.
    grid.OnBeginSort = nullptr;
    grid.OnEndSort = nullptr;
    std::vector<int> seen;
    grid.OnClickSort = [&](int col, int row, TSortOptions &options) {
        seen = {col, row, options.SortKind, options.Descending, options.CaseSensitive};
    };
    grid.ClickSort(0, 0, false);
    EXPECT_EQ(seen, std::vector<int>({0, 0, skAuto, 0, 1}));
    EXPECT_EQ(Column(grid, 0), QStringList({"a", "b"}));
    grid.ClickSort(0, 0, true);
    EXPECT_EQ(seen[3], 1);
    EXPECT_EQ(Column(grid, 0), QStringList({"b", "a"}));
    EXPECT_EQ(grid.busy, 0);
    EXPECT_EQ(grid.busyCalls, 4);
}

TEST(SortableGridCore, AFailedSortClearsSortingAndTheCursor)
{
    TestGrid grid;
    Fill(grid, {{"H"}, {"b"}, {"a"}});
    grid.SetRow(1);
    grid.OnClick = [] { throw std::runtime_error("click failed"); };
    EXPECT_THROW(grid.ClickSort(0, 0, false), std::runtime_error);
    EXPECT_FALSE(grid.Sorting());
    EXPECT_EQ(grid.busy, 0);
    EXPECT_EQ(grid.busyCalls, 2);
}

TEST(SortableGridCore, ForcedKindWithUnreadableKeysStillSortsEveryRowOnce)
{
    SortableGridCore grid;
    std::vector<QStringList> rows{{"H", "Id"}};
    for (int i = 0; i < 500; ++i)
        rows.push_back({i % 3 == 0 ? QString("x%1").arg(i) : QString::number((i * 37) % 101), QString::number(i)});
    Fill(grid, rows);
    for (uint8_t kind : {skNumber, skDate}) {
        grid.OnBeginSort = [kind](int, TSortOptions &options) { options.SortKind = kind; };
        grid.SortOnColumn(0, {});
        QStringList ids = Column(grid, 1);
        std::sort(ids.begin(), ids.end(), [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
        for (int i = 0; i < 500; ++i)
            ASSERT_EQ(ids[i].toInt(), i);
    }
}

// Rows cut off and added again, also after a sort and fewer columns, start empty.
TEST(SortableGridCore, RowsAddedAgainStartEmpty)
{
    SortableGridCore grid;
    Fill(grid, {{"H", "h", "x"}, {"b", "2", "q"}, {"a", "1", "p"}, {"c", "3", "r"}});
    grid.SortOnColumn(0, {skText, 0, 1});
    grid.SetRowCount(2);
    grid.SetColCount(2);
    grid.SetRowCount(4);
    grid.SetColCount(3);
    EXPECT_EQ(Column(grid, 0, 0), QStringList({"H", "a", "", ""}));
    EXPECT_EQ(Column(grid, 1, 0), QStringList({"h", "1", "", ""}));
    EXPECT_EQ(Column(grid, 2, 0), QStringList({"", "", "", ""}));
}

TEST(SortableGridCore, RowOperationsAndTheirEvents)
{
    SortableGridCore grid;
    Fill(grid, {{"H", "h"}, {"a", "1"}, {"b", "2"}, {"c", "3"}});
    std::vector<std::string> events;
    grid.OnRowInsert = [&](int i) { events.push_back("insert " + std::to_string(i)); };
    grid.OnRowDelete = [&](int i) { events.push_back("delete " + std::to_string(i)); };
    grid.OnSizeChanged = [&](int c, int r) { events.push_back("size " + std::to_string(c) + "," + std::to_string(r)); };

    grid.SetCol(1);
    grid.SetRow(3);
    grid.InsertRowAt(2);
    EXPECT_EQ(Column(grid, 0), QStringList({"a", "", "b", "c"}));
    EXPECT_EQ(grid.Cells(1, 2), "");
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(events, std::vector<std::string>({"size 2,4", "insert 2"}));

    events.clear();
    grid.DeleteRowAt(1);
    EXPECT_EQ(Column(grid, 0), QStringList({"", "b", "c"}));
    EXPECT_EQ(events, std::vector<std::string>({"size 2,5", "delete 1"}));

    grid.MoveRowTo(3, 1);
    EXPECT_EQ(Column(grid, 0), QStringList({"c", "", "b"}));
    grid.SwapRows(1, 3);
    EXPECT_EQ(Column(grid, 0), QStringList({"b", "", "c"}));
    grid.SwapRows(3, 1);
    EXPECT_EQ(Column(grid, 0), QStringList({"c", "", "b"}));
    grid.SwapRows(2, 2);
    EXPECT_EQ(Column(grid, 0), QStringList({"c", "", "b"}));
    grid.SwapRows(0, 3); // a fixed row swaps like any other
    EXPECT_EQ(Column(grid, 0, 0), QStringList({"b", "c", "", "H"}));

    grid.ClearCells();
    EXPECT_EQ(grid.RowCount(), 4);
    EXPECT_EQ(grid.ColCount(), 2);
    EXPECT_EQ(Column(grid, 0, 0) + Column(grid, 1, 0), QStringList(8, QString()));

    EXPECT_THROW(grid.InsertRowAt(9), RomdeckError);
    EXPECT_THROW(grid.MoveRowTo(0, 4), RomdeckError);
    EXPECT_THROW(grid.Cells(2, 0), RomdeckError);
}

TEST(SortableGridCore, ColumnOperationsCarryTheirWidths)
{
    SortableGridCore grid;
    Fill(grid, {{"A", "B", "C"}, {"a", "b", "c"}});
    grid.SetColWidths(0, 10);
    grid.SetColWidths(1, 20);
    grid.SetColWidths(2, 30);
    std::vector<std::string> events;
    grid.OnColumnInsert = [&](int i) { events.push_back("insert " + std::to_string(i)); };
    grid.OnColumnDelete = [&](int i) { events.push_back("delete " + std::to_string(i)); };

    grid.InsertColumnAt(1);
    EXPECT_EQ(Column(grid, 1, 0), QStringList({"", ""}));
    EXPECT_EQ(Column(grid, 2, 0), QStringList({"B", "b"}));
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.ColWidths(2), 20);
    grid.SwapColumns(0, 3);
    EXPECT_EQ(Column(grid, 0, 0), QStringList({"C", "c"}));
    EXPECT_EQ(Column(grid, 3, 0), QStringList({"A", "a"}));
    EXPECT_EQ(grid.ColWidths(0), 30);
    EXPECT_EQ(grid.ColWidths(3), 10);
    grid.DeleteColumnAt(1);
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(Column(grid, 1, 0), QStringList({"B", "b"}));
    EXPECT_EQ(events, std::vector<std::string>({"insert 1", "delete 1"}));
}

TEST(SortableGridCore, SizeEventsOnlyWhenAHeightOrWidthChanges)
{
    SortableGridCore grid;
    Fill(grid, {{"H", "h", "x"}, {"a", "1", ""}, {"b", "2", ""}, {"c", "3", ""}});
    int heights = 0, widths = 0;
    grid.OnRowHeightsChanged = [&] { ++heights; };
    grid.OnColumnWidthsChanged = [&] { ++widths; };

    // Rows and columns all of one size: moving them changes no size.
    grid.MoveRowTo(3, 1);
    grid.SwapRows(1, 3);
    grid.InsertRowAt(2);
    grid.MoveColumnTo(2, 0);
    grid.SwapColumns(0, 2);
    grid.InsertColumnAt(1);
    grid.SetDefaultRowHeight(grid.DefaultRowHeight());
    grid.SetDefaultColWidth(grid.DefaultColWidth());
    EXPECT_EQ(heights, 0);
    EXPECT_EQ(widths, 0);

    grid.SetRowHeights(2, 40);
    grid.SwapRows(1, 3); // both of one height: the taller row between stays
    EXPECT_EQ(heights, 1);
    grid.MoveRowTo(2, 4);
    grid.SwapRows(4, 1);
    EXPECT_EQ(grid.RowHeights(1), 40);
    grid.SetDefaultRowHeight(24);
    grid.SetDefaultRowHeight(24);
    EXPECT_EQ(heights, 4);

    grid.SetColWidths(1, 99);
    grid.SwapColumns(0, 2);
    EXPECT_EQ(widths, 1);
    grid.SwapColumns(1, 3);
    EXPECT_EQ(grid.ColWidths(3), 99);
    EXPECT_EQ(widths, 2);
}

TEST(SortableGridCore, NumbersSortInExtendedPrecisionAndKeysFollowEdits)
{
    SortableGridCore grid;
    Fill(grid, {{"n"}, {"9007199254740993"}, {"1e400"}, {"9007199254740992"}, {"-1e400"}});
    grid.SortOnColumn(0, {});
    EXPECT_EQ(Column(grid, 0), QStringList({"-1e400", "9007199254740992", "9007199254740993", "1e400"}));

    // The keys the detection read serve the sort only for cells left as they were.
    EXPECT_EQ(grid.DetectSortKind(0), skNumber);
    grid.SetCells(0, 1, "2e400");
    grid.ReorderRows(0, {skNumber, 0, 1});
    EXPECT_EQ(Column(grid, 0), QStringList({"9007199254740992", "9007199254740993", "1e400", "2e400"}));
}

TEST(SortableGridCore, ExtendedKeys)
{
    SortableGridCore grid;
    Fill(grid, {{"H", "h"}, {"a", "1"}});
    const auto ctrl = Qt::ControlModifier;
    const auto ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    EXPECT_FALSE(grid.HandleExtendedKey(Qt::Key_Insert, ctrl)); // off by default
    EXPECT_EQ(grid.RowCount(), 2);

    grid.SetExtendedKeys(true);
    EXPECT_TRUE(grid.HandleExtendedKey(Qt::Key_Delete, ctrl)); // one data row: nothing
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_TRUE(grid.HandleExtendedKey(Qt::Key_Insert, ctrl));
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(Column(grid, 0), QStringList({"", "a"}));
    EXPECT_TRUE(grid.HandleExtendedKey(Qt::Key_Delete, ctrl));
    EXPECT_EQ(Column(grid, 0), QStringList({"a"}));

    grid.SetCol(1);
    EXPECT_TRUE(grid.HandleExtendedKey(Qt::Key_Insert, ctrlShift));
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(Column(grid, 2, 0), QStringList({"h", "1"}));
    EXPECT_TRUE(grid.HandleExtendedKey(Qt::Key_Delete, ctrlShift));
    EXPECT_EQ(grid.ColCount(), 2);
    grid.SetFixedCols(1);
    EXPECT_TRUE(grid.HandleExtendedKey(Qt::Key_Delete, ctrlShift)); // one free column: nothing
    EXPECT_EQ(grid.ColCount(), 2);

    // Only the exact modifier sets count.
    EXPECT_FALSE(grid.HandleExtendedKey(Qt::Key_Insert, Qt::ShiftModifier));
    EXPECT_FALSE(grid.HandleExtendedKey(Qt::Key_Insert, ctrl | Qt::AltModifier));
    EXPECT_FALSE(grid.HandleExtendedKey(Qt::Key_Insert, Qt::NoModifier));
    EXPECT_EQ(grid.RowCount(), 2);
}

TEST(SortableGridCore, FindCellTextSearchesColumnByColumnIgnoringCase)
{
    SortableGridCore grid;
    Fill(grid, {{"Name", "x"}, {"b", "Sonic"}, {"sonic", "c"}});
    int col = -1, row = -1;
    ASSERT_TRUE(grid.FindCellText("SONIC", col, row));
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 2);
    ASSERT_TRUE(grid.FindCellText("name", col, row));
    EXPECT_EQ(col, 0);
    EXPECT_EQ(row, 0);
    EXPECT_FALSE(grid.FindCellText("son", col, row));
}

TEST(SortableGridCore, CellValidation)
{
    SortableGridCore grid;
    Fill(grid, {{"H", "h"}, {"a", "1"}, {"b", "2"}});
    grid.SetCol(1);
    grid.SetRow(1);
    grid.FocusEntered();
    std::vector<std::string> checked;
    bool accept = true;
    QString replacement;
    grid.OnCellValidate = [&](int col, int row, QString &value, bool &valid) {
        checked.push_back(std::to_string(col) + "," + std::to_string(row) + "=" + value.toStdString());
        if (!replacement.isNull())
            value = replacement;
        valid = accept;
    };

    grid.SetEditText(1, 1, "1"); // same text: not modified
    EXPECT_FALSE(grid.Modified());
    grid.SetEditText(1, 1, "7");
    EXPECT_TRUE(grid.Modified());
    grid.SetRow(2); // the move is a click: the edited cell is checked
    EXPECT_EQ(checked, std::vector<std::string>({"1,1=7"}));
    EXPECT_EQ(grid.Cells(1, 1), "7");
    EXPECT_TRUE(grid.Modified());

    // Refused without a new value: the noted text and the noted Modified come back.
    grid.SetModified(false);
    grid.NoteCurrentCell();
    accept = false;
    grid.SetEditText(1, 2, "bad");
    grid.Click();
    EXPECT_EQ(grid.Cells(1, 2), "2");
    EXPECT_FALSE(grid.Modified());

    // Refused with a new value: the value stays.
    replacement = "fixed";
    grid.SetEditText(1, 2, "bad");
    grid.Click();
    EXPECT_EQ(grid.Cells(1, 2), "fixed");

    // Unchanged cells raise nothing; nothing is checked without the focus.
    checked.clear();
    grid.Click();
    EXPECT_TRUE(checked.empty());
    grid.FocusLeft();
    grid.SetEditText(1, 2, "other");
    grid.Click();
    EXPECT_TRUE(checked.empty());

    // Losing the focus is a click: the check runs, then the grid counts as left.
    grid.FocusEntered();
    grid.SetEditText(1, 2, "again");
    int clicks = 0;
    grid.OnClick = [&] { ++clicks; };
    grid.FocusLeft();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(checked.size(), 1u);
    EXPECT_FALSE(grid.Entered());

    // A failing click event still lets the check run.
    grid.FocusEntered();
    grid.SetEditText(1, 2, "once more");
    grid.OnClick = [] { throw std::runtime_error("failed"); };
    EXPECT_THROW(grid.Click(), std::runtime_error);
    EXPECT_EQ(checked.size(), 2u);
}

TEST(SortableGridCore, NotedCellFollowsItsRowThroughASort)
{
    SortableGridCore grid;
    Fill(grid, {{"H", "h"}, {"c", "1"}, {"b", "2"}, {"a", "3"}});
    grid.SetCol(1);
    grid.SetRow(1);
    grid.FocusEntered();
    grid.OnCellValidate = [](int, int, QString &, bool &valid) { valid = false; };
    grid.SetEditText(1, 1, "edited");
    grid.SortOnColumn(0, {}); // row "c" moves to the bottom, the current cell with it
    // The refused edit goes back into its own row, not into the one now at row 1.
    grid.Click();
    EXPECT_EQ(Column(grid, 0), QStringList({"a", "b", "c"}));
    EXPECT_EQ(Column(grid, 1), QStringList({"3", "2", "1"}));
}

} // namespace
