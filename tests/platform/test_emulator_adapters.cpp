// The adapters, started as Romdeck starts an emulator: the composed command
// line, split and run, reaches a stand-in emulator found in PATH, which
// records the arguments and the audio driver it was given.
#include "launch/command_line.h"
#include "platform/adapters/adapter_run.h"
#include "platform/file_name_text.h"
#include "platform/process_start.h"
#include "support/standin_emulator.h"

#include <QTemporaryDir>

namespace {

struct AdapterCase
{
    EmulatorAdapter adapter;
    OptionSet options; // usekgen, fskip, country, dissound, extracmdline
    QByteArray rom;
    QList<QByteArray> arguments; // the emulator's, without the ROM, which comes last
    QByteArray audioDriver;
};

const QByteArray kDummy = "dummy";
const QByteArray kUnset = "unset";
const QByteArray kOdd = "/roms/It's \"odd\" \\ (USA) \xE9\xFF.bin";

const AdapterCase kCases[] = {
    {kBlastEmAdapter, {0, 1, 0, false, ""}, "/roms/a.bin", {}, kUnset},
    {kBlastEmAdapter, {0, 3, 1, true, "-g"}, "/roms/a.bin", {"-r", "J", "-g"}, kDummy},
    {kBlastEmAdapter, {0, 4, 2, false, ""}, "/roms/a.bin", {"-r", "U"}, kUnset},
    {kBlastEmAdapter, {0, 2, 3, true, "-x \"a b\""}, kOdd, {"-r", "E", "-x", "a b"}, kDummy},
    {kBlastEmAdapter, {1, 4, 0, true, ""}, "/roms/a.smd", {}, kDummy},
    {kBlastEmAdapter, {1, 1, 1, false, ""}, "/roms/a.smd", {"-r", "J"}, kUnset},
    {kBlastEmAdapter, {1, 1, 2, true, "-S -J"}, kOdd, {"-r", "U", "-S", "-J"}, kDummy},
    {kBlastEmAdapter, {1, 1, 3, false, "-g"}, "-dash.bin", {"-r", "E", "-g"}, kUnset},
    {kMednafenAdapter, {0, 1, 0, false, ""}, "/roms/a.bin", {"-force_module", "md"}, kUnset},
    {kMednafenAdapter, {0, 4, 1, true, ""}, kOdd, {"-force_module", "md", "-md.region", "domestic_ntsc", "-sound", "0"},
     kUnset},
    {kMednafenAdapter, {0, 2, 2, false, "-run x"}, "/roms/a.bin",
     {"-force_module", "md", "-md.region", "overseas_ntsc", "-run", "x"}, kUnset},
    {kMednafenAdapter, {1, 1, 3, true, "-nosound"}, kOdd,
     {"-force_module", "md", "-md.region", "overseas_pal", "-sound", "0", "-nosound"}, kUnset},
    {kMednafenAdapter, {1, 1, 0, false, ""}, "-dash.bin", {"-force_module", "md"}, kUnset},
};

void PrintTo(const AdapterCase &row, std::ostream *out)
{
    *out << row.adapter.adapter << (row.options.usekgen == 0 ? " KGen form" : " Genecyst form") << ", country "
         << row.options.country;
}

class EmulatorAdapters : public ::testing::TestWithParam<AdapterCase>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        WriteStandIn(dir.filePath(QStringLiteral("blastem")), "SDL_AUDIODRIVER");
        WriteStandIn(dir.filePath(QStringLiteral("mednafen")), "SDL_AUDIODRIVER");
        SetStandInOutput(dir.filePath(QStringLiteral("record")));
        qputenv("PATH", QFile::encodeName(dir.path()) + ':' + savedPath);
        qunsetenv("SDL_AUDIODRIVER");
    }
    void TearDown() override { qputenv("PATH", savedPath); }

    QTemporaryDir dir;
    const QByteArray savedPath = qgetenv("PATH");
};

TEST_P(EmulatorAdapters, StartTheEmulatorWithTheSameMeaning)
{
    const AdapterCase &row = GetParam();
    const QString adapter = QStringLiteral(ROMDECK_ADAPTERS_BUILT "/") + QString::fromLatin1(row.adapter.adapter);
    ASSERT_TRUE(RunCommandLine(BuildCommandLine(row.options, FileNameText(row.rom), adapter, adapter)));

    QList<QByteArray> expected{QFile::encodeName(QDir::currentPath()),
                               QFile::encodeName(dir.filePath(QString::fromLatin1(row.adapter.emulator)))};
    expected << row.arguments << (row.rom.startsWith('-') ? "./" + row.rom : row.rom)
             << "SDL_AUDIODRIVER=" + row.audioDriver;
    EXPECT_EQ(WaitForStandInBytes(dir.filePath(QStringLiteral("record"))), expected);
}

INSTANTIATE_TEST_SUITE_P(BothFormsEveryCountry, EmulatorAdapters, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return info.param.adapter.emulator + std::to_string(info.index); });

TEST(EmulatorAdapter, SaysWhatIsMissingAndFails)
{
    QTemporaryDir empty;
    char adapter[] = "romdeck-blastem", rom[] = "/roms/a.bin";
    char *withRom[] = {adapter, rom, nullptr};
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunAdapter(2, withRom, kBlastEmAdapter, BlastEmCommand, empty.path().toStdString()), 127);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("blastem is not installed"), std::string::npos);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunAdapter(1, withRom, kBlastEmAdapter, BlastEmCommand, empty.path().toStdString()), 2);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("usage: romdeck-blastem ROM"), std::string::npos);
}

} // namespace
