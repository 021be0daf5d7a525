#include "widgets/sortablegrid/sortable_grid.h"

#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

// The ROM list's arrangement: a header row of texts, no fixed column.
class GridWindow
{
public:
    explicit GridWindow(const std::vector<QStringList> &rows)
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(&other);
        layout->addWidget(&grid);
        grid.SetSortLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        grid.SetFixedCols(0);
        grid.SetDefaultRowHeight(16);
        grid.SetRowCount(int(rows.size()));
        grid.SetColCount(int(rows[0].size()));
        for (int r = 0; r < int(rows.size()); ++r) {
            for (int c = 0; c < int(rows[r].size()); ++c)
                grid.SetCells(c, r, rows[r][c]);
        }
        window.resize(400, 300);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    QPoint CellCenter(int col, int row) const { return grid.CellRect(col, row).center(); }

    void Click(int col, int row, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(grid.viewport(), button, modifiers, CellCenter(col, row));
    }

    QStringList Column(int col) const
    {
        QStringList cells;
        for (int r = grid.FixedRows(); r < grid.RowCount(); ++r)
            cells << grid.Cells(col, r);
        return cells;
    }

    QWidget window;
    QLineEdit other;
    TSortableGrid grid;
};

TEST(SortableGrid, HeaderReleaseSortsByButtonOnlyWithoutModifiers)
{
    GridWindow w({{"File Name", "English Name"}, {"b.bin", "10"}, {"a.bin", "9"}, {"c.bin", "100"}});
    w.Click(1, 0);
    EXPECT_EQ(w.Column(1), QStringList({"9", "10", "100"}));
    EXPECT_TRUE(w.grid.hasFocus());
    w.Click(1, 0, Qt::RightButton);
    EXPECT_EQ(w.Column(1), QStringList({"100", "10", "9"}));
    w.Click(0, 0, Qt::MiddleButton);
    EXPECT_EQ(w.Column(0), QStringList({"a.bin", "b.bin", "c.bin"}));

    for (auto modifier : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier}) {
        w.Click(0, 0, Qt::RightButton, modifier);
        EXPECT_EQ(w.Column(0), QStringList({"a.bin", "b.bin", "c.bin"}));
    }

    // Another button still held at the release.
    const QPoint header = w.CellCenter(0, 0);
    QMouseEvent release(QEvent::MouseButtonRelease, header, w.grid.viewport()->mapToGlobal(header), Qt::RightButton,
                        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w.grid.viewport(), &release);
    EXPECT_EQ(w.Column(0), QStringList({"a.bin", "b.bin", "c.bin"}));

    // In the header row but right of the last column.
    const QRect last = w.grid.CellRect(1, 0);
    QTest::mouseClick(w.grid.viewport(), Qt::RightButton, Qt::NoModifier, QPoint(last.right() + 10, last.center().y()));
    EXPECT_EQ(w.Column(0), QStringList({"a.bin", "b.bin", "c.bin"}));

    // A release on a data cell.
    w.Click(0, 2, Qt::RightButton);
    EXPECT_EQ(w.Column(0), QStringList({"a.bin", "b.bin", "c.bin"}));
}

TEST(SortableGrid, ASelectionDraggedOntoTheHeaderDoesNotSort)
{
    GridWindow w({{"N", "M"}, {"b", "1"}, {"a", "2"}, {"c", "3"}});
    QTest::mousePress(w.grid.viewport(), Qt::LeftButton, Qt::NoModifier, w.CellCenter(0, 1));
    QTest::mouseMove(w.grid.viewport(), w.CellCenter(1, 2));
    EXPECT_EQ(w.grid.Selection(), QRect(QPoint(0, 1), QPoint(1, 2)));
    QTest::mouseMove(w.grid.viewport(), w.CellCenter(0, 0));
    QTest::mouseRelease(w.grid.viewport(), Qt::LeftButton, Qt::NoModifier, w.CellCenter(0, 0));
    EXPECT_EQ(w.Column(0), QStringList({"b", "a", "c"}));
    EXPECT_EQ(w.grid.Col(), 0);
    EXPECT_EQ(w.grid.Row(), 1); // over the header the selection stops at the first row in view

    // The next click on the header sorts again: the grid is idle.
    w.Click(0, 0);
    EXPECT_EQ(w.Column(0), QStringList({"a", "b", "c"}));
}

TEST(SortableGrid, NoSortWithoutFocusOrWithOneDataRow)
{
    GridWindow w({{"N"}, {"b"}, {"a"}});
    w.other.setFocus();
    ASSERT_TRUE(w.other.hasFocus());
    const QPoint header = w.CellCenter(0, 0);
    QTest::mouseRelease(w.grid.viewport(), Qt::LeftButton, Qt::NoModifier, header);
    EXPECT_EQ(w.Column(0), QStringList({"b", "a"}));

    int events = 0;
    w.grid.OnClickSort = [&](int, int, TSortOptions &) { ++events; };
    w.grid.OnBeginSort = [&](int, TSortOptions &) { ++events; };
    w.grid.SetRowCount(2);
    w.Click(0, 0);
    EXPECT_EQ(events, 1); // the click event only; no sort begins
    EXPECT_EQ(w.Column(0), QStringList({"b"}));
}

TEST(SortableGrid, ClickSortShowsTheHourglassAndKeepsTheCurrentRow)
{
    GridWindow w({{"N", "Id"}, {"3/1/2020", "x"}, {"1/5/2019", "y"}, {"12/24/2020", "z"}});
    w.Click(1, 1); // current cell on "x"
    bool waitCursor = false;
    int endCol = -1;
    w.grid.OnBeginSort = [&](int, TSortOptions &) {
        waitCursor = QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        EXPECT_FALSE(w.grid.Sorting());
    };
    w.grid.OnEndSort = [&](int col) { endCol = col; };
    w.Click(0, 0);
    EXPECT_TRUE(waitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(endCol, 0);
    EXPECT_EQ(w.Column(1), QStringList({"y", "x", "z"}));
    EXPECT_EQ(w.grid.Cells(w.grid.Col(), w.grid.Row()), "x");
}

TEST(SortableGrid, ExtendedKeysAndTheInPlaceEditor)
{
    GridWindow w({{"N", "M"}, {"a", "1"}, {"b", "2"}});
    w.Click(0, 1);
    QTest::keyClick(&w.grid, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(w.grid.RowCount(), 3); // off by default
    w.grid.SetExtendedKeys(true);
    QTest::keyClick(&w.grid, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(w.Column(0), QStringList({"", "a", "b"}));
    QTest::keyClick(&w.grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(w.Column(0), QStringList({"a", "b"}));
    QTest::keyClick(&w.grid, Qt::Key_Down);
    EXPECT_EQ(w.grid.Row(), 2);

    // Typing needs goEditing; the editor then writes into the cell.
    QTest::keyClick(&w.grid, Qt::Key_Z);
    EXPECT_FALSE(w.grid.EditorMode());
    w.grid.SetOptions(w.grid.Options() | goEditing);
    QTest::keyClick(&w.grid, Qt::Key_Z);
    ASSERT_TRUE(w.grid.EditorMode());
    EXPECT_EQ(w.grid.Cells(0, 2), "z");
    EXPECT_TRUE(w.grid.Modified());
    // While the editor shows, neither the extended keys nor a sort act.
    QWidget *editor = QApplication::focusWidget();
    QTest::keyClick(editor, Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(w.grid.RowCount(), 3);
    w.grid.SortOnColumn(0, {});
    EXPECT_EQ(w.Column(0), QStringList({"a", "z"}));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(w.grid.EditorMode());
    EXPECT_EQ(w.grid.Cells(0, 2), "b");
    EXPECT_TRUE(w.grid.hasFocus());

    // A header click ends the editing and sorts.
    QTest::keyClick(&w.grid, Qt::Key_F2);
    ASSERT_TRUE(w.grid.EditorMode());
    w.Click(0, 0, Qt::RightButton);
    EXPECT_FALSE(w.grid.EditorMode());
    EXPECT_EQ(w.Column(0), QStringList({"b", "a"}));
}

TEST(SortableGrid, LeavingTheGridChecksTheEditedCell)
{
    GridWindow w({{"N"}, {"a"}, {"b"}});
    w.grid.SetOptions(w.grid.Options() | goEditing);
    std::vector<std::string> checked;
    w.grid.OnCellValidate = [&](int col, int row, QString &value, bool &valid) {
        checked.push_back(std::to_string(col) + "," + std::to_string(row) + "=" + value.toStdString());
        valid = false;
    };
    int clicks = 0;
    w.grid.OnClick = [&] { ++clicks; };
    w.Click(0, 2);
    QTest::keyClick(&w.grid, Qt::Key_X);
    ASSERT_EQ(w.grid.Cells(0, 2), "x");
    const int clicksBefore = clicks;
    w.other.setFocus(); // from the editor out of the grid
    EXPECT_EQ(clicks, clicksBefore + 1);
    EXPECT_EQ(checked, std::vector<std::string>({"0,2=x"}));
    EXPECT_EQ(w.grid.Cells(0, 2), "b"); // refused: the noted text is back
    EXPECT_FALSE(w.grid.Entered());
}

TEST(SortableGrid, AClickOnTheCurrentCellRunsTheClickHandling)
{
    GridWindow w({{"N"}, {"a"}, {"b"}});
    int clicks = 0;
    std::vector<std::string> checked;
    w.grid.OnClick = [&] { ++clicks; };
    w.grid.OnCellValidate = [&](int col, int row, QString &value, bool &) {
        checked.push_back(std::to_string(col) + "," + std::to_string(row) + "=" + value.toStdString());
    };
    w.Click(0, 2);
    EXPECT_EQ(clicks, 1);
    // The current cell's text changed; a click on that cell checks it.
    w.grid.SetCells(0, 2, "changed");
    w.Click(0, 2);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(checked, std::vector<std::string>({"0,2=changed"}));
}

TEST(SortableGrid, HeldScrollBarsCatchUpBeforeInputAndWhenReleased)
{
    GridWindow w({{"N"}, {"a"}});
    QScrollBar *bar = w.grid.verticalScrollBar();
    w.grid.HoldScrollPage(true);
    w.grid.SetRowCount(500);
    EXPECT_EQ(bar->maximum(), 0);

    // A wheel turn over the grid scrolls through the rows that came meanwhile.
    const QPoint inside = w.CellCenter(0, 1);
    QWheelEvent wheel(inside, w.grid.viewport()->mapToGlobal(inside), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.grid.viewport(), &wheel);
    EXPECT_GT(bar->maximum(), 400);
    EXPECT_GT(w.grid.TopRow(), 1);

    w.grid.SetRowCount(1000);
    const int held = bar->maximum();
    w.grid.HoldScrollPage(false);
    EXPECT_GT(bar->maximum(), held);
}

TEST(SortableGrid, HugeCellsAndManyColumnsPaint)
{
    QTemporaryDir dir;
    QByteArray file(1000000, 'W');
    file += '\n';
    for (int i = 0; i < 10000; ++i)
        file += "c,";
    file += '\n';
    const QString path = dir.filePath("huge.txt");
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();

    GridWindow w({{"N"}, {"a"}});
    w.grid.LoadFromTextFile(path, ',');
    EXPECT_EQ(w.grid.ColCount(), 10001);
    w.grid.SetAlignmentHorz(taRightJustify);
    EXPECT_FALSE(w.grid.viewport()->grab().isNull());
    QTest::keyClick(&w.grid, Qt::Key_End);
    EXPECT_EQ(w.grid.Col(), 10000);
    EXPECT_FALSE(w.grid.CellRect(10000, 1).isEmpty());
    w.grid.FitColumn(0);
    EXPECT_GT(w.grid.ColWidths(0), 1000);
}

TEST(SortableGrid, FitColumnIsTheWidestTextPlusAnX)
{
    GridWindow w({{"File Name", "English Name"}, {"SONIC.BIN", "A much longer title here"}});
    const QFontMetrics metrics(w.grid.font());
    w.grid.FitColumn(1);
    EXPECT_EQ(w.grid.ColWidths(1),
              metrics.horizontalAdvance("A much longer title here") + metrics.horizontalAdvance('x'));

    int changes = 0;
    w.grid.OnColumnWidthsChanged = [&] { ++changes; };
    w.grid.FitAllColumns(true, 5);
    EXPECT_EQ(w.grid.ColWidths(0),
              std::max(metrics.horizontalAdvance("File Name"), metrics.horizontalAdvance("SONIC.BIN")) +
                  metrics.horizontalAdvance('x') + 5);
    EXPECT_GT(changes, 0);

    // The font that OnGetCellFormat chooses is the one measured.
    QFont big = w.grid.font();
    big.setPixelSize(40);
    w.grid.OnGetCellFormat = [&](int, int row, TGridDrawState state, TFormatOptions &options) {
        EXPECT_EQ(state.Fixed, row == 0);
        if (row == 1)
            options.CellFont = big;
    };
    w.grid.FitColumn(0);
    EXPECT_EQ(w.grid.ColWidths(0), QFontMetrics(big).horizontalAdvance("SONIC.BIN") + metrics.horizontalAdvance('x'));
}

TEST(SortableGrid, DrawsBrushTextAndBevelAsFormatted)
{
    GridWindow w({{"H", "h"}, {"", "W"}, {"", ""}});
    w.grid.SetColWidths(0, 40);
    w.grid.SetColWidths(1, 40);
    w.grid.SetBevelStyle(cbRaised);
    w.grid.OnGetCellFormat = [](int col, int row, TGridDrawState, TFormatOptions &options) {
        options.CellBrush = QBrush(Qt::blue);
        options.CellFontColor = Qt::yellow;
        options.BevelTopLeftColor = Qt::red;
        options.BevelBottomRightColor = Qt::green;
        options.HideText = col == 1 && row == 2;
    };
    w.other.setFocus(); // no focus frame or highlight on the current cell
    QApplication::processEvents();
    const QImage image = w.grid.viewport()->grab().toImage();
    const QRect cell = w.grid.CellRect(0, 1);
    EXPECT_EQ(image.pixelColor(cell.left(), cell.top() + 5), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(cell.left() + 5, cell.top()), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(cell.right(), cell.top() + 5), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(cell.left() + 5, cell.bottom()), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(cell.center()), QColor(Qt::blue));
    // The header has no bevel.
    const QRect header = w.grid.CellRect(1, 0);
    EXPECT_EQ(image.pixelColor(header.left(), header.top() + 8), QColor(Qt::blue));

    auto hasTextColour = [&](const QRect &rect) {
        for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
            for (int x = rect.left() + 1; x < rect.right(); ++x) {
                if (image.pixelColor(x, y) != QColor(Qt::blue))
                    return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(hasTextColour(w.grid.CellRect(1, 1))); // "W"
    w.grid.SetCells(1, 2, "W");
    QApplication::processEvents();
    const QImage hidden = w.grid.viewport()->grab().toImage();
    const QRect hiddenCell = w.grid.CellRect(1, 2);
    bool onlyBrush = true;
    for (int y = hiddenCell.top() + 1; y < hiddenCell.bottom(); ++y) {
        for (int x = hiddenCell.left() + 1; x < hiddenCell.right(); ++x)
            onlyBrush = onlyBrush && hidden.pixelColor(x, y) == QColor(Qt::blue);
    }
    EXPECT_TRUE(onlyBrush);
}

TEST(CellFormat, TextOffsetsAndPageSizes)
{
    EXPECT_EQ(HorzTextOffset(taLeftJustify, 100, 30), 2);
    EXPECT_EQ(HorzTextOffset(taRightJustify, 100, 30), 68);
    EXPECT_EQ(HorzTextOffset(taCenter, 100, 31), 34);
    EXPECT_EQ(HorzTextOffset(taCenter, 10, 15), -2); // toward zero
    EXPECT_EQ(VertTextOffset(taTopJustify, 16, 13), 2);
    EXPECT_EQ(VertTextOffset(taBottomJustify, 16, 13), 0);
    EXPECT_EQ(VertTextOffset(taMiddle, 16, 13), 1);

    EXPECT_EQ(ProportionalPageSize(14, 1, 100, 0, 99), 15);
    EXPECT_EQ(ProportionalPageSize(1, 1, 8, 0, 9), 2);    // 2.5 rounds to 2
    EXPECT_EQ(ProportionalPageSize(5, 1, 8, 0, 9), 8);    // 7.5 rounds to 8
    EXPECT_EQ(ProportionalPageSize(0, 0, 1000, 0, 9), 1); // at least 1
}

TEST(SortableGrid, ScrollingKeepsTheHeaderAndSizesTheThumb)
{
    std::vector<QStringList> rows{{"Header"}};
    for (int i = 0; i < 200; ++i)
        rows.push_back({QString::number(i)});
    GridWindow w(rows);
    QScrollBar *bar = w.grid.verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_GT(bar->pageStep(), 1);
    w.grid.SetProportionalScrollBars(false);
    EXPECT_EQ(bar->pageStep(), 0);
    w.grid.SetProportionalScrollBars(true);

    w.Click(0, 1);
    QTest::keyClick(&w.grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(w.grid.Row(), 200);
    EXPECT_GT(w.grid.TopRow(), 1);
    EXPECT_FALSE(w.grid.CellRect(0, 200).isEmpty());
    EXPECT_EQ(w.grid.CellRect(0, 0).top(), 0); // the header row stays in view
    int col = -1, row = -1;
    w.grid.MouseToCell(w.CellCenter(0, 0), col, row);
    EXPECT_EQ(row, 0);
    w.grid.MouseToCell(w.CellCenter(0, w.grid.TopRow()), col, row);
    EXPECT_EQ(row, w.grid.TopRow());

    // A click on the header sorts the whole column, not only the rows in view,
    // and scrolls to the current cell's row wherever it went.
    w.Click(0, 0, Qt::RightButton);
    EXPECT_EQ(w.grid.Cells(0, 1), "199");
    EXPECT_EQ(w.grid.Cells(0, 200), "0");
    EXPECT_EQ(w.grid.Row(), 1);
    EXPECT_EQ(w.grid.TopRow(), 1);
}

} // namespace
