#include "app/main_rom_list.h"
#include "app/options_panel.h"
#include "app/program_windows.h"
#include "platform/errors.h"
#include "settings/program_values.h"
#include "support/byte_named_files.h"
#include "support/latency_share.h"
#include "support/main_window_fixture.h"
#include "support/program_values_fixture.h"
#include "support/rom_images.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <dirent.h>
#include <memory>
#include <mutex>
#include <random>
#include <thread>

using namespace rom_images;

namespace {

// Names in the order the file system hands them out, as the scan sees them.
QList<QByteArray> ReaddirOrder(const QString &folder)
{
    QList<QByteArray> names;
    DIR *dir = opendir(QFile::encodeName(folder).constData());
    while (const dirent *entry = dir ? readdir(dir) : nullptr)
        names << QByteArray(entry->d_name);
    if (dir)
        closedir(dir);
    return names;
}

// The scan's reader with the reads ending out of the folder's order: each ROM
// is read after a pause of its own (0 to 2 ms, from a fixed seed), and the
// first read of `held` waits until `overtakers` other reads have ended, or
// with none given until release(). The state is shared with the reader, which
// the worker threads of an abandoned scan may still run after a test.
class ReadsOutOfOrder
{
public:
    ReadsOutOfOrder(QByteArray held, int overtakers) : state_(std::make_shared<State>())
    {
        state_->held = std::move(held);
        state_->overtakers = overtakers;
    }
    ~ReadsOutOfOrder() { release(); }

    // Fails the read of `name` with "File access denied", as the system would.
    void failing(const QByteArray &name) { state_->failing = name; }

    RomFileReader reader() const
    {
        return [state = state_](const QByteArray &path, RomFileKind kind) {
            const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
            std::unique_lock lock(state->mutex);
            if (name == state->held && !state->holding) {
                state->holding = true;
                state->timedOut = !state->changed.wait_for(lock, std::chrono::seconds(60), [&] {
                    return state->released || (state->overtakers > 0 && state->ended.size() >= state->overtakers);
                });
            } else {
                const auto pause = std::chrono::microseconds(state->pauses(state->random));
                lock.unlock();
                std::this_thread::sleep_for(pause);
                lock.lock();
            }
            state->ended << name;
            state->changed.notify_all();
            if (name == state->failing)
                throw IoError(5, path);
            lock.unlock();
            return ReadRomFile(path, kind);
        };
    }

    void release()
    {
        std::lock_guard lock(state_->mutex);
        state_->released = true;
        state_->changed.notify_all();
    }
    bool holding() const
    {
        std::lock_guard lock(state_->mutex);
        return state_->holding && !state_->released;
    }
    bool timedOut() const
    {
        std::lock_guard lock(state_->mutex);
        return state_->timedOut;
    }
    // The names whose reads have ended, in that order: a copy of its own, since
    // a reader may append to the list while the copy is read, and a list that
    // looks unshared is changed in place without a barrier.
    QList<QByteArray> ended() const
    {
        std::lock_guard lock(state_->mutex);
        QList<QByteArray> copy = state_->ended;
        copy.detach();
        return copy;
    }

private:
    struct State
    {
        std::mutex mutex;
        std::condition_variable changed;
        QByteArray held;
        QByteArray failing;
        qsizetype overtakers = 0;
        bool holding = false;
        bool released = false;
        bool timedOut = false;
        QList<QByteArray> ended;
        std::mt19937 random{18};
        std::uniform_int_distribution<int> pauses{0, 2000};
    };
    std::shared_ptr<State> state_;
};

class Scan : public ProgramValuesFixture
{
protected:
    void SetUp() override
    {
        ProgramValuesFixture::SetUp();
        ASSERT_TRUE(root_.isValid());
        ProgramFolder = folder("program");
        RomFolder = folder("roms");
        PixFolder = RomFolder;
        windows_ = std::make_unique<ProgramWindows>();
    }

    QString folder(const QString &name)
    {
        EXPECT_TRUE(QDir(root_.path()).mkpath(name));
        return root_.filePath(name);
    }

    TForm1 &form() { return *windows_->Form1; }

    QStringList texts()
    {
        QStringList all;
        for (int row = 0; row < form().lstdir->count(); ++row)
            all << form().lstdir->item(row).text;
        return all;
    }

    rom_info info(int row)
    {
        rom_info record;
        form().lstdir->item(row).object.getrominfo(record);
        return record;
    }

    // n plain ROMs named and titled after their number.
    void writeNumberedRoms(const QString &in, int n, const char *prefix = "GAME")
    {
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(WritePlainRom(in + QStringLiteral("/r%1.bin").arg(i), prefix + QByteArray::number(1000 + i)));
    }

    // The names of the numbered ROMs among the names.
    static QList<QByteArray> romsOf(const QList<QByteArray> &names)
    {
        QList<QByteArray> roms;
        std::copy_if(names.begin(), names.end(), std::back_inserter(roms),
                     [](const QByteArray &name) { return name.endsWith(".bin"); });
        return roms;
    }

    // Their titles (see writeNumberedRoms), in the same order.
    static QStringList titlesOf(const QList<QByteArray> &names)
    {
        QStringList titles;
        for (const QByteArray &name : romsOf(names))
            titles << "GAME" + QString::number(1000 + name.mid(1, name.size() - 5).toInt());
        return titles;
    }

    // Checks at every turn of the event loop during the next scan that the
    // list holds exactly the first ROMs of `titles` (those of the folder's
    // order), and that the caption counts them: all of them while the scan
    // waits for the next entry, all but the one just added right after an
    // addition. Returns the number of turns that broke the rule.
    std::shared_ptr<int> watchTurns(QTimer &during, const QStringList &titles)
    {
        auto wrong = std::make_shared<int>(0);
        during.setInterval(0);
        QObject::connect(&during, &QTimer::timeout, [this, wrong, titles] {
            if (!form().isScanning())
                return;
            const int count = form().lstdir->count();
            QStringList first = titles.mid(0, count);
            std::sort(first.begin(), first.end());
            const QString caption = form().windowTitle();
            // Before the first entry's count, the caption is the window's own.
            *wrong += texts() != first ||
                (caption != QStringLiteral("Romdeck - %1 ROMs").arg(count) &&
                 caption != QStringLiteral("Romdeck - %1 ROMs").arg(count - 1) && !(count <= 1 && caption == "Romdeck"));
        });
        during.start();
        return wrong;
    }

    QTemporaryDir root_;
    std::unique_ptr<ProgramWindows> windows_;
};

} // namespace

TEST_F(Scan, ListsAcceptedFilesSortedAndSelectsTheFirst)
{
    ASSERT_TRUE(WritePlainRom(RomFolder + "/a.BIN", "CHARLIE"));
    ASSERT_TRUE(WriteSmdRom(RomFolder + "/b.smd", "alpha"));
    ASSERT_TRUE(WritePlainRom(RomFolder + "/c.1", ""));
    ASSERT_TRUE(WritePlainRom(RomFolder + "/d.zip", "ZIP"));
    // e.binx counts as ".bin": its first title shows, not its second.
    ASSERT_TRUE(WriteFile(RomFolder + "/e.binx", Cartridge("Bravo", "SECOND")));
    ASSERT_TRUE(WriteFile(RomFolder + "/f.SMD",
                          SmdImage(Cartridge("FIRST",
                                             "\xC9"
                                             "cho"))));
    ASSERT_TRUE(QDir(RomFolder).mkpath("sub"));
    // The first entry's own option set is loaded when the scan selects it.
    ASSERT_TRUE(WriteFile(ProgramFolder + "/romdeck.ini", "[b.smd]\r\nusekgen=1\r\nextracmdline=-first\r\n"));

    form().RebuildList();

    EXPECT_EQ(texts(), QStringList({"alpha", "Bravo", "c.1", "CHARLIE", QStringLiteral(u"\u00C9cho")}));
    EXPECT_EQ(form().windowTitle(), "Romdeck - 5 ROMs");
    EXPECT_EQ(form().lstdir->itemIndex(), 0);
    EXPECT_FALSE(form().panopt->isDefaultDown());
    EXPECT_EQ(form().panopt->values().extracmdline, "-first");

    EXPECT_EQ(info(0).filename, QFile::encodeName(RomFolder + "/b.smd"));
    EXPECT_EQ(info(0).engname, "alpha");
    EXPECT_EQ(info(2).filename, QFile::encodeName(RomFolder + "/c.1"));
    EXPECT_TRUE(info(2).engname.isEmpty()); // the file-name fallback is not stored
    EXPECT_EQ(info(4).filename, QFile::encodeName(RomFolder + "/f.SMD"));
    EXPECT_EQ(info(4).engname,
              "\xC9"
              "cho"); // raw header bytes
}

TEST_F(Scan, CaptionCountsAndMissingFolders)
{
    // No directory entry at all: the caption keeps its text.
    RomFolder = root_.filePath("missing");
    form().RebuildList();
    EXPECT_EQ(form().windowTitle(), "Romdeck");
    EXPECT_EQ(form().lstdir->count(), 0);

    // An existing folder without ROMs counts 0 and selects nothing.
    RomFolder = folder("empty");
    ASSERT_TRUE(WriteFile(RomFolder + "/notes.txt", "x"));
    form().RebuildList();
    EXPECT_EQ(form().windowTitle(), "Romdeck - 0 ROMs");
    EXPECT_EQ(form().lstdir->itemIndex(), -1);

    // One ROM: no singular form. A missing CD-ROM folder is skipped silently.
    ASSERT_TRUE(WritePlainRom(RomFolder + "/one.bin", "ONE"));
    CdRomFolder = root_.filePath("no-cd");
    form().RebuildList();
    EXPECT_EQ(form().windowTitle(), "Romdeck - 1 ROMs");
    EXPECT_EQ(texts(), QStringList({"ONE"}));

    // The ROM folder gone again: the list empties, the caption stays.
    RomFolder = root_.filePath("missing");
    form().RebuildList();
    EXPECT_EQ(form().windowTitle(), "Romdeck - 1 ROMs");
    EXPECT_EQ(form().lstdir->count(), 0);

    // The CD-ROM folder alone still counts.
    CdRomFolder = folder("cd");
    writeNumberedRoms(CdRomFolder, 2, "CD");
    form().RebuildList();
    EXPECT_EQ(form().windowTitle(), "Romdeck - 2 ROMs");
    EXPECT_EQ(texts(), QStringList({"CD1000", "CD1001"}));

    // An empty ROM-folder text names no folder: the caption counts what the
    // CD-ROM folder gives, and 0 without one, never an earlier scan's count.
    RomFolder.clear();
    form().RebuildList();
    EXPECT_EQ(form().windowTitle(), "Romdeck - 2 ROMs");
    CdRomFolder.clear();
    form().RebuildList();
    EXPECT_EQ(form().windowTitle(), "Romdeck - 0 ROMs");
    EXPECT_EQ(form().lstdir->count(), 0);
    EXPECT_EQ(static_cast<QWidget &>(form()).windowTitle(), "Romdeck - 0 ROMs") << "on the screen too";
}

TEST_F(Scan, DuplicatesFromBothFoldersStandTogether)
{
    ASSERT_TRUE(WritePlainRom(RomFolder + "/m.bin", "MIDDLE"));
    ASSERT_TRUE(WritePlainRom(RomFolder + "/a.bin", "aaa"));
    ASSERT_TRUE(WriteSmdRom(RomFolder + "/z.smd", "ZZZ"));

    // The CD-ROM folder is the ROM folder: every file twice, nothing removed.
    CdRomFolder = RomFolder;
    form().RebuildList();
    EXPECT_EQ(texts(), QStringList({"aaa", "aaa", "MIDDLE", "MIDDLE", "ZZZ", "ZZZ"}));
    EXPECT_EQ(form().windowTitle(), "Romdeck - 6 ROMs");

    // The same game in another folder: the ROM folder's copy comes first.
    CdRomFolder = folder("cd");
    ASSERT_TRUE(WritePlainRom(CdRomFolder + "/copy.bin", "MIDDLE"));
    form().RebuildList();
    EXPECT_EQ(texts(), QStringList({"aaa", "MIDDLE", "MIDDLE", "ZZZ"}));
    EXPECT_EQ(info(1).filename, QFile::encodeName(RomFolder + "/m.bin"));
    EXPECT_EQ(info(2).filename, QFile::encodeName(CdRomFolder + "/copy.bin"));
}

TEST_F(Scan, UnreadableEntryEndsTheScanKeepingEarlierEntries)
{
    writeNumberedRoms(RomFolder, 30);
    ASSERT_TRUE(QDir(RomFolder).mkpath("x.bin"));
    CdRomFolder = folder("cd");
    writeNumberedRoms(CdRomFolder, 1, "CD");

    // What the scan must have listed before it came to the folder.
    QStringList before;
    bool anyEntryBefore = false;
    for (const QByteArray &name : ReaddirOrder(RomFolder)) {
        if (name == "x.bin")
            break;
        anyEntryBefore = true;
        if (name.endsWith(".bin"))
            before << "GAME" + QString::number(1000 + name.mid(1, name.size() - 5).toInt());
    }
    std::sort(before.begin(), before.end());

    form().setWindowTitle("Romdeck - old");
    try {
        form().RebuildList();
        ADD_FAILURE() << "the folder named x.bin was read";
    } catch (const IoError &error) {
        EXPECT_EQ(error.code(), 5);
        EXPECT_EQ(error.what(), "File access denied: " + (RomFolder + "/x.bin").toStdString());
    }
    EXPECT_EQ(texts(), before);
    const QString caption = anyEntryBefore ? QStringLiteral("Romdeck - %1 ROMs").arg(before.size()) : "Romdeck - old";
    EXPECT_EQ(form().windowTitle(), caption);
    EXPECT_EQ(static_cast<QWidget &>(form()).windowTitle(), caption) << "the screen shows it too";
    EXPECT_EQ(form().lstdir->itemIndex(), -1);
    EXPECT_FALSE(form().isScanning());

    // Once the folder is gone, the next rebuild lists everything.
    ASSERT_TRUE(QDir(RomFolder).rmdir("x.bin"));
    form().RebuildList();
    EXPECT_EQ(form().lstdir->count(), 31);
    EXPECT_EQ(form().lstdir->itemIndex(), 0);
}

TEST_F(Scan, ListsEveryKindOfFileName)
{
    const QList<QByteArray> names = {
        "Sonic the Hedgehog (World) [!].bin",
        "it's \"quoted\".bin",
        "  blanks  .bin",
        "-dash.smd",
        "back\\slash.1",
        "Ünïcödé ゲーム.bin",
        "line\nbreak.bin",
        "bytes \xFF\xFE not text \xE9.bin",
    };
    // Empty: each entry shows its file name.
    ByteNamedFiles created;
    for (const QByteArray &name : names)
        ASSERT_TRUE(created.create(QFile::encodeName(RomFolder) + '/' + name)) << name.constData();

    form().RebuildList();

    QStringList expected;
    for (const QByteArray &name : names)
        expected << QFile::decodeName(name);
    QStringList listed = texts();
    std::sort(expected.begin(), expected.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(form().windowTitle(), "Romdeck - 8 ROMs");
    // Every entry keeps the exact bytes of its path, text or not.
    QList<QByteArray> paths;
    for (int row = 0; row < form().lstdir->count(); ++row)
        paths << info(row).filename;
    QList<QByteArray> made = created.paths();
    std::sort(paths.begin(), paths.end());
    std::sort(made.begin(), made.end());
    EXPECT_EQ(paths, made);
}

TEST_F(Scan, ReloadDuringAScanStartsOverWithoutDuplicates)
{
    writeNumberedRoms(RomFolder, 40);
    int countWhenReloaded = -1;
    bool sawRestart = false;
    QTimer during;
    during.setInterval(0);
    QObject::connect(&during, &QTimer::timeout, [&] {
        const int count = form().lstdir->count();
        if (countWhenReloaded < 0 && count >= 5) {
            countWhenReloaded = count;
            form().butreloadClick();
        } else if (countWhenReloaded > 0 && count < countWhenReloaded) {
            sawRestart = true;
        }
    });
    during.start();
    form().RebuildList();
    during.stop();

    EXPECT_GE(countWhenReloaded, 5);
    EXPECT_TRUE(sawRestart);
    QStringList expected;
    for (int i = 0; i < 40; ++i)
        expected << "GAME" + QString::number(1000 + i);
    EXPECT_EQ(texts(), expected);
    EXPECT_EQ(form().windowTitle(), "Romdeck - 40 ROMs");
    EXPECT_EQ(form().lstdir->itemIndex(), 0);
    EXPECT_FALSE(form().isScanning());
}

TEST_F(Scan, ReloadDuringAScanTakesUpChangedFolders)
{
    writeNumberedRoms(RomFolder, 20, "OLD");
    const QString newFolder = folder("new");
    writeNumberedRoms(newFolder, 3, "NEW");
    int reloads = 0;
    QTimer during;
    during.setInterval(0);
    QObject::connect(&during, &QTimer::timeout, [&] {
        // Two requests during one scan still give one clean restart.
        if (reloads == 0 && form().lstdir->count() >= 4) {
            RomFolder = newFolder;
            form().RebuildList();
            form().RebuildList();
            reloads = 2;
        }
    });
    during.start();
    form().RebuildList();
    during.stop();

    EXPECT_EQ(reloads, 2);
    EXPECT_EQ(texts(), QStringList({"NEW1000", "NEW1001", "NEW1002"}));
    EXPECT_EQ(form().windowTitle(), "Romdeck - 3 ROMs");
}

TEST_F(Scan, CaptionReadsExactAtEveryTurnAndReachesTheScreenAtAPace)
{
    writeNumberedRoms(RomFolder, 300);
    // Every change that reaches the window system.
    struct Pushes : QObject
    {
        int count = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            count += event->type() == QEvent::WindowTitleChange;
            return false;
        }
    } pushes;
    form().installEventFilter(&pushes);
    int turns = 0;
    int wrong = 0;
    QTimer during;
    during.setInterval(0);
    QObject::connect(&during, &QTimer::timeout, [&] {
        const int count = form().lstdir->count();
        if (!form().isScanning() || count < 2)
            return;
        ++turns;
        // Right after an entry comes in, the caption counts the ones before
        // it; while the scan waits for the next entry's read, all of them.
        wrong += form().windowTitle() != QStringLiteral("Romdeck - %1 ROMs").arg(count - 1) &&
            form().windowTitle() != QStringLiteral("Romdeck - %1 ROMs").arg(count);
    });
    QElapsedTimer clock;
    clock.start();
    during.start();
    form().RebuildList();
    during.stop();

    EXPECT_GT(turns, 100);
    EXPECT_EQ(wrong, 0);
    EXPECT_LE(pushes.count, clock.elapsed() / RomListBox::kRepaintPauseMs + 2);
    EXPECT_EQ(static_cast<QWidget &>(form()).windowTitle(), "Romdeck - 300 ROMs");
}

TEST_F(Scan, ClosingTheWindowEndsTheScan)
{
    writeNumberedRoms(RomFolder, 40);
    int countWhenClosed = -1;
    QTimer during;
    during.setInterval(0);
    QObject::connect(&during, &QTimer::timeout, [&] {
        if (countWhenClosed < 0 && form().lstdir->count() >= 3) {
            countWhenClosed = form().lstdir->count();
            form().close();
        }
    });
    during.start();
    form().RebuildList();
    during.stop();

    ASSERT_GE(countWhenClosed, 3);
    EXPECT_EQ(form().lstdir->count(), countWhenClosed);
    EXPECT_FALSE(form().isScanning());
}

// The main window shown, its first activation done.
class ShownScan : public MainWindowFixture
{
};

// Whenever the shown list is painted during a scan, the caption on the screen
// counts the entries painted, or all but the one that has just come in.
TEST_F(ShownScan, CaptionOnTheScreenKeepsStepWithThePaintedList)
{
    showActivated();
    ASSERT_TRUE(QDir(workFolder).mkpath(QStringLiteral("roms")));
    RomFolder = workFolder + QStringLiteral("/roms");
    const int total = 1000;
    for (int i = 0; i < total; ++i)
        ASSERT_TRUE(WritePlainRom(RomFolder + QStringLiteral("/r%1.bin").arg(i), "GAME" + QByteArray::number(i)));
    struct Paints : QObject
    {
        TForm1 *form = nullptr;
        int seen = 0;
        QStringList apart;
        bool eventFilter(QObject *viewport, QEvent *event) override
        {
            if (event->type() != QEvent::Paint || !form->isScanning())
                return false;
            // The list paints first; then the caption is read as the paint leaves it.
            viewport->removeEventFilter(this);
            QCoreApplication::sendEvent(viewport, event);
            viewport->installEventFilter(this);
            ++seen;
            const int painted = form->lstdir->count();
            const QString shown = static_cast<QWidget *>(form)->windowTitle();
            if (shown != QStringLiteral("Romdeck - %1 ROMs").arg(painted) &&
                shown != QStringLiteral("Romdeck - %1 ROMs").arg(painted - 1))
                apart << QStringLiteral("%1 painted under \"%2\"").arg(painted).arg(shown);
            return true;
        }
    } paints;
    paints.form = form;
    form->lstdir->viewport()->installEventFilter(&paints);
    // Every turn of the event loop takes a while, as beside a busy disk, so
    // that the scan lasts many of the list's repaint pauses.
    QTimer slowTurns;
    slowTurns.setInterval(0);
    QObject::connect(&slowTurns, &QTimer::timeout, [] { QThread::usleep(500); });
    slowTurns.start();
    form->RebuildList();
    slowTurns.stop();

    EXPECT_GE(paints.seen, 5);
    EXPECT_TRUE(paints.apart.isEmpty()) << paints.apart.join(QStringLiteral(", ")).toStdString();
    EXPECT_EQ(static_cast<QWidget *>(form)->windowTitle(), QStringLiteral("Romdeck - %1 ROMs").arg(total));
}

TEST_F(Scan, ReadsEndingInAnyOrderAreListedAndCountedInTheFoldersOrder)
{
    writeNumberedRoms(RomFolder, 150);
    for (int i = 0; i < 15; ++i)
        ASSERT_TRUE(WriteFile(RomFolder + QStringLiteral("/notes%1.txt").arg(i), "not a ROM"));
    const QList<QByteArray> order = ReaddirOrder(RomFolder);
    const QStringList titles = titlesOf(order);
    const QByteArray firstRom = romsOf(order).first();
    // The folder's first ROM is read last but twenty.
    ReadsOutOfOrder reads(firstRom, 20);
    form().readRomFile = reads.reader();

    QTimer during;
    const std::shared_ptr<int> wrongTurns = watchTurns(during, titles);
    form().RebuildList();
    during.stop();

    EXPECT_FALSE(reads.timedOut());
    EXPECT_GE(reads.ended().indexOf(firstRom), 20) << "the reads ended in the folder's order";
    EXPECT_EQ(*wrongTurns, 0);
    QStringList sorted = titles;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(texts(), sorted);
    EXPECT_EQ(form().windowTitle(), "Romdeck - 150 ROMs");
    EXPECT_EQ(HeaderName, titles.last().toLatin1()) << "the last title the scan met";
    EXPECT_EQ(form().lstdir->itemIndex(), 0);
}

TEST_F(Scan, AnUnreadableFileEndsAnOutOfOrderScanWhereTheFoldersOrderMeetsIt)
{
    writeNumberedRoms(RomFolder, 60);
    const QList<QByteArray> order = ReaddirOrder(RomFolder);
    const QStringList titles = titlesOf(order);
    // The 30th ROM of the folder fails once forty other reads have ended:
    // at least eleven come after it, and must never show.
    const QByteArray failing = romsOf(order)[29];
    ReadsOutOfOrder reads(failing, 40);
    reads.failing(failing);
    form().readRomFile = reads.reader();

    QTimer during;
    const std::shared_ptr<int> wrongTurns = watchTurns(during, titles);
    try {
        form().RebuildList();
        ADD_FAILURE() << "the failing read was not shown";
    } catch (const IoError &error) {
        EXPECT_EQ(error.what(), "File access denied: " + (RomFolder + '/' + failing).toStdString());
    }
    during.stop();

    EXPECT_FALSE(reads.timedOut());
    EXPECT_EQ(*wrongTurns, 0);
    QStringList before = titles.mid(0, 29);
    std::sort(before.begin(), before.end());
    EXPECT_EQ(texts(), before);
    EXPECT_EQ(form().windowTitle(), "Romdeck - 29 ROMs");
    EXPECT_EQ(form().lstdir->itemIndex(), -1);
    EXPECT_FALSE(form().isScanning());
}

TEST_F(Scan, ReloadAndCloseWhileAReadHangsDropItsResult)
{
    writeNumberedRoms(RomFolder, 30);
    const QList<QByteArray> order = ReaddirOrder(RomFolder);
    const QStringList titles = titlesOf(order);
    const QList<QByteArray> roms = romsOf(order);

    for (const bool closing : {false, true}) {
        SCOPED_TRACE(closing ? "close" : "reload");
        windows_ = std::make_unique<ProgramWindows>();
        // The tenth ROM's first read hangs until released.
        ReadsOutOfOrder reads(roms[9], 0);
        form().readRomFile = reads.reader();
        bool commanded = false;
        bool reopenedWhileHung = false;
        QElapsedTimer sinceCommand;
        QTimer during;
        during.setInterval(0);
        QObject::connect(&during, &QTimer::timeout, [&] {
            // The reloaded scan has long come back to the hung file: it
            // waits for the earlier read instead of opening the file again.
            if (commanded && !closing && reads.holding() && sinceCommand.elapsed() > 300) {
                reopenedWhileHung = reads.ended().contains(roms[9]);
                reads.release();
            }
            // Once the scan waits on the hung read, with the nine before it listed.
            if (commanded || !reads.holding() || form().lstdir->count() < 9 ||
                form().windowTitle() != "Romdeck - 9 ROMs")
                return;
            commanded = true;
            sinceCommand.start();
            if (closing)
                form().close();
            else
                form().butreloadClick();
        });
        during.start();
        form().RebuildList();
        during.stop();

        ASSERT_TRUE(commanded);
        EXPECT_FALSE(reopenedWhileHung);
        EXPECT_EQ(reads.holding(), closing) << "the scan waited for the hung read";
        EXPECT_FALSE(form().isScanning());
        QStringList expected = closing ? titles.mid(0, 9) : titles;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(texts(), expected);
        // The hung read ends now: its result belongs to no scan (after the
        // reload, the second read of its file belongs to the second scan).
        reads.release();
        ASSERT_TRUE(WaitUntil([&] { return reads.ended().count(roms[9]) == (closing ? 1 : 2); }));
        QCoreApplication::processEvents();
        EXPECT_EQ(texts(), expected);
        EXPECT_EQ(form().windowTitle(), closing ? "Romdeck - 9 ROMs" : "Romdeck - 30 ROMs");
    }
}

// More entries than the scan lists ahead, and no timer of the test's own to
// turn the event loop: only the scan's own wake-ups end its waits, for a read
// held a while and for room to list on, within a deadline.
TEST_F(Scan, AFolderLargerThanTheReadAheadNeedsNoTimerOfItsOwn)
{
    writeNumberedRoms(RomFolder, 6000);
    ReadsOutOfOrder reads(romsOf(ReaddirOrder(RomFolder)).first(), 0);
    form().readRomFile = reads.reader();
    std::atomic<bool> done = false, rescued = false;
    std::thread watchdog([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        reads.release();
        for (int waited = 0; !done && waited < 60000; waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        // Past the deadline the window closes, which ends the scan.
        if ((rescued = !done))
            QMetaObject::invokeMethod(&form(), [this] { form().close(); }, Qt::QueuedConnection);
    });
    form().RebuildList();
    done = true;
    watchdog.join();
    EXPECT_FALSE(rescued) << "the scan missed a wake-up";
    EXPECT_EQ(form().windowTitle(), "Romdeck - 6000 ROMs");
}

TEST_F(Scan, AListingThatFailsMidwayEndsTheScanWithItsError)
{
    writeNumberedRoms(folder("backing/broken"), 20);
    QStringList before = titlesOf(ReaddirOrder(root_.filePath("backing/broken")).mid(0, 4));
    std::sort(before.begin(), before.end());
    LatencyShare share(root_.filePath("backing"), {"--latency-us", "0", "--failing-listing", "broken"});
    if (share.problem)
        GTEST_SKIP() << share.problem;
    RomFolder = share.mountPoint + "/broken";
    try {
        form().RebuildList();
        ADD_FAILURE() << "the failed listing went untold";
    } catch (const IoError &error) {
        EXPECT_EQ(error.what(), "I/O error 5: " + RomFolder.toStdString());
    }
    EXPECT_EQ(texts(), before);
    EXPECT_EQ(form().windowTitle(), QStringLiteral("Romdeck - %1 ROMs").arg(before.size()));
}
