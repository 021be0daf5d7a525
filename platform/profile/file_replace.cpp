#include "platform/profile/file_replace.h"

#include "platform/descriptor_io.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr int kMaxLinkHops = 40;
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr size_t kRandomLength = 8;
constexpr std::string_view kTemporarySuffix = ".tmp";

// `name` in the folder of `path`, spelled as `path` spells that folder.
std::string Beside(const std::string &path, std::string_view name)
{
    const size_t slash = path.rfind('/');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + std::string(name);
}

std::string FolderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Temporary files are named ".<name>.<8 letters or digits>.tmp", the name cut
// so that the whole stays within the longest file name.
std::string TemporaryPrefix(const std::string &target)
{
    const size_t slash = target.rfind('/');
    const std::string_view name = std::string_view(target).substr(slash == std::string::npos ? 0 : slash + 1);
    return std::string(".").append(name.substr(0, 200)).append(".");
}

bool IsTemporaryOf(std::string_view entry, std::string_view prefix)
{
    if (entry.size() != prefix.size() + kRandomLength + kTemporarySuffix.size() || !entry.starts_with(prefix) ||
        !entry.ends_with(kTemporarySuffix))
        return false;
    for (const char c : entry.substr(prefix.size(), kRandomLength))
        if (std::string_view(kLetters).find(c) == std::string_view::npos)
            return false;
    return true;
}

bool SameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether `fd` is still the file named `path`.
bool StillNamed(int fd, const std::string &path)
{
    struct stat opened;
    struct stat named;
    return fstat(fd, &opened) == 0 && lstat(path.c_str(), &named) == 0 && SameFile(opened, named);
}

// Creates a new, empty file beside `target` under an unused hidden name, with
// the permission bits `mode` as far as the file system keeps them, and locks it.
int CreateTemporaryBeside(const std::string &target, mode_t mode, std::string &temporaryPath)
{
    static std::minstd_rand random{std::random_device{}()};
    const std::string prefix = TemporaryPrefix(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix(kRandomLength, ' ');
        for (char &c : suffix)
            c = kLetters[random() % (sizeof kLetters - 1)];
        temporaryPath = Beside(target, prefix + suffix + std::string(kTemporarySuffix));
        const int fd = open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return -1;
        }
        // Where there are no locks, no other writer can take the file either.
        // A writer cleaning up that took it before this lock has removed it.
        if (flock(fd, LOCK_EX) != 0 || StillNamed(fd, temporaryPath))
            return fd;
        close(fd);
    }
    errno = EEXIST;
    return -1;
}

// Where the file system keeps them. Only root may hand a file to someone else;
// for anyone else the rewritten file becomes theirs, as with any rewrite. FAT
// keeps neither owner nor bits (fusefat answers ENOSYS, the kernel's vfat
// EPERM), and the new file was created no more open than the old one, so no
// refusal here fails the save.
void KeepOwnerAndMode(int fd, const struct stat &previous)
{
    [[maybe_unused]] const int ownerKept = fchown(fd, previous.st_uid, previous.st_gid);
    [[maybe_unused]] const int modeKept = fchmod(fd, previous.st_mode & 07777);
}

// The rename is what makes the new contents durable; losing this sync only
// risks the old file coming back after a power cut, never a damaged one.
void SyncFolder(const std::string &folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Makes room for the file to grow from `from` to `to` bytes by writing zeros
// there and syncing them. Not posix_fallocate: where the file system has no
// allocation call of its own (ext2, ext3 without extents, NFSv3, many FUSE
// ones), glibc stands in with a read and a write per block, which fail on a
// write-only descriptor, and other C libraries just fail. Written bytes take
// room everywhere, and the sync makes a file system that allocates late, or a
// network server, report a full disk now rather than during the write.
bool Reserve(int fd, off_t from, off_t to)
{
    static constexpr char kZeros[64 * 1024] = {};
    for (off_t at = from; at < to; at += off_t(sizeof kZeros)) {
        const size_t length = size_t(std::min<off_t>(to - at, off_t(sizeof kZeros)));
        if (!WriteAllAt(fd, std::string_view(kZeros, length), at))
            return false;
    }
    return fsync(fd) == 0;
}

// Overwrites the file open at `fd`, which holds `old`, with `contents`, and
// returns 0 or the error. The room comes first, so that a full disk fails
// before the first byte of the file changes; then the new contents go in one
// pass; on any failure the old bytes go back over what was changed.
int Overwrite(int fd, std::string_view old, std::string_view contents)
{
    const off_t oldSize = off_t(old.size());
    const off_t size = off_t(contents.size());
    if (size > oldSize && !Reserve(fd, oldSize, size)) {
        const int error = errno;
        [[maybe_unused]] const int restored = ftruncate(fd, oldSize);
        return error;
    }
    size_t written = 0;
    bool truncated = false;
    if (WriteAllAt(fd, contents, 0, &written) && (truncated = ftruncate(fd, size) == 0) && fsync(fd) == 0)
        return 0;
    const int error = errno;
    // A shrinking write has cut the old end off too.
    const size_t changed = truncated ? old.size() : std::min(written, old.size());
    if (WriteAllAt(fd, old.substr(0, changed), 0) && ftruncate(fd, oldSize) == 0)
        fsync(fd);
    return error;
}

bool OverwriteInPlace(const std::string &target, std::string_view contents)
{
    // Read and write: the old contents are read first, to be put back.
    struct stat info;
    const int fd = OpenRegularFile(target.c_str(), O_RDWR, info);
    if (fd < 0)
        return false;
    int error = 0;
    std::string old;
    if (!ReadToEnd(fd, old, size_t(info.st_size)))
        error = errno;
    else
        error = Overwrite(fd, old, contents);
    close(fd);
    errno = error;
    return error == 0;
}

} // namespace

std::optional<std::string> WriteTargetOf(const std::string &path)
{
    std::string target = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat info;
        if (lstat(target.c_str(), &info) != 0)
            return errno == ENOENT ? std::optional(target) : std::nullopt;
        if (!S_ISLNK(info.st_mode))
            return target;
        char link[PATH_MAX];
        const ssize_t n = readlink(target.c_str(), link, sizeof link);
        if (n < 0)
            return std::nullopt;
        if (size_t(n) == sizeof link) {
            errno = ENAMETOOLONG;
            return std::nullopt;
        }
        const std::string_view linked(link, size_t(n));
        target = linked.starts_with('/') ? std::string(linked) : Beside(target, linked);
    }
    errno = ELOOP;
    return std::nullopt;
}

bool MayWriteExisting(const std::string &target, const struct stat &info)
{
    if ((info.st_mode & 0222) == 0) {
        errno = EACCES;
        return false;
    }
    return faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0;
}

// A writer holds a lock on its temporary file from its creation until the
// rename; one whose lock can be taken belongs to a writer that is gone.
void RemoveLeftTemporaries(const std::string &target)
{
    const std::string prefix = TemporaryPrefix(target);
    DIR *folder = opendir(FolderOf(target).c_str());
    if (!folder)
        return;
    while (const dirent *entry = readdir(folder)) {
        if (!IsTemporaryOf(entry->d_name, prefix))
            continue;
        const std::string path = Beside(target, entry->d_name);
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat info;
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 && StillNamed(fd, path))
            unlink(path.c_str());
        close(fd);
    }
    closedir(folder);
}

bool ReplaceFileContents(const std::string &target, std::string_view contents, const struct stat *previous)
{
    std::string temporary;
    const int fd = CreateTemporaryBeside(target, previous ? previous->st_mode & 0777 : 0666, temporary);
    if (fd < 0) {
        if (previous && (errno == EACCES || errno == EPERM))
            return OverwriteInPlace(target, contents);
        return false;
    }
    if (previous)
        KeepOwnerAndMode(fd, *previous);
    bool ok = WriteAllAt(fd, contents, 0) && fsync(fd) == 0;
    int error = errno;
    if (ok && rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok)
        unlink(temporary.c_str());
    // Closed, and so unlocked, only now: until the rename the lock tells
    // writers cleaning up that the file is in use.
    close(fd);
    if (!ok) {
        errno = error;
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}
