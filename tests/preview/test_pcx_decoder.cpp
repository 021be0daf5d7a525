#include "preview/pcx_decoder.h"
#include "support/pcx_files.h"

#include <QList>

#include <gtest/gtest.h>

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

QByteArray Rgb(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes += char(v);
    return bytes;
}

QList<QRgb> Colours(const QByteArray &rgb)
{
    QList<QRgb> colours;
    for (qsizetype i = 0; i + 2 < rgb.size(); i += 3)
        colours << qRgb(uchar(rgb[i]), uchar(rgb[i + 1]), uchar(rgb[i + 2]));
    return colours;
}

QByteArray SixteenColours()
{
    QByteArray rgb;
    for (int i = 0; i < 16; ++i)
        rgb += Rgb({i * 16, 255 - i * 16, i * 8 + 1});
    return rgb;
}

struct HandCase
{
    const char *name;
    Layout layout;
    QByteArray scanLines;
    QList<QRgb> expected;
    QByteArray endColours = {};
};

QList<HandCase> HandCases()
{
    const QByteArray four = Rgb({10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120});
    const QList<QRgb> c4 = Colours(four);
    const QList<QRgb> c16 = Colours(SixteenColours());
    const QList<QRgb> ega = {qRgb(0, 0, 0), qRgb(0, 0, 0xAA), qRgb(0, 0xAA, 0), qRgb(0, 0xAA, 0xAA),
                             qRgb(0xAA, 0, 0), qRgb(0xAA, 0, 0xAA), qRgb(0xAA, 0x55, 0), qRgb(0xAA, 0xAA, 0xAA)};
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    // Eight pixels of indices 0..7 in four planes of one byte each, padded to two.
    const QByteArray planarIndices = Rgb({0x55, 0, 0x33, 0, 0x0F, 0, 0x00, 0});
    QByteArray endColours;
    for (int i = 0; i < 256; ++i)
        endColours += Rgb({i, i ^ 0x5A, 255 - i});

    QList<HandCase> cases;
    // Bits past the width and padding bytes past the needed ones carry garbage.
    cases.append({"2 bits packed", {.bitsPerPixel = 2, .width = 5, .height = 2, .bytesPerLine = 4, .colours = four},
                  Rgb({0x1B, 0xFF, 0xAA, 0xAA, 0xA4, 0x3F, 0x55, 0x55}),
                  {c4[0], c4[1], c4[2], c4[3], c4[3], c4[2], c4[2], c4[1], c4[0], c4[0]}});
    cases.append({"4 bits packed", {.bitsPerPixel = 4, .width = 3, .colours = SixteenColours()},
                  Rgb({0x1F, 0x2E}), {c16[1], c16[15], c16[2]}});
    cases.append({"8 bits in 4 planes, the fourth ignored", {.planes = 4, .width = 2, .bytesPerLine = 2},
                  Rgb({1, 2, 3, 4, 5, 6, 0, 0x80}), {qRgb(1, 3, 5), qRgb(2, 4, 6)}});
    cases.append({"version 3 takes the EGA colours", {.version = 3, .bitsPerPixel = 1, .planes = 4, .width = 8,
                  .colours = QByteArray(48, '\x77')}, planarIndices, ega});
    cases.append({"an empty 16-colour palette takes the EGA colours", {.bitsPerPixel = 1, .planes = 4, .width = 8},
                  planarIndices, ega});
    cases.append({"monochrome without colours", {.bitsPerPixel = 1, .width = 8}, Rgb({0x0F, 0}),
                  {black, black, black, black, white, white, white, white}});
    cases.append({"monochrome of version 3", {.version = 3, .bitsPerPixel = 1, .width = 3,
                  .colours = Rgb({255, 0, 0, 0, 0, 255})}, Rgb({0xA0, 0}), {white, black, white}});
    cases.append({"8 bits without the end palette are grey", {.width = 3}, Rgb({0, 128, 255, 0}),
                  {qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(255, 255, 255)}});
    const QList<QRgb> end = Colours(endColours);
    cases.append({"window away from the origin", {.xMin = 10, .yMin = 5, .width = 3, .height = 2},
                  Rgb({7, 7, 7, 0, 200, 201, 202, 0}), {end[7], end[7], end[7], end[200], end[201], end[202]},
                  endColours});
    // All but the last pixel alike: one run goes over every plane and line end.
    QByteArray alike(3 * 6 * 3, '\x07');
    alike[2 * 18 + 2 * 6 + 4] = char(0xC5);
    QList<QRgb> alikePixels(15, qRgb(7, 7, 7));
    alikePixels.last() = qRgb(7, 7, 0xC5);
    cases.append({"24 bits, lines padded", {.planes = 3, .width = 5, .height = 3}, alike, alikePixels});
    return cases;
}

} // namespace

TEST(PcxDecoder, HandWrittenLayoutsWithRunsWithinLinesOverLinesOrNone)
{
    for (const HandCase &c : HandCases()) {
        for (const int encoding : {0, 1, 2}) {
            SCOPED_TRACE(std::string(c.name) + ", encoding " + std::to_string(encoding));
            Layout layout = c.layout;
            layout.runLength = encoding != 0;
            const QImage image = DecodePcx(pcx_files::File(layout, c.scanLines, encoding == 2, c.endColours));
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.size(), QSize(layout.width, layout.height));
            EXPECT_EQ(Pixels(image), c.expected);
            EXPECT_FALSE(image.hasAlphaChannel());
        }
    }
}

TEST(PcxDecoder, DamagedFilesGiveNullOrAPictureOfTheirHeaderSize)
{
    Layout paletted{.width = 37, .height = 23};
    Layout trueColour{.planes = 3, .width = 37, .height = 23};
    Layout planar{.bitsPerPixel = 1, .planes = 4, .width = 37, .height = 23, .colours = SixteenColours()};
    QByteArray lines(38 * 23 * 3, '\0');
    for (qsizetype i = 0; i < lines.size(); ++i)
        lines[i] = char(i % 97 < 40 ? 0xC3 : (i * 2654435761u) >> 24);
    QByteArray endColours(768, '\x40');
    const QList<QByteArray> files = {
        pcx_files::File(paletted, lines.left(38 * 23), false, endColours),
        pcx_files::File(trueColour, lines, true),
        pcx_files::File(planar, lines.left(6 * 4 * 23)),
    };
    const auto checked = [](const QByteArray &bytes) {
        const QImage image = DecodePcx(bytes);
        // A picture never outgrows what its bytes can encode: 63 bytes per run
        // pair, 8 pixels per byte.
        if (!image.isNull())
            EXPECT_LE(image.sizeInBytes(), 32 * 8 * bytes.size() + 4 * image.height());
        return image;
    };
    for (const QByteArray &file : files) {
        ASSERT_EQ(checked(file).size(), QSize(37, 23));
        for (qsizetype cut = 0; cut < file.size(); ++cut) {
            const QImage image = checked(file.left(cut));
            if (!image.isNull())
                EXPECT_EQ(image.size(), QSize(37, 23)) << "cut at " << cut;
        }
        for (int at = 0; at < 128; ++at) {
            for (const int value : {0x00, 0x01, 0x02, 0x03, 0x04, 0x06, 0x08, 0x0C, 0x3F, 0x7F, 0x80, 0xC1, 0xFF}) {
                QByteArray mutated = file;
                mutated[at] = char(value);
                checked(mutated);
            }
        }
        for (qsizetype i = 0; i < 500; ++i) {
            QByteArray mutated = file;
            mutated[128 + (i * 7919) % (file.size() - 128)] = char((i * 31) ^ 0xC0);
            checked(mutated);
        }
    }

    // Gigabytes claimed by a small file, and layouts that do not exist.
    Layout huge{.planes = 4, .width = 65535, .height = 65535, .bytesPerLine = 65535};
    EXPECT_TRUE(DecodePcx(pcx_files::Header(huge) + QByteArray(4096, '\xFF')).isNull());
    for (const Layout &bad : {Layout{.bitsPerPixel = 8, .planes = 2}, Layout{.bitsPerPixel = 2, .planes = 2},
                              Layout{.bitsPerPixel = 3}, Layout{.bitsPerPixel = 1, .planes = 5},
                              Layout{.width = 4, .bytesPerLine = 3}, Layout{.planes = 0}}) {
        EXPECT_TRUE(DecodePcx(pcx_files::File(bad, QByteArray(64, '\x01'))).isNull());
    }
}
