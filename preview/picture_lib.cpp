#include "preview/picture_lib.h"

#include "platform/read_only_device.h"
#include "preview/pcx_decoder.h"
#include "preview/picture_reduction.h"

#include <QImageReader>

#include <exception>

namespace {

// No picture worth showing comes near this; a larger file is not read at all,
// which bounds the time a selection may spend passing over a file's lines.
constexpr qint64 kMaxFileBytes = qint64(256) << 20;

// Qt decodes a BMP file whole before it can reduce it, so the picture in full
// must fit what a reduced one may take: as much as the largest picture shown
// whole, 4096 x 4096 pixels of 4 bytes (Qt counts every format at 4 bytes a
// pixel). A larger one gives a null image once its header is read; a wider or
// taller one within that comes back at the size a PCX picture would be
// reduced to, scaled by Qt.
constexpr int kBmpAllocationLimitMiB = 64;

QImage DecodeBmp(QIODevice &file)
{
    QImageReader reader(&file, "bmp");
    reader.setAllocationLimit(kBmpAllocationLimitMiB);
    const QSize size = reader.size();
    if (size.isValid() && picture_reduction::Step(size) > 1)
        reader.setScaledSize(picture_reduction::Reduced(size));
    return reader.read();
}

} // namespace

// The file is never read whole: the decoders read its header first and then
// only what the picture they keep needs, so a file's size bounds neither the
// memory nor, beyond one pass over it, the time a selection takes.
QImage PictureLibLoad(const char *path, unsigned /*flag*/)
{
    if (path == nullptr)
        return {};
    try {
        ReadOnlyDevice file{QByteArray(path)};
        if (file.size() > kMaxFileBytes)
            return {};
        if (file.peek(2) == "BM")
            return DecodeBmp(file);
        return DecodePcx(file);
    } catch (const std::exception &) {
        return {};
    }
}
