// Writes a small demo collection: cartridges of our own that an emulator
// plays, each showing a colour of its own, as plain and SMD images with
// header titles, and snapshot pictures for some of them, so that a first
// start of the program lists something and shows pictures at once. The
// pictures lie beside the ROMs, where the picture folder points by default.
#include "demo_cartridge.h"
#include "demo_pictures.h"
#include "support/rom_images.h"

#include <QString>

#include <cstdio>

namespace {

constexpr int kCartridgeSize = 16384;

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
        const char *title; // none: the list shows the file name
        quint16 colour;
        bool smd;
        // Named as the picture lookup expects: the file name up to its first
        // ".", then "pcx" in any case.
        const char *picture = nullptr;
        QImage (*scene)() = nullptr;
    };
    const Game games[] = {
        {"Sonic the Hedgehog (World).bin", "SONIC THE HEDGEHOG", GenesisColour(0, 0, 7), false,
         "Sonic the Hedgehog (World).pcx", DemoGreenHills},
        {"ROCKET.BIN", "ROCKET KNIGHT ADVENTURES", GenesisColour(7, 0, 0), false, "ROCKET.PCX", DemoNightCity},
        {"streets.smd", "STREETS OF RAGE 2", GenesisColour(7, 7, 0), true},
        {"Gunstar Heroes (Japan).bin", "GUNSTAR HEROES", GenesisColour(7, 0, 7), false, "Gunstar Heroes (Japan).pcx",
         DemoSunsetGrid},
        {"ecco.1", "ECCO THE DOLPHIN", GenesisColour(0, 7, 7), false, "ecco.pcx", DemoUnderwater},
        {"SHINOBI3.SMD", "SHINOBI III", GenesisColour(7, 7, 7), true},
        {"untitled.bin", "", GenesisColour(0, 7, 0), false},
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
        const QByteArray rom = PlayableCartridge(game.title, game.colour, kCartridgeSize);
        if (!write(game.file, game.smd ? rom_images::SmdImage(rom) : rom))
            return 1;
        if (game.picture && !write(game.picture, DemoPcxFile(game.scene())))
            return 1;
    }
    return 0;
}
