#pragma once
#include <QString>

// The short (8.3) form of an existing file's path, or the path itself when the
// system gives none or it would not fit.
QString MakeShortPath(const QString &longPath);
