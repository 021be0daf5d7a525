#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>

// Cartridge images as the tests need them: the cartridge's own bytes with its
// two title fields, written either plain or in the SMD interleave.
namespace rom_images {

constexpr int kFirstTitle = 0x120;
constexpr int kSecondTitle = 0x150;
constexpr int kTitleField = 48;
constexpr int kSmdFileHeader = 512;
constexpr int kSmdBlock = 16384;

// A cartridge of the given size, zero-filled, with each title written into
// its field (longer titles are cut at 48 bytes, shorter ones leave the rest 0).
inline QByteArray Cartridge(const QByteArray &firstTitle, const QByteArray &secondTitle, int size = 0x200)
{
    QByteArray rom(size, '\0');
    rom.replace(kFirstTitle, std::min<qsizetype>(firstTitle.size(), kTitleField), firstTitle.left(kTitleField));
    rom.replace(kSecondTitle, std::min<qsizetype>(secondTitle.size(), kTitleField), secondTitle.left(kTitleField));
    return rom;
}

// A title padded with blanks to the full 48-byte field.
inline QByteArray Padded(QByteArray title)
{
    title.resize(kTitleField, ' ');
    return title;
}

// The SMD file of a cartridge: a 512-byte file header, then per 16384-byte
// block the odd-numbered cartridge bytes followed by the even-numbered ones.
inline QByteArray SmdImage(QByteArray cartridge)
{
    if (cartridge.size() % kSmdBlock != 0)
        cartridge.resize((cartridge.size() / kSmdBlock + 1) * kSmdBlock, '\0');
    QByteArray smd(kSmdFileHeader, '\0');
    smd[0] = static_cast<char>(cartridge.size() / kSmdBlock);
    smd[8] = static_cast<char>(0xAA);
    smd[9] = static_cast<char>(0xBB);
    for (qsizetype block = 0; block < cartridge.size(); block += kSmdBlock) {
        QByteArray odd;
        QByteArray even;
        for (qsizetype i = 0; i < kSmdBlock; i += 2) {
            even.append(cartridge[block + i]);
            odd.append(cartridge[block + i + 1]);
        }
        smd += odd + even;
    }
    return smd;
}

inline bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Writes a ROM whose list text is the given title: the first title of a plain
// image, the second of an SMD image.
inline bool WritePlainRom(const QString &path, const QByteArray &title)
{
    return WriteFile(path, Cartridge(title, QByteArray()));
}

inline bool WriteSmdRom(const QString &path, const QByteArray &title)
{
    return WriteFile(path, SmdImage(Cartridge(QByteArray(), title)));
}

} // namespace rom_images
