// Writes a small demo collection: synthetic ROM images with header titles,
// plain and SMD, and snapshot pictures for some of them, so that a first
// start of the program lists something and shows pictures at once. The
// pictures lie beside the ROMs, where the picture folder points by default.
#include "demo_pictures.h"
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
        // Named as the picture lookup expects: the file name up to its first
        // ".", then "pcx" in any case.
        const char *picture = nullptr;
        QImage (*scene)() = nullptr;
    };
    const Game games[] = {
        {"Sonic the Hedgehog (World).bin", "SONIC THE HEDGEHOG", false, "Sonic the Hedgehog (World).pcx",
         DemoGreenHills},
        {"ROCKET.BIN", "ROCKET KNIGHT ADVENTURES", false, "ROCKET.PCX", DemoNightCity},
        {"streets.smd", "STREETS OF RAGE 2", true},
        {"Gunstar Heroes (Japan).bin", "GUNSTAR HEROES", false, "Gunstar Heroes (Japan).pcx", DemoSunsetGrid},
        {"ecco.1", "ECCO THE DOLPHIN", false, "ecco.pcx", DemoUnderwater},
        {"SHINOBI3.SMD", "SHINOBI III", true},
        {"untitled.bin", "", false},
    };
    const auto write = [&](const char *name, const QByteArray &bytes) {
        const QString path = folder + QLatin1Char('/') + QString::fromUtf8(name);
        if (bytes.isEmpty() || !rom_images::WriteFile(path, bytes)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return false;
        }
        return true;
    };
    for (const Game &game : games) {
        const QByteArray rom = DemoCartridge(game.title);
        if (!write(game.file, game.smd ? rom_images::SmdImage(rom) : rom))
            return 1;
        if (game.picture && !write(game.picture, DemoPcxFile(game.scene())))
            return 1;
    }
    return 0;
}
