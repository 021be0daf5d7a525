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

// Gives `from` the name `to` unless that name is taken; 0 or the errno value.
int RenameWithoutReplacing(const char *from, const char *to)
{
#ifdef __linux__
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
#endif
    // Where the file system has no exclusive rename, a second link is refused
    // when the name is taken, which is the same test.
    if (::link(from, to) != 0)
        return errno;
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
// its permissions and times, on the disk; returns its name, empty on failure.
std::string CompleteCopyBeside(int source, const struct stat &info, const std::string &to)
{
    std::string name = FolderOf(to) + "/.romdeck-move-XXXXXX";
    Descriptor copy(::mkostemp(name.data(), O_CLOEXEC));
    if (!copy.valid())
        return {};
    const timespec times[2] = {info.st_atim, info.st_mtim};
    const bool complete = CopyContent(source, copy.get()) && ::fchmod(copy.get(), info.st_mode & 07777) == 0 &&
        ::futimens(copy.get(), times) == 0 && ::fsync(copy.get()) == 0 && copy.close();
    if (!complete) {
        ::unlink(name.c_str());
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

bool CopyThenRemove(const char *from, const char *to)
{
    // Only a regular file: a FIFO given as the source cannot hold the program.
    struct stat info;
    Descriptor source(OpenRegularFile(from, O_RDONLY, info));
    if (!source.valid())
        return false;
    const std::string copy = CompleteCopyBeside(source.get(), info, to);
    if (copy.empty())
        return false;
    if (RenameWithoutReplacing(copy.c_str(), to) != 0) {
        ::unlink(copy.c_str());
        return false;
    }
    SyncFolder(FolderOf(to));
    if (::unlink(from) != 0) {
        // The original could not leave its folder: take the copy back.
        ::unlink(to);
        return false;
    }
    return true;
}

} // namespace

BOOL MoveFileA(LPCSTR existing, LPCSTR newName)
{
    const int error = RenameWithoutReplacing(existing, newName);
    if (error == 0)
        return 1;
    if (error == EXDEV)
        return CopyThenRemove(existing, newName) ? 1 : 0;
    return 0;
}

BOOL MoveFileContentA(LPCSTR existing, LPCSTR newName)
{
    struct stat info;
    if (::lstat(existing, &info) == 0 && S_ISLNK(info.st_mode))
        return CopyThenRemove(existing, newName) ? 1 : 0;
    return MoveFileA(existing, newName);
}
