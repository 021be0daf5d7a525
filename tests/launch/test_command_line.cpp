#include "launch/command_line.h"
#include "platform/process_start.h"
#include "support/standin_emulator.h"

#include <QTemporaryDir>

namespace {

OptionSet Options(int usekgen, int fskip, int country, bool dissound, const QString &extra = {})
{
    OptionSet options;
    options.usekgen = usekgen;
    options.fskip = fskip;
    options.country = country;
    options.dissound = dissound;
    options.extracmdline = extra;
    return options;
}

// Composes with fixed locations; options.usekgen picks the form.
QString Compose(const OptionSet &options, const QString &rom = QStringLiteral("/roms/GAME.BIN"))
{
    return BuildCommandLine(options, rom, QStringLiteral("/emu/kgen"), QStringLiteral("/gen/gcyst"));
}

TEST(BuildCommandLine, WorkedExamples)
{
    EXPECT_EQ(BuildCommandLine(Options(0, 3, 3, false), QStringLiteral(R"(C:\ROMS\GAME.BIN)"),
                               QStringLiteral(R"(C:\EMU\KGEN98.EXE)"), QStringLiteral(R"(C:\GEN\GENECYST.EXE)")),
              QStringLiteral(R"(C:\EMU\KGEN98.EXE C:\ROMS\GAME.BIN -f3 -E )"));
    EXPECT_EQ(BuildCommandLine(Options(1, 4, 1, true, "abc"), QStringLiteral(R"(C:\ROMS\GAME~1.SMD)"),
                               QStringLiteral(R"(C:\EMU\KGEN98.EXE)"), QStringLiteral(R"(C:\GEN\GENECYST.EXE)")),
              QStringLiteral(R"(C:\GEN\GENECYST.EXE -run C:\ROMS\GAME~1.SMD -nosound -version Japan abc)"));

    EXPECT_EQ(BuildCommandLine(Options(0, 3, 3, false), "/roms/GAME.BIN", "/emu/kgen98", "/gen/genecyst"),
              "/emu/kgen98 /roms/GAME.BIN -f3 -E ");
    EXPECT_EQ(BuildCommandLine(Options(1, 4, 1, true, "abc"), "/roms/GAME~1.SMD", "/emu/kgen98", "/gen/genecyst"),
              "/gen/genecyst -run /roms/GAME~1.SMD -nosound -version Japan abc");
}

TEST(BuildCommandLine, KGenPieces)
{
    EXPECT_EQ(Compose(Options(0, 1, 0, false)), "/emu/kgen /roms/GAME.BIN ");
    EXPECT_EQ(Compose(Options(0, 2, 0, false)), "/emu/kgen /roms/GAME.BIN -f2 ");
    EXPECT_EQ(Compose(Options(0, 4, 0, false)), "/emu/kgen /roms/GAME.BIN -f4 ");
    EXPECT_EQ(Compose(Options(0, 1, 1, false)), "/emu/kgen /roms/GAME.BIN -J ");
    EXPECT_EQ(Compose(Options(0, 1, 2, false)), "/emu/kgen /roms/GAME.BIN -U ");
    EXPECT_EQ(Compose(Options(0, 1, 0, true)), "/emu/kgen /roms/GAME.BIN -S ");
    EXPECT_EQ(Compose(Options(0, 2, 3, true, " -x  y ")), "/emu/kgen /roms/GAME.BIN -f2 -S -E  -x  y ");
}

TEST(BuildCommandLine, GenecystPieces)
{
    // Any emulator index but 0 gives this form, and the frame rate has no piece.
    for (int usekgen : {1, 2, -1})
        EXPECT_EQ(Compose(Options(usekgen, 4, 0, false)), "/gen/gcyst -run /roms/GAME.BIN ");
    EXPECT_EQ(Compose(Options(1, 1, 2, false)), "/gen/gcyst -run /roms/GAME.BIN -version USA ");
    EXPECT_EQ(Compose(Options(1, 3, 3, true, "\"q\"")),
              "/gen/gcyst -run /roms/GAME.BIN -nosound -version Europe \"q\"");
}

TEST(BuildCommandLine, LocationsAndExtraTextStayAsTyped)
{
    EXPECT_EQ(BuildCommandLine(Options(0, 1, 0, false, "a \"b\" $(c)"), "/r.bin", "/my emus/kgen", QString()),
              "/my emus/kgen /r.bin a \"b\" $(c)");
    EXPECT_EQ(BuildCommandLine(Options(1, 1, 0, false), "/r.bin", QString(), " /my emus/gen \""),
              " /my emus/gen \" -run /r.bin ");
}

TEST(BuildCommandLine, RomPathReachesTheEmulatorAsOneArgument)
{
    const QStringList unchanged = {"/roms/a;b.bin", "/roms/-rf.bin", "/roms/$HOME.bin", "/roms/back\\slash\\"};
    for (const QString &rom : unchanged)
        EXPECT_EQ(Compose(Options(0, 1, 0, false), rom), "/emu/kgen " + rom + " ");

    const QStringList awkward = {"/roms/$(touch pwned).bin",
                                 "/roms/Sonic (W) [!].bin",
                                 "/roms/x\"y.bin",
                                 "/roms/tab\there.bin",
                                 "/roms/dir \\",
                                 "/roms/a\\\"b c\\\\",
                                 "-rf .bin"};
    for (const QString &rom : unchanged + awkward) {
        for (int usekgen : {0, 1}) {
            const QStringList words = SplitWindowsCommandLine(
                BuildCommandLine(Options(usekgen, 2, 1, true, "x"), rom, "/emu/kgen", "/gen/gcyst"));
            ASSERT_EQ(words.size(), usekgen == 0 ? 6 : 7) << rom.toStdString();
            EXPECT_EQ(words[usekgen == 0 ? 1 : 2], rom);
        }
    }
}

TEST(BuildCommandLine, ComposedLineStartsTheEmulatorWithThoseArguments)
{
    WorkingFolderGuard guard;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString emulator = dir.filePath(QStringLiteral("my emus/kgen"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("my emus"))));
    WriteStandIn(emulator);
    const QString out = dir.filePath(QStringLiteral("record"));
    SetStandInOutput(out);
    ASSERT_TRUE(QDir::setCurrent(dir.path()));

    const QString rom = dir.filePath(QStringLiteral("$(touch pwned) \"x\" Sonic.bin"));
    ASSERT_TRUE(RunCommandLine(BuildCommandLine(Options(0, 3, 3, true, "-extra \"a b\""), rom, emulator, QString())));
    EXPECT_EQ(WaitForStandInRecord(out), (QStringList{dir.path(), emulator, rom, "-f3", "-S", "-E", "-extra", "a b"}));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("pwned"))));
}

} // namespace
