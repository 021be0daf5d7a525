#pragma once
#include "catalogue/rom_info.h"

#include <QString>
#include <vector>

struct RomListEntry
{
    QString text;
    romobj object;
};

// The main list's entries in ascending order of their text, ignoring case;
// equal texts stay in the order they were added. Entries live in blocks of
// bounded size, so that a sorted insertion costs about the square root of the
// count instead of moving every later entry: tens of thousands of ROMs arrive
// in the file system's order, not sorted.
class SortedRomList
{
public:
    // Inserts at the sorted place and returns the entry's row.
    int add(const QString &text, const romobj &object);
    void clear();
    int count() const { return count_; }
    const RomListEntry &at(int row) const;

private:
    static constexpr std::size_t kMaxBlock = 1024;
    void invalidateStarts() { startsValid_ = false; }
    const std::vector<int> &starts() const;

    std::vector<std::vector<RomListEntry>> blocks_;
    int count_ = 0;
    mutable std::vector<int> starts_;
    mutable bool startsValid_ = false;
};

// The list's order: case-insensitive comparison of the texts.
bool RomTextLess(const QString &a, const QString &b);
