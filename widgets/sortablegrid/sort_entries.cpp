#include "widgets/sortablegrid/sort_entries.h"

#include "widgets/sortablegrid/tolerant_merge_sort.h"
#include "widgets/sortablegrid/windows1252_order.h"

#include <algorithm>

namespace {

struct TextKey
{
    const char16_t *text;
    qsizetype size;
    int rowIndex;
    int entry;
};

template <class T>
struct ValueKey
{
    T value;
    bool readable;
    int rowIndex;
    int entry;
};

// Text compares by Windows-1252 character code, the shorter of two texts that
// begin alike first.
int CompareKeys(const TextKey &a, const TextKey &b)
{
    const qsizetype common = std::min(a.size, b.size);
    const auto [pa, pb] = std::mismatch(a.text, a.text + common, b.text);
    if (pa != a.text + common)
        return Windows1252Code(*pa) - Windows1252Code(*pb);
    return a.size < b.size ? -1 : (a.size > b.size ? 1 : 0);
}

template <class T>
int CompareKeys(const ValueKey<T> &a, const ValueKey<T> &b)
{
    if (!a.readable || !b.readable)
        return 0;
    return a.value < b.value ? -1 : (a.value > b.value ? 1 : 0);
}

template <class Key>
int CompareWithTieBreak(const Key &a, const Key &b, bool descending)
{
    const int result = CompareKeys(a, b);
    if (result == 0)
        return a.rowIndex < b.rowIndex ? -1 : (a.rowIndex > b.rowIndex ? 1 : 0);
    return descending ? -result : result;
}

QString FoldAsciiLetters(const QString &text)
{
    const auto lower = [](QChar c) { return c.unicode() >= 'a' && c.unicode() <= 'z'; };
    if (std::none_of(text.begin(), text.end(), lower))
        return text;
    QString folded = text;
    for (QChar &c : folded) {
        if (lower(c))
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return folded;
}

// Builds each entry's key once, sorts the keys and reorders the entries.
class KeyedSort
{
public:
    KeyedSort(const TSortOptions &options, const SortKeyReader &reader)
        : options_(options), reader_(reader), descending_(options.Descending == 1)
    {
    }

    TextKey MakeTextKey(const QString &text, int rowIndex, int entry) const
    {
        return {reinterpret_cast<const char16_t *>(text.constData()), text.size(), rowIndex, entry};
    }

    ValueKey<double> MakeNumberKey(const QString &text, int rowIndex, int entry) const
    {
        ValueKey<double> key{0, false, rowIndex, entry};
        key.readable = reader_.ReadNumber(text, key.value);
        return key;
    }

    ValueKey<qint64> MakeDateKey(const QString &text, int rowIndex, int entry) const
    {
        ValueKey<qint64> key{0, false, rowIndex, entry};
        key.readable = reader_.ReadDate(text, true, key.value);
        return key;
    }

    int Compare(const TSortedListEntry &a, const TSortedListEntry &b) const
    {
        const QString keyA = Fold(a.KeyText), keyB = Fold(b.KeyText);
        switch (options_.SortKind) {
        case skNumber:
            return CompareWithTieBreak(MakeNumberKey(keyA, a.RowIndex, 0),
                                       MakeNumberKey(keyB, b.RowIndex, 1), descending_);
        case skDate:
            return CompareWithTieBreak(MakeDateKey(keyA, a.RowIndex, 0),
                                       MakeDateKey(keyB, b.RowIndex, 1), descending_);
        default:
            return CompareWithTieBreak(MakeTextKey(keyA, a.RowIndex, 0),
                                       MakeTextKey(keyB, b.RowIndex, 1), descending_);
        }
    }

    void Sort(TSortedList &entries) const
    {
        // Folded keys must outlive the text keys that point into them.
        std::vector<QString> keyTexts;
        keyTexts.reserve(entries.size());
        for (const TSortedListEntry &entry : entries)
            keyTexts.push_back(Fold(entry.KeyText));

        switch (options_.SortKind) {
        case skNumber:
            SortBy(entries, keyTexts, [this](auto &&...a) { return MakeNumberKey(a...); });
            break;
        case skDate:
            SortBy(entries, keyTexts, [this](auto &&...a) { return MakeDateKey(a...); });
            break;
        default:
            SortBy(entries, keyTexts, [this](auto &&...a) { return MakeTextKey(a...); });
            break;
        }
    }

private:
    QString Fold(const QString &text) const
    {
        return options_.CaseSensitive == 0 ? FoldAsciiLetters(text) : text;
    }

    template <class MakeKey>
    void SortBy(TSortedList &entries, const std::vector<QString> &keyTexts, MakeKey makeKey) const
    {
        using Key = decltype(makeKey(keyTexts[0], 0, 0));
        std::vector<Key> keys;
        keys.reserve(entries.size());
        for (size_t i = 0; i < entries.size(); ++i)
            keys.push_back(makeKey(keyTexts[i], entries[i].RowIndex, int(i)));
        TolerantMergeSort(keys, [this](const Key &a, const Key &b) {
            return CompareWithTieBreak(a, b, descending_);
        });
        TSortedList sorted;
        sorted.reserve(entries.size());
        for (const Key &key : keys)
            sorted.push_back(std::move(entries[key.entry]));
        entries.swap(sorted);
    }

    const TSortOptions &options_;
    const SortKeyReader &reader_;
    bool descending_;
};

} // namespace

SortEntryComparer::SortEntryComparer(const TSortOptions &options, const QLocale &locale)
    : options_(options), reader_(locale)
{
}

int SortEntryComparer::CompareSortEntries(const TSortedListEntry &a, const TSortedListEntry &b) const
{
    return KeyedSort(options_, reader_).Compare(a, b);
}

void SortEntryComparer::Sort(TSortedList &entries) const
{
    if (entries.empty())
        return;
    KeyedSort(options_, reader_).Sort(entries);
}
