// How long a launch takes, and what many launches leave behind in the
// front-end: zombies, open descriptors, memory.

#include "platform/process_start.h"
#include "support/process_probes.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A command line that starts the signalling stand-in, and the fifo it signals
// through; both go when it goes.
struct SignallingLaunch
{
    SignallingLaunch()
        : fifo(OpenFifo(dir.filePath(QStringLiteral("started")))),
          line(WriteSignallingStandIn(dir) + u' ' + QuoteWindowsArgument(dir.filePath(QStringLiteral("started"))))
    {
    }
    ~SignallingLaunch()
    {
        if (fifo >= 0)
            close(fifo);
    }
    SignallingLaunch(const SignallingLaunch &) = delete;
    SignallingLaunch &operator=(const SignallingLaunch &) = delete;

    QTemporaryDir dir;
    int fifo;
    QString line;
};

// Time from calling RunCommandLine until the started program runs its first
// command; "return_us" is how long the caller is held up by the call itself.
void BM_LaunchToStandInStart(benchmark::State &state)
{
    const SignallingLaunch launch;
    if (launch.fifo < 0) {
        state.SkipWithError("no fifo");
        return;
    }
    const QString &line = launch.line;
    const int fifo = launch.fifo;
    double returnSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (!RunCommandLine(line)) {
            state.SkipWithError("launch failed");
            break;
        }
        const auto returned = Clock::now();
        if (!AwaitSignal(fifo)) {
            state.SkipWithError("no signal from the stand-in");
            break;
        }
        const auto started = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(started - start).count());
        returnSeconds += std::chrono::duration<double>(returned - start).count();
    }
    state.counters["return_us"] = benchmark::Counter(returnSeconds * 1e6 / double(state.iterations()));
}
BENCHMARK(BM_LaunchToStandInStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

// 200 launches of a stand-in that ends at once, and what the front-end holds
// afterwards: children of ours left as zombies, open descriptors, resident
// memory.
void BM_ManyLaunchesLeaveNothingBehind(benchmark::State &state)
{
    const int launches = int(state.range(0));
    const SignallingLaunch launch;
    if (launch.fifo < 0) {
        state.SkipWithError("no fifo");
        return;
    }
    const QString &line = launch.line;
    const int fifo = launch.fifo;

    // One launch and one count first, so that one-time allocations are not
    // counted as growth.
    RunCommandLine(line);
    AwaitSignal(fifo);
    ZombieChildren();
    const int descriptorsBefore = OpenDescriptors();
    const long residentBefore = ResidentKiB();
    int failures = 0;
    for (auto _ : state) {
        for (int i = 0; i < launches; ++i) {
            if (RunCommandLine(line))
                AwaitSignal(fifo);
            else
                ++failures;
        }
    }
    const long residentAfter = ResidentKiB();
    const int descriptorsAfter = OpenDescriptors();
    // The stand-ins may still be between their write and their end: give
    // them a moment, so that a zombie would have had time to appear.
    usleep(200 * 1000);
    state.counters["launches"] = launches;
    state.counters["failures"] = failures;
    state.counters["zombies_left"] = ZombieChildren();
    state.counters["fds_before"] = descriptorsBefore;
    state.counters["fds_after"] = descriptorsAfter;
    state.counters["rss_growth_kib"] = double(residentAfter - residentBefore);
}
BENCHMARK(BM_ManyLaunchesLeaveNothingBehind)->Arg(200)->Arg(2000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
