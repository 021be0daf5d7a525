#pragma once
#include "catalogue/rom_info.h"

#include <QString>
#include <vector>

// The main list's entries in ascending order of their text, ignoring case;
// equal texts stay in the order they were added. Entries live in small blocks,
// so that a sorted insertion moves a few dozen entries instead of every later
// one: tens of thousands of ROMs arrive in the file system's order, not sorted.
class SortedRomList
{
public:
    // Inserts at the sorted place and returns the entry's row.
    int add(const QString &text, const romobj &object);
    void clear();
    int count() const { return count_; }
    const RomListEntry &at(int row) const;

private:
    // Small enough that the entries moved by an insertion stay in the cache;
    // the row of each block's first entry is kept up to date instead of summed.
    static constexpr std::size_t kMaxBlock = 128;

    std::vector<std::vector<RomListEntry>> blocks_;
    std::vector<int> starts_; // row of each block's first entry
    int count_ = 0;
};

// The list's order: case-insensitive comparison of the texts.
bool RomTextLess(const QString &a, const QString &b);
