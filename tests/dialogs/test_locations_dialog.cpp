#include "support/main_window_fixture.h"
#include "support/program_values_fixture.h"

#include "platform/errors.h"
#include "platform/start_folder.h"
#include "support/standin_emulator.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

// The dialog on its own, with counters in place of the main window's save and rebuild.
class LocationsDialogTest : public ProgramValuesFixture
{
protected:
    void SetUp() override
    {
        ProgramValuesFixture::SetUp();
        dialog.saveSettings = [this] {
            ++saves;
            if (failSave)
                throw RomdeckError("Unable to write to /x/romdeck.ini");
        };
        dialog.rebuildList = [this] { ++rebuilds; };
    }

    // Shows the dialog modally and hands it to `user` as soon as it is up.
    void showAndDo(const std::function<void()> &user)
    {
        ModalAnswerer answerer;
        answerer.thenAnswer([&](QWidget *modal) {
            EXPECT_EQ(modal, &dialog);
            user();
        });
        dialog.exec();
        EXPECT_EQ(answerer.seen().count(QStringLiteral("TForm3")), 1);
        EXPECT_FALSE(dialog.isVisible());
    }

    void ok() { QTest::mouseClick(dialog.butok, Qt::LeftButton); }
    void cancel() { QTest::mouseClick(dialog.butclose, Qt::LeftButton); }

    TForm3 dialog;
    int saves = 0;
    int rebuilds = 0;
    bool failSave = false;
};

TEST_F(LocationsDialogTest, EveryKeystrokeReachesTheProgramWideTextAndOnlyFoldersSetTheFlag)
{
    const struct
    {
        const char *name;
        PathEdit *edit;
        QString *value;
        bool setsFlag;
    } fields[] = {
        {"kgenloc", dialog.kgenloc, &KGenLocation, false}, {"geneloc", dialog.geneloc, &GenecystLocation, false},
        {"romloc", dialog.romloc, &RomFolder, true},       {"cdromloc", dialog.cdromloc, &CdRomFolder, true},
        {"pixloc", dialog.pixloc, &PixFolder, false},
    };
    for (const auto &field : fields) {
        SCOPED_TRACE(field.name);
        dialog.FoldersChanged = false;
        QTest::keyClick(field.edit->edit(), Qt::Key_A);
        EXPECT_EQ(*field.value, QStringLiteral("a"));
        QTest::keyClicks(field.edit->edit(), QStringLiteral("/b c"));
        EXPECT_EQ(*field.value, QStringLiteral("a/b c"));
        QTest::keyClick(field.edit->edit(), Qt::Key_Backspace);
        EXPECT_EQ(*field.value, QStringLiteral("a/b "));
        EXPECT_EQ(dialog.FoldersChanged, field.setsFlag);
        // Set from code, as the settings load does, it follows too.
        field.edit->setText(QString());
        EXPECT_EQ(*field.value, QString());
    }
}

TEST_F(LocationsDialogTest, ChoosingWithTheBrowseButtonCountsAsAChange)
{
    QTemporaryDir folder;
    const QString emulator = folder.filePath(QStringLiteral("kgen98.exe"));
    QFile(emulator).open(QIODevice::WriteOnly);
    const QString roms = folder.filePath(QStringLiteral("roms"));
    ASSERT_TRUE(QDir().mkdir(roms));
    const auto choose = [](const QString &path) {
        return [path](QWidget *modal) {
            auto *browser = qobject_cast<QFileDialog *>(modal);
            ASSERT_NE(browser, nullptr);
            browser->selectFile(path);
            static_cast<QDialog *>(browser)->accept(); // the file dialog checks the choice
        };
    };

    ModalAnswerer answerer;
    answerer.thenAnswer(choose(emulator));
    QTest::mouseClick(dialog.kgenloc->browseButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.kgenloc->text(), emulator);
    EXPECT_EQ(KGenLocation, emulator);

    dialog.FoldersChanged = false;
    answerer.thenAnswer(choose(roms));
    QTest::mouseClick(dialog.romloc->browseButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.romloc->text(), roms);
    EXPECT_EQ(RomFolder, roms);
    EXPECT_TRUE(dialog.FoldersChanged);
}

// A launch makes the snapshot folder the working folder: the browser still
// opens where a relative location points from the start folder.
TEST_F(LocationsDialogTest, TheBrowserOpensWhereARelativeLocationPointsFromTheStart)
{
    QTemporaryDir dir;
    const QString start = QFileInfo(dir.path()).canonicalFilePath();
    for (const char *folder : {"roms", "emu", "pix/roms", "pix/emu"})
        ASSERT_TRUE(QDir(start).mkpath(QString::fromLatin1(folder)));
    WorkingFolderGuard folderGuard;
    ASSERT_TRUE(QDir::setCurrent(start));
    NoteStartFolder();
    ASSERT_TRUE(QDir::setCurrent(start + "/pix"));
    dialog.romloc->setText("roms");
    dialog.kgenloc->setText("emu/kgen");

    QStringList opened;
    ModalAnswerer answerer;
    const auto note = [&](QWidget *modal) {
        auto *browser = qobject_cast<QFileDialog *>(modal);
        ASSERT_NE(browser, nullptr);
        opened << browser->directory().absolutePath();
        browser->reject();
    };
    answerer.thenAnswer(note);
    answerer.thenAnswer(note);
    QTest::mouseClick(dialog.romloc->browseButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.kgenloc->browseButton(), Qt::LeftButton);
    EXPECT_EQ(opened, (QStringList{start + "/roms", start + "/emu"}));
}

TEST_F(LocationsDialogTest, OkSavesAndRescansOnlyAfterAFolderChangedDuringThisShowing)
{
    // Changes made before the showing do not count.
    dialog.romloc->setText(QStringLiteral("/loaded"));
    showAndDo([&] {
        EXPECT_FALSE(dialog.FoldersChanged);
        ok();
    });
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(rebuilds, 0);

    showAndDo([&] {
        QTest::keyClicks(dialog.kgenloc->edit(), QStringLiteral("x"));
        QTest::keyClicks(dialog.geneloc->edit(), QStringLiteral("x"));
        QTest::keyClicks(dialog.pixloc->edit(), QStringLiteral("x"));
        ok();
    });
    EXPECT_EQ(saves, 2);
    EXPECT_EQ(rebuilds, 0);

    // Changed and restored still counts.
    showAndDo([&] {
        QTest::keyClicks(dialog.romloc->edit(), QStringLiteral("x"));
        QTest::keyClick(dialog.romloc->edit(), Qt::Key_Backspace);
        EXPECT_EQ(dialog.romloc->text(), QStringLiteral("/loaded"));
        ok();
    });
    EXPECT_EQ(saves, 3);
    EXPECT_EQ(rebuilds, 1);

    showAndDo([&] {
        QTest::keyClicks(dialog.cdromloc->edit(), QStringLiteral("/cd"));
        ok();
    });
    EXPECT_EQ(saves, 4);
    EXPECT_EQ(rebuilds, 2);
}

TEST_F(LocationsDialogTest, CancelNeitherSavesNorRescansButTheValuesStay)
{
    showAndDo([&] {
        QTest::keyClicks(dialog.romloc->edit(), QStringLiteral("/new roms"));
        QTest::keyClicks(dialog.kgenloc->edit(), QStringLiteral("/emu/kgen"));
        cancel();
    });
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(rebuilds, 0);
    EXPECT_EQ(dialog.romloc->text(), QStringLiteral("/new roms"));
    EXPECT_EQ(RomFolder, QStringLiteral("/new roms"));
    EXPECT_EQ(KGenLocation, QStringLiteral("/emu/kgen"));

    // The dialog closes only through its own buttons: Escape leaves it open.
    showAndDo([&] {
        QTest::keyClicks(dialog.cdromloc->edit(), QStringLiteral("/cd"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible());
        cancel();
    });
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(rebuilds, 0);
    EXPECT_EQ(CdRomFolder, QStringLiteral("/cd"));
}

TEST_F(LocationsDialogTest, AFailedSaveKeepsTheDialogOpenAndRescansNothing)
{
    failSave = true;
    showAndDo([&] {
        QTest::keyClicks(dialog.romloc->edit(), QStringLiteral("/roms"));
        EXPECT_THROW(dialog.butokClick(), RomdeckError);
        QCoreApplication::processEvents();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(RomFolder, QStringLiteral("/roms"));
        cancel();
    });
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(rebuilds, 0);
}

// The dialog wired to the real main window: the file and the list.
class LocationsDialogOnMainWindow : public MainWindowFixture
{
protected:
    void openLocations(const std::function<void()> &user)
    {
        ModalAnswerer answerer;
        answerer.thenAnswer([&](QWidget *) { user(); });
        QTest::mouseClick(form->butsetup, Qt::LeftButton);
        ASSERT_EQ(answerer.seen(), QStringList{QStringLiteral("TForm3")});
    }
};

TEST_F(LocationsDialogOnMainWindow, OkWritesTheFileAndRebuildsTheListWhenAFolderChanged)
{
    emulatorBesideProgram();
    touch(workDir.filePath(QStringLiteral("one.bin")));
    showActivated();
    ASSERT_EQ(form->windowTitle(), QStringLiteral("Romdeck - 1 ROMs"));
    form->LoadSettings();
    QTemporaryDir roms;
    touch(roms.filePath(QStringLiteral("two.bin")));
    touch(roms.filePath(QStringLiteral("three.smd")));

    openLocations([&] {
        locations->romloc->edit()->clear();
        QTest::keyClicks(locations->romloc->edit(), roms.path());
        QTest::mouseClick(locations->butok, Qt::LeftButton);
    });
    EXPECT_FALSE(locations->isVisible());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Romdeck - 2 ROMs"));
    EXPECT_TRUE(settingsBytes().startsWith("[General]\r\nroms=" + roms.path().toUtf8() + "\r\n"));

    // Only the snapshot folder changed: saved, not rescanned.
    touch(roms.filePath(QStringLiteral("four.bin")));
    openLocations([&] {
        QTest::keyClicks(locations->pixloc->edit(), QStringLiteral("/pix"));
        QTest::mouseClick(locations->butok, Qt::LeftButton);
    });
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Romdeck - 2 ROMs"));
    EXPECT_TRUE(settingsBytes().contains("\r\npix=" + workFolder.toUtf8() + "/pix\r\n"));

    // Cancel: nothing written, nothing scanned, the typed folder stays in effect.
    const QByteArray saved = settingsBytes();
    openLocations([&] {
        QTest::keyClick(locations->romloc->edit(), Qt::Key_End);
        QTest::keyClicks(locations->romloc->edit(), QStringLiteral("/more"));
        QTest::mouseClick(locations->butclose, Qt::LeftButton);
    });
    EXPECT_EQ(settingsBytes(), saved);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Romdeck - 2 ROMs"));
    EXPECT_EQ(RomFolder, roms.path() + QStringLiteral("/more"));

    // A refused save: the error, the dialog stays open, no rescan.
    openLocations([&] {
        locations->romloc->setText(roms.path());
        locations->cdromloc->setText(QStringLiteral("/cd\nrom"));
        try {
            locations->butokClick();
            ADD_FAILURE() << "the save did not fail";
        } catch (const RomdeckError &error) {
            EXPECT_EQ(std::string(error.what()), "Unable to write to " + settingsPath().toStdString());
        }
        QCoreApplication::processEvents();
        EXPECT_TRUE(locations->isVisible());
        QTest::mouseClick(locations->butclose, Qt::LeftButton);
    });
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Romdeck - 2 ROMs"));
    EXPECT_EQ(form->lstdir->count(), 2);
}

TEST_F(LocationsDialogOnMainWindow, SetupOpensTheDialogAgainWhileTheRescanOfOkRuns)
{
    emulatorBesideProgram();
    showActivated();
    QTemporaryDir roms;
    for (int i = 0; i < 200; ++i)
        touch(roms.filePath(QStringLiteral("r%1.bin").arg(i)));

    bool scanningWhenReopened = false;
    QTimer during;
    during.setInterval(0);
    QObject::connect(&during, &QTimer::timeout, [&] {
        if (form->isScanning() && form->lstdir->count() >= 5) {
            during.stop();
            QTest::mouseClick(form->butsetup, Qt::LeftButton);
        }
    });
    ModalAnswerer answerer;
    answerer.thenAnswer([&](QWidget *) {
        locations->romloc->setText(roms.path());
        QTest::mouseClick(locations->butok, Qt::LeftButton);
        during.start();
    });
    answerer.thenAnswer([&](QWidget *) {
        scanningWhenReopened = form->isScanning();
        QTest::mouseClick(locations->butclose, Qt::LeftButton);
    });
    QTest::mouseClick(form->butsetup, Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return !form->isScanning() && answerer.seen().size() == 2; }))
        << answerer.seen().join(u',').toStdString();

    EXPECT_TRUE(scanningWhenReopened);
    EXPECT_EQ(answerer.seen(), QStringList({QStringLiteral("TForm3"), QStringLiteral("TForm3")}));
    EXPECT_EQ(form->lstdir->count(), 200);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Romdeck - 200 ROMs"));
}

} // namespace
