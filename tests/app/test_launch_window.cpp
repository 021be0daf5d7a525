// The Play command on the main window: the save first, the checks and their
// messages, the working folder, and the exact arguments the emulator receives.
#include "app/main_rom_list.h"
#include "app/options_panel.h"
#include "app/program_windows.h"
#include "platform/errors.h"
#include "platform/start_folder.h"
#include "settings/program_values.h"
#include "support/byte_named_files.h"
#include "support/modal_answerer.h"
#include "support/program_values_fixture.h"
#include "support/standin_emulator.h"
#include "widgets/radio_group.h"

#include <QDir>
#include <QFile>
#include <QSlider>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

class PlayCommand : public ProgramValuesFixture
{
protected:
    void SetUp() override
    {
        ProgramValuesFixture::SetUp();
        ASSERT_TRUE(temp_.isValid());
        root_ = temp_.path();
        for (const char *folder : {"prog", "roms", "pix", "emu dir"})
            ASSERT_TRUE(QDir(root_).mkpath(QString::fromLatin1(folder)));
        ProgramFolder = root_ + "/prog";
        RomFolder = root_ + "/roms";
        PixFolder = root_ + "/pix";
        KGenLocation = root_ + "/emu dir/kgen stand-in";
        WriteStandIn(KGenLocation);
        record_ = root_ + "/record";
        SetStandInOutput(record_);
    }

    void addRom(const QString &name)
    {
        QFile rom(RomFolder + "/" + name);
        ASSERT_TRUE(rom.open(QIODevice::WriteOnly));
        rom.write(QByteArray(512, '\0'));
    }

    // Lists the ROM folder and selects the entry whose text is name.
    void select(const QString &name)
    {
        TForm1 &form = *windows_.Form1;
        form.RebuildList();
        for (int row = 0; row < form.lstdir->count(); ++row) {
            if (form.lstdir->item(row).text == name) {
                form.lstdir->setItemIndex(row);
                form.lstdirClick();
                return;
            }
        }
        FAIL() << "not listed: " << name.toStdString();
    }

    QTemporaryDir temp_;
    QString root_;
    QString record_;
    WorkingFolderGuard folderGuard_;
    ProgramWindows windows_;
};

TEST_F(PlayCommand, HostileRomNamesReachTheEmulatorAsOneArgumentAndNothingElseRuns)
{
    const QStringList names = {"$(touch pwned).bin", "a;b.bin", "x\"y.bin", "-rf.bin", "two  blanks.bin"};
    for (const QString &name : names)
        addRom(name);
    DefaultOptions = OptionSet{0, 2, 2, true, "--extra \"quoted text\""};
    for (const QString &name : names) {
        select(name);
        windows_.Form1->butGOClick();
        const QStringList lines = WaitForStandInRecord(record_);
        ASSERT_EQ(lines.size(), 8) << lines.join('|').toStdString();
        EXPECT_EQ(lines[0], PixFolder);
        EXPECT_EQ(lines[2], RomFolder + "/" + name);
        EXPECT_EQ(lines.mid(3), (QStringList{"-f2", "-S", "-U", "--extra", "quoted text"}));
    }
    EXPECT_FALSE(QFile::exists(PixFolder + "/pwned"));
    EXPECT_FALSE(QFile::exists(root_ + "/pwned"));
    EXPECT_EQ(QDir::currentPath(), PixFolder);
}

TEST_F(PlayCommand, SavesFirstThenChecksWithTheirMessages)
{
    ModalAnswerer answerer;
    windows_.Form1->butGOClick();
    EXPECT_TRUE(QFile::exists(ProgramFolder + "/romdeck.ini")) << "saved before any check";

    addRom("game.bin");
    select("game.bin");
    windows_.Form1->panopt->rademu->setItemIndex(0);
    KGenLocation.clear();
    GenecystLocation = root_ + "/emu dir/kgen stand-in";
    windows_.Form1->butGOClick();
    windows_.Form1->panopt->rademu->setItemIndex(1);
    GenecystLocation.clear();
    KGenLocation = root_ + "/emu dir/kgen stand-in";
    windows_.Form1->butGOClick();
    GenecystLocation = root_ + "/emu dir";
    windows_.Form1->butGOClick();

    EXPECT_EQ(answerer.seen(),
              (QStringList{"Error|What have you forgot ?", "Error|Please set KGen location in setup.",
                           "Error|Please set Genecyst location in setup.", "Information|no"}));
    EXPECT_FALSE(QFile::exists(record_));
}

// A failing Play whose box the test does not answer fails the test at once,
// with the box's text, instead of waiting for ctest's time limit.
TEST_F(PlayCommand, AnUnansweredBoxFailsTheTestAtOnceWithItsText)
{
    addRom("game.bin");
    select("game.bin");
    windows_.Form1->panopt->rademu->setItemIndex(0);
    KGenLocation = root_ + "/emu dir";
    EXPECT_NONFATAL_FAILURE(windows_.Form1->butGOClick(), "does not answer: Information|no|");
}

TEST_F(PlayCommand, MissingSnapshotFolderStartsNothingAndKeepsTheWorkingFolder)
{
    addRom("game.bin");
    select("game.bin");
    windows_.Form1->panopt->rademu->setItemIndex(0);
    PixFolder = root_ + "/no such folder";
    const QString before = QDir::currentPath();
    try {
        windows_.Form1->butGOClick();
        FAIL() << "no error raised";
    } catch (const IoError &error) {
        EXPECT_EQ(error.what(), "File not found: " + PixFolder.toStdString());
    }
    EXPECT_EQ(QDir::currentPath(), before);
    QThread::msleep(200);
    EXPECT_FALSE(QFile::exists(record_));
}

// Names that are no valid text, and locations relative to the start folder:
// every launch, not only the first, hands the emulator the ROM's exact bytes
// and runs it in the snapshot folder, and each such ROM keeps a section of its own.
TEST_F(PlayCommand, RomsNamedInBytesAndRelativeLocationsPlayAgainAndAgain)
{
    const QByteArray roms = QFile::encodeName(RomFolder);
    const QByteArray names[] = {"Pok\xE9mon.bin", "Pok\xE8mon.bin"};
    ByteNamedFiles files;
    for (const QByteArray &name : names)
        ASSERT_TRUE(files.create(roms + '/' + name));
    ASSERT_TRUE(QDir::setCurrent(root_));
    NoteStartFolder();
    RomFolder = "roms";
    PixFolder = "pix";
    KGenLocation = "emu dir/kgen stand-in";

    TForm1 &form = *windows_.Form1;
    const auto playRow = [&](int row) {
        form.lstdir->setItemIndex(row);
        form.lstdirClick();
        form.butGOClick();
        return WaitForStandInBytes(record_);
    };
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        // Also the rebuild after a launch finds the ROM folder.
        form.RebuildList();
        ASSERT_EQ(form.lstdir->count(), 2);
        for (int row = 0; row < 2; ++row) {
            rom_info info;
            form.lstdir->item(row).object.getrominfo(info);
            const QList<QByteArray> lines = playRow(row);
            ASSERT_EQ(lines.size(), 3);
            EXPECT_EQ(lines[0], QFile::encodeName(root_ + "/pix"));
            EXPECT_EQ(lines[2], info.filename);
            EXPECT_TRUE(info.filename == roms + '/' + names[0] || info.filename == roms + '/' + names[1]);
        }
        EXPECT_EQ(QDir::currentPath(), root_ + "/pix");
    }

    // Options of its own for the first ROM only: the second keeps the Default set.
    form.lstdir->setItemIndex(0);
    form.lstdirClick();
    form.panopt->butcurrent->click();
    form.panopt->tbfskip->setValue(4);
    form.SaveSettings();
    rom_info own;
    form.lstdir->item(0).object.getrominfo(own);
    QFile settings(ProgramFolder + "/romdeck.ini");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray text = settings.readAll();
    const QByteArray section = "[" + own.filename.mid(own.filename.lastIndexOf('/') + 1) + "]\r\nusekgen=0\r\nfskip=4";
    EXPECT_TRUE(text.contains(section)) << text.toStdString();
    EXPECT_EQ(text.count("[Pok"), 1) << text.toStdString();
    form.lstdir->setItemIndex(1);
    form.lstdirClick();
    EXPECT_TRUE(form.panopt->isDefaultDown());
    form.lstdir->setItemIndex(0);
    form.lstdirClick();
    EXPECT_FALSE(form.panopt->isDefaultDown());
    EXPECT_EQ(form.panopt->tbfskip->value(), 4);
    EXPECT_EQ(playRow(0).value(3), "-f4");
}

TEST_F(PlayCommand, CurrentModeStoresTheRomsOwnSetBeforeTheLaunch)
{
    addRom("game.bin");
    select("game.bin");
    TForm1 &form = *windows_.Form1;
    form.panopt->butcurrent->click();
    form.panopt->tbfskip->setValue(4);
    form.butGOClick();
    const QStringList lines = WaitForStandInRecord(record_);
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[3], "-f4");
    QFile settings(ProgramFolder + "/romdeck.ini");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray text = settings.readAll();
    EXPECT_TRUE(text.contains("[game.bin]\r\nusekgen=0\r\nfskip=4\r\n")) << text.toStdString();
    EXPECT_EQ(DefaultOptions.fskip, 1) << "a ROM's own set never reaches the Default set";
}

} // namespace
