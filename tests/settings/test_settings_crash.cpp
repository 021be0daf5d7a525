#include "platform/errors.h"
#include "settings/settings_layout.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray Contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<missing>");
}

// Two saves that differ in every value they write.
struct Save
{
    GeneralSettings general;
    OptionSet defaults;
    RomOptionSet rom;

    void to(const QString &file) const { WriteSettings(file, general, defaults, rom); }
};

const Save kSaves[2] = {
    {GeneralSettings{"/roms/a", "/cd/a", "/pix/a", "/kgen/a.exe", "/gene/a.exe", true}, OptionSet{0, 1, 0, false, "-a"},
     RomOptionSet{"Sonic 01000 (Europe).bin", OptionSet{1, 2, 1, true, "-rom a"}}},
    {GeneralSettings{"/roms/b", "/cd/b", "/pix/b", "/kgen/b.exe", "/gene/b.exe", false}, OptionSet{1, 4, 3, true, "-b"},
     RomOptionSet{"Sonic 01000 (Europe).bin", OptionSet{0, 3, 2, false, "-rom b"}}},
};

TEST(SettingsCrash, ASaveKilledAtAnyMomentLeavesTheOldSettingsOrTheNew)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("romdeck.ini"));
    // Two thousand ROM sections make a save long enough for kills to land in it.
    {
        QByteArray text;
        for (int i = 0; i < 2000; ++i)
            text += "[Sonic " + QByteArray::number(i).rightJustified(5, '0') +
                " (Europe).bin]\r\nusekgen=1\r\nfskip=2\r\ncountry=1\r\ndissound=0\r\nextracmdline=-x\r\n";
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text);
    }
    QElapsedTimer timer;
    timer.start();
    kSaves[1].to(file);
    const QByteArray second = Contents(file);
    kSaves[0].to(file);
    const QByteArray first = Contents(file);
    const qint64 saveMicroseconds = timer.nsecsElapsed() / 2000;

    std::mt19937 random(5);
    int killedWithinASave = 0;
    for (int round = 0; round < 300; ++round) {
        const pid_t saver = fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) {
            try {
                for (int i = 1;; ++i)
                    kSaves[i % 2].to(file);
            } catch (const RomdeckError &) {
                _exit(1);
            }
        }
        usleep(useconds_t(random() % (3 * saveMicroseconds + 1)));
        kill(saver, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(saver, &status, 0), saver);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saver failed on its own";

        const QByteArray now = Contents(file);
        ASSERT_TRUE(now == first || now == second) << "round " << round << ": a mix of two saves";
        const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        ASSERT_LE(left.size(), 2) << "round " << round << ": " << left.join(' ').toStdString();
        killedWithinASave += left.size() - 1;
    }
    EXPECT_GT(killedWithinASave, 0) << "no kill landed within a save; the test proves nothing";
    RecordProperty("kills_within_a_save", killedWithinASave);

    // The next save removes what the killed ones left.
    kSaves[0].to(file);
    kSaves[1].to(file);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("romdeck.ini")});
    EXPECT_EQ(Contents(file), second);
}

} // namespace
