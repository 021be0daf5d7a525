#include "platform/process_start.h"
#include "support/process_probes.h"
#include "support/rom_images.h"
#include "support/standin_emulator.h"
#include "support/windows_image.h"

#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

namespace {

using rom_images::WriteFile;

class ProcessStart : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        outPath = dir.filePath(QStringLiteral("record"));
        SetStandInOutput(outPath);
    }

    QString Path(const QString &name) const { return dir.filePath(name); }

    QTemporaryDir dir;
    QString outPath;
    WorkingFolderGuard workingFolder;
};

TEST_F(ProcessStart, PassesArgumentsSplitByWindowsRulesAndWorkingFolder)
{
    WriteStandIn(Path(QStringLiteral("emu")));
    ASSERT_TRUE(QDir().mkdir(Path(QStringLiteral("snap shots"))));
    ASSERT_TRUE(QDir::setCurrent(Path(QStringLiteral("snap shots"))));

    ASSERT_TRUE(RunCommandLine(Path(QStringLiteral("emu")) +
                               QStringLiteral(" \"/roms/Sonic (W).bin\" -f3\t-E  $(id) ;x 'q' a\\\"b ")));
    EXPECT_EQ(
        WaitForStandInRecord(outPath),
        (QStringList{Path(QStringLiteral("snap shots")), Path(QStringLiteral("emu")),
                     QStringLiteral("/roms/Sonic (W).bin"), QStringLiteral("-f3"), QStringLiteral("-E"),
                     QStringLiteral("$(id)"), QStringLiteral(";x"), QStringLiteral("'q'"), QStringLiteral("a\"b")}));

    // A quoted program, and a line with nothing after the program.
    ASSERT_TRUE(RunCommandLine(QStringLiteral("\"") + Path(QStringLiteral("emu")) + QStringLiteral("\" \"\" x")));
    EXPECT_EQ(WaitForStandInRecord(outPath).mid(1),
              (QStringList{Path(QStringLiteral("emu")), QString(), QStringLiteral("x")}));
    ASSERT_TRUE(RunCommandLine(Path(QStringLiteral("emu"))));
    EXPECT_EQ(WaitForStandInRecord(outPath).mid(1), QStringList{Path(QStringLiteral("emu"))});
    // Text stuck to the closing quote belongs to the program's word, as the C
    // runtime reads its argv[0]; the arguments start after the blank.
    ASSERT_TRUE(RunCommandLine(QStringLiteral("\"") + Path(QStringLiteral("emu")) + QStringLiteral("\"x a")));
    EXPECT_EQ(WaitForStandInRecord(outPath).mid(1), (QStringList{Path(QStringLiteral("emu")), QStringLiteral("a")}));
}

TEST_F(ProcessStart, FindsTheShortestExecutablePrefixOfAnUnquotedLine)
{
    // "<dir>/my" is a folder and "<dir>/my emus/kgen" a plain file: both are
    // passed over for the executable "<dir>/my emus/kgen 98".
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("my"))));
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("my emus"))));
    QFile plain(Path(QStringLiteral("my emus/kgen")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\n");
    plain.close();
    WriteStandIn(Path(QStringLiteral("my emus/kgen 98")));
    WriteStandIn(Path(QStringLiteral("my emus/kgen 98 b")));

    ASSERT_TRUE(RunCommandLine(Path(QStringLiteral("my emus/kgen 98 b c"))));
    EXPECT_EQ(WaitForStandInRecord(outPath).mid(1),
              (QStringList{Path(QStringLiteral("my emus/kgen 98")), QStringLiteral("b"), QStringLiteral("c")}));

    // The whole line is the last try.
    WriteStandIn(Path(QStringLiteral("my emus/whole name")));
    ASSERT_TRUE(RunCommandLine(Path(QStringLiteral("my emus/whole name"))));
    EXPECT_EQ(WaitForStandInRecord(outPath).mid(1), QStringList{Path(QStringLiteral("my emus/whole name"))});

    // A bare name is looked up in PATH.
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(Path(QStringLiteral("my emus"))) + ':' + savedPath);
    const bool started = RunCommandLine(QStringLiteral("whole name x"));
    qputenv("PATH", savedPath);
    ASSERT_TRUE(started);
    EXPECT_EQ(WaitForStandInRecord(outPath).mid(1),
              (QStringList{Path(QStringLiteral("my emus/whole name")), QStringLiteral("x")}));
}

TEST_F(ProcessStart, ReportsFailureWhenNothingCanBeStarted)
{
    QFile plain(Path(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.write("#!/bin/sh\n");
    plain.close();
    QFile orphan(Path(QStringLiteral("orphan")));
    ASSERT_TRUE(orphan.open(QIODevice::WriteOnly));
    orphan.write("#!/no/such/interpreter\n");
    orphan.close();
    ASSERT_TRUE(orphan.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner));

    EXPECT_FALSE(RunCommandLine(QString()));
    EXPECT_FALSE(RunCommandLine(QStringLiteral("  \t ")));
    EXPECT_FALSE(RunCommandLine(Path(QStringLiteral("missing")) + QStringLiteral(" a b")));
    EXPECT_FALSE(RunCommandLine(dir.path() + QStringLiteral(" a")));
    EXPECT_FALSE(RunCommandLine(Path(QStringLiteral("plain")) + QStringLiteral(" a")));
    EXPECT_FALSE(RunCommandLine(QStringLiteral("\"") + Path(QStringLiteral("plain")) + QStringLiteral("\" a")));
    EXPECT_FALSE(RunCommandLine(QStringLiteral("romdeck-no-such-program-anywhere a")));
    // Found and executable, but exec itself fails: only the child can tell.
    EXPECT_FALSE(RunCommandLine(Path(QStringLiteral("orphan"))));
    EXPECT_TRUE(ChildStates().isEmpty());
}

TEST_F(ProcessStart, LeavesNoChildNorZombieAndLeaksNoDescriptor)
{
    WriteStandIn(Path(QStringLiteral("emu")));
    // Opened without close-on-exec, as careless code elsewhere might.
    const int marker =
        open(QFile::encodeName(Path(QStringLiteral("leak-marker"))).constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(marker, 3);

    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(RunCommandLine(Path(QStringLiteral("emu")) + QStringLiteral(" run ") + QString::number(i)));
        // The program is already handed to init: nothing of ours remains.
        ASSERT_TRUE(ChildStates().isEmpty()) << "after start " << i;
        const QStringList record = WaitForStandInRecord(outPath);
        ASSERT_EQ(record.mid(2), (QStringList{QStringLiteral("run"), QString::number(i)}));
    }
    close(marker);
    EXPECT_TRUE(ChildStates().isEmpty());
}

TEST_F(ProcessStart, StartsWindowsProgramsThroughWineFromPath)
{
    // A stand-in for wine records what it is given: the program, then its words.
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("bin"))));
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("my emus"))));
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("snap shots"))));
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("no wine"))));
    WriteStandIn(Path(QStringLiteral("bin/wine")));
    // Unpacked from an archive, Windows programs often lack the run bit.
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("my emus/kgen.exe")), WindowsImage(kWindowsProgram)));
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("genecyst")), WindowsImage(kWindowsProgram)));
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("library.exe")), WindowsImage(kWindowsLibrary)));
    ASSERT_TRUE(
        QFile::setPermissions(Path(QStringLiteral("library.exe")), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    ASSERT_TRUE(QDir::setCurrent(Path(QStringLiteral("snap shots"))));
    const QByteArray savedPath = qgetenv("PATH");
    const auto runWithPath = [&](const QString &path, const QString &line) {
        qputenv("PATH", QFile::encodeName(path));
        const bool started = RunCommandLine(line);
        qputenv("PATH", savedPath);
        return started;
    };
    const QString withWine = Path(QStringLiteral("bin")) + u':' + QString::fromLocal8Bit(savedPath);

    ASSERT_TRUE(runWithPath(withWine,
                            Path(QStringLiteral("my emus/kgen.exe")) +
                                QStringLiteral(" \"/roms/a b.bin\" -f3 $(id) ;x a\\\"b ")));
    EXPECT_EQ(
        WaitForStandInRecord(outPath),
        (QStringList{Path(QStringLiteral("snap shots")), Path(QStringLiteral("bin/wine")),
                     Path(QStringLiteral("my emus/kgen.exe")), QStringLiteral("/roms/a b.bin"), QStringLiteral("-f3"),
                     QStringLiteral("$(id)"), QStringLiteral(";x"), QStringLiteral("a\"b")}));
    ASSERT_TRUE(runWithPath(withWine, u'"' + Path(QStringLiteral("genecyst")) + QStringLiteral("\" -run x")));
    EXPECT_EQ(WaitForStandInRecord(outPath).mid(1),
              (QStringList{Path(QStringLiteral("bin/wine")), Path(QStringLiteral("genecyst")), QStringLiteral("-run"),
                           QStringLiteral("x")}));

    // What Windows would not start, and Wine missing: nothing starts, nothing waits.
    EXPECT_FALSE(runWithPath(withWine, Path(QStringLiteral("library.exe")) + QStringLiteral(" x")));
    EXPECT_FALSE(
        runWithPath(Path(QStringLiteral("no wine")), Path(QStringLiteral("my emus/kgen.exe")) + QStringLiteral(" x")));
    EXPECT_TRUE(ChildStates().isEmpty());
    EXPECT_FALSE(QFile::exists(outPath));
}

TEST_F(ProcessStart, RunsAScriptWithoutInterpreterLineThroughSh)
{
    WriteStandIn(Path(QStringLiteral("wrapper")));
    QFile wrapper(Path(QStringLiteral("wrapper")));
    ASSERT_TRUE(wrapper.open(QIODevice::ReadOnly));
    const QByteArray script = wrapper.readAll();
    wrapper.close();
    ASSERT_TRUE(script.startsWith("#!/bin/sh\n"));
    ASSERT_TRUE(WriteFile(wrapper.fileName(), script.mid(script.indexOf('\n') + 1)));

    ASSERT_TRUE(RunCommandLine(Path(QStringLiteral("wrapper")) +
                               QStringLiteral(" \"/roms/a b.bin\" $(id) ;x 'q' \"\" \"`id`\"")));
    // $0 is the script's path: sh was given it as a file, not as a command text.
    EXPECT_EQ(WaitForStandInRecord(outPath).mid(1),
              (QStringList{Path(QStringLiteral("wrapper")), QStringLiteral("/roms/a b.bin"), QStringLiteral("$(id)"),
                           QStringLiteral(";x"), QStringLiteral("'q'"), QString(), QStringLiteral("`id`")}));
    EXPECT_TRUE(ChildStates().isEmpty());
}

} // namespace
