#include "widgets/sortablegrid/sort_entries.h"

#include "platform/ascii_case.h"
#include "widgets/sortablegrid/stable_radix_sort.h"
#include "widgets/sortablegrid/tolerant_merge_sort.h"
#include "widgets/sortablegrid/windows1252_order.h"

#include <algorithm>
#include <type_traits>

namespace {

constexpr std::uint64_t kMsecsPerDay = 86400000;

struct TextKey
{
    const char16_t *text;
    qsizetype size;
    int rowIndex;
    int entry;
};

// A number or date key that was read.
template <class T>
struct ValueKey
{
    T value;
    int rowIndex;
    int entry;
};

// A number or date key that may not have been read.
template <class T>
struct UncertainKey
{
    T value;
    int rowIndex;
    int entry;
    bool readable;
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
    return a.value < b.value ? -1 : (a.value > b.value ? 1 : 0);
}

// A key that cannot be read compares equal to any other.
template <class T>
int CompareKeys(const UncertainKey<T> &a, const UncertainKey<T> &b)
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

// Sorts date keys that are in row order by value alone, which keeps equal
// values in row order. Each value is replaced by its distance from the least
// (from the greatest when descending), in whole days when no time of day sets
// two values apart, so that the radix sort has two or three bytes to pass over.
void SortDateKeysInRowOrder(std::vector<ValueKey<qint64>> &keys, bool descending)
{
    const auto [least, most] =
        std::minmax_element(keys.begin(), keys.end(),
                            [](const ValueKey<qint64> &a, const ValueKey<qint64> &b) { return a.value < b.value; });
    const auto low = std::uint64_t(least->value);
    const auto high = std::uint64_t(most->value);
    const bool wholeDays = std::all_of(keys.begin(), keys.end(), [low](const ValueKey<qint64> &key) {
        return (std::uint64_t(key.value) - low) % kMsecsPerDay == 0;
    });
    for (ValueKey<qint64> &key : keys) {
        const std::uint64_t distance = descending ? high - std::uint64_t(key.value) : std::uint64_t(key.value) - low;
        key.value = qint64(wholeDays ? distance / kMsecsPerDay : distance);
    }
    StableRadixSort(keys, [](const ValueKey<qint64> &key) { return std::uint64_t(key.value); });
}

QString FoldAsciiLetters(const QString &text)
{
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return AsciiUpper(c.unicode()) != c.unicode(); }))
        return text;
    QString folded = text;
    for (QChar &c : folded)
        c = QChar(AsciiUpper(c.unicode()));
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

    int Compare(const TSortedListEntry &a, const TSortedListEntry &b) const
    {
        const QString keyA = Fold(a.KeyText), keyB = Fold(b.KeyText);
        switch (options_.SortKind) {
        case skNumber:
            return CompareWithTieBreak(ReadKey<long double>(keyA, a.RowIndex, 0),
                                       ReadKey<long double>(keyB, b.RowIndex, 1), descending_);
        case skDate:
            return CompareWithTieBreak(ReadKey<qint64>(keyA, a.RowIndex, 0), ReadKey<qint64>(keyB, b.RowIndex, 1),
                                       descending_);
        default:
            return CompareWithTieBreak(MakeTextKey(keyA, a.RowIndex, 0), MakeTextKey(keyB, b.RowIndex, 1), descending_);
        }
    }

    void Sort(TSortedList &entries, const ColumnKeys *known) const
    {
        // Folded keys must outlive the text keys that point into them.
        std::vector<QString> folded;
        if (options_.CaseSensitive == 0) {
            folded.reserve(entries.size());
            for (const TSortedListEntry &entry : entries)
                folded.push_back(FoldAsciiLetters(entry.KeyText));
        }
        const auto keyText = [&](size_t i) -> const QString & {
            return folded.empty() ? entries[i].KeyText : folded[i];
        };

        // Folding would change the texts the known keys were read from.
        if (known && (known->kind != options_.SortKind || !folded.empty()))
            known = nullptr;
        switch (options_.SortKind) {
        case skNumber: SortValues<long double>(entries, keyText, known ? &known->numbers : nullptr); break;
        case skDate: SortValues<qint64>(entries, keyText, known ? &known->dates : nullptr); break;
        default: {
            std::vector<TextKey> keys;
            keys.reserve(entries.size());
            for (size_t i = 0; i < entries.size(); ++i)
                keys.push_back(MakeTextKey(keyText(i), entries[i].RowIndex, int(i)));
            SortKeys(entries, keys, true);
            break;
        }
        }
    }

private:
    QString Fold(const QString &text) const { return options_.CaseSensitive == 0 ? FoldAsciiLetters(text) : text; }

    static TextKey MakeTextKey(const QString &text, int rowIndex, int entry)
    {
        return {reinterpret_cast<const char16_t *>(text.constData()), text.size(), rowIndex, entry};
    }

    bool Read(const QString &text, long double &value) const { return reader_.ReadNumber(text, value); }
    bool Read(const QString &text, qint64 &value) const { return reader_.ReadDate(text, true, value); }

    template <class T>
    UncertainKey<T> ReadKey(const QString &text, int rowIndex, int entry) const
    {
        UncertainKey<T> key{T(), rowIndex, entry, false};
        key.readable = Read(text, key.value);
        return key;
    }

    // Keys that all read give a consistent order; otherwise the comparison
    // is not one, and only the tolerant merge sort may run it.
    template <class T, class KeyText>
    void SortValues(TSortedList &entries, const KeyText &keyText, const std::vector<T> *known) const
    {
        std::vector<ValueKey<T>> keys;
        keys.reserve(entries.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            T value{};
            if (known)
                value = (*known)[i];
            else if (!Read(keyText(i), value))
                break;
            keys.push_back({value, entries[i].RowIndex, int(i)});
        }
        if (keys.size() == entries.size()) {
            SortKeys(entries, keys, true);
            return;
        }
        std::vector<UncertainKey<T>> uncertain;
        uncertain.reserve(entries.size());
        for (size_t i = 0; i < entries.size(); ++i)
            uncertain.push_back(ReadKey<T>(keyText(i), entries[i].RowIndex, int(i)));
        SortKeys(entries, uncertain, false);
    }

    template <class Key>
    void SortKeys(TSortedList &entries, std::vector<Key> &keys, bool consistent) const
    {
        const bool descending = descending_;
        const auto byRow = [](const Key &a, const Key &b) { return a.rowIndex < b.rowIndex; };
        if (consistent && std::is_sorted(keys.begin(), keys.end(), byRow)) {
            // Keys in row order: a stable sort by the key alone is the tie-break.
            if constexpr (std::is_same_v<Key, ValueKey<qint64>>)
                SortDateKeysInRowOrder(keys, descending);
            else if (descending)
                std::stable_sort(keys.begin(), keys.end(),
                                 [](const Key &a, const Key &b) { return CompareKeys(b, a) < 0; });
            else
                std::stable_sort(keys.begin(), keys.end(),
                                 [](const Key &a, const Key &b) { return CompareKeys(a, b) < 0; });
        } else if (consistent) {
            std::stable_sort(keys.begin(), keys.end(), [descending](const Key &a, const Key &b) {
                return CompareWithTieBreak(a, b, descending) < 0;
            });
        } else {
            TolerantMergeSort(
                keys, [descending](const Key &a, const Key &b) { return CompareWithTieBreak(a, b, descending); });
        }
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
    : options_(options), locale_(locale), reader_(locale)
{
}

int SortEntryComparer::CompareSortEntries(const TSortedListEntry &a, const TSortedListEntry &b) const
{
    return KeyedSort(options_, reader_).Compare(a, b);
}

void SortEntryComparer::Sort(TSortedList &entries, const ColumnKeys *known) const
{
    if (entries.empty())
        return;
    KeyedSort(options_, reader_).Sort(entries, known && known->locale == locale_ ? known : nullptr);
}
