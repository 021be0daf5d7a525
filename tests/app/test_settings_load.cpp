#include "support/main_window_fixture.h"

#include "support/byte_named_files.h"
#include "support/modal_answerer.h"

#include "platform/file_name_text.h"
#include "platform/start_folder.h"
#include "settings/settings_location.h"
#include "support/standin_emulator.h"

#include <QLineEdit>
#include <QScopeGuard>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using LoadSettingsTest = MainWindowFixture;

// Which of the two right-hand panels shows, and which switch button goes with it.
void ExpectOptionsPanelShowing(TForm1 *form, bool optionsShowing)
{
    EXPECT_EQ(form->panopt->isVisibleTo(form), optionsShowing);
    EXPECT_EQ(form->panpix->isVisibleTo(form), !optionsShowing);
    EXPECT_EQ(form->butpix->isVisibleTo(form), optionsShowing);
    EXPECT_EQ(form->butoptions->isVisibleTo(form), !optionsShowing);
}

TEST_F(LoadSettingsTest, NoFileGivesDefaultsAndOpensTheLocationsDialog)
{
    DefaultOptions = OptionSet{1, 4, 3, true, QStringLiteral("stale")};
    form->butpixClick();
    ModalAnswerer answerer;
    QString romlocWhileShown;
    answerer.thenAnswer([&](QWidget *modal) {
        // The dialog comes last, over the loaded values.
        romlocWhileShown = locations->romloc->text();
        EXPECT_EQ(DefaultOptions, OptionSet{});
        modal->close();
    });

    form->LoadSettings();

    EXPECT_EQ(answerer.seen(), QStringList{QStringLiteral("TForm3")});
    EXPECT_EQ(romlocWhileShown, workFolder);
    EXPECT_EQ(locations->romloc->text(), workFolder);
    EXPECT_EQ(RomFolder, workFolder);
    EXPECT_EQ(locations->pixloc->text(), workFolder);
    EXPECT_EQ(PixFolder, workFolder);
    EXPECT_EQ(locations->cdromloc->text(), QString());
    EXPECT_EQ(CdRomFolder, QString());
    EXPECT_EQ(locations->kgenloc->text(), QString());
    EXPECT_EQ(locations->geneloc->text(), QString());
    ExpectOptionsPanelShowing(form, true);
    EXPECT_EQ(DefaultOptions, (OptionSet{0, 1, 0, false, QString()}));
    // Loading writes nothing.
    EXPECT_FALSE(QFileInfo::exists(settingsPath()));
}

TEST_F(LoadSettingsTest, AnEmulatorBesideTheProgramKeepsTheDialogClosed)
{
    ModalAnswerer answerer;
    const QString kgen = emulatorBesideProgram("kgen.exe");
    form->LoadSettings();
    EXPECT_EQ(locations->kgenloc->text(), kgen);
    EXPECT_EQ(KGenLocation, kgen);
    EXPECT_EQ(locations->geneloc->text(), QString());

    ASSERT_TRUE(QFile::remove(kgen));
    const QString genecyst = emulatorBesideProgram("genecyst.exe");
    form->LoadSettings();
    EXPECT_EQ(locations->kgenloc->text(), QString());
    EXPECT_EQ(KGenLocation, QString());
    EXPECT_EQ(locations->geneloc->text(), genecyst);
    EXPECT_EQ(GenecystLocation, genecyst);
    EXPECT_TRUE(answerer.seen().isEmpty()) << answerer.seen().join(u',').toStdString();
}

TEST_F(LoadSettingsTest, AFirstStartOffersTheInstalledEmulatorsAdapterUnlessOneLiesBesideTheProgram)
{
    // An install in programDir, BlastEm in PATH and its adapter where the install keeps it.
    ProgramFolder = programDir.filePath(QStringLiteral("bin"));
    const QString adapter = InstalledAdapterFolder(ProgramFolder) + QStringLiteral("/romdeck-blastem");
    ASSERT_TRUE(QDir().mkpath(ProgramFolder) && QDir().mkpath(InstalledAdapterFolder(ProgramFolder)));
    WriteStandIn(adapter);
    WriteStandIn(programDir.filePath(QStringLiteral("blastem")));
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(programDir.path()));
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", savedPath); });
    ModalAnswerer answerer;
    form->LoadSettings();
    EXPECT_EQ(answerer.seen(), QStringList{QStringLiteral("TForm3")});
    EXPECT_EQ(locations->kgenloc->text(), adapter);
    EXPECT_EQ(GenecystLocation, adapter); // Mednafen has no adapter here

    const QString kgen = touch(ProgramFolder + QStringLiteral("/kgen.exe"));
    form->LoadSettings();
    EXPECT_EQ(KGenLocation, kgen);
    EXPECT_EQ(answerer.seen().size(), 1);
}

TEST_F(LoadSettingsTest, MissingLocationsAreRepaired)
{
    QTemporaryDir roms;
    QTemporaryDir elsewhere;
    const QString genecyst = touch(elsewhere.filePath(QStringLiteral("gens")));
    const QString kgenBeside = emulatorBesideProgram("kgen.exe");
    putSettings("[General]\r\n"
                "roms=" +
                roms.path().toUtf8() +
                "\r\n"
                "pix=" +
                programDir.filePath(QStringLiteral("deleted-pix")).toUtf8() +
                "\r\n"
                "kgenloc=" +
                elsewhere.filePath(QStringLiteral("deleted/kgen98.exe")).toUtf8() +
                "\r\n"
                "geneloc=" +
                genecyst.toUtf8() +
                "\r\n"
                "cdrom=/no/such/cd\r\n"
                "optshowing=0\r\n"
                "[Default]\r\n"
                "usekgen=0x1\r\nfskip=abc\r\ncountry=3\r\ndissound=1\r\nextracmdline=  -x \"y\"  \r\n");
    ModalAnswerer answerer;
    form->LoadSettings();

    EXPECT_EQ(locations->romloc->text(), roms.path());
    EXPECT_EQ(RomFolder, roms.path());
    // A missing snapshot folder becomes the ROM folder, not the working folder.
    EXPECT_EQ(locations->pixloc->text(), roms.path());
    EXPECT_EQ(PixFolder, roms.path());
    EXPECT_EQ(locations->kgenloc->text(), kgenBeside);
    EXPECT_EQ(KGenLocation, kgenBeside);
    EXPECT_EQ(locations->geneloc->text(), genecyst);
    EXPECT_EQ(GenecystLocation, genecyst);
    // The CD-ROM folder is the scan's to check.
    EXPECT_EQ(locations->cdromloc->text(), QStringLiteral("/no/such/cd"));
    EXPECT_EQ(CdRomFolder, QStringLiteral("/no/such/cd"));
    ExpectOptionsPanelShowing(form, false);
    EXPECT_EQ(DefaultOptions, (OptionSet{1, 1, 3, true, QStringLiteral("-x \"y\"")}));
    EXPECT_TRUE(answerer.seen().isEmpty());

    // A ROM "folder" that is a file, and emulators that are folders, count as missing.
    putSettings("[General]\r\nroms=" + genecyst.toUtf8() + "\r\nkgenloc=" + roms.path().toUtf8() +
                "\r\ngeneloc=" + roms.path().toUtf8() + "\r\noptshowing=1\r\n");
    form->LoadSettings();
    EXPECT_EQ(locations->romloc->text(), workFolder);
    EXPECT_EQ(locations->pixloc->text(), workFolder);
    EXPECT_EQ(locations->kgenloc->text(), kgenBeside);
    EXPECT_EQ(locations->geneloc->text(), QString());
    EXPECT_EQ(GenecystLocation, QString());
    ExpectOptionsPanelShowing(form, true);
}

// Names are bytes. A start folder whose name is no valid UTF-8 is the ROM
// folder of a first start, and lists its ROMs; locations holding such names
// load as themselves (the edits show U+FFFD for the bytes) and go back into
// the file byte for byte; what the user types is saved as typed.
TEST_F(LoadSettingsTest, LocationsThatAreNoValidTextKeepTheirBytes)
{
    const QByteArray start = QFile::encodeName(workFolder) + "/start\xE9";
    const QByteArray emulator = start + "/kgen\xFF";
    ASSERT_EQ(::mkdir(start.constData(), 0755), 0);
    const auto removeStart = qScopeGuard([&] { ::rmdir(start.constData()); });
    ByteNamedFiles files;
    ASSERT_TRUE(files.create(start + "/game.bin"));
    ASSERT_TRUE(files.create(emulator));

    ASSERT_EQ(::chdir(start.constData()), 0);
    NoteStartFolder();
    ModalAnswerer answerer;
    form->LoadSettings();
    EXPECT_EQ(answerer.seen(), QStringList{QStringLiteral("TForm3")}) << "no emulator yet";
    EXPECT_EQ(FileNameBytes(RomFolder), start);
    EXPECT_EQ(FileNameBytes(locations->romloc->text()), start);
    EXPECT_EQ(locations->romloc->edit()->text(), QFile::decodeName(start));
    form->RebuildList();
    EXPECT_EQ(form->lstdir->count(), 1);

    putSettings("[General]\r\nroms=" + start + "\r\npix=" + start + "\r\nkgenloc=" + emulator +
                "\r\ngeneloc=\r\ncdrom=/cd\xFE\r\noptshowing=1\r\n");
    form->LoadSettings();
    EXPECT_EQ(answerer.seen().size(), 1) << "the emulator is found";
    EXPECT_EQ(FileNameBytes(KGenLocation), emulator);
    EXPECT_EQ(locations->kgenloc->edit()->text(), QFile::decodeName(emulator));
    form->SaveSettings();
    const QByteArray saved = settingsBytes();
    for (const QByteArray &line : {"roms=" + start, "pix=" + start, "kgenloc=" + emulator, QByteArray("cdrom=/cd\xFE")})
        EXPECT_TRUE(saved.contains(line + "\r\n")) << line.toStdString() << " in\n" << saved.toStdString();

    locations->cdromloc->edit()->setText(QStringLiteral("/typed \u00E9"));
    EXPECT_EQ(CdRomFolder, QStringLiteral("/typed \u00E9"));
    form->SaveSettings();
    EXPECT_TRUE(settingsBytes().contains("\r\ncdrom=/typed \xC3\xA9\r\n")) << settingsBytes().toStdString();
}

// A literal's bytes, NUL bytes included.
template <std::size_t N>
QByteArray Raw(const char (&bytes)[N])
{
    return QByteArray(bytes, N - 1);
}

struct GarbageCase
{
    const char *name;
    QByteArray bytes;
    bool optshowing;
    OptionSet defaults;
    bool romsLoaded; // roms= names the test's ROM folder
};

TEST_F(LoadSettingsTest, DamagedFilesLoadWithDefaultsWhereValuesDoNotConvert)
{
    QTemporaryDir roms;
    const QByteArray romsLine = "roms=" + roms.path().toUtf8();
    const QByteArray longX(100000, 'x');
    const QByteArray longY(100000, 'y');
    const auto utf16 = [](const QString &text, bool littleEndian) {
        QByteArray out = littleEndian ? QByteArray("\xff\xfe") : QByteArray("\xfe\xff");
        for (QChar ch : text) {
            const char low = char(ch.unicode() & 0xff);
            const char high = char(ch.unicode() >> 8);
            out.append(littleEndian ? low : high).append(littleEndian ? high : low);
        }
        return out;
    };
    const QString utf16Text = QStringLiteral("[General]\r\noptshowing=0\r\n[Default]\r\nfskip=3\r\n");
    const OptionSet fresh{0, 1, 0, false, QString()};

    const std::vector<GarbageCase> cases = {
        {"binary bytes and NUL",
         Raw("\x00\x01\x02\xff\xfe\x80\x1agarbage\x00\n") + "[General]\n" + romsLine + "\n" +
             Raw("optshowing=\x00"
                 "0\n") +
             "[Default]\r" + "usekgen=\x01\n" + Raw("fskip=3\x00 4\n") + "country=\xff\xfe\n" +
             Raw("extracmdline=ab\x00"
                 "cd\n") +
             "dissound=\x80\n",
         true, OptionSet{0, 3, 0, false, QStringLiteral("ab")}, true},
        {"100,000-byte lines, no final line end",
         "[General]\r\n" + longX + "\r\n" + romsLine + "\r\n[" + longX + "]\r\noptshowing=1\r\n" +
             "[Default]\r\nextracmdline=" + longY + "\r\n" + longX + "=1\r\nfskip=3",
         true, OptionSet{0, 3, 0, false, QString::fromLatin1(longY.left(1023))}, true},
        {"no final line end", "[General]\r\noptshowing=0", false, fresh, false},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF[General]\r\noptshowing=0\r\n[Default]\r\ncountry=2\r\n", false,
         OptionSet{0, 1, 2, false, QString()}, false},
        {"UTF-16 little-endian", utf16(utf16Text, true), true, fresh, false},
        {"UTF-16 big-endian", utf16(utf16Text, false), true, fresh, false},
        {"CR line ends only", "[General]\r" + romsLine + "\roptshowing=0\r[Default]\rfskip=2\rdissound=7\r", false,
         OptionSet{0, 2, 0, true, QString()}, true},
        {"empty file", QByteArray(), true, fresh, false},
        {"only line ends", "\r\n\n\r\r\n", true, fresh, false},
    };

    emulatorBesideProgram();
    for (const GarbageCase &test : cases) {
        SCOPED_TRACE(test.name);
        putSettings(test.bytes);
        DefaultOptions = OptionSet{1, 4, 3, true, QStringLiteral("stale")};
        form->LoadSettings();
        ExpectOptionsPanelShowing(form, test.optshowing);
        EXPECT_EQ(DefaultOptions, test.defaults);
        EXPECT_EQ(locations->romloc->text(), test.romsLoaded ? roms.path() : workFolder);

        // A save into the damaged file reads back as written.
        form->SaveSettings();
        const QByteArray saved = settingsBytes();
        form->LoadSettings();
        EXPECT_EQ(DefaultOptions, test.defaults);
        EXPECT_EQ(locations->romloc->text(), test.romsLoaded ? roms.path() : workFolder);
        ExpectOptionsPanelShowing(form, test.optshowing);
        EXPECT_EQ(settingsBytes(), saved);
    }
}

} // namespace
