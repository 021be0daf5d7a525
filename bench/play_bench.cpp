// The Play command on the main window: the time from the command to the
// emulator's start (the settings save included), and what 200 launches leave
// behind in the program.

#include "app/main_rom_list.h"
#include "app/program_windows.h"
#include "settings/program_values.h"
#include "support/process_probes.h"
#include "wine_session.h"

#include <QApplication>
#include <QDir>

#include <benchmark/benchmark.h>

namespace {

// A main window listing one ROM, whose Play starts the signalling stand-in.
struct PlayFixture
{
    PlayFixture()
    {
        QDir(dir.path()).mkpath(QStringLiteral("roms"));
        QFile rom(dir.filePath(QStringLiteral("roms/game.bin")));
        rom.open(QIODevice::WriteOnly);
        rom.write(QByteArray(1024, '\0'));
        rom.close();
        const QString fifoPath = dir.filePath(QStringLiteral("started"));
        fifo = OpenFifo(fifoPath);
        // Set as the first activation would have loaded them; the window is
        // not shown, so that its activation does not load the real settings.
        ProgramFolder = dir.path();
        RomFolder = dir.filePath(QStringLiteral("roms"));
        PixFolder = dir.path();
        CdRomFolder.clear();
        KGenLocation = WriteSignallingStandIn(dir);
        // The fifo is the extra text, the stand-in's last argument.
        DefaultOptions = OptionSet{0, 1, 0, false, fifoPath};
        windows.Form1->RebuildList();
    }
    ~PlayFixture() { close(fifo); }

    QTemporaryDir dir;
    ProgramWindows windows;
    int fifo = -1;
};

// Presses Play once an iteration and times it up to the emulator's start;
// "held_ms" is how long the Play command itself holds the window.
void TimePlays(benchmark::State &state, PlayFixture &play)
{
    double heldSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        play.windows.Form1->butGOClick();
        heldSeconds += std::chrono::duration<double>(Clock::now() - start).count();
        if (!AwaitSignal(play.fifo)) {
            state.SkipWithError("the emulator never started");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
    state.counters["held_ms"] = benchmark::Counter(heldSeconds * 1e3 / double(state.iterations()));
}

void BM_PlayToEmulatorStart(benchmark::State &state)
{
    PlayFixture play;
    TimePlays(state, play);
}
BENCHMARK(BM_PlayToEmulatorStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

// The same with a Windows emulator, started through Wine whose server already
// runs: the stand-in is a Windows program that writes into the same fifo.
void BM_PlayToEmulatorStartThroughWine(benchmark::State &state)
{
    const QString standIn = QStringLiteral(ROMDECK_WINDOWS_STANDIN);
    if (standIn.isEmpty()) {
        state.SkipWithError("no Windows stand-in: x86_64-w64-mingw32-gcc was not found at configure time");
        return;
    }
    const WineSession wine;
    if (wine.error()) {
        state.SkipWithError(wine.error());
        return;
    }
    PlayFixture play;
    KGenLocation = standIn;
    qputenv("STANDIN_SIGNAL", QFile::encodeName(play.dir.filePath(QStringLiteral("started"))));
    TimePlays(state, play);
    qunsetenv("STANDIN_SIGNAL");
}
BENCHMARK(BM_PlayToEmulatorStartThroughWine)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_TwoHundredPlays(benchmark::State &state)
{
    PlayFixture play;
    play.windows.Form1->butGOClick();
    AwaitSignal(play.fifo);
    const int descriptorsBefore = OpenDescriptors();
    const long residentBefore = ResidentKiB();
    for (auto _ : state) {
        for (int i = 0; i < 200; ++i) {
            play.windows.Form1->butGOClick();
            AwaitSignal(play.fifo);
        }
    }
    const long residentAfter = ResidentKiB();
    const int descriptorsAfter = OpenDescriptors();
    usleep(200 * 1000);
    state.counters["zombies_left"] = ZombieChildren();
    state.counters["fds_before"] = descriptorsBefore;
    state.counters["fds_after"] = descriptorsAfter;
    state.counters["rss_growth_kib"] = double(residentAfter - residentBefore);
}
BENCHMARK(BM_TwoHundredPlays)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
