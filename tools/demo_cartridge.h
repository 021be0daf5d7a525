#pragma once
#include <QByteArray>

// A cartridge that a Genesis emulator plays: the 68000's vector table, the
// standard header with the title in both title fields, and a few
// instructions that pass the TMSS lock, turn the display on and fill the
// screen with one backdrop colour, then wait forever.

// A colour as the console's palette holds it: 3 bits each of blue, green and
// red, as 0000 BBB0 GGG0 RRR0.
constexpr quint16 GenesisColour(int red, int green, int blue)
{
    return static_cast<quint16>((blue & 7) << 9 | (green & 7) << 5 | (red & 7) << 1);
}

// The cartridge's bytes, `size` of them (at least 1 KB), checksum included.
// No title leaves both title fields empty.
QByteArray PlayableCartridge(const QByteArray &title, quint16 colour, int size);
