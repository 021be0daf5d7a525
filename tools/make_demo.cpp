// Writes a small demo collection: synthetic ROM images with header titles,
// plain and SMD, so that a first start of the program lists something.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kTitleOffset = 0x120;
constexpr std::size_t kSecondTitleOffset = 0x150;
constexpr std::size_t kTitleLength = 48;
constexpr std::size_t kSmdBlock = 16384;
constexpr std::size_t kSmdHeader = 512;

std::string Padded(const std::string &title)
{
    std::string field = title.substr(0, kTitleLength);
    field.resize(kTitleLength, ' ');
    return field;
}

std::vector<char> Cartridge(const std::string &title)
{
    std::vector<char> rom(kSmdBlock, '\0');
    const std::string banner = "SEGA GENESIS    (C)DEMO 2026.DEC";
    std::copy(banner.begin(), banner.end(), rom.begin() + 0x100);
    if (title.empty())
        return rom; // no title: the list shows the file name
    const std::string field = Padded(title);
    std::copy(field.begin(), field.end(), rom.begin() + kTitleOffset);
    std::copy(field.begin(), field.end(), rom.begin() + kSecondTitleOffset);
    return rom;
}

// SMD blocks keep the odd cartridge bytes in their first half, the even in the second.
std::vector<char> Interleaved(const std::vector<char> &rom)
{
    std::vector<char> smd(kSmdHeader, '\0');
    smd[0] = 1;
    smd[8] = static_cast<char>(0xAA);
    smd[9] = static_cast<char>(0xBB);
    for (std::size_t block = 0; block < rom.size(); block += kSmdBlock) {
        std::vector<char> out(kSmdBlock);
        for (std::size_t k = 0; k < kSmdBlock / 2; ++k) {
            out[k] = rom[block + 2 * k + 1];
            out[kSmdBlock / 2 + k] = rom[block + 2 * k];
        }
        smd.insert(smd.end(), out.begin(), out.end());
    }
    return smd;
}

bool Write(const std::string &path, const std::vector<char> &bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    struct Game { const char *file; const char *title; bool smd; };
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
        const std::vector<char> rom = Cartridge(game.title);
        if (!Write(folder + "/" + game.file, game.smd ? Interleaved(rom) : rom)) {
            std::fprintf(stderr, "cannot write %s/%s\n", folder.c_str(), game.file);
            return 1;
        }
    }
    return 0;
}
