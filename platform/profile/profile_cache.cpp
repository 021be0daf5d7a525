#include "platform/profile/profile_cache.h"

#include "platform/descriptor_io.h"
#include "platform/reading_stamp.h"

#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <unistd.h>

namespace {

struct Parsed
{
    std::string path;
    ReadingStamp stamp;
    std::shared_ptr<const ProfileDocument> document;
};

std::mutex parsedMutex;
Parsed parsed;

} // namespace

std::shared_ptr<const ProfileDocument> CurrentProfile(const char *path, struct stat *info)
{
    const std::lock_guard lock(parsedMutex);
    const timespec readStart = ReadingStamp::Now();
    // The file is looked at through a descriptor opened now, never by stat()
    // alone: an NFS client answers stat() from attributes it may have cached
    // a minute ago, but asks the server again at every open (close-to-open),
    // so a change saved on another computer shows here. That needs no list
    // of network file systems, and costs an open where a stat would do.
    struct stat now;
    const int fd = OpenRegularFile(path, O_RDONLY, now);
    if (fd < 0)
        return nullptr;
    const bool samePath = parsed.document && parsed.path == path;
    std::shared_ptr<const ProfileDocument> document;
    if (samePath && parsed.stamp.Holds(now)) {
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
        parsed = Parsed{path, ReadingStamp(now, readStart), document};
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
    parsed = Parsed{path, ReadingStamp(), std::move(document)};
}
