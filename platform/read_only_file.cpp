#include "platform/read_only_file.h"

#include "platform/descriptor_io.h"
#include "platform/errors.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ReadOnlyFile::ReadOnlyFile(const QByteArray &nativePath) : path_(nativePath)
{
    // A regular file only, read in blocking mode: a FIFO among the ROMs
    // holds nothing up, and a share that has to wait is not taken for a
    // failing one.
    struct stat info;
    fd_ = OpenRegularFile(nativePath.constData(), O_RDONLY, info);
    if (fd_ < 0)
        ThrowLastIoError(path_);
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
