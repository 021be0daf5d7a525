#include "catalogue/make_short_path.h"

#include "platform/short_path.h"

namespace {
constexpr DWORD kShortPathBuffer = 255;
}

QByteArray MakeShortPath(const QByteArray &longPath)
{
    char buffer[kShortPathBuffer + 1] = {};
    const DWORD length = GetShortPathNameA(longPath.constData(), buffer, kShortPathBuffer);
    if (length == 0 || length > kShortPathBuffer - 1)
        return longPath;
    return QByteArray(buffer);
}
