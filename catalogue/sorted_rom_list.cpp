#include "catalogue/sorted_rom_list.h"

#include <algorithm>

bool RomTextLess(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

int SortedRomList::add(const QString &text, const romobj &object)
{
    if (count_ == 0) {
        blocks_.assign(1, {RomListEntry{text, object}});
        count_ = 1;
        invalidateStarts();
        return 0;
    }
    // The first block whose last text sorts after the new one takes it; equal
    // texts go behind those already there.
    auto block = std::upper_bound(blocks_.begin(), blocks_.end(), text,
                                  [](const QString &t, const std::vector<RomListEntry> &b) {
                                      return RomTextLess(t, b.back().text);
                                  });
    if (block == blocks_.end())
        --block;
    auto place = std::upper_bound(block->begin(), block->end(), text,
                                  [](const QString &t, const RomListEntry &e) { return RomTextLess(t, e.text); });
    int row = static_cast<int>(place - block->begin());
    for (auto b = blocks_.begin(); b != block; ++b)
        row += static_cast<int>(b->size());
    block->insert(place, RomListEntry{text, object});
    if (block->size() > kMaxBlock) {
        std::vector<RomListEntry> upper(std::make_move_iterator(block->begin() + kMaxBlock / 2),
                                        std::make_move_iterator(block->end()));
        block->resize(kMaxBlock / 2);
        blocks_.insert(block + 1, std::move(upper));
    }
    ++count_;
    invalidateStarts();
    return row;
}

void SortedRomList::clear()
{
    blocks_.clear();
    count_ = 0;
    invalidateStarts();
}

const std::vector<int> &SortedRomList::starts() const
{
    if (!startsValid_) {
        starts_.clear();
        int start = 0;
        for (const auto &block : blocks_) {
            starts_.push_back(start);
            start += static_cast<int>(block.size());
        }
        startsValid_ = true;
    }
    return starts_;
}

const RomListEntry &SortedRomList::at(int row) const
{
    const auto &first = starts();
    const auto next = std::upper_bound(first.begin(), first.end(), row);
    const auto index = static_cast<std::size_t>(next - first.begin() - 1);
    return blocks_[index][static_cast<std::size_t>(row - first[index])];
}
