// How long a launch takes, and what many launches leave behind in the
// front-end: zombies, open descriptors, memory.

#include "platform/process_start.h"

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

using Clock = std::chrono::steady_clock;

// A stand-in emulator that writes one byte into the fifo named by its first
// argument as soon as it runs, then ends.
QString WriteSignallingStandIn(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("emu"));
    QFile script(path);
    script.open(QIODevice::WriteOnly);
    script.write("#!/bin/sh\nprintf x > \"$1\"\n");
    script.close();
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    return path;
}

// A fifo that the stand-ins write into. Opened for reading and writing, so
// that a read blocks until a byte comes rather than seeing end of file
// between two writers.
int OpenFifo(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (mkfifo(name.constData(), 0600) != 0)
        return -1;
    return open(name.constData(), O_RDWR | O_CLOEXEC);
}

bool AwaitSignal(int fifo)
{
    char byte;
    return read(fifo, &byte, 1) == 1;
}

int ZombieChildren()
{
    int zombies = 0;
    const QByteArray self = QByteArray::number(getpid());
    for (const QString &pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/") + pid + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> rest = text.mid(text.lastIndexOf(')') + 2).split(' ');
        if (rest.size() > 1 && rest[1] == self && rest[0] == "Z")
            ++zombies;
    }
    return zombies;
}

int OpenDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size();
}

long ResidentKiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

// Time from calling RunCommandLine until the started program runs its first
// command; "return_us" is how long the caller is held up by the call itself.
void BM_LaunchToStandInStart(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString emulator = WriteSignallingStandIn(dir);
    const QString fifoPath = dir.filePath(QStringLiteral("started"));
    const int fifo = OpenFifo(fifoPath);
    if (fifo < 0) {
        state.SkipWithError("no fifo");
        return;
    }
    const QString line = emulator + u' ' + QuoteWindowsArgument(fifoPath);
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
    close(fifo);
    state.counters["return_us"] =
        benchmark::Counter(returnSeconds * 1e6 / double(state.iterations()));
}
BENCHMARK(BM_LaunchToStandInStart)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

// 200 launches of a stand-in that ends at once, and what the front-end holds
// afterwards: children of ours left as zombies, open descriptors, resident
// memory.
void BM_ManyLaunchesLeaveNothingBehind(benchmark::State &state)
{
    const int launches = int(state.range(0));
    QTemporaryDir dir;
    const QString emulator = WriteSignallingStandIn(dir);
    const QString fifoPath = dir.filePath(QStringLiteral("started"));
    const int fifo = OpenFifo(fifoPath);
    if (fifo < 0) {
        state.SkipWithError("no fifo");
        return;
    }
    const QString line = emulator + u' ' + QuoteWindowsArgument(fifoPath);

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
    close(fifo);
}
BENCHMARK(BM_ManyLaunchesLeaveNothingBehind)->Arg(200)->Arg(2000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
