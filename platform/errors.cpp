#include "platform/errors.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>

namespace {

constexpr qsizetype kLongestName = 255;
constexpr QByteArrayView kRefusedCharacters = "\\:*?\"<>|";

bool MaySomeFileSystemRefuse(QByteArrayView name)
{
    if (name.size() > kLongestName)
        return true;
    for (const char c : name)
        if (uchar(c) < 0x20 || uchar(c) >= 0x7F || kRefusedCharacters.contains(c))
            return true;
    return false;
}

bool IsFolder(const QByteArray &path)
{
    struct stat info;
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string AboutFile(const std::string &text, const QByteArray &path)
{
    if (path.isEmpty())
        return text;
    // The path as the user knows it; a name that is no valid text still shows.
    return text + ": " + QFile::decodeName(path).toStdString();
}

} // namespace

IoError::IoError(int code, const QByteArray &path) : IoError(code, IoErrorText(code), path) {}

IoError::IoError(int code, const std::string &text, const QByteArray &path)
    : RomdeckError(AboutFile(text, path)), code_(code)
{
}

IoError IoError::FromErrno(int err, const QByteArray &path)
{
    if (const int code = IoCodeFromErrno(err))
        return IoError(code, path);
    return IoError(err, "I/O error " + std::to_string(err), path);
}

std::string IoErrorText(int code)
{
    switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
    }
}

int IoCodeFromErrno(int err)
{
    switch (err) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return 5;
    case ENOSPC:
    case EDQUOT: return 101;
    default: return 0;
    }
}

bool IsRefusedName(int err, const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArrayView name = QByteArrayView(path).sliced(slash + 1);
    switch (err) {
    case EINVAL:
    case EILSEQ:
    case ENAMETOOLONG: return true;
    case EPERM: return MaySomeFileSystemRefuse(name);
    case ENOENT: return MaySomeFileSystemRefuse(name) && IsFolder(slash < 0 ? "." : path.left(slash == 0 ? 1 : slash));
    default: return false;
    }
}

void ThrowLastIoError(const QByteArray &path)
{
    throw IoError::FromErrno(errno, path);
}
