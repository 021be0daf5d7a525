// The adapters started as Romdeck starts an emulator: the composed command
// line, split and run, reaches a stand-in emulator in PATH, which records its
// path, its arguments and its audio driver.
#include "launch/command_line.h"
#include "platform/adapters/adapter_run.h"
#include "platform/file_name_text.h"
#include "platform/process_start.h"
#include "support/standin_emulator.h"

#include <QScopeGuard>
#include <QTemporaryDir>

namespace {

const QByteArray kOdd = "/roms/It's \"odd\" \\ (USA) \xE9\xFF.bin";

TEST(EmulatorAdapters, StartTheirEmulatorWithTheSameMeaningFromBothForms)
{
    struct
    {
        EmulatorAdapter adapter;
        OptionSet options; // usekgen, fskip, country, dissound, extracmdline
        QByteArray rom;
        QList<QByteArray> expected; // the emulator's arguments and audio driver
    } const rows[] = {
        // clang-format off
        {kBlastEmAdapter, {0, 1, 0, false, ""}, "-a.smd", {"./-a.smd", "unset"}},
        {kBlastEmAdapter, {0, 3, 1, true, "-g"}, "/roms/a.bin", {"-r", "J", "-g", "/roms/a.bin", "dummy"}},
        {kBlastEmAdapter, {0, 4, 2, false, "-x \"a b\""}, kOdd, {"-r", "U", "-x", "a b", kOdd, "unset"}},
        {kBlastEmAdapter, {1, 1, 3, true, "-S"}, kOdd, {"-r", "E", "-S", kOdd, "dummy"}},
        {kMednafenAdapter, {0, 2, 3, true, ""}, kOdd, {"-force_module", "md", "-md.region", "overseas_pal", "-sound", "0", kOdd, "unset"}},
        {kMednafenAdapter, {1, 1, 2, false, "-x"}, kOdd, {"-force_module", "md", "-md.region", "overseas_ntsc", "-x", kOdd, "unset"}},
        {kMednafenAdapter, {1, 1, 1, true, ""}, "-a.bin", {"-force_module", "md", "-md.region", "domestic_ntsc", "-sound", "0", "./-a.bin", "unset"}},
        // clang-format on
    };
    QTemporaryDir dir;
    for (const char *emulator : {"blastem", "mednafen"})
        WriteStandIn(dir.filePath(QString::fromLatin1(emulator)), "SDL_AUDIODRIVER");
    SetStandInOutput(dir.filePath(QStringLiteral("record")));
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(dir.path()) + ':' + savedPath);
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", savedPath); });
    qunsetenv("SDL_AUDIODRIVER");
    for (const auto &row : rows) {
        const QString adapter = QStringLiteral(ROMDECK_ADAPTERS_BUILT "/") + QString::fromLatin1(row.adapter.adapter);
        ASSERT_TRUE(RunCommandLine(BuildCommandLine(row.options, FileNameText(row.rom), adapter, adapter)));
        auto expected = QList{QFile::encodeName(dir.filePath(QLatin1String(row.adapter.emulator)))} + row.expected;
        expected.last().prepend("SDL_AUDIODRIVER=");
        EXPECT_EQ(WaitForStandInBytes(dir.filePath(QStringLiteral("record"))).mid(1), expected) << row.rom.data();
    }
}

TEST(EmulatorAdapters, WithoutTheirEmulatorSaySoAndFail)
{
    char adapter[] = "romdeck-blastem", rom[] = "/roms/a.bin", *argv[] = {adapter, rom, nullptr};
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunAdapter(2, argv, kBlastEmAdapter, BlastEmCommand, "/nowhere"), 127);
    EXPECT_NE(testing::internal::GetCapturedStderr().find(": blastem is not installed"), std::string::npos);
}

} // namespace
