#include "widgets/rom_list_box.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>

#include <gtest/gtest.h>

namespace {

// A list box over rows of its own.
class TextList : public RomListBox
{
public:
    void add(int row, const QString &text)
    {
        rows_.insert(row, text);
        rowInserted(row);
    }
    void clear()
    {
        rows_.clear();
        rowsCleared();
    }
    int count() const override { return static_cast<int>(rows_.size()); }

protected:
    const QString &rowText(int row) const override { return rows_[row]; }

private:
    QStringList rows_;
};

// What the list tells assistive technology, as "kind:child" texts.
QStringList Told;

void Record(QAccessibleEvent *event)
{
    const QString child = QString::number(event->child());
    switch (event->type()) {
    case QAccessible::SelectionAdd: Told << "add:" + child; break;
    case QAccessible::SelectionRemove: Told << "remove:" + child; break;
    case QAccessible::Focus: Told << "focus:" + child; break;
    case QAccessible::TableModelChanged: {
        const auto *change = static_cast<QAccessibleTableModelChangeEvent *>(event);
        Told << (change->modelChangeType() == QAccessibleTableModelChangeEvent::ModelReset
                     ? QStringLiteral("reset")
                     : "inserted:" + QString::number(change->firstRow()));
        break;
    }
    default: break;
    }
}

class ReadableList : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Told.clear();
        list.resize(200, 10 * list.rowHeight());
        for (const char *text : {"Alpha", "Bravo", "Charlie"})
            list.add(list.count(), QString::fromLatin1(text));
        list.show();
        list.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
        // Active as when a screen reader listens, as Qt's own tests make it.
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        QAccessible::installUpdateHandler(Record);
        face = QAccessible::queryAccessibleInterface(&list);
        ASSERT_NE(face, nullptr);
    }
    void TearDown() override
    {
        QAccessible::installUpdateHandler(nullptr);
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
    }

    QStringList names() const
    {
        QStringList all;
        for (int i = 0; i < face->childCount(); ++i)
            all << face->child(i)->text(QAccessible::Name);
        return all;
    }

    TextList list;
    QAccessibleInterface *face = nullptr;
};

TEST_F(ReadableList, EntriesSelectionAndCurrentRowReadAsAList)
{
    EXPECT_EQ(face->role(), QAccessible::List);
    QAccessibleTableInterface *table = face->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->columnCount(), 1);
    EXPECT_EQ(names(), QStringList({"Alpha", "Bravo", "Charlie"}));
    EXPECT_EQ(table->selectedRowCount(), 0);
    EXPECT_EQ(face->focusChild(), nullptr);

    list.setItemIndex(1);
    // Taking the focus, the list tells its current entry (Qt asks focusChild()).
    list.setFocus();
    list.setItemIndex(2);
    EXPECT_EQ(Told, QStringList({"add:1", "focus:1", "remove:1", "add:2", "focus:2"}));
    EXPECT_EQ(table->selectedRows(), QList<int>{2});
    EXPECT_TRUE(table->isRowSelected(2));
    EXPECT_FALSE(table->isRowSelected(1));
    QAccessibleInterface *current = face->focusChild();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->text(QAccessible::Name), "Charlie");
    EXPECT_EQ(current->role(), QAccessible::ListItem);
    EXPECT_TRUE(current->state().selected && current->state().focused && current->state().selectable);
    EXPECT_FALSE(face->child(0)->state().selected);
    EXPECT_EQ(current->tableCellInterface()->rowIndex(), 2);
    EXPECT_EQ(current->parent(), face);
    EXPECT_EQ(face->indexOfChild(current), 2);
    EXPECT_EQ(table->cellAt(0, 0), face->child(0));
    EXPECT_EQ(table->cellAt(0, 1), nullptr);

    // Each entry lies where it is drawn; the one under a point is found there.
    const QRect second = face->child(1)->rect();
    EXPECT_EQ(second.topLeft(), list.viewport()->mapToGlobal(QPoint(0, list.rowHeight())));
    EXPECT_EQ(face->childAt(second.center().x(), second.center().y()), face->child(1));
    EXPECT_EQ(face->childAt(second.right() + 50, second.center().y()), nullptr);

    // Choosing an entry through the interface is a user's choice: the click runs.
    QSignalSpy clicks(&list, &RomListBox::clicked);
    EXPECT_TRUE(table->selectRow(0));
    EXPECT_EQ(list.itemIndex(), 0);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(table->selectRow(3));
}

TEST_F(ReadableList, RowsComingAndGoingAreTold)
{
    list.setItemIndex(1);
    Told.clear();
    // An entry sorted in before the selection moves it, and the entry stays selected.
    list.add(0, QStringLiteral("Aardvark"));
    EXPECT_EQ(Told, QStringList{"inserted:0"});
    EXPECT_EQ(names(), QStringList({"Aardvark", "Alpha", "Bravo", "Charlie"}));
    EXPECT_EQ(face->focusChild()->text(QAccessible::Name), "Bravo");

    // Entries scrolled out of sight are there, and read as invisible.
    for (int i = 0; i < 40; ++i)
        list.add(list.count(), QStringLiteral("Z%1").arg(i));
    list.setItemIndex(list.count() - 1);
    EXPECT_TRUE(face->child(0)->state().invisible);
    EXPECT_FALSE(face->child(list.count() - 1)->state().invisible);

    Told.clear();
    list.clear();
    EXPECT_EQ(Told, QStringList{"reset"});
    EXPECT_EQ(face->childCount(), 0);
    EXPECT_EQ(face->child(0), nullptr);
    EXPECT_EQ(face->focusChild(), nullptr);
    EXPECT_EQ(face->tableInterface()->selectedCellCount(), 0);
}

} // namespace
