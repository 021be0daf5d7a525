#include "catalogue/sorted_rom_list.h"

#include <QRandomGenerator>
#include <QString>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

romobj Numbered(int number)
{
    romobj object;
    object.putrominfo(rom_info{QByteArray::number(number), QByteArray()});
    return object;
}

int NumberOf(const RomListEntry &entry)
{
    rom_info info;
    entry.object.getrominfo(info);
    return info.filename.toInt();
}

// The expected order, built without the list: ASCII letters folded to lower
// case, equal texts in the order they came.
struct Added
{
    QString text;
    int number;
};

std::vector<Added> Reference(std::vector<Added> added)
{
    std::stable_sort(added.begin(), added.end(), [](const Added &a, const Added &b) {
        return a.text.toLower().toStdU16String() < b.text.toLower().toStdU16String();
    });
    return added;
}

void ExpectSameOrder(const SortedRomList &list, const std::vector<Added> &added)
{
    const std::vector<Added> expected = Reference(added);
    ASSERT_EQ(list.count(), static_cast<int>(expected.size()));
    for (int row = 0; row < list.count(); ++row) {
        ASSERT_EQ(list.at(row).text, expected[row].text) << "row " << row;
        ASSERT_EQ(NumberOf(list.at(row)), expected[row].number) << "row " << row;
    }
}

} // namespace

TEST(SortedRomList, OrdersIgnoringCaseAndKeepsEqualTextsInArrivalOrder)
{
    SortedRomList list;
    EXPECT_EQ(list.add("beta", Numbered(0)), 0);
    EXPECT_EQ(list.add("Alpha", Numbered(1)), 0);
    EXPECT_EQ(list.add("gamma", Numbered(2)), 2);
    EXPECT_EQ(list.add("ALPHA", Numbered(3)), 1);
    EXPECT_EQ(list.add("alpha2", Numbered(4)), 2);
    EXPECT_EQ(list.add("Beta", Numbered(5)), 4);
    EXPECT_EQ(list.add("", Numbered(6)), 0);
    const char *texts[] = {"", "Alpha", "ALPHA", "alpha2", "beta", "Beta", "gamma"};
    const int numbers[] = {6, 1, 3, 4, 0, 5, 2};
    ASSERT_EQ(list.count(), 7);
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(list.at(row).text, texts[row]);
        EXPECT_EQ(NumberOf(list.at(row)), numbers[row]);
    }
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.add("again", Numbered(7)), 0);
    EXPECT_EQ(list.at(0).text, "again");
}

TEST(SortedRomList, ManyRandomInsertionsMatchAStableSort)
{
    // Few letters of both cases and short texts: many equal and case-equal texts.
    const QString letters = QStringLiteral("aAbB_zZ ");
    QRandomGenerator random(20240611);
    SortedRomList list;
    std::vector<Added> added;
    for (int number = 0; number < 30000; ++number) {
        QString text;
        const int length = random.bounded(1, 5);
        for (int i = 0; i < length; ++i)
            text += letters[random.bounded(letters.size())];
        const int row = list.add(text, Numbered(number));
        added.push_back({text, number});
        // The returned row is where the new entry is now.
        ASSERT_EQ(NumberOf(list.at(row)), number);
        if (number % 7919 == 0)
            ExpectSameOrder(list, added);
    }
    ExpectSameOrder(list, added);
}

// Arrivals already in order or in reverse fill the first or the last block
// only, splitting it again and again.
TEST(SortedRomList, RowsStayRightAfterRepeatedSplitsAtEitherEnd)
{
    for (const bool ascending : {true, false}) {
        SortedRomList list;
        std::vector<Added> added;
        for (int i = 0; i < 5000; ++i) {
            const int key = ascending ? i : 5000 - i;
            const QString text = QStringLiteral("rom%1").arg(key, 5, 10, QLatin1Char('0'));
            EXPECT_EQ(list.add(text, Numbered(i)), ascending ? i : 0);
            added.push_back({text, i});
        }
        ExpectSameOrder(list, added);
    }
}

// The list's order is exactly Qt's case-insensitive comparison, also for
// characters outside ASCII, some of which fold into ASCII letters.
TEST(SortedRomList, OrderAgreesWithCaseInsensitiveCompareBeyondAscii)
{
    const QString pieces[] = {
        QStringLiteral("a"),           QStringLiteral("A"),       QStringLiteral("k"),       QStringLiteral("K"),
        QStringLiteral("s"),           QStringLiteral("_"),       QStringLiteral(" "),       QStringLiteral("~"),
        QStringLiteral(u"\u212A"), // Kelvin sign, folds to k
        QStringLiteral(u"\u017F"), // long s, folds to s
        QStringLiteral(u"\u00E9"),     QStringLiteral(u"\u00C9"), QStringLiteral(u"\u00DF"), QStringLiteral(u"\u0130"),
        QStringLiteral(u"\uFFFD"),
        QStringLiteral(u"\U0001D400"), // outside the first plane: a surrogate pair
        QStringLiteral(u"\U00010400"), // Deseret capital, folds to U+10428
        QStringLiteral(u"\U00010428"),
    };
    QRandomGenerator random(77);
    const auto randomText = [&] {
        QString text;
        const int length = random.bounded(0, 5);
        for (int i = 0; i < length; ++i)
            text += pieces[random.bounded(int(std::size(pieces)))];
        return text;
    };
    for (int i = 0; i < 200000; ++i) {
        const QString a = randomText();
        const QString b = randomText();
        ASSERT_EQ(RomTextLess(a, b), a.compare(b, Qt::CaseInsensitive) < 0)
            << a.toStdString() << " / " << b.toStdString();
    }
}
