#pragma once
#include <QByteArray>
#include <QString>

// The names of a ROM's preview picture, from the ROM's stored path. Paths are
// the system's own bytes, so that a name that is not valid text still works.

// The file-name part of the ROM's path up to and including its first ".";
// empty when the file name has no ".".
QByteArray PictureStem(const QByteArray &romPath);

// Where the picture is looked for: the picture folder, "/", the stem, "PCX".
QByteArray PicturePath(const QByteArray &pixFolder, const QByteArray &stem);

// The name the picture is expected under, which the picker files it under:
// the stem followed by "pcx".
QByteArray ExpectedPictureName(const QByteArray &stem);

// The picture shown when a ROM has none: romdeck.bmp beside the program,
// else in the installed data folder.
QByteArray DefaultPicturePath(const QString &programFolder);
