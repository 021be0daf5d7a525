#include "platform/open_for_overwrite.h"

#include <cerrno>

#ifdef Q_OS_UNIX
#include "platform/descriptor_io.h"

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
    // Checked again once open: what was there at the look may have been
    // replaced since.
    const int fd = OpenRegularFile(native.constData(), O_WRONLY | O_CREAT, info);
    if (fd < 0)
        return false;
    if (::ftruncate(fd, 0) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    if (file.open(fd, QIODevice::WriteOnly | mode, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    errno = EACCES;
    return false;
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
