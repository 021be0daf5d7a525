#include "widgets/type_to_find.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

namespace {

const QStringList kRows = {"Altered Beast", "OutRun", "SEGA RALLY", "sonic the hedgehog", "Sonic 2", "Streets of Rage"};

struct Keystroke
{
    char typed;
    qint64 atMs;
    int expected; // the row selected after it, -1 when it stays as it was
};

struct Case
{
    const char *what;
    int selected;
    std::vector<Keystroke> keys;
};

} // namespace

TEST(TypeToFind, LettersTypedTogetherFindAPrefixAndARepeatedLetterStepsOn)
{
    const int interval = 400;
    const std::vector<Case> cases = {
        {"one letter: the next row with it", 0, {{'s', 1000, 2}}},
        {"a word typed quickly: its prefix, not the second letter's row", 0, {{'s', 1000, 2}, {'o', 1100, 3}}},
        {"a word that still fits stays on the selected row", 2, {{'s', 1000, 3}, {'o', 1100, 3}}},
        {"the same letter again steps through its rows",
         0,
         {{'s', 1000, 2}, {'s', 1100, 3}, {'S', 1200, 4}, {'s', 1300, 5}}},
        {"stepping wraps past the last row", 4, {{'s', 1000, 5}, {'s', 1100, 2}}},
        {"the word search wraps too", 4, {{'s', 1000, 5}, {'e', 1100, 2}}},
        {"a pause starts a new word", 0, {{'s', 1000, 2}, {'o', 1401, 1}}},
        {"a pause of exactly the interval still counts as one word", 0, {{'s', 1000, 2}, {'o', 1400, 3}}},
        {"no match keeps the selection", 2, {{'x', 1000, -1}, {'s', 1100, -1}, {'a', 1900, 0}}},
        {"a word no row starts with finds nothing", 0, {{'s', 1000, 2}, {'x', 1100, -1}}},
        {"nothing selected: from the first row", -1, {{'a', 1000, 0}}},
        {"case is ignored", 0, {{'S', 1000, 2}, {'O', 1100, 3}, {'N', 1200, 3}}},
    };
    for (const Case &test : cases) {
        TypeToFind finder;
        int selected = test.selected;
        for (const Keystroke &key : test.keys) {
            const int row = finder.type(QChar(key.typed), key.atMs, interval, selected, kRows.size(),
                                        [](int row) -> const QString & { return kRows.at(row); });
            EXPECT_EQ(row, key.expected) << test.what << ", at '" << key.typed << "'";
            if (row >= 0)
                selected = row;
        }
    }
    TypeToFind empty;
    EXPECT_EQ(empty.type(QChar(u's'), 0, interval, -1, 0, [](int row) -> const QString & { return kRows.at(row); }),
              -1);
}
