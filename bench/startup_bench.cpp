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
#include "rom_collection.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <memory>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPatience = std::chrono::seconds(300);
const char kEmptyWindowTitle[] = "Empty window";

QString RomdeckProgram;
QString ThisProgram;

// Watches the X server for a top-level window that is shown (mapped) and whose
// title reads the wanted text. It must exist before the program starts, so
// that no window is missed.
class TitleWatch
{
public:
    explicit TitleWatch(QByteArray wanted) : wanted_(std::move(wanted)), connection_(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(connection_))
            return;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        netWmName_ = atom("_NET_WM_NAME");
        utf8_ = atom("UTF8_STRING");
        clientList_ = atom("_NET_CLIENT_LIST");
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
    }
    ~TitleWatch() { xcb_disconnect(connection_); }

    bool connected() const { return !xcb_connection_has_error(connection_); }

    // True as soon as the window shows with the title; false at the deadline
    // or on a lost connection.
    bool wait(Clock::time_point deadline)
    {
        const int fd = xcb_get_file_descriptor(connection_);
        for (;;) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(connection_)) {
                const bool found = handle(event);
                std::free(event);
                if (found)
                    return true;
            }
            if (xcb_connection_has_error(connection_))
                return false;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                return false;
            pollfd ready{fd, POLLIN, 0};
            poll(&ready, 1, static_cast<int>(left));
        }
    }

    // Waits until the window manager manages no window. A program started
    // before that may get the window ids of the one just ended, while the
    // window manager still handles those, and then never be shown.
    bool waitUntilNoWindowIsManaged(Clock::time_point deadline)
    {
        for (;;) {
            xcb_get_property_reply_t *reply = xcb_get_property_reply(
                connection_, xcb_get_property(connection_, 0, root_, clientList_, XCB_ATOM_WINDOW, 0, 1024), nullptr);
            const bool none = !reply || xcb_get_property_value_length(reply) == 0;
            std::free(reply);
            if (none)
                return true;
            if (Clock::now() > deadline || xcb_connection_has_error(connection_))
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

private:
    struct Window
    {
        bool mapped = false;
        bool titled = false;
    };

    xcb_atom_t atom(const char *name)
    {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t found = reply ? reply->atom : XCB_ATOM_NONE;
        std::free(reply);
        return found;
    }

    bool handle(const xcb_generic_event_t *event)
    {
        switch (event->response_type & 0x7f) {
        case XCB_CREATE_NOTIFY: {
            // A new top-level window: follow it from now on, and look at once
            // in case it changed before the selection took hold.
            const xcb_window_t id = reinterpret_cast<const xcb_create_notify_event_t *>(event)->window;
            const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
            xcb_change_window_attributes(connection_, id, XCB_CW_EVENT_MASK, &mask);
            Window &window = windows_[id];
            xcb_get_window_attributes_reply_t *attributes =
                xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, id), nullptr);
            window.mapped = attributes && attributes->map_state != XCB_MAP_STATE_UNMAPPED;
            std::free(attributes);
            window.titled = titleIsWanted(id);
            return window.mapped && window.titled;
        }
        case XCB_MAP_NOTIFY: {
            const auto id = reinterpret_cast<const xcb_map_notify_event_t *>(event)->window;
            const auto found = windows_.find(id);
            if (found == windows_.end())
                return false;
            found->second.mapped = true;
            return found->second.titled;
        }
        case XCB_PROPERTY_NOTIFY: {
            const auto *change = reinterpret_cast<const xcb_property_notify_event_t *>(event);
            const auto found = windows_.find(change->window);
            if (found == windows_.end() || (change->atom != netWmName_ && change->atom != XCB_ATOM_WM_NAME))
                return false;
            found->second.titled = titleIsWanted(change->window);
            return found->second.mapped && found->second.titled;
        }
        default: return false;
        }
    }

    bool titleIsWanted(xcb_window_t window)
    {
        for (const auto &[property, type] :
             {std::pair{netWmName_, utf8_}, std::pair{xcb_atom_t(XCB_ATOM_WM_NAME), xcb_atom_t(XCB_ATOM_STRING)}}) {
            xcb_get_property_reply_t *reply = xcb_get_property_reply(
                connection_, xcb_get_property(connection_, 0, window, property, type, 0, 1024), nullptr);
            if (!reply)
                continue;
            const QByteArray title(static_cast<const char *>(xcb_get_property_value(reply)),
                                   xcb_get_property_value_length(reply));
            const bool set = reply->type != XCB_ATOM_NONE;
            std::free(reply);
            if (set)
                return title == wanted_;
        }
        return false;
    }

    QByteArray wanted_;
    xcb_connection_t *connection_;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    xcb_atom_t clientList_ = XCB_ATOM_NONE;
    xcb_atom_t netWmName_ = XCB_ATOM_NONE;
    xcb_atom_t utf8_ = XCB_ATOM_NONE;
    std::map<xcb_window_t, Window> windows_;
};

// A started process; its output goes nowhere.
pid_t Start(const QString &program, const QStringList &arguments, const QString &workingFolder)
{
    std::vector<QByteArray> words{QFile::encodeName(program)};
    for (const QString &argument : arguments)
        words.push_back(QFile::encodeName(argument));
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, QFile::encodeName(workingFolder).constData());
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits for the process to end; its peak resident memory in KiB.
long Reap(pid_t pid)
{
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    return usage.ru_maxrss;
}

// A program folder for one collection: a copy of the program (its folder is
// where its settings lie), a stand-in KGen so that no dialog opens, and the
// settings pointing at the collection. Made at first use and kept for the run.
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
    const QString program = root.filePath(QStringLiteral("romdeck"));
    const QString kgen = root.filePath(QStringLiteral("kgen.exe"));
    QFile stand(kgen);
    const bool ready = place->folder.isValid() && root.mkdir(QStringLiteral("roms")) &&
        QFile::copy(RomdeckProgram, program) && stand.open(QIODevice::WriteOnly) &&
        stand.write("#!/bin/sh\nexit 0\n") > 0 && stand.setPermissions(stand.permissions() | QFile::ExeOwner);
    stand.close();
    QFile settings(root.filePath(QStringLiteral("romdeck.ini")));
    if (!ready || !settings.open(QIODevice::WriteOnly) ||
        settings.write("[General]\r\nroms=" + QFile::encodeName(place->roms) +
                       "\r\nkgenloc=" + QFile::encodeName(kgen) + "\r\n") < 0 ||
        !WriteCollection(place->roms, count)) {
        std::fprintf(stderr, "cannot install the program with %d ROMs in %s\n", count, qPrintable(root.path()));
        std::exit(1);
    }
    return *place;
}

// Times one start until the title shows; the process is then ended.
void TimeUntilTitle(benchmark::State &state, const QString &program, const QStringList &arguments,
                    const QString &workingFolder, const QByteArray &title)
{
    long peak = 0;
    for (auto _ : state) {
        TitleWatch watch(title);
        if (!watch.connected()) {
            state.SkipWithError("no X server: run bench/startup_measure.sh");
            break;
        }
        const auto start = Clock::now();
        const pid_t pid = Start(program, arguments, workingFolder);
        if (pid < 0) {
            state.SkipWithError("the program did not start");
            break;
        }
        const bool shown = watch.wait(start + kPatience);
        const auto end = Clock::now();
        kill(pid, SIGKILL);
        peak = std::max(peak, Reap(pid));
        if (!shown) {
            state.SkipWithError(("no shown window's caption read \"" + title.toStdString() + '"').c_str());
            break;
        }
        if (!watch.waitUntilNoWindowIsManaged(Clock::now() + kPatience)) {
            state.SkipWithError("the window manager kept the program's windows");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["peak_MiB"] = double(peak) / 1024;
}

void BM_EmptyWindow(benchmark::State &state)
{
    TimeUntilTitle(state, ThisProgram, {QStringLiteral("--empty-window")}, QDir::tempPath(), kEmptyWindowTitle);
}

void BM_BareFloor(benchmark::State &state)
{
    const Installation &place = InstallationFor(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto start = Clock::now();
        const pid_t pid = Start(ThisProgram, {QStringLiteral("--bare-scan"), place.roms}, place.folder.path());
        Reap(pid);
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
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
