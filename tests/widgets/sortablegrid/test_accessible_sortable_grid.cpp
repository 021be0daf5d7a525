#include "widgets/sortablegrid/sortable_grid.h"

#include "support/accessibility_listener.h"

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The ROM list's arrangement: a header row, no fixed column, three data rows.
void Fill(TSortableGrid &grid)
{
    grid.SetSortLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    grid.SetFixedCols(0);
    grid.SetDefaultRowHeight(16);
    grid.SetColCount(2);
    grid.SetRowCount(4);
    const QStringList cells{"File Name", "English Name", "b.bin", "BETA", "c.bin", "GAMMA", "a.bin", "ALPHA"};
    for (int i = 0; i < cells.size(); ++i)
        grid.SetCells(i % 2, i / 2, cells[i]);
    grid.resize(300, 200);
    grid.show();
    grid.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&grid));
}

TEST(AccessibleSortableGrid, CellsHeadersSelectionAndCurrentCellAsATable)
{
    AccessibilityListener listener;
    TSortableGrid grid;
    Fill(grid);
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(&grid);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    QAccessibleTableInterface *cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->rowCount(), 3);
    EXPECT_EQ(cells->columnCount(), 2);
    EXPECT_EQ(cells->columnDescription(1), "English Name");
    EXPECT_EQ(table->childCount(), 8);

    // Children row by row, the header row first; the table's rows are the data rows.
    QAccessibleInterface *header = table->child(1);
    EXPECT_EQ(header->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(header->text(QAccessible::Name), "English Name");
    EXPECT_EQ(header->tableCellInterface(), nullptr);
    QAccessibleInterface *gamma = cells->cellAt(1, 1);
    ASSERT_NE(gamma, nullptr);
    EXPECT_EQ(gamma, table->child(5));
    EXPECT_EQ(table->indexOfChild(gamma), 5);
    EXPECT_EQ(gamma->parent(), table);
    EXPECT_EQ(gamma->role(), QAccessible::Cell);
    EXPECT_EQ(gamma->text(QAccessible::Name), "GAMMA");
    QAccessibleTableCellInterface *place = gamma->tableCellInterface();
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->rowIndex(), 1);
    EXPECT_EQ(place->columnIndex(), 1);
    EXPECT_EQ(place->columnHeaderCells(), QList<QAccessibleInterface *>{header});
    EXPECT_EQ(gamma->rect(), QRect(grid.viewport()->mapToGlobal(grid.CellRect(1, 2).topLeft()), QSize(64, 16)));
    EXPECT_EQ(table->childAt(gamma->rect().center().x(), gamma->rect().center().y()), gamma);
    EXPECT_EQ(cells->cellAt(3, 0), nullptr);

    // A click makes the cell current and selected, and tells so.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, grid.CellRect(1, 2).center());
    EXPECT_EQ(table->focusChild(), gamma);
    EXPECT_TRUE(gamma->state().focused);
    EXPECT_TRUE(gamma->state().selected);
    EXPECT_EQ(cells->selectedCells(), QList<QAccessibleInterface *>{gamma});
    EXPECT_TRUE(listener.Told(QAccessible::Focus, 5));
    EXPECT_TRUE(listener.Told(QAccessible::Selection, 5));

    // A whole row selected by assistive technology, and a range by dragging.
    listener.Clear();
    EXPECT_TRUE(cells->selectRow(2));
    EXPECT_EQ(cells->selectedRows(), QList<int>{2});
    EXPECT_TRUE(cells->isRowSelected(2));
    EXPECT_EQ(cells->selectedColumnCount(), 0);
    EXPECT_TRUE(listener.Told(QAccessible::SelectionAdd, 7));
    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, grid.CellRect(0, 1).center());
    QTest::mouseMove(grid.viewport(), grid.CellRect(1, 3).center());
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, grid.CellRect(1, 3).center());
    EXPECT_EQ(cells->selectedCellCount(), 6);
    EXPECT_EQ(cells->selectedColumns(), QList<int>({0, 1}));
    EXPECT_TRUE(listener.Told(QAccessible::SelectionWithin, -1));
    EXPECT_FALSE(cells->unselectRow(0));

    // Changed texts and rows are told; a sort changes every row, and the
    // current cell that followed its row has the focus.
    listener.Clear();
    grid.SetCells(1, 3, "AAA");
    EXPECT_TRUE(listener.ToldChange(QAccessibleTableModelChangeEvent::DataChanged, 2, 2));
    grid.SetRowCount(6);
    EXPECT_TRUE(listener.ToldChange(QAccessibleTableModelChangeEvent::RowsInserted, 3, 4));
    EXPECT_EQ(cells->rowCount(), 5);
    grid.SetRowCount(4);
    EXPECT_TRUE(listener.ToldChange(QAccessibleTableModelChangeEvent::RowsRemoved, 3, 4));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, grid.CellRect(1, 3).center());
    listener.Clear();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, grid.CellRect(1, 0).center());
    EXPECT_EQ(cells->cellAt(1, 1)->text(QAccessible::Name), "BETA");
    EXPECT_TRUE(listener.ToldChange(QAccessibleTableModelChangeEvent::ModelReset));
    EXPECT_TRUE(listener.Told(QAccessible::Focus, 3)); // AAA, now first
    EXPECT_EQ(table->focusChild()->text(QAccessible::Name), "AAA");
}

} // namespace
