#include "preview/picture_names.h"

#include "platform/paths.h"

#include <QFile>

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
    return QFile::encodeName(programFolder) + "/romdeck.bmp";
}
