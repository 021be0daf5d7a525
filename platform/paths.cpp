#include "platform/paths.h"

QString FileNamePart(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QByteArray FileNamePart(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QString WithFinalSlash(const QString &folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

QByteArray WithFinalSlash(const QByteArray &folder)
{
    return folder.endsWith('/') ? folder : folder + '/';
}

QString JoinPath(const QString &folder, const QString &name)
{
    return WithFinalSlash(folder) + name;
}
