#pragma once
#include "catalogue/sorted_rom_list.h"
#include "widgets/rom_list_box.h"

// The main window's list `lstdir`: the sorted catalogue entries shown in the
// list control.
class MainRomList : public RomListBox
{
    Q_OBJECT
public:
    using RomListBox::RomListBox;

    int count() const override { return entries_.count(); }
    const RomListEntry &item(int row) const { return entries_.at(row); }
    const SortedRomList &entries() const { return entries_; }
    // Adds at the sorted place; the selected entry stays selected.
    int addItem(const QString &text, const romobj &object);
    void clear();

protected:
    const QString &rowText(int row) const override { return entries_.at(row).text; }

private:
    SortedRomList entries_;
};
