#pragma once
#include <QByteArray>

// The short (8.3) form of an existing file's path, or the path itself when the
// system gives none or it would not fit. Paths in the system's own bytes.
QByteArray MakeShortPath(const QByteArray &longPath);
