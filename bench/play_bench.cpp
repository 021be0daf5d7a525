// The Play command on the main window: the time from the command to the
// emulator's start (the settings save included), and what 200 launches leave
// behind in the program.

#include "app/main_rom_list.h"
#include "app/program_windows.h"
#include "settings/program_values.h"
#include "support/process_probes.h"

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

void BM_PlayToEmulatorStart(benchmark::State &state)
{
    PlayFixture play;
    for (auto _ : state) {
        const auto start = Clock::now();
        play.windows.Form1->butGOClick();
        if (!AwaitSignal(play.fifo)) {
            state.SkipWithError("the emulator never started");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}
BENCHMARK(BM_PlayToEmulatorStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

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
