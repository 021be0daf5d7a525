#include "widgets/type_to_find.h"

#include <algorithm>

int TypeToFind::type(QChar typed, qint64 nowMs, int intervalMs, int selected, int count, const RowText &text)
{
    if (nowMs - lastMs_ > intervalMs)
        typed_.clear();
    lastMs_ = nowMs;
    typed_ += typed;
    // A repeated letter steps on from the selected row; a word may stay on it.
    const bool stepping = oneLetterRepeated();
    const QString wanted = stepping ? QString(typed) : typed_;
    const int first = stepping ? selected + 1 : std::max(selected, 0);
    for (int step = 0; step < count; ++step) {
        const int row = (first + step) % count;
        if (text(row).startsWith(wanted, Qt::CaseInsensitive))
            return row;
    }
    return -1;
}

bool TypeToFind::oneLetterRepeated() const
{
    const QChar letter = typed_.front().toCaseFolded();
    return std::all_of(typed_.cbegin(), typed_.cend(), [letter](QChar c) { return c.toCaseFolded() == letter; });
}
