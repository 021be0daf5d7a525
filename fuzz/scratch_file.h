#pragma once
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

// A file that a fuzz target rewrites with every input, for readers that take a
// path. It lies in a folder of its own (in memory where /dev/shm is there),
// removed when the target ends normally.
class ScratchFile
{
public:
    explicit ScratchFile(const char *name)
    {
        std::string folder =
            access("/dev/shm", W_OK) == 0 ? "/dev/shm" : (getenv("TMPDIR") ? getenv("TMPDIR") : "/tmp");
        folder += "/romdeck-fuzz-XXXXXX";
        if (!mkdtemp(folder.data()))
            abort();
        folder_ = QByteArray::fromStdString(folder);
        path_ = folder_ + '/' + name;
    }

    ~ScratchFile()
    {
        unlink(path_.constData());
        rmdir(folder_.constData());
    }

    const QByteArray &path() const { return path_; }

    void Write(const std::uint8_t *data, std::size_t size) const
    {
        const int fd = open(path_.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0 || write(fd, data, size) != ssize_t(size) || close(fd) != 0)
            abort();
    }

private:
    QByteArray folder_;
    QByteArray path_;
};
