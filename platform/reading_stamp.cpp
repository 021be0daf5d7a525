#include "platform/reading_stamp.h"

#include <algorithm>

namespace {

// Coarser than the time stamps of any local file system (FAT: two seconds).
constexpr time_t kStampTickSeconds = 2;

bool SameTime(const timespec &a, const timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

timespec ReadingStamp::Now()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

ReadingStamp::ReadingStamp(const struct stat &info, const timespec &start)
    : device_(info.st_dev), inode_(info.st_ino), size_(info.st_size), modified_(info.st_mtim), changed_(info.st_ctim)
{
    // Every change after `start` must move a time: the latest of them, rounded
    // up to its next whole second, lies a whole tick before it.
    const time_t latest = std::max(info.st_mtim.tv_sec, info.st_ctim.tv_sec) + 1;
    trusted_ = start.tv_sec - latest >= kStampTickSeconds;
}

bool ReadingStamp::Holds(const struct stat &info) const
{
    return trusted_ && info.st_dev == device_ && info.st_ino == inode_ && info.st_size == size_ &&
        SameTime(info.st_mtim, modified_) && SameTime(info.st_ctim, changed_);
}
