#include "preview/pcx_decoder.h"
#include "support/pcx_files.h"

#include <QList>

#include <gtest/gtest.h>

#include <random>

using pcx_files::Layout;

namespace {

QList<QRgb> Pixels(const QImage &image)
{
    QList<QRgb> pixels;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            pixels << image.pixel(x, y);
    return pixels;
}

// The colours of a file of up to 16 colours that carries none.
const QList<QRgb> kEgaColours = {0xFF000000, 0xFF0000AA, 0xFF00AA00, 0xFF00AAAA, 0xFFAA0000, 0xFFAA00AA,
                                 0xFFAA5500, 0xFFAAAAAA, 0xFF555555, 0xFF5555FF, 0xFF55FF55, 0xFF55FFFF,
                                 0xFFFF5555, 0xFFFF55FF, 0xFFFFFF55, 0xFFFFFFFF};

QList<QRgb> Colours(const QByteArray &rgb)
{
    QList<QRgb> colours;
    for (qsizetype i = 0; i + 2 < rgb.size(); i += 3)
        colours << qRgb(uchar(rgb[i]), uchar(rgb[i + 1]), uchar(rgb[i + 2]));
    return colours;
}

struct HandCase
{
    const char *name;
    Layout layout;
    QByteArray scanLines; // hex
    QList<QRgb> expected;
    QByteArray endColours = {};
};

// Scan lines as pictures mix them: short runs of any value, long runs, and
// noise where values from 0xC0 up come as runs of one, in stretches of random
// length that go on over line ends.
QByteArray MixedScanLines(qsizetype size, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray lines;
    while (lines.size() < size) {
        const int kind = int(random() % 3);
        for (int i = int(random() % 48); i >= 0; --i) {
            const char value = char(random());
            lines += kind == 2 ? QByteArray(1, value) : QByteArray(int(1 + random() % (kind == 0 ? 10 : 100)), value);
        }
    }
    return lines.left(size);
}

// The value of pixel (x, y) of a picture width pixels wide: noise, but 0 in
// the two pixels at each end of a line, so that runs going on over line ends
// cross every one.
unsigned NoiseWithFlatEnds(int x, int y, int width)
{
    return x < 2 || x >= width - 2 ? 0 : (unsigned(x) * 2654435761u ^ unsigned(y) * 40503u) >> 5;
}

// Scan lines holding value(x, y) of each pixel in the layout's bits: in each
// plane the next bits of a colour index, or of true colour red, green, blue.
QByteArray ScanLinesOf(const Layout &layout, unsigned (*value)(int x, int y, int width))
{
    const int bits = layout.bitsPerPixel;
    const qsizetype lineBytes = layout.lineBytes();
    QByteArray lines(lineBytes * layout.planes * layout.height, '\0');
    for (int y = 0; y < layout.height; ++y) {
        for (int x = 0; x < layout.width; ++x) {
            const unsigned pixel = value(x, y, layout.width);
            for (int plane = 0; plane < layout.planes; ++plane) {
                const unsigned bitsOfPlane = pixel >> (plane * bits) & ((1u << bits) - 1);
                const qsizetype at = (qsizetype(y) * layout.planes + plane) * lineBytes + x * bits / 8;
                lines[at] = char(lines[at] | bitsOfPlane << (8 - bits - x * bits % 8));
            }
        }
    }
    return lines;
}

} // namespace

// Layouts the common tools do not write, each with runs broken at line ends,
// runs going on over every line and plane end, and no runs at all.
TEST(PcxDecoder, HandWrittenLayouts)
{
    const QByteArray four = QByteArray::fromHex("0a141e 28323c 46505a 646e78");
    const QByteArray sixteen = QByteArray::fromHex("00ff01 10ef09 20df11 30cf19 40bf21 50af29 609f31 708f39"
                                                   "807f41 906f49 a05f51 b04f59 c03f61 d02f69 e01f71 f00f79");
    QByteArray endColours;
    for (int i = 0; i < 256; ++i)
        endColours.append(char(i)).append(char(i ^ 0x5A)).append(char(255 - i));
    const QList<QRgb> c4 = Colours(four), c16 = Colours(sixteen), end = Colours(endColours);
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    // All 7s but one pixel: a single run can cover every plane and line.
    QByteArray alike = QByteArray(3 * 6 * 3, '\x07').toHex();
    alike.replace(2 * (2 * 18 + 2 * 6 + 4), 2, "c5");
    QList<QRgb> alikePixels(15, qRgb(7, 7, 7));
    alikePixels.last() = qRgb(7, 7, 0xC5);
    // Lines are read 16 KB at a time: of 6-byte lines 2730, then the last one.
    // One byte and then runs of 63 put a run across the end of the first read,
    // among the last 32 data bytes, where the codes go one by one.
    const int crossingLines = 16 * 1024 / 6 + 1;
    const QByteArray crossing = (QByteArray(1, '\x01') + QByteArray(6 * crossingLines - 1, '\x2a')).toHex();
    QList<QRgb> crossingPixels(6 * crossingLines, qRgb(42, 42, 42));
    crossingPixels.first() = qRgb(1, 1, 1);

    const HandCase cases[] = {
        // Bits past the width and padding bytes carry garbage.
        {"2 bits packed",
         {.bitsPerPixel = 2, .width = 5, .height = 2, .bytesPerLine = 4, .colours = four},
         "1bffaaaa a43f5555",
         {c4[0], c4[1], c4[2], c4[3], c4[3], c4[2], c4[2], c4[1], c4[0], c4[0]}},
        {"4 bits packed", {.bitsPerPixel = 4, .width = 3, .colours = sixteen}, "1f2e", {c16[1], c16[15], c16[2]}},
        {"8 bits in 4 planes, the fourth ignored",
         {.planes = 4, .width = 2, .bytesPerLine = 2},
         "0102 0304 0506 0080",
         {qRgb(1, 3, 5), qRgb(2, 4, 6)}},
        {"version 3 takes the header colours",
         {.version = 3, .bitsPerPixel = 1, .planes = 4, .width = 8, .colours = sixteen},
         "5500 3300 0f00 0000",
         {c16[0], c16[1], c16[2], c16[3], c16[4], c16[5], c16[6], c16[7]}},
        {"an empty palette takes the EGA colours",
         {.bitsPerPixel = 1, .planes = 4, .width = 8},
         "5500 3300 0f00 0000",
         kEgaColours.first(8)},
        {"monochrome without colours",
         {.bitsPerPixel = 1, .width = 8},
         "0f00",
         {black, black, black, black, white, white, white, white}},
        {"monochrome of version 3",
         {.version = 3, .bitsPerPixel = 1, .width = 3, .colours = QByteArray::fromHex("ff00000000ff")},
         "a000",
         {white, black, white}},
        {"8 bits without the end palette are grey", {.width = 3}, "0080ff00", {black, qRgb(128, 128, 128), white}},
        {"window away from the origin",
         {.xMin = 10, .yMin = 5, .width = 3, .height = 2},
         "07070707 0707c800",
         {end[7], end[7], end[7], end[7], end[7], end[200]},
         endColours},
        {"24 bits, lines padded", {.planes = 3, .width = 5, .height = 3}, alike, alikePixels},
        {"one run over both lines",
         {.width = 6, .height = 2},
         "2a2a2a2a2a2a 2a2a2a2a2a2a",
         QList<QRgb>(12, qRgb(42, 42, 42))},
        {"one run across two reads", {.width = 6, .height = crossingLines}, crossing, crossingPixels},
    };
    for (const HandCase &c : cases) {
        for (const int encoding : {0, 1, 2}) {
            SCOPED_TRACE(std::string(c.name) + ", encoding " + std::to_string(encoding));
            Layout layout = c.layout;
            layout.runLength = encoding != 0;
            const QByteArray file =
                pcx_files::File(layout, QByteArray::fromHex(c.scanLines), encoding == 2, c.endColours);
            const QImage image = DecodePcx(file);
            EXPECT_EQ(image.size(), QSize(layout.width, layout.height));
            EXPECT_EQ(Pixels(image), c.expected);
            EXPECT_EQ(image.format(), QImage::Format_RGB32);
        }
    }
}

TEST(PcxDecoder, DamagedFilesGiveNullOrAPictureOfTheirHeaderSize)
{
    QByteArray lines(38 * 23 * 3, '\0');
    for (qsizetype i = 0; i < lines.size(); ++i)
        lines[i] = char(i % 97 < 40 ? 0xC3 : (i * 2654435761u) >> 24);
    const QList<QByteArray> files = {
        pcx_files::File({.width = 37, .height = 23}, lines.left(38 * 23), false, QByteArray(768, '\x40')),
        pcx_files::File({.planes = 3, .width = 37, .height = 23}, lines, true),
        pcx_files::File({.bitsPerPixel = 1, .planes = 4, .width = 37, .height = 23}, lines.left(6 * 4 * 23)),
    };
    const auto decode = [](const QByteArray &bytes) {
        const QImage image = DecodePcx(bytes);
        // Never more than the bytes can encode: 63 per run pair, 8 pixels per byte.
        if (!image.isNull())
            EXPECT_LE(image.sizeInBytes(), 32 * 8 * bytes.size() + 4 * image.height());
        return image;
    };
    for (const QByteArray &file : files) {
        ASSERT_EQ(decode(file).size(), QSize(37, 23));
        for (qsizetype cut = 0; cut < file.size(); ++cut) {
            const QImage image = decode(file.left(cut));
            EXPECT_TRUE(image.isNull() || image.size() == QSize(37, 23)) << "cut at " << cut;
        }
        for (int at = 0; at < 128; ++at) {
            for (const int value : {0x00, 0x01, 0x02, 0x03, 0x04, 0x06, 0x08, 0x0C, 0x3F, 0x7F, 0x80, 0xC1, 0xFF}) {
                QByteArray mutated = file;
                mutated[at] = char(value);
                decode(mutated);
            }
        }
        for (qsizetype i = 0; i < 500; ++i) {
            QByteArray mutated = file;
            mutated[128 + (i * 7919) % (file.size() - 128)] = char((i * 31) ^ 0xC0);
            decode(mutated);
        }
    }
    // Gigabytes claimed by a small file, and layouts that do not exist.
    const Layout huge{.planes = 4, .width = 65535, .height = 65535, .bytesPerLine = 65535};
    EXPECT_TRUE(DecodePcx(pcx_files::Header(huge) + QByteArray(4096, '\xFF')).isNull());
    for (const Layout &bad :
         {Layout{.planes = 2}, Layout{.bitsPerPixel = 2, .planes = 2}, Layout{.bitsPerPixel = 3},
          Layout{.bitsPerPixel = 1, .planes = 5}, Layout{.width = 4, .bytesPerLine = 3}, Layout{.planes = 0}})
        EXPECT_TRUE(DecodePcx(pcx_files::File(bad, QByteArray(64, '\x01'))).isNull());
}

// Long lines of every kind of content, in 256 colours and true colour, with
// padding bytes or without: each pixel as the scan lines hold it, and a file
// cut anywhere in them is null.
TEST(PcxDecoder, MixedContentOverLongLinesDecodesExactly)
{
    QByteArray endColours;
    for (int i = 0; i < 256; ++i)
        endColours.append(char(255 - i)).append(char(i)).append(char(i * 7));
    const QList<QRgb> palette = Colours(endColours);
    for (const int planes : {1, 3}) {
        for (const int width : {300, 301}) {
            const Layout layout{.planes = planes, .width = width, .height = 37};
            const qsizetype lineBytes = layout.lineBytes();
            const QByteArray lines = MixedScanLines(lineBytes * planes * layout.height, unsigned(planes + width));
            QList<QRgb> expected;
            for (int y = 0; y < layout.height; ++y) {
                const auto at = [&](int plane, int x) { return uchar(lines[(y * planes + plane) * lineBytes + x]); };
                for (int x = 0; x < layout.width; ++x)
                    expected << (planes == 1 ? palette[at(0, x)] : qRgb(at(0, x), at(1, x), at(2, x)));
            }
            for (const bool runsOverLines : {false, true}) {
                const QByteArray file =
                    pcx_files::File(layout, lines, runsOverLines, planes == 1 ? endColours : QByteArray());
                const qsizetype dataEnd = file.size() - (planes == 1 ? 769 : 0);
                SCOPED_TRACE(std::to_string(planes) + " planes, width " + std::to_string(width) + ", runs over lines " +
                             std::to_string(runsOverLines));
                EXPECT_EQ(Pixels(DecodePcx(file)), expected);
                for (qsizetype cut = 128; cut < dataEnd; cut += 5)
                    EXPECT_TRUE(DecodePcx(file.left(cut)).isNull()) << "cut at " << cut;
            }
        }
    }
}

// The preview shows pictures stretched into a small panel: one up to 4096
// pixels on a side comes back whole, a larger one keeps every k-th line and
// pixel from the first, k as small as brings both sides within 4096. The runs
// of the lines between are followed, also where they go on over line ends.
TEST(PcxDecoder, PicturesLargerThan4096KeepEveryKthLineAndPixel)
{
    const struct
    {
        Layout layout;
        QSize size;
    } sizes[] = {
        {{.bitsPerPixel = 1, .width = 4096, .height = 4096}, {4096, 4096}},
        {{.planes = 3, .width = 1, .height = 4096}, {1, 4096}},
        {{.width = 4097, .height = 1}, {2049, 1}},
        // The 1 MB file of the 256 MB picture that became 1 GB on the screen.
        {{.bitsPerPixel = 1, .width = 16384, .height = 16384}, {4096, 4096}},
        {{.bitsPerPixel = 1, .planes = 4, .width = 65535, .height = 3}, {4096, 1}},
    };
    for (const auto &c : sizes) {
        const Layout &layout = c.layout;
        const QByteArray flat(qsizetype(layout.lineBytes()) * layout.planes * layout.height, '\0');
        EXPECT_EQ(DecodePcx(pcx_files::File(layout, flat, true)).size(), c.size)
            << layout.width << " x " << layout.height << ", " << layout.bitsPerPixel << " bits";
    }

    const struct
    {
        Layout layout;
        int k;
    } sampled[] = {
        {{.width = 8193, .height = 7}, 3},
        {{.planes = 3, .width = 40, .height = 12289}, 4},
        // Wide enough after reduction for the 16-pixel groups of true colour.
        {{.planes = 3, .width = 8200, .height = 7}, 3},
        {{.bitsPerPixel = 1, .width = 12289, .height = 5}, 4},
        {{.bitsPerPixel = 1, .planes = 4, .width = 4100, .height = 9}, 2},
        {{.bitsPerPixel = 2, .width = 4500, .height = 3}, 2},
        {{.bitsPerPixel = 4, .width = 9000, .height = 4}, 3},
    };
    for (const auto &c : sampled) {
        const Layout &layout = c.layout;
        const bool trueColour = layout.planes == 3;
        const unsigned indexMask = (1u << layout.bitsPerPixel * layout.planes) - 1;
        // None of the files carries colours: 256 grey levels, black and white,
        // or the EGA colours.
        const auto colourOf = [&](unsigned value) {
            if (trueColour)
                return qRgb(value & 0xFF, value >> 8 & 0xFF, value >> 16 & 0xFF);
            const unsigned index = value & indexMask;
            if (layout.bitsPerPixel == 8)
                return qRgb(index, index, index);
            return indexMask == 1 ? (index == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)) : kEgaColours[index];
        };
        const QByteArray lines = ScanLinesOf(layout, NoiseWithFlatEnds);
        for (const bool runsOverLines : {false, true}) {
            SCOPED_TRACE(std::to_string(layout.width) + " x " + std::to_string(layout.height) + ", " +
                         std::to_string(layout.bitsPerPixel) + " bits, runs over lines " +
                         std::to_string(runsOverLines));
            const QByteArray file = pcx_files::File(layout, lines, runsOverLines);
            const QImage image = DecodePcx(file);
            ASSERT_EQ(image.size(), QSize((layout.width + c.k - 1) / c.k, (layout.height + c.k - 1) / c.k));
            int wrong = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (image.pixel(x, y) != colourOf(NoiseWithFlatEnds(x * c.k, y * c.k, layout.width)))
                        ++wrong;
                }
            }
            EXPECT_EQ(wrong, 0);
            // The lines after the last one kept are still part of the picture.
            EXPECT_TRUE(DecodePcx(file.left(file.size() - 1)).isNull());
        }
    }
}
