#include "platform/descriptor_io.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

int OpenRegularFile(const char *path, int flags, struct stat &info)
{
    // Without blocking, so that opening a FIFO waits for no writer or reader.
    const int fd = open(path, flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
    if (fd < 0)
        return -1;
    int error = 0;
    if (fstat(fd, &info) != 0)
        error = errno;
    else if (!S_ISREG(info.st_mode))
        error = S_ISDIR(info.st_mode) ? EISDIR : EACCES;
    // A regular file is then read and written blocking: some user-space file
    // systems answer EAGAIN to a non-blocking request that merely has to wait.
    else if (const int status = fcntl(fd, F_GETFL); status < 0 || fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0)
        error = errno;
    if (error == 0)
        return fd;
    close(fd);
    errno = error;
    return -1;
}

bool ReadToEnd(int fd, std::string &contents, size_t expectedSize)
{
    // Straight into the string, one byte more than expected, so that the
    // expected end is seen in the first pass.
    size_t length = 0;
    contents.resize(expectedSize + 1);
    for (;;) {
        if (length == contents.size())
            contents.resize(contents.size() * 2);
        const ssize_t n = read(fd, contents.data() + length, contents.size() - length);
        if (n > 0) {
            length += size_t(n);
        } else if (n == 0) {
            contents.resize(length);
            return true;
        } else if (errno != EINTR) {
            contents.resize(length);
            return false;
        }
    }
}

bool WriteAllAt(int fd, std::string_view data, off_t offset, size_t *written)
{
    size_t done = 0;
    bool ok = true;
    while (done < data.size()) {
        const ssize_t n = pwrite(fd, data.data() + done, data.size() - done, offset + off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            ok = false;
            break;
        }
        done += size_t(n);
    }
    if (written)
        *written = done;
    return ok;
}
