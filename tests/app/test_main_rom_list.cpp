#include "app/main_rom_list.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class ListBox : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *text : {"delta", "Bravo", "echo", "alpha", "charlie"})
            box.addItem(QString::fromLatin1(text), romobj());
        box.resize(200, 10 * box.rowHeight());
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    }

    QPoint rowCentre(int row) const { return QPoint(20, row * box.rowHeight() + box.rowHeight() / 2); }

    MainRomList box;
};

} // namespace

TEST_F(ListBox, ClickSelectsTheRowAndEmitsClicked)
{
    QSignalSpy clicked(&box, &MainRomList::clicked);
    EXPECT_EQ(box.itemIndex(), -1);
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, rowCentre(2));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(box.itemIndex(), 2);
    EXPECT_EQ(box.item(2).text, "charlie");

    // Below the last row: nothing chosen, nothing emitted.
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, rowCentre(7));
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(box.itemIndex(), 2);

    // Double click (its first press selects) asks for the launch.
    QSignalSpy doubleClicked(&box, &MainRomList::doubleClicked);
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, rowCentre(1));
    QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, rowCentre(1));
    EXPECT_EQ(doubleClicked.count(), 1);
    EXPECT_EQ(box.itemIndex(), 1);
    // Below the last row too: the selected entry stays and is the one played.
    QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, rowCentre(7));
    EXPECT_EQ(doubleClicked.count(), 2);
    EXPECT_EQ(box.itemIndex(), 1);
}

TEST_F(ListBox, SelectionFromCodeEmitsNothing)
{
    QSignalSpy clicked(&box, &MainRomList::clicked);
    box.setItemIndex(3);
    EXPECT_EQ(box.itemIndex(), 3);
    box.setItemIndex(99);
    EXPECT_EQ(box.itemIndex(), -1);
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(ListBox, InsertionsKeepTheSameEntrySelected)
{
    box.setItemIndex(2);               // charlie
    box.addItem("aardvark", romobj()); // before it
    EXPECT_EQ(box.item(box.itemIndex()).text, "charlie");
    box.addItem("CHARLIE", romobj()); // equal text goes behind it
    EXPECT_EQ(box.item(box.itemIndex()).text, "charlie");
    EXPECT_EQ(box.item(box.itemIndex() + 1).text, "CHARLIE");
    box.addItem("zulu", romobj()); // after it
    EXPECT_EQ(box.itemIndex(), 3);
    box.clear();
    EXPECT_EQ(box.itemIndex(), -1);
    EXPECT_EQ(box.count(), 0);
}

TEST_F(ListBox, KeysMoveTheSelectionAndEnterIsReported)
{
    QSignalSpy clicked(&box, &MainRomList::clicked);
    QSignalSpy keys(&box, &MainRomList::keyPressed);
    box.setFocus();
    box.setItemIndex(0);

    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_Enter);
    ASSERT_EQ(keys.count(), 2);
    EXPECT_EQ(keys.at(0).at(0).value<QChar>(), QChar(u'\r'));
    EXPECT_EQ(keys.at(1).at(0).value<QChar>(), QChar(u'\r'));
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_EQ(box.itemIndex(), 0);

    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(box.itemIndex(), 1);
    QTest::keyClick(&box, Qt::Key_End);
    EXPECT_EQ(box.itemIndex(), 4);
    EXPECT_EQ(clicked.count(), 2);
    // A typed letter goes to the next entry starting with it.
    QTest::keyClick(&box, Qt::Key_C);
    EXPECT_EQ(box.item(box.itemIndex()).text, "charlie");
    EXPECT_EQ(keys.last().at(0).value<QChar>(), QChar(u'c'));
}
