// Writes a small demo collection: synthetic ROM images with header titles,
// plain and SMD, so that a first start of the program lists something.
#include "support/rom_images.h"

#include <QString>

#include <cstdio>

namespace {

constexpr int kCartridgeSize = 16384;

QByteArray DemoCartridge(const QByteArray &title)
{
    // No title: the list shows the file name.
    const QByteArray field = title.isEmpty() ? QByteArray() : rom_images::Padded(title);
    QByteArray rom = rom_images::Cartridge(field, field, kCartridgeSize);
    const QByteArray banner = "SEGA GENESIS    (C)DEMO 2026.DEC";
    rom.replace(0x100, banner.size(), banner);
    return rom;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    struct Game
    {
        const char *file;
        const char *title;
        bool smd;
    };
    const Game games[] = {
        {"Sonic the Hedgehog (World).bin", "SONIC THE HEDGEHOG", false},
        {"ROCKET.BIN", "ROCKET KNIGHT ADVENTURES", false},
        {"streets.smd", "STREETS OF RAGE 2", true},
        {"Gunstar Heroes (Japan).bin", "GUNSTAR HEROES", false},
        {"ecco.1", "ECCO THE DOLPHIN", false},
        {"SHINOBI3.SMD", "SHINOBI III", true},
        {"untitled.bin", "", false},
    };
    for (const Game &game : games) {
        const QByteArray rom = DemoCartridge(game.title);
        const QString path = folder + QLatin1Char('/') + QString::fromUtf8(game.file);
        if (!rom_images::WriteFile(path, game.smd ? rom_images::SmdImage(rom) : rom)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
