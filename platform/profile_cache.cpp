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

// Reads a whole regular file. Anything else at the path (a folder, a pipe, a
// device) fails with errno set rather than being read or waited on.
bool ReadRegularFile(const char *path, std::string &contents, struct stat &info)
{
    const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int error = 0;
    if (fstat(fd, &info) != 0)
        error = errno;
    else if (!S_ISREG(info.st_mode))
        error = S_ISDIR(info.st_mode) ? EISDIR : EACCES;
    if (error == 0 && !ReadToEnd(fd, contents, size_t(info.st_size)))
        error = errno;
    close(fd);
    errno = error;
    return error == 0;
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
    const bool samePath = parsed.document && parsed.path == path;
    struct stat now;
    if (samePath && parsed.trusted && stat(path, &now) == 0 && Unchanged(now, parsed.info)) {
        if (info)
            *info = parsed.info;
        return parsed.document;
    }
    timespec readStart{};
    clock_gettime(CLOCK_REALTIME, &readStart);
    std::string contents;
    struct stat read;
    if (!ReadRegularFile(path, contents, read))
        return nullptr;
    std::shared_ptr<const ProfileDocument> document;
    if (samePath && parsed.document->text() == contents)
        document = parsed.document;
    else
        document = std::make_shared<const ProfileDocument>(std::move(contents));
    parsed = Parsed{path, read, StampsOlderThanATick(read, readStart), document};
    if (info)
        *info = read;
    return document;
}

void RememberWrittenProfile(const char *path, std::shared_ptr<const ProfileDocument> document)
{
    const std::lock_guard lock(parsedMutex);
    // Never trusted on its times alone: the file may have changed since.
    parsed = Parsed{path, {}, false, std::move(document)};
}
