#pragma once
#include <QByteArray>
#include <QString>

// Synthetic cartridge images for the tests, the benchmarks and the demo
// collection: the cartridge's own bytes with its two title fields, written
// either plain or in the SMD interleave.
namespace rom_images {

// A cartridge of the given size, zero-filled, with each title written into
// its field (longer titles are cut at 48 bytes, shorter ones leave the rest 0).
QByteArray Cartridge(const QByteArray &firstTitle, const QByteArray &secondTitle, int size = 0x200);

// A title padded with blanks to the full 48-byte field.
QByteArray Padded(QByteArray title);

// The SMD file of a cartridge: the 512-byte file header, then each 16384-byte
// block interleaved (a short cartridge is padded to a whole block).
QByteArray SmdImage(QByteArray cartridge);

// Writes the bytes as the whole file; runs of zero bytes are left as holes,
// so that large collections cost little disk.
bool WriteFile(const QString &path, const QByteArray &bytes);

// Writes a ROM whose list text is the given title: the first title of a plain
// image, the second of an SMD image.
bool WritePlainRom(const QString &path, const QByteArray &title);
bool WriteSmdRom(const QString &path, const QByteArray &title);

} // namespace rom_images
