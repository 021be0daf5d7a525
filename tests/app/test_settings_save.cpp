#include "support/main_window_fixture.h"

#include "platform/errors.h"
#include "support/modal_answerer.h"

#include <optional>
#include <unistd.h>

namespace {

using SaveSettingsTest = MainWindowFixture;

// The text of the error a save raises, or nothing when it succeeds.
std::optional<std::string> SaveError(TForm1 *form)
{
    try {
        form->SaveSettings();
    } catch (const RomdeckError &error) {
        return std::string(error.what());
    }
    return std::nullopt;
}

QByteArray DefaultSection(int usekgen, int fskip, int country, bool dissound, const QByteArray &extra)
{
    return "[Default]\r\nusekgen=" + QByteArray::number(usekgen) + "\r\nfskip=" + QByteArray::number(fskip) +
        "\r\ncountry=" + QByteArray::number(country) + "\r\ndissound=" + (dissound ? "1" : "0") +
        "\r\nextracmdline=" + extra + "\r\n";
}

QByteArray RomSection(const QByteArray &name, int usekgen, int fskip, int country, bool dissound,
                      const QByteArray &extra)
{
    return "[" + name + "]" + DefaultSection(usekgen, fskip, country, dissound, extra).mid(9);
}

TEST_F(SaveSettingsTest, AFreshFileHoldsGeneralThenDefaultInOrder)
{
    const QString kgen = emulatorBesideProgram();
    form->LoadSettings();
    locations->geneloc->setText(QStringLiteral("/opt/gene cyst/genecyst.exe"));
    locations->cdromloc->setText(QStringLiteral("/media/cd"));
    form->SaveSettings();
    const QByteArray work = workFolder.toUtf8();
    EXPECT_EQ(settingsBytes(),
              "[General]\r\nroms=" + work + "\r\npix=" + work + "\r\nkgenloc=" + kgen.toUtf8() +
                  "\r\ngeneloc=/opt/gene cyst/genecyst.exe\r\ncdrom=/media/cd\r\noptshowing=1\r\n" +
                  DefaultSection(0, 1, 0, false, QByteArray()));
}

TEST_F(SaveSettingsTest, ARomSectionIsWrittenOnlyInCurrentModeWithASelection)
{
    emulatorBesideProgram();
    form->LoadSettings();
    form->SaveSettings();
    const QByteArray fresh = settingsBytes();
    addEntry(QStringLiteral("Game"), QStringLiteral("/roms/GAME.BIN"));
    addEntry(QStringLiteral("Sonic"), QStringLiteral("/roms/Sonic (W) [!].bin"));

    form->lstdir->setItemIndex(0);
    ASSERT_TRUE(panel->isDefaultDown());
    form->SaveSettings();
    EXPECT_EQ(settingsBytes(), fresh) << "Default mode writes no ROM section";

    panel->putCurrentDown();
    form->lstdir->setItemIndex(-1);
    form->SaveSettings();
    EXPECT_EQ(settingsBytes(), fresh) << "no selection, no ROM section";

    form->lstdir->setItemIndex(0);
    panel->setValues(OptionSet{1, 3, 2, true, QStringLiteral("-x")});
    form->SaveSettings();
    const QByteArray game = RomSection("GAME.BIN", 1, 3, 2, true, "-x");
    EXPECT_EQ(settingsBytes(), fresh + game);

    form->lstdir->setItemIndex(1);
    panel->setValues(OptionSet{0, 4, 0, false, QStringLiteral(" spaced ")});
    form->SaveSettings();
    const QByteArray sonic = RomSection("Sonic (W) [!].bin", 0, 4, 0, false, "\" spaced \"");
    EXPECT_EQ(settingsBytes(), fresh + game + sonic);
    EXPECT_EQ(DefaultOptions, OptionSet{}) << "the ROM's values stay out of the Default set";

    // Back in Default mode: General and Default change in place, ROM sections stay.
    panel->putDefaultDown();
    panel->setValues(OptionSet{1, 2, 3, true, QStringLiteral("def")});
    form->butpixClick();
    form->SaveSettings();
    QByteArray expected = fresh;
    expected.replace("optshowing=1", "optshowing=0");
    expected.replace(DefaultSection(0, 1, 0, false, QByteArray()), DefaultSection(1, 2, 3, true, "def"));
    EXPECT_EQ(settingsBytes(), expected + game + sonic);

    // The section written reads back as the ROM's own set.
    form->LoadRomOptions(QStringLiteral("Sonic (W) [!].bin"));
    EXPECT_FALSE(panel->isDefaultDown());
    EXPECT_EQ(panel->values(), (OptionSet{0, 4, 0, false, QStringLiteral(" spaced ")}));
}

TEST_F(SaveSettingsTest, ARefusedWriteRaisesTheErrorAndLeavesThePreviousFileWhole)
{
    emulatorBesideProgram();
    form->LoadSettings();
    const std::string expected = "Unable to write to " + settingsPath().toStdString();

    ASSERT_TRUE(QDir(programDir.path()).mkdir(QStringLiteral("romdeck.ini")));
    EXPECT_EQ(SaveError(form), expected);
    EXPECT_TRUE(QFileInfo(settingsPath()).isDir());
    ASSERT_TRUE(QDir(programDir.path()).rmdir(QStringLiteral("romdeck.ini")));

    form->SaveSettings();
    const QByteArray before = settingsBytes();

    // A value that cannot be stored: the save stores none of its values.
    locations->romloc->setText(QStringLiteral("/roms\nmore"));
    ASSERT_EQ(locations->romloc->text(), QStringLiteral("/roms\nmore"));
    DefaultOptions.fskip = 4;
    EXPECT_EQ(SaveError(form), expected);
    EXPECT_EQ(settingsBytes(), before);

    EXPECT_EQ(QDir(programDir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("kgen.exe"), QStringLiteral("romdeck.ini")}))
        << "no temporary file is left behind";

    // A ROM file name with a line break: its section cannot be stored, the
    // rest is, and the user is told which ROM lost its options.
    locations->romloc->setText(workFolder);
    addEntry(QStringLiteral("Bad"), QStringLiteral("/roms/ba\nd.bin"));
    form->lstdir->setItemIndex(0);
    panel->putCurrentDown();
    {
        ModalAnswerer answerer;
        EXPECT_EQ(SaveError(form), std::nullopt);
        EXPECT_EQ(answerer.seen(), QStringList{QStringLiteral(
                                       "Warning|The options of \"ba\nd.bin\" cannot be stored: its file name holds a "
                                       "line break.")});
    }
    QByteArray withFskip = before;
    withFskip.replace("fskip=1", "fskip=4");
    EXPECT_EQ(settingsBytes(), withFskip);
    putSettings(before);

    // A file without write permission is never written, whoever runs the program.
    form->lstdir->clear();
    ASSERT_TRUE(QFile::setPermissions(settingsPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    EXPECT_EQ(SaveError(form), expected);
    EXPECT_EQ(settingsBytes(), before);
    ASSERT_TRUE(QFile::setPermissions(settingsPath(), QFile::ReadOwner | QFile::WriteOwner));

    if (geteuid() != 0) {
        // A folder that refuses writes, holding a file that may be written:
        // the file is written in place.
        ASSERT_TRUE(QFile::setPermissions(programDir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const std::optional<std::string> inPlace = SaveError(form);
        QFile::setPermissions(programDir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        EXPECT_EQ(inPlace, std::nullopt);
        EXPECT_EQ(settingsBytes(), withFskip);
    }

    // A program folder that cannot be written sends the save to the user's
    // configuration folder, and its errors name the file there.
    ProgramFolder = programDir.filePath(QStringLiteral("missing"));
    const QString userFile = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/romdeck/romdeck.ini");
    ASSERT_TRUE(QDir().mkpath(userFile));
    EXPECT_EQ(SaveError(form), "Unable to write to " + userFile.toStdString());
    EXPECT_FALSE(QFileInfo::exists(ProgramFolder));
    ASSERT_TRUE(QDir().rmdir(userFile));
    EXPECT_EQ(SaveError(form), std::nullopt);
    EXPECT_TRUE(QFileInfo(userFile).isFile());
    QFile::remove(userFile);
}

TEST_F(SaveSettingsTest, TheCloseButtonSavesAndClosesButAFailedSaveKeepsTheWindowOpen)
{
    emulatorBesideProgram();
    showActivated();
    form->LoadSettings();
    ASSERT_TRUE(form->isVisible());

    ASSERT_TRUE(QDir(programDir.path()).mkdir(QStringLiteral("romdeck.ini")));
    try {
        form->butcloseclick();
        ADD_FAILURE() << "the save did not fail";
    } catch (const RomdeckError &error) {
        EXPECT_EQ(std::string(error.what()), "Unable to write to " + settingsPath().toStdString());
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->isVisible());
    ASSERT_TRUE(QDir(programDir.path()).rmdir(QStringLiteral("romdeck.ini")));

    QTest::mouseClick(form->butclose, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(settingsBytes().startsWith("[General]\r\nroms=" + workFolder.toUtf8() + "\r\n"));
}

TEST_F(SaveSettingsTest, ClosingTheWindowByItsFrameWritesNothing)
{
    emulatorBesideProgram();
    showActivated();
    form->close();
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(QFileInfo::exists(settingsPath()));
    EXPECT_FALSE(QFileInfo::exists(QCoreApplication::applicationDirPath() + QStringLiteral("/romdeck.ini")));
}

} // namespace
