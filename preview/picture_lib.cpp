#include "preview/picture_lib.h"

#include "platform/read_only_file.h"
#include "preview/pcx_decoder.h"
#include "preview/picture_reduction.h"

#include <QBuffer>
#include <QImageReader>

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

// Qt decodes a BMP file whole before it can reduce it, so the picture in full
// must fit what a reduced one may take: as much as the largest picture shown
// whole, 4096 x 4096 pixels of 4 bytes (Qt counts every format at 4 bytes a
// pixel). A larger one gives a null image; a wider or taller one within that
// comes back at the size a PCX picture would be reduced to, scaled by Qt.
constexpr int kBmpAllocationLimitMiB = 64;

QImage DecodeBmp(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAllocationLimit(kBmpAllocationLimitMiB);
    const QSize size = reader.size();
    if (size.isValid() && picture_reduction::Step(size) > 1)
        reader.setScaledSize(picture_reduction::Reduced(size));
    return reader.read();
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
        return DecodeBmp(bytes);
    return DecodePcx(bytes);
}
