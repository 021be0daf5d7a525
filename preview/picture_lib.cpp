#include "preview/picture_lib.h"

#include "platform/read_only_file.h"
#include "preview/pcx_decoder.h"

#include <exception>

namespace {

// No picture worth showing comes near this; a larger file is not read at all.
constexpr qint64 kMaxFileBytes = qint64(256) << 20;

// The whole file in one read, or nothing when it is too large. Throws on a
// file that cannot be opened or read.
QByteArray ReadWholeFile(const char *path)
{
    ReadOnlyFile file{QByteArray(path)};
    const qint64 size = file.size();
    if (size > kMaxFileBytes)
        return {};
    QByteArray bytes(size, Qt::Uninitialized);
    bytes.resize(file.readAt(0, bytes.data(), int(size)));
    return bytes;
}

} // namespace

QImage PictureLibLoad(const char *path, unsigned /*flag*/)
{
    if (path == nullptr)
        return {};
    QByteArray bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const std::exception &) {
        return {};
    }
    if (bytes.startsWith("BM"))
        return QImage::fromData(bytes, "BMP");
    return DecodePcx(bytes);
}
