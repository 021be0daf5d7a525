#include "platform/open_for_overwrite.h"

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QFileInfo>
#endif

namespace {

int RefusalErrno(bool folder)
{
    return folder ? EISDIR : EACCES;
}

} // namespace

#ifdef Q_OS_UNIX

bool OpenReplacedFile(QFile &file, const QString &path, QIODevice::OpenMode mode)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info
    {
    };
    if (::stat(native.constData(), &info) == 0 && !S_ISREG(info.st_mode)) {
        errno = RefusalErrno(S_ISDIR(info.st_mode));
        return false;
    }
    // Without blocking, and checked again once open: what was there at the
    // look may have been replaced since.
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0)
        return false;
    auto fail = [fd](int err) {
        ::close(fd);
        errno = err;
        return false;
    };
    if (::fstat(fd, &info) != 0)
        return fail(errno);
    if (!S_ISREG(info.st_mode))
        return fail(RefusalErrno(S_ISDIR(info.st_mode)));
    if (::ftruncate(fd, 0) != 0)
        return fail(errno);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return fail(errno);
    if (!file.open(fd, QIODevice::WriteOnly | mode, QFileDevice::AutoCloseHandle))
        return fail(EACCES);
    return true;
}

#else

bool OpenReplacedFile(QFile &file, const QString &path, QIODevice::OpenMode mode)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        errno = RefusalErrno(info.isDir());
        return false;
    }
    file.setFileName(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate | mode);
}

#endif
