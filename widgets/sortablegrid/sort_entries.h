#pragma once
#include "widgets/sortablegrid/sort_key_reader.h"

#include <QLocale>
#include <QString>
#include <cstdint>
#include <vector>

enum TSortKind : std::uint8_t { skAuto = 0, skText = 1, skNumber = 2, skDate = 3 };

// How one sort compares. Any SortKind other than skNumber and skDate compares
// as text; Descending is descending exactly when 1; CaseSensitive 0 folds the
// ASCII letters a to z to upper case before comparing.
struct TSortOptions
{
    std::uint8_t SortKind = skAuto;
    std::uint8_t Descending = 0;
    std::uint8_t CaseSensitive = 1;
};

// One data row of a sort: its key text when the sort began and its row index
// before the sort.
struct TSortedListEntry
{
    QString KeyText;
    int RowIndex = 0;
};

// The record of the last sort, in sorted order.
using TSortedList = std::vector<TSortedListEntry>;

// The keys of one column's data cells as the kind detection read them, top to
// bottom, so that the sort after it reads none again, and the texts they were
// read from, which the sort's entries can take over.
struct ColumnKeys
{
    TSortKind kind = skText; // skNumber or skDate when the keys are there
    QLocale locale;
    std::vector<QString> texts;
    std::vector<long double> numbers;
    std::vector<qint64> dates;
};

// Orders the entries of one sort. Number and date keys are read in the given
// locale; a key that does not read compares equal to anything, and equal
// entries are ordered by RowIndex, in both directions.
class SortEntryComparer
{
public:
    SortEntryComparer(const TSortOptions &options, const QLocale &locale);

    // Negative when a comes first, positive when b does; 0 only for equal row indexes.
    int CompareSortEntries(const TSortedListEntry &a, const TSortedListEntry &b) const;

    // Puts the entries into the order CompareSortEntries gives. Each key is read
    // once, or not at all when known holds the keys of the entries' texts, in
    // the entries' order, read in the same locale.
    // When a forced number or date kind meets keys that do not read, the
    // comparison is no consistent order; a merge sort that tolerates that then
    // ends and keeps every entry.
    void Sort(TSortedList &entries, const ColumnKeys *known = nullptr) const;

private:
    TSortOptions options_;
    QLocale locale_;
    SortKeyReader reader_;
};
