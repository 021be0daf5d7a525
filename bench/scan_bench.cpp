// How long the folder scan takes on a visible main window, against the floor
// that no scan can beat: listing the same folder and reading the same header
// bytes in a bare loop. Collections of 1,000, 10,000 and 100,000 synthetic
// ROMs, half plain and half SMD, are written once per size, outside the timing.
//
// The goals, on a window shown by an X server with a window manager as a
// user's desktop shows it (bench/startup_measure.sh runs it so; alone it runs
// offscreen): 10,000 ROMs within 2.5 times the floor, and 100,000 ROMs within
// 12 times the 10,000 time (no worse than about linear growth).

#include "fastest_runs.h"
#include "rom_collection.h"

#include "app/main_rom_list.h"
#include "app/program_windows.h"
#include "catalogue/folder_scan.h"
#include "catalogue/sorted_rom_list.h"
#include "platform/file_name_text.h"
#include "settings/program_values.h"
#include "support/modal_answerer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <condition_variable>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>

namespace {

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

// The scan unit alone, without a window: every ROM into a sorted list, the
// taker sleeping while the next entry is read.
void BM_ScanFolder(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    const QString folder = Collection(count);
    for (auto _ : state) {
        SortedRomList list;
        std::mutex mutex;
        std::condition_variable woken;
        bool wake = false;
        FolderScan scan(FileNameBytes(folder), ReadRomFile, [&] {
            std::lock_guard lock(mutex);
            wake = true;
            woken.notify_one();
        });
        ScannedEntry entry;
        for (FolderScan::Step step; (step = scan.take(entry)) != FolderScan::Step::Finished;) {
            if (step == FolderScan::Step::Pending) {
                std::unique_lock lock(mutex);
                woken.wait(lock, [&] { return wake; });
                wake = false;
            } else if (entry.isRom) {
                list.add(entry.rom.text, entry.rom.object);
            }
        }
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

void PrintRatios(const FastestRuns &runs)
{
    const double scan10k = runs.seconds("BM_Scan/10000");
    const double floor10k = runs.seconds("BM_Floor/10000");
    const double scan100k = runs.seconds("BM_Scan/100000");
    if (scan10k <= 0 || floor10k <= 0 || scan100k <= 0) {
        std::printf("\nratios: not all runs finished\n");
        return;
    }
    const double overFloor = scan10k / floor10k;
    const double growth = scan100k / scan10k;
    std::printf("\nfastest runs: floor of 10,000 %.1f ms, scan of 10,000 %.1f ms, scan of 100,000 %.1f ms\n",
                floor10k * 1e3, scan10k * 1e3, scan100k * 1e3);
    std::printf("scan of 10,000 / floor of 10,000:   %6.2f  (goal <= 2.5) %s\n", overFloor,
                overFloor <= 2.5 ? "met" : "MISSED");
    std::printf("scan of 100,000 / scan of 10,000:   %6.2f  (goal <= 12)  %s\n", growth,
                growth <= 12 ? "met" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    // Offscreen unless told otherwise: bench/startup_measure.sh runs it under X.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
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

    FastestRuns runs;
    benchmark::RunSpecifiedBenchmarks(&runs);
    PrintRatios(runs);
    benchmark::Shutdown();
    return 0;
}
