#pragma once
#include <QByteArray>
#include <QList>

#include <fcntl.h>
#include <unistd.h>

// Empty files made by the bytes of their paths, for names that are no valid
// text: Qt can neither name nor remove them, so they go when this object does.
class ByteNamedFiles
{
public:
    ByteNamedFiles() = default;
    ByteNamedFiles(const ByteNamedFiles &) = delete;
    ByteNamedFiles &operator=(const ByteNamedFiles &) = delete;
    ~ByteNamedFiles()
    {
        for (const QByteArray &path : paths_)
            ::unlink(path.constData());
    }

    bool create(const QByteArray &path)
    {
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0)
            return false;
        ::close(fd);
        paths_ << path;
        return true;
    }

    const QList<QByteArray> &paths() const { return paths_; }

private:
    QList<QByteArray> paths_;
};
