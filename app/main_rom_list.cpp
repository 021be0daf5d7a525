#include "app/main_rom_list.h"

int MainRomList::addItem(const QString &text, const romobj &object)
{
    const int row = entries_.add(text, object);
    rowInserted(row);
    return row;
}

void MainRomList::clear()
{
    entries_.clear();
    rowsCleared();
}
