#pragma once
#include <QByteArray>
#include <QString>

// Paths on this system: "/" separates, and the file-name part is what follows
// the last "/". Each helper exists for text and for the system's own bytes.

QString FileNamePart(const QString &path);
QByteArray FileNamePart(const QByteArray &path);

// The folder with exactly one "/" at its end (a root "/" stays as it is).
QString WithFinalSlash(const QString &folder);
QByteArray WithFinalSlash(const QByteArray &folder);

// The folder, one "/", then the name.
QString JoinPath(const QString &folder, const QString &name);
