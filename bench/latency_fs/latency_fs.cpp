// A file system that stands in for a network share: it passes every request
// through to a backing folder, read-only, after making it wait a given time,
// as a round trip to a NAS does. Requests are served by many threads at once,
// as a share serves many requests together. The kernel keeps nothing of it
// but a file's attributes for a second, as a share's client does, so that
// every open, read, close and listing of a program reaches it and pays its
// wait.
//
//   latency_fs BACKING MOUNTPOINT [--latency-us N] [--slow NAME=MS]... [--failing-listing NAME]... [-f]
//
// --latency-us N   every request waits N microseconds (default 1000)
// --slow NAME=MS   reads of files named NAME wait MS milliseconds more; a
//                  wait of hours stands for a share that went away
// --failing-listing NAME
//                  listings of folders named NAME give their first few
//                  entries, then fail with EIO, as when a share drops
//
// A wait ends early when the kernel interrupts the request (its caller was
// killed) or the file system is unmounted; the request then fails with EINTR.
// Reading the file ".latency-fs-stats" in the mount's root (it is listed
// nowhere, and reading it waits for nothing and counts nothing) gives the
// number of requests served so far, one "name count" per line, and on the
// last line the number of reads in a --slow wait now.
#define FUSE_USE_VERSION 31
#include <fuse.h>
#include <fuse_lowlevel.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char kStatsPath[] = "/.latency-fs-stats";

std::string Backing;
long LatencyUs = 1000;
std::map<std::string, long> SlowReadsMs;
std::vector<std::string> FailingListings;
constexpr int kEntriesBeforeFailing = 4;

enum Request { Lookup, ReadLink, OpenDir, ReadDir, ReleaseDir, Open, Read, Flush, Release, StatFs, kRequests };
const char *const kRequestNames[kRequests] = {"lookup/getattr", "readlink", "opendir", "readdir", "releasedir",
                                              "open",           "read",     "flush",   "release", "statfs"};
std::atomic<long> Served[kRequests];
std::atomic<long> SlowReadsWaiting;

// Waits `us` microseconds for `request`, counting it; -EINTR when the
// request was interrupted or the file system is going away.
int Wait(Request request, long us)
{
    ++Served[request];
    const auto deadline = Clock::now() + std::chrono::microseconds(us);
    fuse_session *session = fuse_get_session(fuse_get_context()->fuse);
    for (;;) {
        if (fuse_interrupted() || fuse_session_exited(session))
            return -EINTR;
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero())
            return 0;
        // A long wait looks at the interruption now and then; a signal
        // from the library on an interruption ends a sleep at once.
        const auto slice = std::min<Clock::duration>(left, std::chrono::milliseconds(20));
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(slice).count();
        timespec sleep{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
        nanosleep(&sleep, nullptr);
    }
}

int Wait(Request request)
{
    return Wait(request, LatencyUs);
}

std::string Real(const char *path)
{
    return Backing + path;
}

std::string StatsText()
{
    std::string text;
    for (int i = 0; i < kRequests; ++i)
        text += std::string(kRequestNames[i]) + ' ' + std::to_string(Served[i].load()) + '\n';
    return text + "slow reads waiting now " + std::to_string(SlowReadsWaiting.load()) + '\n';
}

void *Init(fuse_conn_info *connection, fuse_config *config)
{
    // A share's client keeps a file's attributes for a second (SMB's
    // default), so that an open, a read and a close ask for them once;
    // names and contents it asks for every time.
    config->entry_timeout = 0;
    config->attr_timeout = 1;
    config->negative_timeout = 0;
    config->kernel_cache = 0;
    // An interruption (the caller was killed) reaches the request's thread
    // as a signal, and ends its wait.
    config->intr = 1;
    config->use_ino = 1;
    // Reads ahead and closes go out as background requests: let as many be
    // in flight as the readers make, as a share's client does.
    connection->max_background = 4096;
    connection->congestion_threshold = 3072;
    // One request for a listing's part, not one per name besides.
    connection->want &= ~FUSE_CAP_READDIRPLUS;
    return nullptr;
}

int GetAttr(const char *path, struct stat *info, fuse_file_info *)
{
    if (std::strcmp(path, kStatsPath) == 0) {
        *info = {};
        info->st_mode = S_IFREG | 0444;
        info->st_nlink = 1;
        info->st_size = 4096;
        return 0;
    }
    if (const int waited = Wait(Lookup))
        return waited;
    return lstat(Real(path).c_str(), info) == 0 ? 0 : -errno;
}

int ReadLinkOf(const char *path, char *buffer, size_t size)
{
    if (const int waited = Wait(ReadLink))
        return waited;
    const ssize_t length = readlink(Real(path).c_str(), buffer, size - 1);
    if (length < 0)
        return -errno;
    buffer[length] = '\0';
    return 0;
}

int OpenDirectory(const char *path, fuse_file_info *file)
{
    if (const int waited = Wait(OpenDir))
        return waited;
    DIR *dir = opendir(Real(path).c_str());
    if (!dir)
        return -errno;
    file->fh = reinterpret_cast<uint64_t>(dir);
    return 0;
}

// Each part of a listing is a request of its own, as it is over a share:
// the names are handed out with their places, so that the kernel asks again
// for the rest.
int ReadDirectory(const char *path, void *buffer, fuse_fill_dir_t fill, off_t offset, fuse_file_info *file,
                  fuse_readdir_flags)
{
    if (const int waited = Wait(ReadDir))
        return waited;
    const char *slash = std::strrchr(path, '/');
    const bool failing =
        std::find(FailingListings.begin(), FailingListings.end(), slash ? slash + 1 : path) != FailingListings.end();
    // The first part comes whole; the kernel's next request fails.
    if (failing && offset != 0)
        return -EIO;
    DIR *dir = reinterpret_cast<DIR *>(file->fh);
    seekdir(dir, offset);
    for (int handed = 0; !failing || handed < kEntriesBeforeFailing; ++handed) {
        const dirent *entry = readdir(dir);
        if (!entry)
            break;
        struct stat info
        {
        };
        info.st_ino = entry->d_ino;
        info.st_mode = static_cast<mode_t>(DTTOIF(entry->d_type));
        if (fill(buffer, entry->d_name, &info, entry->d_off, static_cast<fuse_fill_dir_flags>(0)))
            break;
    }
    return 0;
}

int ReleaseDirectory(const char *, fuse_file_info *file)
{
    closedir(reinterpret_cast<DIR *>(file->fh));
    return Wait(ReleaseDir);
}

int OpenFile(const char *path, fuse_file_info *file)
{
    if (std::strcmp(path, kStatsPath) == 0) {
        file->direct_io = 1;
        file->fh = static_cast<uint64_t>(-1);
        return 0;
    }
    if ((file->flags & O_ACCMODE) != O_RDONLY)
        return -EROFS;
    if (const int waited = Wait(Open))
        return waited;
    const int fd = open(Real(path).c_str(), file->flags & ~(O_CREAT | O_TRUNC | O_APPEND));
    if (fd < 0)
        return -errno;
    file->fh = static_cast<uint64_t>(fd);
    return 0;
}

int ReadFile(const char *path, char *buffer, size_t size, off_t offset, fuse_file_info *file)
{
    if (file->fh == static_cast<uint64_t>(-1)) {
        const std::string text = StatsText();
        if (offset >= static_cast<off_t>(text.size()))
            return 0;
        const size_t length = std::min(size, text.size() - static_cast<size_t>(offset));
        std::memcpy(buffer, text.data() + offset, length);
        return static_cast<int>(length);
    }
    const char *slash = std::strrchr(path, '/');
    const auto slow = SlowReadsMs.find(slash ? slash + 1 : path);
    if (slow != SlowReadsMs.end()) {
        ++SlowReadsWaiting;
        const int waited = Wait(Read, LatencyUs + slow->second * 1000);
        --SlowReadsWaiting;
        if (waited)
            return waited;
    } else if (const int waited = Wait(Read)) {
        return waited;
    }
    const ssize_t got = pread(static_cast<int>(file->fh), buffer, size, offset);
    return got < 0 ? -errno : static_cast<int>(got);
}

int FlushFile(const char *, fuse_file_info *file)
{
    return file->fh == static_cast<uint64_t>(-1) ? 0 : Wait(Flush);
}

int ReleaseFile(const char *, fuse_file_info *file)
{
    if (file->fh == static_cast<uint64_t>(-1))
        return 0;
    close(static_cast<int>(file->fh));
    return Wait(Release);
}

int StatFileSystem(const char *path, struct statvfs *info)
{
    if (const int waited = Wait(StatFs))
        return waited;
    return statvfs(Real(path).c_str(), info) == 0 ? 0 : -errno;
}

int Usage(const char *program)
{
    std::fprintf(stderr,
                 "usage: %s BACKING MOUNTPOINT [--latency-us N] [--slow NAME=MS]... [--failing-listing NAME]... "
                 "[fuse options]\n",
                 program);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3)
        return Usage(argv[0]);
    char resolved[PATH_MAX];
    if (!realpath(argv[1], resolved)) {
        std::perror(argv[1]);
        return 1;
    }
    Backing = resolved;
    std::vector<char *> fuseArguments{argv[0], argv[2]};
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--latency-us") == 0 && i + 1 < argc) {
            LatencyUs = std::atol(argv[++i]);
        } else if (std::strcmp(argv[i], "--slow") == 0 && i + 1 < argc) {
            const std::string rule = argv[++i];
            const std::size_t equals = rule.rfind('=');
            if (equals == std::string::npos)
                return Usage(argv[0]);
            SlowReadsMs[rule.substr(0, equals)] = std::atol(rule.c_str() + equals + 1);
        } else if (std::strcmp(argv[i], "--failing-listing") == 0 && i + 1 < argc) {
            FailingListings.push_back(argv[++i]);
        } else {
            fuseArguments.push_back(argv[i]);
        }
    }
    // Many threads, each asleep in one request, as many as requests come in.
    static char threads[] = "-omax_threads=4096,max_idle_threads=4096,default_permissions,ro";
    fuseArguments.push_back(threads);
    // Waits of a millisecond end within a few microseconds of it.
    prctl(PR_SET_TIMERSLACK, 1UL);
    // The library tells a request's thread of an interruption with this
    // signal; it must only end the thread's sleep, not the file system.
    struct sigaction interruption {};
    interruption.sa_handler = [](int) {};
    sigaction(SIGUSR1, &interruption, nullptr);

    fuse_operations operations{};
    operations.init = Init;
    operations.getattr = GetAttr;
    operations.readlink = ReadLinkOf;
    operations.opendir = OpenDirectory;
    operations.readdir = ReadDirectory;
    operations.releasedir = ReleaseDirectory;
    operations.open = OpenFile;
    operations.read = ReadFile;
    operations.flush = FlushFile;
    operations.release = ReleaseFile;
    operations.statfs = StatFileSystem;
    return fuse_main(static_cast<int>(fuseArguments.size()), fuseArguments.data(), &operations, nullptr);
}
