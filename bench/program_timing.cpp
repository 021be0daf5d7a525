#include "program_timing.h"

#include <QDir>
#include <QFile>

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPatience = std::chrono::seconds(300);

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

} // namespace

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

long Reap(pid_t pid)
{
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    return usage.ru_maxrss;
}

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

void TimeToEnd(benchmark::State &state, const QString &program, const QStringList &arguments,
               const QString &workingFolder)
{
    for (auto _ : state) {
        const auto start = Clock::now();
        const pid_t pid = Start(program, arguments, workingFolder);
        int status = 0;
        if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program failed");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    }
}

bool InstallProgram(const QString &romdeck, const QString &folder, const QString &roms)
{
    const QDir root(folder);
    const QString kgen = root.filePath(QStringLiteral("kgen.exe"));
    QFile stand(kgen);
    if (!QFile::copy(romdeck, root.filePath(QStringLiteral("romdeck"))) || !stand.open(QIODevice::WriteOnly) ||
        stand.write("#!/bin/sh\nexit 0\n") <= 0 || !stand.setPermissions(stand.permissions() | QFile::ExeOwner))
        return false;
    QFile settings(root.filePath(QStringLiteral("romdeck.ini")));
    return settings.open(QIODevice::WriteOnly) &&
        settings.write("[General]\r\nroms=" + QFile::encodeName(roms) + "\r\nkgenloc=" + QFile::encodeName(kgen) +
                       "\r\n") > 0;
}
