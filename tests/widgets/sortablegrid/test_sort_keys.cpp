#include "widgets/sortablegrid/sort_entries.h"
#include "widgets/sortablegrid/sort_key_reader.h"
#include "widgets/sortablegrid/tolerant_merge_sort.h"
#include "widgets/sortablegrid/windows1252_order.h"

#include <QDate>
#include <QDateTime>
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

namespace {

const QLocale kUs(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

TEST(Windows1252Code, OrdersAsTheSingleBytesWould)
{
    EXPECT_EQ(Windows1252Code(u'A'), 0x41);
    EXPECT_EQ(Windows1252Code(0x20AC), 0x80); // euro sign
    EXPECT_EQ(Windows1252Code(0x0178), 0x9F);
    EXPECT_EQ(Windows1252Code(0x008D), 0x8D); // an undefined byte keeps its value
    EXPECT_EQ(Windows1252Code(0xE9), 0xE9);
    EXPECT_EQ(Windows1252Code(0x0080), 0x180); // no byte of the code page
    EXPECT_EQ(Windows1252Code(0x3042), 0x3142);
}

TEST(SortKeyReader, NumbersInTheLocaleFormat)
{
    const SortKeyReader us(kUs);
    long double v = 0;
    EXPECT_TRUE(us.ReadNumber(u"10", v));
    EXPECT_EQ(v, 10);
    EXPECT_TRUE(us.ReadNumber(u"-1.5e3", v));
    EXPECT_EQ(v, -1500);
    EXPECT_TRUE(us.ReadNumber(u" +.25 ", v));
    EXPECT_EQ(v, 0.25);
    EXPECT_TRUE(us.ReadNumber(u"7.", v));
    for (const char16_t *bad :
         {u"", u" ", u"abc", u"1.5x", u"1,000", u"1e", u"-", u".", u"inf", u"nan", u"1e5000", u"1 2", u"0x10"})
        EXPECT_FALSE(us.ReadNumber(bad, v)) << QString::fromUtf16(bad).toStdString();

    const SortKeyReader german(kGerman);
    EXPECT_TRUE(german.ReadNumber(u"1,5", v));
    EXPECT_EQ(v, 1.5);
    EXPECT_FALSE(german.ReadNumber(u"1.5", v));
}

TEST(SortKeyReader, NumbersKeepTheExtendedPrecision)
{
    const SortKeyReader us(kUs);
    long double a = 0, b = 0;
    // Integers above 2^53, which a double cannot tell apart.
    ASSERT_TRUE(us.ReadNumber(u"9007199254740993", a));
    ASSERT_TRUE(us.ReadNumber(u"9007199254740992", b));
    EXPECT_GT(a, b);
    // Rounded once, as the compiler reads the same literal; more digits than
    // an integer holds, and exponents beyond a double's.
    const std::pair<const char16_t *, long double> exact[] = {
        {u"0.1", 0.1L},
        {u"123.456e-7", 123.456e-7L},
        {u"18446744073709551615", 18446744073709551615.0L},
        {u"3.14159265358979323846264338327950288", 3.14159265358979323846264338327950288L},
        {u"1e400", 1e400L},
        {u"-2.5E-400", -2.5E-400L},
    };
    for (const auto &[text, value] : exact) {
        ASSERT_TRUE(us.ReadNumber(text, a)) << QString::fromUtf16(text).toStdString();
        EXPECT_EQ(a, value) << QString::fromUtf16(text).toStdString();
    }
    EXPECT_FALSE(us.ReadNumber(u"1e5000", a));

    // A locale's own digits and symbols, and ASCII digits there too.
    const SortKeyReader arabic(QLocale(QLocale::Arabic, QLocale::Egypt));
    ASSERT_TRUE(arabic.ReadNumber(u"\u061C-\u0661\u066B\u0665", a));
    EXPECT_EQ(a, -1.5L);
    ASSERT_TRUE(arabic.ReadNumber(u"12", a));
    EXPECT_EQ(a, 12);
    EXPECT_FALSE(arabic.ReadNumber(u"1.5", a));
}

TEST(SortKeyReader, DatesInTheShortFormatWithOptionalTime)
{
    const SortKeyReader us(kUs); // M/d/yy
    qint64 a = 0, b = 0;
    EXPECT_TRUE(us.ReadDate(u"3/15/2024", false, a));
    EXPECT_EQ(a, QDate(2024, 3, 15).toJulianDay() * 86400000);
    EXPECT_TRUE(us.ReadDate(u"03/15/24", false, b));
    EXPECT_EQ(a, b);
    EXPECT_TRUE(us.ReadDate(u"1/2/99", false, b));
    EXPECT_EQ(b, QDate(1999, 1, 2).toJulianDay() * 86400000);
    // Leap years and far dates count days as QDate does.
    for (const QDate date :
         {QDate(2024, 2, 29), QDate(2000, 2, 29), QDate(1, 1, 1), QDate(1582, 10, 4), QDate(9999, 12, 31)}) {
        const QString text = QString("%1/%2/%3").arg(date.month()).arg(date.day()).arg(date.year(), 4, 10, QChar('0'));
        ASSERT_TRUE(us.ReadDate(text, false, b)) << text.toStdString();
        EXPECT_EQ(b, date.toJulianDay() * 86400000) << text.toStdString();
    }
    EXPECT_FALSE(us.ReadDate(u"2/29/2023", false, b));
    EXPECT_FALSE(us.ReadDate(u"2/29/1900", false, b));
    for (const char16_t *bad :
         {u"", u"2/30/2024", u"13/1/2024", u"3/15", u"3-15-2024", u"3/15/2024x", u"3/15/20245", u"abc"})
        EXPECT_FALSE(us.ReadDate(bad, true, a)) << QString::fromUtf16(bad).toStdString();

    // A time only where it is allowed.
    EXPECT_FALSE(us.ReadDate(u"3/15/2024 10:30", false, a));
    ASSERT_TRUE(us.ReadDate(u"3/15/2024 10:30", true, a));
    ASSERT_TRUE(us.ReadDate(u"3/15/2024 10:30 PM", true, b));
    EXPECT_EQ(b - a, qint64(12) * 3600000);
    ASSERT_TRUE(us.ReadDate(u"3/15/2024 10:30:05.5", true, b));
    EXPECT_EQ(b - a, 5500);
    EXPECT_FALSE(us.ReadDate(u"3/15/2024 25:00", true, a));
    EXPECT_FALSE(us.ReadDate(u"3/15/2024 10", true, a));

    const SortKeyReader german(kGerman); // dd.MM.yy
    EXPECT_TRUE(german.ReadDate(u"15.03.2024", false, b));
    EXPECT_FALSE(german.ReadDate(u"3/15/2024", false, b));

    // A pattern with month names, such as the C locale's "d MMM yyyy".
    const SortKeyReader c{QLocale::c()};
    EXPECT_TRUE(c.ReadDate(u"15 Mar 2024", false, b));
    EXPECT_EQ(b, QDate(2024, 3, 15).toJulianDay() * 86400000);
    EXPECT_TRUE(c.ReadDate(u"15 march 2024", false, b));
    EXPECT_FALSE(c.ReadDate(u"15Mar2024", false, b));
}

TEST(SortKeyReader, DatesWithATimeWhereTheShortFormatEndsInALiteral)
{
    const QDate date(2024, 7, 9);
    const qint64 day = date.toJulianDay() * 86400000;
    const qint64 evening = day + (22 * 60 + 30) * 60000;
    for (const char *name : {"hu_HU", "hr_HR", "sr_RS", "bs_BA", "ko_KR", "bg_BG"}) {
        const QLocale locale(QString::fromLatin1(name));
        const SortKeyReader reader(locale);
        const QString dateText = locale.toString(date, QLocale::ShortFormat);
        qint64 value = 0;
        ASSERT_TRUE(reader.ReadDate(dateText, false, value)) << name;
        EXPECT_EQ(value, day) << name;
        // As the locale writes a date with a time (Korean "24. 7. 9. 오후 10:30",
        // Bulgarian "9.07.24 г. 22:30 ч."), and with a plain time.
        for (const QString &text :
             {locale.toString(QDateTime(date, QTime(22, 30)), QLocale::ShortFormat), dateText + " 22:30"}) {
            EXPECT_FALSE(reader.ReadDate(text, false, value)) << text.toStdString();
            ASSERT_TRUE(reader.ReadDate(text, true, value)) << text.toStdString();
            EXPECT_EQ(value, evening) << text.toStdString();
        }
    }
}

TEST(SortKeyReader, DatesWrittenInTheUserFormatRead)
{
    const QLocale system = QLocale::system();
    const SortKeyReader reader(system);
    qint64 value = 0;
    for (const QDate date : {QDate(2001, 1, 31), QDate(2024, 12, 5)}) {
        const QString text = system.toString(date, QLocale::ShortFormat);
        ASSERT_TRUE(reader.ReadDate(text, false, value)) << text.toStdString();
        EXPECT_EQ(value, date.toJulianDay() * 86400000);
    }
}

TEST(TolerantMergeSort, StableAndEndsWithEveryElementUnderAnyComparison)
{
    std::mt19937 random(7);
    std::vector<std::pair<int, int>> items;
    for (int i = 0; i < 1000; ++i)
        items.push_back({int(random() % 10), i});
    auto sorted = items;
    TolerantMergeSort(sorted, [](const auto &a, const auto &b) { return a.first - b.first; });
    auto expected = items;
    std::stable_sort(expected.begin(), expected.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    EXPECT_EQ(sorted, expected);

    // A random answer to every comparison: still a permutation.
    std::vector<int> values(5000);
    std::iota(values.begin(), values.end(), 0);
    TolerantMergeSort(values, [&](int, int) { return int(random() % 3) - 1; });
    std::sort(values.begin(), values.end());
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(values[i], i);
}

// Many dates sort as the comparison orders them, in both directions: whole
// days over a wide range, repeated days, and days set apart by a time.
TEST(SortEntryComparer, DateSortsFollowTheComparison)
{
    std::mt19937 random(5);
    for (const bool withTimes : {false, true}) {
        for (const std::uint8_t descending : {0, 1}) {
            TSortedList entries;
            for (int i = 0; i < 4000; ++i) {
                const QDate date = QDate(1, 1, 1).addDays(random() % 50 ? random() % 400 : random() % 3652000);
                entries.push_back(
                    {kUs.toString(date, "M/d/yyyy") +
                         (withTimes && random() % 2 ? QString(" %1:%2").arg(random() % 24).arg(random() % 50 + 10)
                                                    : ""),
                     i + 1});
            }
            qint64 value = 0;
            ASSERT_TRUE(std::all_of(entries.begin(), entries.end(), [&](const auto &e) {
                return SortKeyReader(kUs).ReadDate(e.KeyText, true, value);
            }));
            const SortEntryComparer comparer({skDate, descending, 1}, kUs);
            TSortedList expected = entries;
            std::stable_sort(expected.begin(), expected.end(),
                             [&](const auto &a, const auto &b) { return comparer.CompareSortEntries(a, b) < 0; });
            comparer.Sort(entries);
            for (size_t i = 0; i < entries.size(); ++i)
                ASSERT_EQ(entries[i].RowIndex, expected[i].RowIndex) << i << withTimes << int(descending);
        }
    }
}

TEST(SortEntryComparer, ComparesByKindThenByRowIndexUnreversed)
{
    TSortOptions text{skText, 0, 1};
    const SortEntryComparer ascending(text, kUs);
    EXPECT_LT(ascending.CompareSortEntries({"Zebra", 5}, {"apple", 1}), 0); // by character code
    EXPECT_LT(ascending.CompareSortEntries({"ab", 5}, {"abc", 1}), 0);      // shorter first
    EXPECT_LT(ascending.CompareSortEntries({"x", 1}, {"x", 5}), 0);         // tie: higher row first
    EXPECT_GT(ascending.CompareSortEntries({"x", 5}, {"x", 1}), 0);
    EXPECT_EQ(ascending.CompareSortEntries({"x", 5}, {"x", 5}), 0);

    text.Descending = 1;
    const SortEntryComparer descending(text, kUs);
    EXPECT_GT(descending.CompareSortEntries({"Zebra", 5}, {"apple", 1}), 0);
    EXPECT_LT(descending.CompareSortEntries({"x", 1}, {"x", 5}), 0); // tie-break not reversed

    TSortOptions other{skText, 2, 0}; // Descending other than 1 ascends; case folded
    const SortEntryComparer folded(other, kUs);
    EXPECT_GT(folded.CompareSortEntries({"Zebra", 1}, {"apple", 5}), 0);
    EXPECT_LT(folded.CompareSortEntries({"abc", 1}, {"ABC", 5}), 0); // equal after folding

    const SortEntryComparer numbers({skNumber, 0, 1}, kUs);
    EXPECT_LT(numbers.CompareSortEntries({"9", 5}, {"10", 1}), 0);
    EXPECT_LT(numbers.CompareSortEntries({"abc", 1}, {"1", 5}), 0); // unreadable: equal, by row
    EXPECT_GT(numbers.CompareSortEntries({"abc", 5}, {"1", 1}), 0);

    const SortEntryComparer dates({skDate, 0, 1}, kUs);
    EXPECT_LT(dates.CompareSortEntries({"12/31/1999", 5}, {"1/1/2000", 1}), 0);
    EXPECT_LT(dates.CompareSortEntries({"1/1/2000 9:00", 5}, {"1/1/2000 10:00", 1}), 0);

    const SortEntryComparer unknown({7, 0, 1}, kUs); // an unknown kind compares as text
    EXPECT_LT(unknown.CompareSortEntries({"10", 1}, {"9", 5}), 0);
}

} // namespace
