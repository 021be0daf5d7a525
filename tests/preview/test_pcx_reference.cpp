// Pictures written by netpbm and ImageMagick in every layout they write,
// decoded by us and by the tools themselves, pixel for pixel.

#include "preview/pcx_decoder.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr int kWidth = 37; // odd, so lines carry padding
constexpr int kHeight = 23;

bool RunTool(const QString &tool, const QStringList &arguments, const QString &output = {})
{
    QProcess process;
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(QStandardPaths::findExecutable(tool), arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// A picture of exactly these colours, each used, under three flat lines; or
// with an empty list, one of more colours than any palette holds.
QImage Source(const QList<QRgb> &colours)
{
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int k = (y - 3) * kWidth + x;
            QRgb pixel = qRgb(x * 7, y * 11, (x * y) & 0xFF);
            if (!colours.isEmpty()) {
                const int n = int(colours.size());
                pixel = colours[k < 0 ? 0 : k < n ? k : int(((unsigned(k) * 2654435761u) >> 16) % unsigned(n))];
            }
            image.setPixel(x, y, pixel);
        }
    }
    return image;
}

QList<QRgb> Distinct(int count)
{
    QList<QRgb> colours;
    for (int k = 0; k < count; ++k)
        colours << qRgb((k * 37) & 0xFF, (k * 91 + 17) & 0xFF, (k * 53 + 101) & 0xFF);
    return colours;
}

struct ToolCase
{
    const char *writer; // ppmtopcx or convert
    QStringList options;
    QList<QRgb> colours;
    int bitsPerPixel;
    int planes;
    const char *reader; // pcxtoppm or convert
};

} // namespace

TEST(PcxDecoder, DecodesWhatNetpbmAndImageMagickWriteAsTheyDo)
{
    for (const char *tool : {"ppmtopcx", "pcxtoppm", "convert"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            GTEST_SKIP() << tool << " is missing (packages netpbm, imagemagick)";
    }
    const QList<QRgb> blackWhite = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    const QList<QRgb> redBlue = {qRgb(255, 0, 0), qRgb(0, 0, 255)};
    const ToolCase cases[] = {
        {"ppmtopcx", {}, blackWhite, 1, 1, "pcxtoppm"},
        {"ppmtopcx", {}, redBlue, 1, 1, "pcxtoppm"},
        {"ppmtopcx", {"-planes=2"}, redBlue, 1, 2, "pcxtoppm"},
        {"ppmtopcx", {}, Distinct(4), 1, 2, "pcxtoppm"},
        {"ppmtopcx", {}, Distinct(5), 1, 3, "pcxtoppm"},
        {"ppmtopcx", {}, Distinct(16), 1, 4, "pcxtoppm"},
        {"ppmtopcx", {"-packed"}, Distinct(4), 2, 1, "pcxtoppm"},
        {"ppmtopcx", {"-packed"}, Distinct(16), 4, 1, "pcxtoppm"},
        {"ppmtopcx", {"-8bit"}, Distinct(16), 8, 1, "pcxtoppm"},
        {"ppmtopcx", {}, Distinct(200), 8, 1, "pcxtoppm"},
        {"ppmtopcx", {"-xpos=-5", "-ypos=32000"}, Distinct(256), 8, 1, "pcxtoppm"},
        {"ppmtopcx", {"-24bit"}, Distinct(16), 8, 3, "pcxtoppm"},
        {"ppmtopcx", {}, {}, 8, 3, "pcxtoppm"},
        {"convert", {}, {}, 8, 3, "convert"},
        {"convert", {"-type", "palette"}, Distinct(200), 8, 1, "convert"},
        {"convert", {"-alpha", "on"}, {}, 8, 4, "convert"},
        // ImageMagick reads its own 1-bit files as 1 = black, against the
        // black-and-white palette it writes into them; netpbm follows the palette.
        {"convert", {"-type", "palettealpha"}, blackWhite, 1, 1, "pcxtoppm"},
    };
    QTemporaryDir folder;
    const QString source = folder.filePath("source.ppm");
    const QString written = folder.filePath("written.pcx");
    const QString reference = folder.filePath("reference.ppm");
    for (const ToolCase &c : cases) {
        SCOPED_TRACE(QString("%1 %2 with %3 colours").arg(c.writer, c.options.join(' ')).arg(c.colours.size()).toStdString());
        ASSERT_TRUE(Source(c.colours).save(source, "PPM"));
        const bool wrote = QString(c.writer) == "ppmtopcx" ? RunTool(c.writer, c.options + QStringList{source}, written)
                                                           : RunTool(c.writer, QStringList{source} + c.options + QStringList{"pcx:" + written});
        ASSERT_TRUE(wrote);
        const bool read = QString(c.reader) == "pcxtoppm" ? RunTool(c.reader, {written}, reference)
                                                          : RunTool(c.reader, {written, "ppm:" + reference});
        ASSERT_TRUE(read);
        QFile file(written);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_GT(bytes.size(), 65);
        EXPECT_EQ(bytes[3], c.bitsPerPixel) << "the writer chose another layout";
        EXPECT_EQ(bytes[65], c.planes) << "the writer chose another layout";

        const QImage ours = DecodePcx(bytes);
        ASSERT_FALSE(ours.isNull());
        EXPECT_EQ(ours.convertToFormat(QImage::Format_RGB32), QImage(reference, "PPM").convertToFormat(QImage::Format_RGB32));
    }
}
