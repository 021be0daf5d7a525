#pragma once
#include <QString>

#include <functional>

// Finds the row that letters typed into a list name, as list views and file
// managers do. Letters typed within the typing interval of each other make one
// prefix, looked for from the selected row on ("so" goes to "SONIC", not to
// the next row starting with "o"); the same letter typed again and again steps
// to the next row starting with it. Case is ignored, as the list's order
// ignores it, and the search wraps past the last row to the first.
class TypeToFind
{
public:
    using RowText = std::function<const QString &(int row)>;

    // The row to select for `typed`, typed at `nowMs` on a steady clock: it
    // joins the letters before it into one word when it comes at most
    // `intervalMs` after the last of them. `selected` is the selected row (-1
    // for none) of `count` rows. -1 when no row matches: the selection stays.
    int type(QChar typed, qint64 nowMs, int intervalMs, int selected, int count, const RowText &text);

private:
    bool oneLetterRepeated() const;

    QString typed_;
    qint64 lastMs_ = 0;
};
