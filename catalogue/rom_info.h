#pragma once
#include <QByteArray>
#include <QString>

// The record kept for each catalogue entry.
struct rom_info
{
    // Full path of the ROM file, as MakeShortPath gave it, in the bytes the
    // folder gave: a name need not be valid text. Decode it only for display.
    QByteArray filename;
    QByteArray engname; // header title, raw single-byte text, at most 47 bytes; may be empty
};

// The object each entry of the main list carries.
class romobj
{
public:
    void putrominfo(const rom_info &info) { info_ = info; }
    void getrominfo(rom_info &info) const { info = info_; }

private:
    rom_info info_;
};

// One entry of the list: the text it shows and the object it carries. The
// scan makes one for every ROM it finds; the sorted list keeps them.
struct RomListEntry
{
    QString text;
    romobj object;
};
