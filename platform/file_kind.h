#pragma once
#include <QByteArray>

// What a path names, links followed; false when it names nothing. The path is
// the system's own bytes, so that a name that is no valid text is found too.

// A regular file, or a link to one.
bool IsFileAt(const QByteArray &path);

// A folder, or a link to one.
bool IsFolderAt(const QByteArray &path);
