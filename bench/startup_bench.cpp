// Start-up of the real program as a user meets it: under an X server with a
// window manager, from starting the process to its filled list, that is until
// the caption on the X server reads "Romdeck - N ROMs". Collections of 0,
// 1,000, 10,000 and 100,000 ROMs, beside two floors timed the same way in the
// same run: a bare process that lists the same folder and reads the same
// headers, and a Qt program that shows one empty window. Every start also
// reports the process's peak memory.
//
// The goals: 100,000 ROMs under 1.5 s from start to filled list, and at most
// 0.5 KiB of memory for each listed ROM.
//
// bench/startup_measure.sh runs it under a virtual X server with openbox;
// alone it needs DISPLAY to name a server with a window manager.
//
//   startup_bench [--romdeck PATH] [benchmark options]
//       PATH is the program to time (default: romdeck in the build folder)
//   startup_bench --bare-scan DIR      the bare floor's process
//   startup_bench --empty-window       the empty window's process

#include "fastest_runs.h"
#include "program_timing.h"
#include "rom_collection.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

namespace {

const char kEmptyWindowTitle[] = "Empty window";

QString RomdeckProgram;
QString ThisProgram;

// A program folder for one collection, made at first use and kept for the run.
struct Installation
{
    QTemporaryDir folder;
    QString roms;
};

const Installation &InstallationFor(int count)
{
    static std::map<int, std::unique_ptr<Installation>> made;
    auto &place = made[count];
    if (place)
        return *place;
    place = std::make_unique<Installation>();
    const QDir root(place->folder.path());
    place->roms = root.filePath(QStringLiteral("roms"));
    if (!place->folder.isValid() || !root.mkdir(QStringLiteral("roms")) ||
        !InstallProgram(RomdeckProgram, root.path(), place->roms) || !WriteCollection(place->roms, count)) {
        std::fprintf(stderr, "cannot install the program with %d ROMs in %s\n", count, qPrintable(root.path()));
        std::exit(1);
    }
    return *place;
}

void BM_EmptyWindow(benchmark::State &state)
{
    TimeUntilTitle(state, ThisProgram, {QStringLiteral("--empty-window")}, QDir::tempPath(), kEmptyWindowTitle);
}

void BM_BareFloor(benchmark::State &state)
{
    const Installation &place = InstallationFor(static_cast<int>(state.range(0)));
    TimeToEnd(state, ThisProgram, {QStringLiteral("--bare-scan"), place.roms}, place.folder.path());
}

void BM_StartToFilledList(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    const Installation &place = InstallationFor(count);
    TimeUntilTitle(state, QDir(place.folder.path()).filePath(QStringLiteral("romdeck")), {}, place.roms,
                   "Romdeck - " + QByteArray::number(count) + " ROMs");
    state.counters["roms"] = count;
}

void Sizes(benchmark::internal::Benchmark *bench)
{
    bench->Arg(0)->Arg(1000)->Arg(10000)->Arg(100000);
    bench->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(5);
}

BENCHMARK(BM_EmptyWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Repetitions(5);
BENCHMARK(BM_BareFloor)->Apply(Sizes);
BENCHMARK(BM_StartToFilledList)->Apply(Sizes);

void PrintSummary(const FastestRuns &runs)
{
    std::printf("\nfastest runs, start to shown:\n");
    std::printf("  empty Qt window          %8.1f ms\n", runs.seconds("BM_EmptyWindow") * 1e3);
    for (const char *size : {"0", "1000", "10000", "100000"}) {
        std::printf("  %6s ROMs: bare floor %8.1f ms   start to filled list %8.1f ms   peak %6.1f MiB\n", size,
                    runs.seconds(std::string("BM_BareFloor/") + size) * 1e3,
                    runs.seconds(std::string("BM_StartToFilledList/") + size) * 1e3,
                    runs.lowest(std::string("BM_StartToFilledList/") + size, "peak_MiB"));
    }
    const double full = runs.seconds("BM_StartToFilledList/100000");
    const double emptyPeak = runs.lowest("BM_StartToFilledList/0", "peak_MiB");
    const double fullPeak = runs.lowest("BM_StartToFilledList/100000", "peak_MiB");
    if (full <= 0 || emptyPeak <= 0 || fullPeak <= 0) {
        std::printf("goals: not all runs finished\n");
        return;
    }
    const double perRom = (fullPeak - emptyPeak) * 1024 / 100000;
    std::printf("100,000 ROMs, start to filled list: %7.0f ms  (goal < 1500)    %s\n", full * 1e3,
                full < 1.5 ? "met" : "MISSED");
    std::printf("memory per listed ROM at 100,000:   %7.2f KiB (goal <= 0.5)  %s\n", perRom,
                perRom <= 0.5 ? "met" : "MISSED");
}

int EmptyWindow(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QString::fromLatin1(kEmptyWindowTitle));
    window.resize(576, 425);
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--bare-scan") == 0)
        return ReadHeadersBare(argv[2]) >= 0 ? 0 : 1;
    if (argc == 2 && std::strcmp(argv[1], "--empty-window") == 0)
        return EmptyWindow(argc, argv);

    // The collections are written with Qt's file names, and no window of our own.
    QCoreApplication app(argc, argv);
    ThisProgram = QCoreApplication::applicationFilePath();
    RomdeckProgram = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../romdeck"));
    benchmark::Initialize(&argc, argv);
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--romdeck") == 0)
            RomdeckProgram = QString::fromLocal8Bit(argv[i + 1]);
    }
    if (!QFile::exists(RomdeckProgram)) {
        std::fprintf(stderr, "no program at %s (give --romdeck PATH)\n", qPrintable(RomdeckProgram));
        return 1;
    }
    FastestRuns runs;
    benchmark::RunSpecifiedBenchmarks(&runs);
    PrintSummary(runs);
    benchmark::Shutdown();
    return 0;
}
