#pragma once
#include <QFile>
#include <QString>

// Opens a file for writing from its start, creating it or emptying it, as a
// Windows program replaces a file. Only a regular file, or a new one, is
// opened: a folder, a FIFO, a device or a socket is refused at once, before
// anything waits for a reader or writes to a device, with errno EISDIR for a
// folder and EACCES for the others. False with errno set on any failure, and
// the file is not changed then. mode adds to QIODevice::WriteOnly.
bool OpenReplacedFile(QFile &file, const QString &path, QIODevice::OpenMode mode = {});
