#include "catalogue/sorted_rom_list.h"

#include "platform/ascii_case.h"

#include <algorithm>

bool RomTextLess(const QString &a, const QString &b)
{
    // Most texts are ASCII: compare those characters here, folding A-Z as the
    // full comparison does, and hand the rest to it from the first character
    // that is not ASCII (some fold into ASCII, such as the Kelvin sign).
    const QChar *left = a.constData();
    const QChar *right = b.constData();
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t l = AsciiLower(left[i].unicode());
        const char16_t r = AsciiLower(right[i].unicode());
        if (l >= 0x80 || r >= 0x80)
            return QStringView(a).mid(i).compare(QStringView(b).mid(i), Qt::CaseInsensitive) < 0;
        if (l != r)
            return l < r;
    }
    return a.size() < b.size();
}

int SortedRomList::add(const QString &text, const romobj &object)
{
    if (blocks_.empty()) {
        blocks_.push_back({RomListEntry{text, object}});
        starts_.assign(1, 0);
        count_ = 1;
        return 0;
    }
    // The first block whose last text sorts after the new one takes it; equal
    // texts go behind those already there.
    auto block = std::upper_bound(
        blocks_.begin(), blocks_.end(), text,
        [](const QString &t, const std::vector<RomListEntry> &b) { return RomTextLess(t, b.back().text); });
    if (block == blocks_.end())
        --block;
    const auto index = static_cast<std::size_t>(block - blocks_.begin());
    auto place = std::upper_bound(block->begin(), block->end(), text,
                                  [](const QString &t, const RomListEntry &e) { return RomTextLess(t, e.text); });
    const int row = starts_[index] + static_cast<int>(place - block->begin());
    block->insert(place, RomListEntry{text, object});
    for (std::size_t later = index + 1; later < starts_.size(); ++later)
        ++starts_[later];
    if (block->size() > kMaxBlock) {
        std::vector<RomListEntry> upper(std::make_move_iterator(block->begin() + kMaxBlock / 2),
                                        std::make_move_iterator(block->end()));
        block->erase(block->begin() + kMaxBlock / 2, block->end());
        blocks_.insert(block + 1, std::move(upper));
        starts_.insert(starts_.begin() + static_cast<std::ptrdiff_t>(index) + 1,
                       starts_[index] + static_cast<int>(kMaxBlock / 2));
    }
    ++count_;
    return row;
}

void SortedRomList::clear()
{
    blocks_.clear();
    starts_.clear();
    count_ = 0;
}

const RomListEntry &SortedRomList::at(int row) const
{
    const auto next = std::upper_bound(starts_.begin(), starts_.end(), row);
    const auto index = static_cast<std::size_t>(next - starts_.begin() - 1);
    return blocks_[index][static_cast<std::size_t>(row - starts_[index])];
}
