#include "platform/profile_cache.h"

#include "platform/descriptor_io.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <time.h>
#include <unistd.h>

namespace {

// Coarser than the time stamps of any local file system (FAT: two seconds).
constexpr time_t kStampTickSeconds = 2;

// Opens a regular file for reading. Anything else at the path (a folder, a
// pipe, a device) fails with errno set rather than being read or waited on.
int OpenRegularFile(const char *path, struct stat &info)
{
    const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return -1;
    int error = 0;
    if (fstat(fd, &info) != 0)
        error = errno;
    else if (!S_ISREG(info.st_mode))
        error = S_ISDIR(info.st_mode) ? EISDIR : EACCES;
    if (error == 0)
        return fd;
    close(fd);
    errno = error;
    return -1;
}

bool SameTime(const timespec &a, const timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool Unchanged(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size && SameTime(a.st_mtim, b.st_mtim) &&
        SameTime(a.st_ctim, b.st_ctim);
}

// Whether every change after `readStart` must move a time of the file.
bool StampsOlderThanATick(const struct stat &info, const timespec &readStart)
{
    const time_t latest = std::max(info.st_mtim.tv_sec, info.st_ctim.tv_sec) + 1;
    return readStart.tv_sec - latest >= kStampTickSeconds;
}

struct Parsed
{
    std::string path;
    struct stat info;
    bool trusted = false; // its times alone tell whether the file changed
    std::shared_ptr<const ProfileDocument> document;
};

std::mutex parsedMutex;
Parsed parsed;

} // namespace

std::shared_ptr<const ProfileDocument> CurrentProfile(const char *path, struct stat *info)
{
    const std::lock_guard lock(parsedMutex);
    timespec readStart{};
    clock_gettime(CLOCK_REALTIME, &readStart);
    // The file is looked at through a descriptor opened now, never by stat()
    // alone: an NFS client answers stat() from attributes it may have cached
    // a minute ago, but asks the server again at every open (close-to-open),
    // so a change saved on another computer shows here. That needs no list
    // of network file systems, and costs an open where a stat would do.
    struct stat now;
    const int fd = OpenRegularFile(path, now);
    if (fd < 0)
        return nullptr;
    const bool samePath = parsed.document && parsed.path == path;
    std::shared_ptr<const ProfileDocument> document;
    if (samePath && parsed.trusted && Unchanged(now, parsed.info)) {
        document = parsed.document;
    } else {
        std::string contents;
        if (!ReadToEnd(fd, contents, size_t(now.st_size))) {
            const int error = errno;
            close(fd);
            errno = error;
            return nullptr;
        }
        if (samePath && parsed.document->text() == contents)
            document = parsed.document;
        else
            document = std::make_shared<const ProfileDocument>(std::move(contents));
        parsed = Parsed{path, now, StampsOlderThanATick(now, readStart), document};
    }
    close(fd);
    if (info)
        *info = now;
    return document;
}

void RememberWrittenProfile(const char *path, std::shared_ptr<const ProfileDocument> document)
{
    const std::lock_guard lock(parsedMutex);
    // Never trusted on its times alone: the file may have changed since.
    parsed = Parsed{path, {}, false, std::move(document)};
}
