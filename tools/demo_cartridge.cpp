#include "demo_cartridge.h"

#include "support/rom_images.h"

#include <QList>
#include <QtEndian>

namespace {

constexpr int kEntryPoint = 0x200;

void PutWord(QByteArray &rom, int at, quint16 value)
{
    qToBigEndian(value, rom.data() + at);
}

void PutLong(QByteArray &rom, int at, quint32 value)
{
    qToBigEndian(value, rom.data() + at);
}

void PutText(QByteArray &rom, int at, const QByteArray &text)
{
    rom.replace(at, text.size(), text);
}

// The program at the entry point, as 68000 machine words.
QList<quint16> BackdropProgram(quint16 colour)
{
    return {
        0x46FC, 0x2700,                         // move.w #$2700,sr: no interrupts
        0x1039, 0x00A1, 0x0001,                 // move.b $A10001,d0: console version
        0x0200, 0x000F,                         // andi.b #$0F,d0
        0x670A,                                 // beq.s +10: no TMSS lock
        0x23FC, 0x5345, 0x4741, 0x00A1, 0x4000, // move.l #"SEGA",$A14000
        0x41F9, 0x00C0, 0x0004,                 // lea $C00004,a0: the VDP's control port
        0x30BC, 0x8004,                         // register 0: no line interrupt
        0x30BC, 0x8144,                         // register 1: display on, Genesis mode
        0x30BC, 0x8700,                         // register 7: backdrop is colour 0
        0x30BC, 0x8F02,                         // register 15: address steps by 2
        0x20BC, 0xC000, 0x0000,                 // move.l #$C0000000,(a0): write colour 0
        0x33FC, colour, 0x00C0, 0x0000,         // move.w #colour,$C00000
        0x60FE,                                 // bra.s *: wait forever
    };
}

} // namespace

QByteArray PlayableCartridge(const QByteArray &title, quint16 colour, int size)
{
    const QByteArray field = title.isEmpty() ? QByteArray() : rom_images::Padded(title);
    QByteArray rom = rom_images::Cartridge(field, field, size);
    PutLong(rom, 0, 0x00FFFE00); // the stack, at the top of work RAM
    for (int vector = 1; vector < 64; ++vector)
        PutLong(rom, vector * 4, kEntryPoint); // reset and every exception
    PutText(rom, 0x100, "SEGA GENESIS    (C)DEMO 2026.DEC");
    PutText(rom, 0x180, "GM 00000000-00");
    PutText(rom, 0x190, "J");
    PutLong(rom, 0x1A0, 0);
    PutLong(rom, 0x1A4, static_cast<quint32>(size - 1));
    PutLong(rom, 0x1A8, 0x00FF0000);
    PutLong(rom, 0x1AC, 0x00FFFFFF);
    PutText(rom, 0x1F0, "JUE");
    int at = kEntryPoint;
    for (const quint16 word : BackdropProgram(colour)) {
        PutWord(rom, at, word);
        at += 2;
    }
    quint16 checksum = 0;
    for (int word = kEntryPoint; word + 1 < size; word += 2)
        checksum += qFromBigEndian<quint16>(rom.constData() + word);
    PutWord(rom, 0x18E, checksum);
    return rom;
}
