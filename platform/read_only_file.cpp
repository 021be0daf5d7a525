#include "platform/read_only_file.h"

#include "platform/errors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kAccessDenied = 5;
}

ReadOnlyFile::ReadOnlyFile(const QByteArray &nativePath) : path_(nativePath)
{
    fd_ = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd_ < 0)
        ThrowLastIoError(path_);
    struct stat info
    {
    };
    if (::fstat(fd_, &info) != 0) {
        const int err = errno;
        ::close(fd_);
        throw IoError::FromErrno(err, path_);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd_);
        throw IoError(kAccessDenied, path_);
    }
}

ReadOnlyFile::~ReadOnlyFile()
{
    ::close(fd_);
}

int ReadOnlyFile::readAt(std::int64_t offset, char *buffer, int length)
{
    int total = 0;
    while (total < length) {
        const ssize_t got = ::pread(fd_, buffer + total, length - total, offset + total);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            ThrowLastIoError(path_);
        }
        if (got == 0)
            break;
        total += static_cast<int>(got);
    }
    return total;
}

std::int64_t ReadOnlyFile::size() const
{
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
        ThrowLastIoError();
    return info.st_size;
}
