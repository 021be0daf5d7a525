#include "preview/picture_names.h"

#include "platform/paths.h"
#include "settings/settings_location.h"

#include <QFile>
#include <QFileInfo>

QByteArray PictureStem(const QByteArray &romPath)
{
    const QByteArray name = romPath.mid(romPath.lastIndexOf('/') + 1);
    const qsizetype dot = name.indexOf('.');
    return dot < 0 ? QByteArray() : name.left(dot + 1);
}

QByteArray PicturePath(const QByteArray &pixFolder, const QByteArray &stem)
{
    return pixFolder + '/' + stem + "PCX";
}

QByteArray ExpectedPictureName(const QByteArray &stem)
{
    return stem + "pcx";
}

QByteArray DefaultPicturePath(const QString &programFolder)
{
    const QString beside = JoinPath(programFolder, QStringLiteral("romdeck.bmp"));
    const QString installed = JoinPath(InstalledDataFolder(programFolder), QStringLiteral("romdeck.bmp"));
    return QFile::encodeName(!QFileInfo::exists(beside) && QFileInfo::exists(installed) ? installed : beside);
}
