// How long the folder scan takes on a visible main window, against the floor
// that no scan can beat: listing the same folder and reading the same header
// bytes in a bare loop. Collections of 1,000, 10,000 and 100,000 synthetic
// ROMs, half plain and half SMD, are written once per size, outside the timing.
//
// The goals: 10,000 ROMs within 3 times the floor, and 100,000 ROMs within
// 12 times the 10,000 time (no worse than about linear growth).
//
//   scan_bench                        runs the benchmarks and prints the ratios
//   scan_bench --write-roms DIR N     writes a collection of N ROMs into DIR

#include "app/main_rom_list.h"
#include "app/program_windows.h"
#include "catalogue/folder_scan.h"
#include "catalogue/rom_layout.h"
#include "catalogue/sorted_rom_list.h"
#include "settings/program_values.h"
#include "support/modal_answerer.h"
#include "support/rom_images.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

using namespace rom_layout;

// Plain ROMs carry the title at 0x120 in a 512-byte file; SMD ROMs are one
// 16 KiB block (mostly a hole). Titles run in another order than the file
// names, so the list's insertions land all over it.
bool WriteCollection(const QString &folder, int count)
{
    for (int i = 0; i < count; ++i) {
        const bool smd = i % 2 == 1;
        const QString path = folder + QStringLiteral("/Game ") + QString::number(100000 + i) +
            (smd ? QStringLiteral(" (World).smd") : QStringLiteral(" (World).bin"));
        const QByteArray title =
            rom_images::Padded("TITLE " + QByteArray::number((static_cast<long>(i) * 7919) % count));
        if (!(smd ? rom_images::WriteSmdRom(path, title) : rom_images::WritePlainRom(path, title)))
            return false;
    }
    return true;
}

// One collection per size, written at its first use and kept for the run.
QString Collection(int count)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> made;
    auto &dir = made[count];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        if (!dir->isValid() || !WriteCollection(dir->path(), count)) {
            std::fprintf(stderr, "cannot write %d ROMs into %s\n", count, qPrintable(dir->path()));
            std::exit(1);
        }
    }
    return dir->path();
}

// The bare loop: list the folder, open each ROM, read its header bytes, close it.
int ReadHeadersBare(const QByteArray &folder)
{
    DIR *dir = opendir(folder.constData());
    if (!dir)
        return -1;
    std::string path = folder.toStdString() + '/';
    const std::size_t stem = path.size();
    char title[kTitleField];
    int files = 0;
    while (const dirent *entry = readdir(dir)) {
        const std::size_t length = std::strlen(entry->d_name);
        if (length < 4 || entry->d_name[0] == '.')
            continue;
        path.resize(stem);
        path.append(entry->d_name, length);
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (entry->d_name[length - 1] == 'd') {
            benchmark::DoNotOptimize(pread(fd, title, kSmdRunLength, kSmdOddRun));
            benchmark::DoNotOptimize(pread(fd, title + kSmdRunLength, kSmdRunLength, kSmdEvenRun));
        } else {
            benchmark::DoNotOptimize(pread(fd, title, kTitleField, kFirstTitle));
        }
        close(fd);
        ++files;
    }
    closedir(dir);
    return files;
}

// The program's windows, the main one shown, its first activation done.
TForm1 *MainWindow = nullptr;

void BM_Floor(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    const QByteArray folder = QFile::encodeName(Collection(count));
    for (auto _ : state) {
        if (ReadHeadersBare(folder) != count)
            state.SkipWithError("the bare loop did not read every ROM");
    }
    state.counters["roms"] = count;
}

void BM_Scan(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    RomFolder = Collection(count);
    CdRomFolder.clear();
    for (auto _ : state) {
        MainWindow->RebuildList();
        if (MainWindow->lstdir->count() != count)
            state.SkipWithError("the scan did not list every ROM");
    }
    state.counters["roms"] = count;
}

// The scan unit alone, without a window: every ROM into a sorted list.
void BM_ScanFolder(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    const QString folder = Collection(count);
    for (auto _ : state) {
        SortedRomList list;
        ScanFolder(folder, [&](const FoundRom *rom) {
            if (rom)
                list.add(rom->text, rom->object);
            return ScanStep::GoOn;
        });
        if (list.count() != count)
            state.SkipWithError("the scan did not list every ROM");
    }
    state.counters["roms"] = count;
}

// The two things the scan must do for every entry besides reading it: one
// turn of the event loop after each ROM, and the caption after each entry.
void BM_EventLoopTurn(benchmark::State &state)
{
    for (auto _ : state)
        QCoreApplication::processEvents();
}

void BM_CaptionUpdate(benchmark::State &state)
{
    int count = 0;
    for (auto _ : state)
        MainWindow->setWindowTitle(QStringLiteral("Romdeck - ") + QString::number(++count) + QLatin1String(" ROMs"));
}

BENCHMARK(BM_EventLoopTurn);
BENCHMARK(BM_CaptionUpdate);
// Other work on the machine only ever adds time: each size runs five times,
// and the ratios use the fastest run of each.
BENCHMARK(BM_Floor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);
BENCHMARK(BM_ScanFolder)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5)
    ->Repetitions(5);
BENCHMARK(BM_Scan)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(0.5)->Repetitions(5);

// Keeps the fastest time per iteration of each benchmark, for the ratios
// printed at the end.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    // Colours only on a terminal, so that the output can be read by scripts.
    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration)
                continue;
            const double time = run.real_accumulated_time / double(run.iterations);
            const auto [known, added] = seconds.emplace(run.run_name.function_name + '/' + run.run_name.args, time);
            if (!added)
                known->second = std::min(known->second, time);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

void PrintRatios(const std::map<std::string, double> &seconds)
{
    const auto time = [&](const char *name) {
        const auto found = seconds.find(name);
        return found == seconds.end() ? 0.0 : found->second;
    };
    const double scan10k = time("BM_Scan/10000");
    const double floor10k = time("BM_Floor/10000");
    const double scan100k = time("BM_Scan/100000");
    if (scan10k <= 0 || floor10k <= 0 || scan100k <= 0) {
        std::printf("\nratios: not all runs finished\n");
        return;
    }
    const double overFloor = scan10k / floor10k;
    const double growth = scan100k / scan10k;
    std::printf("\nfastest runs: floor of 10,000 %.1f ms, scan of 10,000 %.1f ms, scan of 100,000 %.1f ms\n",
                floor10k * 1e3, scan10k * 1e3, scan100k * 1e3);
    std::printf("scan of 10,000 / floor of 10,000:   %6.2f  (goal <= 3)   %s\n", overFloor,
                overFloor <= 3 ? "met" : "MISSED");
    std::printf("scan of 100,000 / scan of 10,000:   %6.2f  (goal <= 12)  %s\n", growth,
                growth <= 12 ? "met" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--write-roms") == 0)
        return WriteCollection(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3])) ? 0 : 1;

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    // The first activation loads the settings and scans the working folder:
    // let it find an empty one, and close the locations dialog it may open.
    QTemporaryDir quiet;
    if (!quiet.isValid() || !QDir::setCurrent(quiet.path()))
        return 1;
    ProgramWindows windows;
    MainWindow = windows.Form1.get();
    {
        ModalAnswerer answerer;
        MainWindow->show();
        QElapsedTimer waited;
        waited.start();
        while (MainWindow->windowTitle() == QLatin1String("Romdeck") && waited.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    ProgramFolder = quiet.path();

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatios(reporter.seconds);
    benchmark::Shutdown();
    return 0;
}
