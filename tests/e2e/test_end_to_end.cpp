// The real program under a virtual X display: it starts from its own folder,
// loads the settings there and lists the folders they name; its close button
// saves (or, when the save fails, shows the error and stays open), while an
// end by signal writes nothing.
#include "support/pcx_files.h"
#include "support/rom_images.h"
#include "support/standin_emulator.h"
#include "support/temporary_desktop.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <iostream>
#include <sys/types.h>
#include <unistd.h>

namespace {

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<missing>");
}

// A plain ROM image whose header title is `title`.
void WriteRom(const QString &path, const QByteArray &title)
{
    ASSERT_TRUE(rom_images::WritePlainRom(path, title)) << path.toStdString();
}

QStringList Entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

bool WaitFor(const std::function<bool()> &done, int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    return true;
}

// Main window controls, relative to its client area.
const QPoint kCloseButton(533 + 20, 392 + 14);
const QPoint kCurrentButton(268 + 168 + 38, 68 + 12 + 8);
const QPoint kDefaultButton(268 + 92 + 38, 68 + 12 + 8);
const QPoint kPanelSwitch(344 + 76, 300 + 12);
const QPoint kEditButton(371 + 50, 330 + 14);
const QPoint kInfoButton(268 + 20, 392 + 14);
// The info dialog's OK, the About window's links and close button.
const QPoint kInfoOk(172 + 34, 148 + 12);
const QPoint kWebLink(16 + 20, 168 + 8);
const QPoint kMailLink(16 + 20, 132 + 8);
const QPoint kAboutClose(376 + 18, 156 + 16);
// The pick button on the preview panel, the picture's middle; the picture
// picker, its folder list's first row, its accept and close buttons.
const QPoint kPickButton(268 + 152 + 74, 68 + 196 + 16);
const QPoint kPictureMiddle(268 + 152, 68 + 116);
const QString kPicker = QStringLiteral("Pick a preview picture");
const QPoint kPickerFirstFolder(4 + 30, 36 + 6);
const QPoint kPickerAccept(132 + 158, 284 + 14);
const QPoint kPickerClose(548 + 22, 284 + 14);

class EndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(binary.isEmpty()) << "ROMDECK_BINARY names the program to run";
        for (const char *tool : {"xvfb-run", "xwininfo", "xdotool", "xclip", "import"})
            ASSERT_FALSE(QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                << tool << " is missing (packages xvfb, x11-utils, xdotool, xclip, imagemagick)";
        ASSERT_TRUE(root.isValid());
        for (const char *folder : {"prog", "roms dir", "cd", "elsewhere"})
            ASSERT_TRUE(top.mkdir(QString::fromLatin1(folder)));
        ASSERT_TRUE(QFile::copy(binary, program));
        ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        WriteFile(emulator, "#!/bin/sh\nexit 0\n");
        ASSERT_TRUE(QFile::setPermissions(emulator, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        WriteRom(roms + QStringLiteral("/SONIC.BIN"), "SONIC THE HEDGEHOG");
        WriteRom(roms + QStringLiteral("/Golden Axe (W).bin"), "GOLDEN AXE");
        WriteRom(roms + QStringLiteral("/rom.1"), QByteArray());
        WriteFile(roms + QStringLiteral("/notes.txt"), "not a ROM");
        WriteRom(top.filePath(QStringLiteral("cd/disc.smd")), QByteArray());
    }

    void TearDown() override
    {
        if (pid_ > 0)
            kill(pid_, SIGKILL);
        xvfb_.waitForFinished(10000);
    }

    // Settings that name the folders, the stand-in emulator and `pix`.
    QByteArray settingsNaming(const QString &pix, bool optionsShowing) const
    {
        return "[General]\r\nroms=" + roms.toUtf8() + "\r\npix=" + pix.toUtf8() + "\r\nkgenloc=" + emulator.toUtf8() +
            "\r\ngeneloc=\r\ncdrom=" + top.filePath(QStringLiteral("cd")).toUtf8() +
            "\r\noptshowing=" + (optionsShowing ? "1" : "0") +
            "\r\n[Default]\r\nusekgen=0\r\nfskip=2\r\ncountry=0\r\ndissound=0\r\nextracmdline=\r\n"
            "[SONIC.BIN]\r\nusekgen=0\r\nfskip=3\r\n";
    }

    // Starts the program on a display of its own, from another working folder,
    // and waits until its caption reads `caption`. Two virtual displays
    // started at once may pick the same free number, and then one program
    // finds no display: such a start is tried again.
    void start(const QString &caption)
    {
        for (int attempt = 1; attempt <= 3; ++attempt) {
            bool shown = false;
            startOnce(caption, shown);
            if (::testing::Test::HasFatalFailure() || shown)
                return;
            pid_ = 0;
            std::cerr << "the program ended before its window came up (exit " << xvfb_.exitCode()
                      << "), starting it again\n";
        }
        FAIL() << "the program ended early three times";
    }

    // One start; `shown` is false when the program ended before its window came up.
    void startOnce(const QString &caption, bool &shown)
    {
        const QString started = top.filePath(QStringLiteral("started"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        xvfb_.setProcessEnvironment(environment);
        xvfb_.setWorkingDirectory(top.filePath(QStringLiteral("elsewhere")));
        xvfb_.setProcessChannelMode(QProcess::ForwardedChannels);
        // Parallel tests start their search for a free display at different numbers.
        const QString firstDisplay = QString::number(100 + getpid() % 500);
        // The shell notes its pid, display and X authority file, then becomes the program.
        xvfb_.start(
            QStringLiteral("xvfb-run"),
            {QStringLiteral("-a"), QStringLiteral("-n"), firstDisplay, QStringLiteral("-s"),
             QStringLiteral("-screen 0 1024x768x24 -nolisten tcp"), QStringLiteral("sh"), QStringLiteral("-c"),
             QStringLiteral("echo \"$$ $DISPLAY $XAUTHORITY\" > \"$1.part\" && mv \"$1.part\" \"$1\" && exec \"$2\""),
             QStringLiteral("sh"), started, program});
        ASSERT_TRUE(xvfb_.waitForStarted(10000));
        ASSERT_TRUE(WaitFor([&] { return QFile::exists(started) || ended(); }, 30000))
            << "the virtual display did not start";
        if (!QFile::exists(started))
            return;
        const QStringList startInfo = QString::fromUtf8(ReadFile(started)).trimmed().split(u' ');
        ASSERT_TRUE(QFile::remove(started));
        ASSERT_EQ(startInfo.size(), 3);
        pid_ = startInfo[0].toInt();
        display_ = startInfo[1];
        authority_ = startInfo[2];
        ASSERT_GT(pid_, 0);
        ASSERT_TRUE(WaitFor([&] { return !windowsNamed(caption).isEmpty() || ended(); }, 15000))
            << "no window named " << caption.toStdString() << " on " << display_.toStdString() << ":\n"
            << tool(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")}).toStdString();
        shown = !ended();
    }

    bool ended()
    {
        xvfb_.waitForFinished(0);
        return xvfb_.state() == QProcess::NotRunning;
    }

    // Waits for the program's end and returns its exit status, -1 when it did not end.
    int waitForEnd()
    {
        if (!xvfb_.waitForFinished(30000))
            return -1;
        pid_ = 0;
        return xvfb_.exitStatus() == QProcess::NormalExit ? xvfb_.exitCode() : -1;
    }

    void terminate() { ASSERT_EQ(kill(pid_, SIGTERM), 0); }

    // What a tool run on the program's display writes; empty when it hangs.
    QByteArray toolOutput(const QString &name, const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), display_);
        environment.insert(QStringLiteral("XAUTHORITY"), authority_);
        process.setProcessEnvironment(environment);
        process.start(name, arguments);
        if (!process.waitForFinished(10000))
            return QByteArray();
        return process.readAllStandardOutput();
    }

    QString tool(const QString &name, const QStringList &arguments)
    {
        return QString::fromUtf8(toolOutput(name, arguments)).trimmed();
    }

    // The window as it shows on the screen.
    QImage grab(const QString &window)
    {
        return QImage::fromData(
            toolOutput(QStringLiteral("import"), {QStringLiteral("-window"), window, QStringLiteral("png:-")}), "PNG");
    }

    // The visible windows whose name is exactly `name`.
    QStringList windowsNamed(const QString &name)
    {
        return tool(QStringLiteral("xdotool"),
                    {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                     QLatin1Char('^') + QRegularExpression::escape(name) + QLatin1Char('$')})
            .split(u'\n', Qt::SkipEmptyParts);
    }

    // Waits for the single visible window named `name` and returns its id.
    QString windowOnceShown(const QString &name)
    {
        QStringList found;
        WaitFor([&] { return (found = windowsNamed(name)).size() == 1; }, 10000);
        return found.value(0);
    }

    // Answers the box of this caption with Enter and waits for it to go; false
    // when no box shows or it stays. The key waits until the box has the
    // keyboard, a moment after it shows: sent before, it goes to the window
    // that the box blocks.
    bool answerBox(const QString &caption = QStringLiteral("Romdeck"))
    {
        const QString box = windowOnceShown(caption);
        if (box.isEmpty() ||
            !WaitFor([&] { return tool(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")}) == box; }, 10000))
            return false;
        tool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
        return WaitFor([&] { return windowsNamed(caption).isEmpty(); }, 10000);
    }

    // Whether the focused text box holds `text`: it is copied to the
    // clipboard (again, until the keys reach the box) and read back.
    bool focusHolds(const QString &text)
    {
        return WaitFor(
            [&] {
                tool(QStringLiteral("xdotool"),
                     {QStringLiteral("key"), QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")});
                return tool(QStringLiteral("xclip"),
                            {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")}) == text;
            },
            10000);
    }

    void click(const QString &window, QPoint at)
    {
        tool(QStringLiteral("xdotool"),
             {QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(at.x()),
              QString::number(at.y()), QStringLiteral("click"), QStringLiteral("1")});
    }

    const QString binary = qEnvironmentVariable("ROMDECK_BINARY");
    QTemporaryDir root;
    const QDir top{root.path()};
    const QString program = top.filePath(QStringLiteral("prog/romdeck"));
    const QString settings = top.filePath(QStringLiteral("prog/romdeck.ini"));
    const QString emulator = top.filePath(QStringLiteral("kgen stand-in.sh"));
    const QString roms = top.filePath(QStringLiteral("roms dir"));

private:
    QProcess xvfb_;
    pid_t pid_ = 0;
    QString display_;
    QString authority_;
};

TEST_F(EndToEnd, ListsTheFoldersOfItsSettingsAndAnEndBySignalWritesNothing)
{
    const QByteArray settingsText = settingsNaming(roms, false);
    WriteFile(settings, settingsText);
    const QStringList romEntries = Entries(roms);

    // Three ROMs in the ROM folder and one image in the CD-ROM folder.
    start(QStringLiteral("Romdeck - 4 ROMs"));
    EXPECT_TRUE(tool(QStringLiteral("xwininfo"), {QStringLiteral("-root"), QStringLiteral("-tree")})
                    .contains(QStringLiteral("\"Romdeck - 4 ROMs\"")));

    terminate();
    EXPECT_NE(waitForEnd(), 0);

    EXPECT_EQ(ReadFile(settings), settingsText) << "loading and ending write nothing";
    EXPECT_EQ(Entries(top.filePath(QStringLiteral("prog"))),
              (QStringList{QStringLiteral("romdeck"), QStringLiteral("romdeck.ini")}));
    EXPECT_EQ(Entries(roms), romEntries);
    EXPECT_TRUE(Entries(top.filePath(QStringLiteral("elsewhere"))).isEmpty());
}

TEST_F(EndToEnd, TheCloseButtonSavesAndClosesAndAFailedSaveKeepsTheWindowOpen)
{
    // The first entry's file name holds a line break, so its own set cannot be stored.
    WriteRom(roms + QStringLiteral("/A\nline.bin"), "AAA FIRST");
    const QByteArray before = settingsNaming(top.filePath(QStringLiteral("deleted pix")), true);
    WriteFile(settings, before);
    start(QStringLiteral("Romdeck - 5 ROMs"));
    const QStringList main = windowsNamed(QStringLiteral("Romdeck - 5 ROMs"));
    ASSERT_EQ(main.size(), 1);

    // A folder where the settings file was: the save fails and the window stays.
    ASSERT_TRUE(QFile::remove(settings) && QDir().mkdir(settings));
    click(main[0], kCurrentButton);
    click(main[0], kCloseButton);
    ASSERT_TRUE(answerBox(QStringLiteral("Romdeck"))) << "no error box";
    EXPECT_EQ(windowsNamed(QStringLiteral("Romdeck - 5 ROMs")), main) << "the main window stays open";
    EXPECT_FALSE(ended());

    // The file back, the preview panel showing: the close button saves all but
    // the first entry's own set, says so, and the program ends.
    ASSERT_TRUE(QDir().rmdir(settings));
    WriteFile(settings, before);
    click(main[0], kPanelSwitch);
    click(main[0], kCloseButton);
    ASSERT_TRUE(answerBox(QStringLiteral("Warning"))) << "the set that cannot be stored goes unmentioned";
    EXPECT_EQ(waitForEnd(), 0);
    QByteArray saved = settingsNaming(roms, true);
    saved.replace("optshowing=1", "optshowing=0");
    EXPECT_EQ(ReadFile(settings), saved);
    EXPECT_EQ(Entries(top.filePath(QStringLiteral("prog"))),
              (QStringList{QStringLiteral("romdeck"), QStringLiteral("romdeck.ini")}));
}

TEST_F(EndToEnd, TheInfoDialogShowsTheSelectedRomAndAnAboutLinkReachesTheDesktop)
{
    // Links go to xdg-open, here a stand-in on the PATH that records its arguments.
    TemporaryDesktop desktop;
    QTemporaryDir bin;
    WriteStandIn(bin.filePath(QStringLiteral("xdg-open")));
    desktop.set("PATH", bin.path() + QStringLiteral(":/usr/bin:/bin"));
    const QString record = bin.filePath(QStringLiteral("record"));
    desktop.set("ROMDECK_STANDIN_OUT", record);

    const QString folder = top.filePath(QStringLiteral("a folder whose name is long enough/for the path"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString rom = folder + QStringLiteral("/Streets of Rage (Europe).bin");
    WriteRom(rom, "STREETS OF RAGE");
    const QByteArray settingsText =
        "[General]\r\nroms=" + folder.toUtf8() + "\r\nkgenloc=" + emulator.toUtf8() + "\r\noptshowing=0\r\n";
    WriteFile(settings, settingsText);
    start(QStringLiteral("Romdeck - 1 ROMs"));
    const QString main = windowOnceShown(QStringLiteral("Romdeck - 1 ROMs"));

    click(main, kEditButton);
    const QString info = windowOnceShown(QStringLiteral("ROM info"));
    ASSERT_FALSE(info.isEmpty()) << "the info dialog did not open";
    // The English name has the focus; two tabs on lies the file name.
    EXPECT_TRUE(focusHolds(QStringLiteral("STREETS OF RAGE")));
    tool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Tab"), QStringLiteral("Tab")});
    EXPECT_TRUE(focusHolds(rom));
    click(info, kInfoOk);
    EXPECT_TRUE(WaitFor([&] { return windowsNamed(QStringLiteral("ROM info")).isEmpty(); }, 10000));

    click(main, kInfoButton);
    const QString about = windowOnceShown(QStringLiteral("About Romdeck"));
    ASSERT_FALSE(about.isEmpty()) << "the About window did not open";
    click(about, kWebLink);
    QStringList lines = WaitForStandInRecord(record);
    ASSERT_EQ(lines.size(), 3) << lines.join(u'|').toStdString();
    EXPECT_EQ(lines[2], QStringLiteral("http://romdeck.example.org"));
    click(about, kMailLink);
    lines = WaitForStandInRecord(record);
    ASSERT_EQ(lines.size(), 3) << lines.join(u'|').toStdString();
    EXPECT_EQ(lines[2], QStringLiteral("mailto:romdeck@example.org"));
    click(about, kAboutClose);
    EXPECT_TRUE(WaitFor([&] { return windowsNamed(QStringLiteral("About Romdeck")).isEmpty(); }, 10000));

    EXPECT_FALSE(ended());
    EXPECT_EQ(ReadFile(settings), settingsText) << "neither window writes the settings";
}

// A folder of the picture picker that vanished after it was listed: the
// error box tells it, and once it is answered the picker closes normally,
// opens again and files a picture, which the main window then shows.
TEST_F(EndToEnd, ThePickerTellsAFolderThatVanishedAndWorksOn)
{
    const QString single = top.filePath(QStringLiteral("single"));
    const QString pix = top.filePath(QStringLiteral("pix dir"));
    ASSERT_TRUE(QDir().mkpath(single) && QDir().mkpath(pix + QStringLiteral("/vanishing")));
    WriteRom(single + QStringLiteral("/SONIC.BIN"), "SONIC THE HEDGEHOG");
    pcx_files::Layout red;
    red.width = red.height = 8;
    QByteArray palette(768, '\0');
    palette[3] = char(0xFF); // colour 1: red
    WriteFile(pix + QStringLiteral("/snap000.pcx"), pcx_files::File(red, QByteArray(64, '\x01'), false, palette));
    WriteFile(settings,
              "[General]\r\nroms=" + single.toUtf8() + "\r\npix=" + pix.toUtf8() + "\r\nkgenloc=" + emulator.toUtf8() +
                  "\r\noptshowing=0\r\n");
    start(QStringLiteral("Romdeck - 1 ROMs"));
    const QString main = windowOnceShown(QStringLiteral("Romdeck - 1 ROMs"));
    const auto pickerGone = [&] { return windowsNamed(kPicker).isEmpty(); };

    click(main, kPickButton);
    QString picker = windowOnceShown(kPicker);
    ASSERT_FALSE(picker.isEmpty()) << "the picker did not open";
    ASSERT_TRUE(QDir(pix).rmdir(QStringLiteral("vanishing")));
    // The folder list's last row is the picture folder's one sub-folder.
    click(picker, kPickerFirstFolder);
    tool(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("End"), QStringLiteral("Return")});
    ASSERT_TRUE(answerBox()) << "no error box, or it stayed";
    EXPECT_EQ(windowsNamed(kPicker), QStringList{picker}) << "the picker stays open";
    click(picker, kPickerClose);
    ASSERT_TRUE(WaitFor(pickerGone, 10000));

    click(main, kPickButton);
    picker = windowOnceShown(kPicker);
    ASSERT_FALSE(picker.isEmpty()) << "the picker did not open again";
    click(picker, kPickerAccept);
    EXPECT_TRUE(WaitFor(pickerGone, 10000));
    EXPECT_FALSE(QFile::exists(pix + QStringLiteral("/snap000.pcx")));
    EXPECT_TRUE(QFile::exists(pix + QStringLiteral("/SONIC.pcx")));
    EXPECT_TRUE(WaitFor([&] { return grab(main).pixel(kPictureMiddle) == qRgb(255, 0, 0); }, 10000))
        << "the main window does not show the picture";
    EXPECT_FALSE(ended());
}

} // namespace
