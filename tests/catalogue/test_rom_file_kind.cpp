#include "catalogue/rom_file_kind.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char16_t *name;
    RomFileKind kind;
};

} // namespace

TEST(KindOfRomFile, FirstFourCharactersOfTheLoweredExtensionDecide)
{
    const Case cases[] = {
        {u"a.bin", RomFileKind::Plain},
        {u"a.BIN", RomFileKind::Plain},
        {u"a.bIn", RomFileKind::Plain},
        {u"a.1", RomFileKind::Plain},
        {u"a.smd", RomFileKind::Smd},
        {u"A.SMD", RomFileKind::Smd},
        // Only four characters count: longer extensions that start right are in...
        {u"e.binx", RomFileKind::Plain},
        {u"e.BINARY", RomFileKind::Plain},
        {u"e.smd1", RomFileKind::Smd},
        // ...while ".1" followed by anything is not ".1".
        {u"a.10", RomFileKind::NotRom},
        {u"a.1a", RomFileKind::NotRom},
        {u"a.zip", RomFileKind::NotRom},
        {u"a.bi", RomFileKind::NotRom},
        {u"a.", RomFileKind::NotRom},
        {u"bin", RomFileKind::NotRom},
        {u"", RomFileKind::NotRom},
        // The last dot starts the extension.
        {u"a.bin.zip", RomFileKind::NotRom},
        {u"a.zip.smd", RomFileKind::Smd},
        {u".bin", RomFileKind::Plain},
        {u"Sonic (W) [!].bin", RomFileKind::Plain},
        // Only A to Z are lowered: other capitals stay as they are.
        {u"a.B\u0130N", RomFileKind::NotRom},
        {u"a.\uFF22IN", RomFileKind::NotRom},
        // A dot that a "/" follows belongs to a folder.
        {u"roms.bin/readme", RomFileKind::NotRom},
        {u"roms.bin/a.smd", RomFileKind::Smd},
        {u"v1.0/game.1", RomFileKind::Plain},
    };
    for (const Case &c : cases) {
        const QByteArray name = QString::fromUtf16(c.name).toUtf8();
        EXPECT_EQ(KindOfRomFile(name), c.kind) << name.toStdString();
    }
    // Names are bytes, and need not be text.
    EXPECT_EQ(KindOfRomFile("Pok\xE9mon.bin"), RomFileKind::Plain);
    EXPECT_EQ(KindOfRomFile("a.\xE9smd"), RomFileKind::NotRom);
    EXPECT_EQ(KindOfRomFile("a.sm\xE9"), RomFileKind::NotRom);
}
