// The PCX decoder on any file content: no crash, and a picture only when the
// header describes it: its size is the header's window (reduced as every
// picture larger than 4096 on a side is), its format paletted or true colour,
// every index inside its colour table, and no more pixels than the file's
// runs could have encoded. Asked for colours, it gives the same picture.
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
    if (DecodePcx(bytes, PalettedAs::Colours) != image.convertToFormat(QImage::Format_RGB32))
        abort();
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
    if (image.format() == QImage::Format_Indexed8) {
        const int colours = image.colorCount();
        if (colours == 0 || colours > 256)
            abort();
        for (int y = 0; y < image.height(); ++y) {
            const uchar *line = image.constScanLine(y);
            for (int x = 0; x < image.width(); ++x)
                if (line[x] >= colours)
                    abort();
        }
    } else if (image.format() != QImage::Format_RGB32) {
        abort();
    }
    return 0;
}
