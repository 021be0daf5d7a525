// The PCX decoder on any file content: no crash, and a picture only when the
// header describes it: its size is the header's window (reduced as every
// picture larger than 4096 on a side is), in RGB32 with every pixel opaque
// (as every colour a file can give is; a pixel never written may not be), and
// no more pixels than the file's runs could have encoded.
#include "preview/pcx_decoder.h"
#include "preview/picture_reduction.h"

#include <cstdlib>

namespace {

int Word(const std::uint8_t *at)
{
    return at[0] | at[1] << 8;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const QImage image = DecodePcx(bytes);
    if (image.isNull())
        return 0;
    if (size < 128)
        abort();
    const QSize window(((Word(data + 8) - Word(data + 4)) & 0xFFFF) + 1,
                       ((Word(data + 10) - Word(data + 6)) & 0xFFFF) + 1);
    if (image.size() != picture_reduction::Reduced(window))
        abort();
    // A run of two bytes gives at most 63 bytes, a byte at most 8 pixels.
    if (qint64(image.width()) * image.height() > qint64(size) * 63 * 8)
        abort();
    if (image.format() != QImage::Format_RGB32)
        abort();
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) != 0xFF)
                abort();
    }
    return 0;
}
