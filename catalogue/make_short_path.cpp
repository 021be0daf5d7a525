#include "catalogue/make_short_path.h"

#include "platform/short_path.h"

#include <QFile>

namespace {
constexpr DWORD kShortPathBuffer = 255;
}

QString MakeShortPath(const QString &longPath)
{
    char buffer[kShortPathBuffer + 1] = {};
    const QByteArray path = QFile::encodeName(longPath);
    const DWORD length = GetShortPathNameA(path.constData(), buffer, kShortPathBuffer);
    if (length == 0 || length > kShortPathBuffer - 1)
        return longPath;
    return QFile::decodeName(buffer);
}
