#pragma once
#include <QByteArray>
#include <QString>

// A folder of the user's own that the program writes to and reads back from:
// no other local user may put anything there, since a file or link planted
// there would be written through or trusted.

// Makes folder writable by its owner alone when group or others may write to
// it, and looks at the entry name in it. Returns why the file cannot be
// trusted: the folder belongs to another user or cannot be made private, or
// the entry is a link or file of another user's; empty when it can.
QString SecureOwnFolder(const QByteArray &folder, const QByteArray &name);
