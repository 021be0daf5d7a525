#include "platform/own_folder.h"

#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

QString SecureOwnFolder(const QByteArray &folder, const QByteArray &name)
{
    struct stat info {};
    if (::stat(folder.constData(), &info) != 0)
        return {}; // nothing there yet: the write says what is wrong
    if (info.st_uid != ::geteuid())
        return QStringLiteral("its folder belongs to another user");
    constexpr mode_t kOthersWrite = S_IWGRP | S_IWOTH;
    if ((info.st_mode & kOthersWrite) != 0 && ::chmod(folder.constData(), info.st_mode & 07777 & ~kOthersWrite) != 0)
        return QStringLiteral("others may write its folder, which cannot be made private");
    if (::lstat(WithFinalSlash(folder).append(name).constData(), &info) != 0 || info.st_uid == ::geteuid())
        return {};
    return S_ISLNK(info.st_mode) ? QStringLiteral("it is a link that another user made")
                                 : QStringLiteral("it belongs to another user");
}
