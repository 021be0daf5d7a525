#include "platform/move_file.h"

#include "platform/descriptor_io.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, so that a failing close (a deferred write error) is seen.
    bool close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Whether a failed call says only that the file system lacks the means.
bool Unsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP;
}

// Gives `from` the name `to` by an ordinary rename, which replaces, once the
// name is claimed by creating an empty file there that only this call can
// have made. Killed between the claim and the rename, it leaves that empty
// file under the new name, and the original whole.
int RenameOverClaim(const char *from, const char *to)
{
    const int claim = ::open(to, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600);
    if (claim < 0)
        return errno;
    ::close(claim);
    if (::rename(from, to) == 0)
        return 0;
    const int error = errno;
    ::unlink(to);
    return error;
}

// Gives `from` the name `to` unless that name is taken; 0 or the errno value.
// By the first means the file system offers: a rename that refuses to
// replace; a second link, which is refused when the name is taken; or, where
// there is neither (FAT, exFAT), a claimed name.
int RenameWithoutReplacing(const char *from, const char *to)
{
#ifdef __linux__
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (!Unsupported(errno))
        return errno;
#endif
    if (::link(from, to) != 0)
        return Unsupported(errno) || errno == EPERM || errno == EMLINK ? RenameOverClaim(from, to) : errno;
    if (::unlink(from) != 0) {
        const int error = errno;
        ::unlink(to);
        return error;
    }
    return 0;
}

std::string FolderOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool CopyContent(int from, int to)
{
    char buffer[64 * 1024];
    off_t copied = 0;
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!WriteAllAt(to, std::string_view(buffer, size_t(got)), copied))
            return false;
        copied += got;
    }
}

// Fills a new hidden file beside `to` with a complete copy of the source, with
// its permissions and times where the file system keeps them (FAT has no
// permission bits), on the disk; returns its name, empty with errno set on
// failure.
std::string CompleteCopyBeside(int source, const struct stat &info, const std::string &to)
{
    std::string name = FolderOf(to) + "/.romdeck-move-XXXXXX";
    Descriptor copy(::mkostemp(name.data(), O_CLOEXEC));
    if (!copy.valid())
        return {};
    bool complete = CopyContent(source, copy.get());
    if (complete) {
        const timespec times[2] = {info.st_atim, info.st_mtim};
        [[maybe_unused]] const int modeKept = ::fchmod(copy.get(), info.st_mode & 07777);
        [[maybe_unused]] const int timesKept = ::futimens(copy.get(), times);
        complete = ::fsync(copy.get()) == 0 && copy.close();
    }
    if (!complete) {
        const int error = errno;
        ::unlink(name.c_str());
        errno = error;
        return {};
    }
    return name;
}

// The new name must be on the disk before the original goes.
void SyncFolder(const std::string &folder)
{
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());
}

// 0 or the errno value.
int CopyThenRemove(const char *from, const char *to)
{
    // Only a regular file: a FIFO given as the source cannot hold the program.
    struct stat info;
    Descriptor source(OpenRegularFile(from, O_RDONLY, info));
    if (!source.valid())
        return errno;
    const std::string copy = CompleteCopyBeside(source.get(), info, to);
    if (copy.empty())
        return errno;
    if (const int error = RenameWithoutReplacing(copy.c_str(), to)) {
        ::unlink(copy.c_str());
        return error;
    }
    SyncFolder(FolderOf(to));
    if (::unlink(from) != 0) {
        // The original could not leave its folder: take the copy back.
        const int error = errno;
        ::unlink(to);
        return error;
    }
    return 0;
}

// The result for 0 or an errno value, which a failure leaves in errno.
BOOL Succeeded(int error)
{
    if (error == 0)
        return 1;
    errno = error;
    return 0;
}

} // namespace

BOOL MoveFileA(LPCSTR existing, LPCSTR newName)
{
    const int error = RenameWithoutReplacing(existing, newName);
    return Succeeded(error == EXDEV ? CopyThenRemove(existing, newName) : error);
}

BOOL MoveFileContentA(LPCSTR existing, LPCSTR newName)
{
    struct stat info;
    if (::lstat(existing, &info) == 0 && S_ISLNK(info.st_mode))
        return Succeeded(CopyThenRemove(existing, newName));
    return MoveFileA(existing, newName);
}
