// Pictures written by netpbm and ImageMagick in every layout they write,
// decoded by us and by the tools themselves, pixel for pixel; and the same
// files of 4 to 16 colours marked as version 3, which both tools (and Pillow,
// in the layouts it reads) still show in their header colours.

#include "preview/pcx_decoder.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

bool RunTool(const QString &tool, const QStringList &arguments, const QString &output = {})
{
    QProcess process;
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QStandardPaths::findExecutable(tool), arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// 37 x 23 (odd, so lines carry padding): three flat lines, then each of the
// given colours once, then the same colours scattered. No colours: more than
// any palette holds.
QImage Source(const QList<QRgb> &colours)
{
    QImage image(37, 23, QImage::Format_RGB32);
    const unsigned n = unsigned(colours.size());
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 37; ++x) {
            const int k = (y - 3) * 37 + x;
            image.setPixel(x, y, n == 0 ? qRgb(x * 7, y * 11, x * y) :
                                 colours[k < 0 ? 0 : unsigned(k) < n ? k : (unsigned(k) * 2654435761u >> 16) % n]);
        }
    }
    return image;
}

// The picture in a PCX file as netpbm or ImageMagick reads it, through a PPM file.
QImage Reference(const QString &pcx, bool netpbm, const QString &ppm)
{
    if (!(netpbm ? RunTool("pcxtoppm", {pcx}, ppm) : RunTool("convert", {pcx, "-depth", "8", "ppm:" + ppm})))
        return {};
    return QImage(ppm, "PPM").convertToFormat(QImage::Format_RGB32);
}

QList<QRgb> Distinct(int count)
{
    QList<QRgb> colours;
    for (int k = 0; k < count; ++k)
        colours << qRgb(k * 37 & 0xFF, (k * 91 + 17) & 0xFF, (k * 53 + 101) & 0xFF);
    return colours;
}

} // namespace

TEST(PcxDecoder, DecodesWhatNetpbmAndImageMagickWriteAsTheyDo)
{
    for (const char *tool : {"ppmtopcx", "pcxtoppm", "convert"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << tool << " is missing (packages netpbm, imagemagick)";
    }
    const QList<QRgb> blackWhite = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    const QList<QRgb> redBlue = {qRgb(255, 0, 0), qRgb(0, 0, 255)};
    const struct
    {
        QStringList writer; // ppmtopcx options, or convert options
        QList<QRgb> colours;
        int bitsPerPixel;
        int planes;
        bool netpbmReference;
    } cases[] = {
        {{"ppmtopcx"}, blackWhite, 1, 1, true},
        {{"ppmtopcx"}, redBlue, 1, 1, true},
        {{"ppmtopcx", "-planes=2"}, redBlue, 1, 2, true},
        {{"ppmtopcx"}, Distinct(4), 1, 2, true},
        {{"ppmtopcx"}, Distinct(5), 1, 3, true},
        {{"ppmtopcx"}, Distinct(16), 1, 4, true},
        {{"ppmtopcx", "-packed"}, Distinct(4), 2, 1, true},
        {{"ppmtopcx", "-packed"}, Distinct(16), 4, 1, true},
        {{"ppmtopcx", "-8bit"}, Distinct(16), 8, 1, true},
        {{"ppmtopcx"}, Distinct(200), 8, 1, true},
        {{"ppmtopcx", "-xpos=-5", "-ypos=32000"}, Distinct(256), 8, 1, true},
        {{"ppmtopcx", "-24bit"}, Distinct(16), 8, 3, true},
        {{"ppmtopcx"}, {}, 8, 3, true},
        {{"convert"}, {}, 8, 3, false},
        {{"convert", "-type", "palette"}, Distinct(200), 8, 1, false},
        {{"convert", "-alpha", "on"}, {}, 8, 4, false},
        // ImageMagick reads its own 1-bit files as 1 = black, against the
        // black-and-white palette it writes into them; netpbm follows the palette.
        {{"convert", "-type", "palettealpha"}, blackWhite, 1, 1, true},
    };
    QTemporaryDir folder;
    const QString source = folder.filePath("source.ppm");
    const QString written = folder.filePath("written.pcx");
    const QString reference = folder.filePath("reference.ppm");
    const QString version3 = folder.filePath("version3.pcx");
    for (const auto &c : cases) {
        SCOPED_TRACE(QString("%1, %2 colours").arg(c.writer.join(' ')).arg(c.colours.size()).toStdString());
        ASSERT_TRUE(Source(c.colours).save(source, "PPM"));
        const QStringList options = c.writer.mid(1);
        ASSERT_TRUE(c.writer[0] == "ppmtopcx" ? RunTool("ppmtopcx", options + QStringList{source}, written)
                                              : RunTool("convert", QStringList{source} + options + QStringList{"pcx:" + written}));
        QFile file(written);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        ASSERT_GT(bytes.size(), 65);
        EXPECT_EQ(bytes[3], c.bitsPerPixel) << "the writer chose another layout";
        EXPECT_EQ(bytes[65], c.planes) << "the writer chose another layout";
        const QImage expected = Reference(written, c.netpbmReference, reference);
        ASSERT_FALSE(expected.isNull());
        EXPECT_EQ(DecodePcx(bytes), expected);
        const int colourBits = c.bitsPerPixel * c.planes;
        if (colourBits < 2 || colourBits > 4)
            continue;
        bytes[1] = 3;
        QFile marked(version3);
        ASSERT_TRUE(marked.open(QIODevice::WriteOnly) && marked.write(bytes) == bytes.size());
        marked.close();
        for (const bool netpbm : {true, false}) {
            SCOPED_TRACE(netpbm ? "version 3, as netpbm reads it" : "version 3, as ImageMagick reads it");
            EXPECT_EQ(DecodePcx(bytes), Reference(version3, netpbm, reference));
        }
    }
}
