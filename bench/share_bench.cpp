// A ROM collection on a network share, stood in for by the latency file
// system (bench/latency_fs: every request waits 1 ms, many served at once, the
// kernel caching nothing), mounted and unmounted by this program.
//
// The real program from start to filled list (its caption on the X server
// reads "Romdeck - N ROMs") for 2,000 and 10,000 ROMs, beside two floors timed
// the same way over the same mount in the same run: a process reading one file
// at a time, and one with 64 readers at once. Goal: at 10,000 ROMs within 2
// times the concurrent floor.
//
// And a selection change in the main list with the snapshot folder of 10,000
// pictures on the share (its listing cached, as in daily use), with the
// requests each costs. Goal: under 50 ms.
//
// And the picture picker over that folder (10,000 pictures and 40 folders):
// from the click on the pick button to the picker's first paint, and to its
// lists complete (folders and files listed, the first file previewed), beside
// the floor of a process that lists that folder once, timed the same way in
// the same run. Goals: on screen within 300 ms, lists complete within 2 times
// the floor. The windows are offscreen, in this process.
//
// bench/startup_measure.sh --share runs it under a virtual X server with openbox.
//
//   share_bench [--romdeck PATH] [--latency-fs PATH] [--latency-us N] [benchmark options]
//   share_bench --serial-floor DIR          the serial floor's process
//   share_bench --concurrent-floor DIR N    the concurrent floor's process, N readers
//   share_bench --listing-floor DIR         the picker's floor: lists the folder once

#include "fastest_runs.h"
#include "program_timing.h"
#include "rom_collection.h"

#include "app/main_rom_list.h"
#include "app/program_windows.h"
#include "dialogs/picture_picker.h"
#include "preview/file_browse_controls.h"
#include "settings/program_values.h"
#include "support/pcx_files.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <map>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kFloorReaders = 64;
constexpr int kPictures = 10000;
constexpr int kRomsListed = 10000;
constexpr int kPictureSubFolders = 40;

QString RomdeckProgram;
QString LatencyFs;
QString ThisProgram;
QString LatencyUs = QStringLiteral("1000");

// The latency file system over a backing folder, mounted for as long as the
// object lives.
class LatencyMount
{
public:
    explicit LatencyMount(const QString &backing) : path_(place_.filePath(QStringLiteral("share")))
    {
        if (!QDir(place_.path()).mkdir(QStringLiteral("share")))
            fail("cannot make the mount point");
        server_ = Start(LatencyFs, {backing, path_, QStringLiteral("--latency-us"), LatencyUs, QStringLiteral("-f")},
                        place_.path());
        struct stat parent {};
        stat(QFile::encodeName(place_.path()).constData(), &parent);
        for (int waited = 0;; waited += 10) {
            struct stat mount {};
            if (stat(QFile::encodeName(path_).constData(), &mount) == 0 && mount.st_dev != parent.st_dev)
                break;
            if (waited > 20000)
                fail("the latency file system did not mount (is /dev/fuse usable?)");
            QThread::msleep(10);
        }
    }
    ~LatencyMount()
    {
        const pid_t unmount = Start(QStringLiteral("/usr/bin/fusermount3"), {QStringLiteral("-u"), path_}, place_.path());
        if (unmount > 0)
            waitpid(unmount, nullptr, 0);
        waitpid(server_, nullptr, 0);
    }

    const QString &path() const { return path_; }

    // Requests served so far, all kinds together.
    long served() const
    {
        QFile stats(path_ + QStringLiteral("/.latency-fs-stats"));
        if (!stats.open(QIODevice::ReadOnly))
            return -1;
        long total = 0;
        for (const QByteArray &line : stats.readAll().split('\n')) {
            if (!line.startsWith("slow"))
                total += line.mid(line.lastIndexOf(' ') + 1).toLong();
        }
        return total;
    }

private:
    [[noreturn]] static void fail(const char *why)
    {
        std::fprintf(stderr, "%s\n", why);
        std::exit(1);
    }

    QTemporaryDir place_;
    QString path_;
    pid_t server_ = -1;
};

// One collection per size on a mount of its own, with the program installed
// beside it on the local disk. Made at first use, gone at the end of main.
struct Share
{
    QTemporaryDir backing;
    QTemporaryDir program;
    std::unique_ptr<LatencyMount> mount;
};
std::map<int, std::unique_ptr<Share>> Shares;

const Share &ShareOf(int count)
{
    auto &share = Shares[count];
    if (share)
        return *share;
    share = std::make_unique<Share>();
    if (!share->backing.isValid() || !share->program.isValid() || !WriteCollection(share->backing.path(), count)) {
        std::fprintf(stderr, "cannot write %d ROMs\n", count);
        std::exit(1);
    }
    share->mount = std::make_unique<LatencyMount>(share->backing.path());
    if (!InstallProgram(RomdeckProgram, share->program.path(), share->mount->path())) {
        std::fprintf(stderr, "cannot install the program in %s\n", qPrintable(share->program.path()));
        std::exit(1);
    }
    return *share;
}

void BM_SerialFloor(benchmark::State &state)
{
    const Share &share = ShareOf(static_cast<int>(state.range(0)));
    TimeToEnd(state, ThisProgram, {QStringLiteral("--serial-floor"), share.mount->path()}, share.program.path());
}

void BM_ConcurrentFloor(benchmark::State &state)
{
    const Share &share = ShareOf(static_cast<int>(state.range(0)));
    TimeToEnd(state, ThisProgram,
              {QStringLiteral("--concurrent-floor"), share.mount->path(), QString::number(kFloorReaders)},
              share.program.path());
}

void BM_StartToFilledList(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    const Share &share = ShareOf(count);
    TimeUntilTitle(state, QDir(share.program.path()).filePath(QStringLiteral("romdeck")), {}, share.program.path(),
                   "Romdeck - " + QByteArray::number(count) + " ROMs");
    state.counters["roms"] = count;
}

// A 320 x 224 snapshot in 256 colours.
QByteArray SnapshotPicture()
{
    pcx_files::Layout layout;
    layout.width = 320;
    layout.height = 224;
    QByteArray lines(qsizetype(layout.lineBytes()) * layout.height, '\0');
    for (qsizetype i = 0; i < lines.size(); ++i)
        lines[i] = char((i / 5) & 0x3F);
    return pcx_files::File(layout, lines, false, QByteArray(768, '\x40'));
}

// The main list over 10,000 ROMs, every tenth with a picture in a snapshot
// folder of 10,000 pictures and 40 folders on the share.
struct PictureShare
{
    PictureShare()
    {
        for (int i = 0; i < kPictureSubFolders; ++i)
            QDir(pictures.path()).mkdir(QStringLiteral("folder%1").arg(i));
        const QByteArray picture = SnapshotPicture();
        for (int i = 0; i < kPictures; ++i) {
            QFile file(pictures.filePath(QStringLiteral("game%1.pcx").arg(i * 10)));
            if (!file.open(QIODevice::WriteOnly) || file.write(picture) != picture.size()) {
                std::fprintf(stderr, "cannot write the pictures\n");
                std::exit(1);
            }
        }
        QImage(303, 231, QImage::Format_RGB32).save(program.filePath(QStringLiteral("romdeck.bmp")), "BMP");
        mount = std::make_unique<LatencyMount>(pictures.path());
        ProgramFolder = program.path();
        PixFolder = mount->path();
        windows = std::make_unique<ProgramWindows>();
        TForm1 &form = *windows->Form1;
        for (int i = 0; i < kRomsListed; ++i) {
            romobj object;
            object.putrominfo(rom_info{"/roms/game" + QByteArray::number(i) + ".bin", QByteArray()});
            form.lstdir->addItem(QStringLiteral("GAME %1").arg(i, 5, 10, QLatin1Char('0')), object);
        }
        form.butpixClick();
        // Past the folder's settling time, so that its listing is kept.
        QThread::msleep(2100);
    }

    QTemporaryDir pictures;
    QTemporaryDir program;
    std::unique_ptr<LatencyMount> mount;
    std::unique_ptr<ProgramWindows> windows;
};

std::unique_ptr<PictureShare> Pictures; // made at first use, gone at the end of main

PictureShare &PicturesOnShare()
{
    if (!Pictures)
        Pictures = std::make_unique<PictureShare>();
    return *Pictures;
}

// A selection of a ROM with a picture and one without, in turn; the first,
// which lists the folder, outside the timing.
void BM_SelectionOnShare(benchmark::State &state)
{
    TForm1 &form = *PicturesOnShare().windows->Form1;
    form.lstdir->setItemIndex(1);
    form.lstdirClick();
    const long before = Pictures->mount->served();
    int step = 0;
    for (auto _ : state) {
        // Row 100 k is a ROM with a picture, row 100 k + 5 one without.
        form.lstdir->setItemIndex(100 * (step % 90) + (step % 2 ? 5 : 0));
        ++step;
        form.lstdirClick();
        benchmark::DoNotOptimize(form.pix->grab());
    }
    state.counters["requests"] = double(Pictures->mount->served() - before) / double(state.iterations());
}

// The first paint of any of the picker's widgets.
struct FirstPaint : QObject
{
    QWidget *window = nullptr;
    QElapsedTimer *clock = nullptr;
    qint64 at = -1;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (at < 0 && event->type() == QEvent::Paint && widget && widget->window() == window)
            at = clock->nsecsElapsed();
        return false;
    }
};

// The pick button of a ROM without a picture, until the picker has listed
// the snapshot folder; it then closes.
void BM_PickerOnShare(benchmark::State &state)
{
    PictureShare &share = PicturesOnShare();
    TForm1 &form = *share.windows->Form1;
    auto *picker = qobject_cast<TFormpickpix *>(share.windows->secondary.pickPix);
    form.lstdir->setItemIndex(5);
    form.lstdirClick();
    QElapsedTimer clock;
    FirstPaint paint;
    paint.window = picker;
    paint.clock = &clock;
    qApp->installEventFilter(&paint);
    qint64 listed = -1;
    // After the picker's own handler, which fills the lists and previews.
    const QMetaObject::Connection closing =
        QObject::connect(picker->DirectoryListBox1, &DirectoryListBox::listed, picker, [&] {
            listed = clock.nsecsElapsed();
            QTimer::singleShot(0, picker, &TFormpickpix::butcloseClick);
        });
    double shown = 0;
    for (auto _ : state) {
        paint.at = listed = -1;
        clock.start();
        form.butpickClick();
        if (listed < 0 || paint.at < 0) {
            state.SkipWithError("the picker did not list the folder");
            break;
        }
        state.SetIterationTime(double(listed) / 1e9);
        shown += double(paint.at) / 1e6;
    }
    QObject::disconnect(closing);
    qApp->removeEventFilter(&paint);
    state.counters["shown_ms"] = shown / double(std::max<benchmark::IterationCount>(1, state.iterations()));
}

void BM_ListingFloor(benchmark::State &state)
{
    const PictureShare &share = PicturesOnShare();
    TimeToEnd(state, ThisProgram, {QStringLiteral("--listing-floor"), share.mount->path()}, share.program.path());
}

// What any listing of the folder costs: its names and kinds, once.
int ListFolderBare(const char *folder)
{
    DIR *dir = opendir(folder);
    if (!dir)
        return 1;
    while (readdir(dir))
        ;
    closedir(dir);
    return 0;
}

void Sizes(benchmark::internal::Benchmark *bench)
{
    bench->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseManualTime();
}

// The serial floor takes tens of seconds at 10,000: once is enough.
BENCHMARK(BM_SerialFloor)->Apply(Sizes)->Iterations(1);
BENCHMARK(BM_ConcurrentFloor)->Apply(Sizes)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_StartToFilledList)->Apply(Sizes)->Iterations(1)->Repetitions(3);
BENCHMARK(BM_SelectionOnShare)->Unit(benchmark::kMillisecond)->Iterations(200)->Repetitions(3);
BENCHMARK(BM_ListingFloor)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5)->Repetitions(3);
BENCHMARK(BM_PickerOnShare)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5)->Repetitions(3);

void PrintSummary(const FastestRuns &runs)
{
    std::printf("\nfastest runs at %s us per request:\n", qPrintable(LatencyUs));
    for (const char *size : {"2000", "10000"}) {
        std::printf("  %5s ROMs: serial floor %8.0f ms   concurrent floor (%d readers) %7.0f ms   "
                    "start to filled list %7.0f ms\n",
                    size, runs.seconds(std::string("BM_SerialFloor/") + size) * 1e3, kFloorReaders,
                    runs.seconds(std::string("BM_ConcurrentFloor/") + size) * 1e3,
                    runs.seconds(std::string("BM_StartToFilledList/") + size) * 1e3);
    }
    const double floor = runs.seconds("BM_ConcurrentFloor/10000");
    const double scan = runs.seconds("BM_StartToFilledList/10000");
    if (floor > 0 && scan > 0)
        std::printf("10,000 ROMs, start to filled list / concurrent floor: %5.2f  (goal <= 2)   %s\n", scan / floor,
                    scan <= 2 * floor ? "met" : "MISSED");
    const double selection = runs.seconds("BM_SelectionOnShare");
    if (selection > 0)
        std::printf("selection change, 10,000 pictures on the share:  %6.1f ms, %.1f requests (goal < 50 ms)   %s\n",
                    selection * 1e3, runs.lowest("BM_SelectionOnShare", "requests"),
                    selection < 0.05 ? "met" : "MISSED");
    const double picker = runs.seconds("BM_PickerOnShare");
    const double listingFloor = runs.seconds("BM_ListingFloor");
    const double shown = runs.lowest("BM_PickerOnShare", "shown_ms");
    if (picker > 0 && listingFloor > 0)
        std::printf("picker, 10,000 pictures and %d folders on the share: on screen %6.1f ms (goal < 300)   %s\n"
                    "  lists complete %6.1f ms, listing floor %6.1f ms: %5.2f times (goal <= 2)   %s\n",
                    kPictureSubFolders, shown, shown < 300 ? "met" : "MISSED", picker * 1e3, listingFloor * 1e3,
                    picker / listingFloor, picker <= 2 * listingFloor ? "met" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--serial-floor") == 0)
        return ReadHeadersBare(argv[2]) >= 0 ? 0 : 1;
    if (argc == 4 && std::strcmp(argv[1], "--concurrent-floor") == 0)
        return ReadHeadersConcurrently(argv[2], std::atoi(argv[3])) >= 0 ? 0 : 1;
    if (argc == 3 && std::strcmp(argv[1], "--listing-floor") == 0)
        return ListFolderBare(argv[2]);

    // The selection's windows stay offscreen; the started programs show on DISPLAY.
    std::vector<char *> arguments(argv, argv + argc);
    char platform[] = "-platform";
    char offscreen[] = "offscreen";
    arguments.insert(arguments.begin() + 1, {platform, offscreen});
    int count = static_cast<int>(arguments.size());
    QApplication app(count, arguments.data());
    ThisProgram = QCoreApplication::applicationFilePath();
    const QDir built(QCoreApplication::applicationDirPath());
    RomdeckProgram = built.filePath(QStringLiteral("../romdeck"));
    LatencyFs = built.filePath(QStringLiteral("../latency_fs"));
    benchmark::Initialize(&argc, argv);
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--romdeck") == 0)
            RomdeckProgram = QString::fromLocal8Bit(argv[i + 1]);
        else if (std::strcmp(argv[i], "--latency-fs") == 0)
            LatencyFs = QString::fromLocal8Bit(argv[i + 1]);
        else if (std::strcmp(argv[i], "--latency-us") == 0)
            LatencyUs = QString::fromLocal8Bit(argv[i + 1]);
    }
    for (const QString &needed : {RomdeckProgram, LatencyFs}) {
        if (!QFile::exists(needed)) {
            std::fprintf(stderr, "no program at %s (give --romdeck or --latency-fs PATH)\n", qPrintable(needed));
            return 1;
        }
    }
    FastestRuns runs;
    benchmark::RunSpecifiedBenchmarks(&runs);
    PrintSummary(runs);
    benchmark::Shutdown();
    Shares.clear();
    Pictures.reset();
    return 0;
}
