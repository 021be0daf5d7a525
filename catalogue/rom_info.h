#pragma once
#include <QByteArray>
#include <QString>

// The record kept for each catalogue entry.
struct rom_info
{
    QString filename;   // full path of the ROM file, as MakeShortPath gave it
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
