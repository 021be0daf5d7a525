#include "preview/picture_lib.h"
#include "support/bmp_files.h"
#include "support/pcx_files.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(PictureLibLoad, ContentTellsBmpFromPcxAndAnythingElseIsNullAtOnce)
{
    QTemporaryDir folder;
    const auto load = [&](const QString &name) { return PictureLibLoad(QFile::encodeName(folder.filePath(name)), 0); };
    const auto write = [&](const QString &name, const QByteArray &bytes) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    };
    QImage bmp(5, 3, QImage::Format_RGB32);
    for (int i = 0; i < 15; ++i)
        bmp.setPixel(i % 5, i / 5, qRgb(i * 17, 255 - i * 17, i));
    ASSERT_TRUE(bmp.save(folder.filePath("bmp.pcx"), "BMP"));
    EXPECT_EQ(load("bmp.pcx").convertToFormat(QImage::Format_RGB32), bmp);

    write("pcx.bmp", pcx_files::File({.width = 2}, "\x01\x02", false, QByteArray(768, '\x33')));
    const QImage pcx = load("pcx.bmp");
    ASSERT_EQ(pcx.size(), QSize(2, 1));
    EXPECT_EQ(pcx.pixel(1, 0), qRgb(0x33, 0x33, 0x33));
    // In the format it is shown in, so that the pixmap needs no second copy.
    EXPECT_EQ(pcx.format(), QImage::Format_RGB32);

    for (const QByteArray &content : {QByteArray(), QByteArray("BM"), QByteArray("GIF89a"), QByteArray(4096, '\x0A')}) {
        write("other.pcx", content);
        EXPECT_TRUE(load("other.pcx").isNull()) << content.left(8).toStdString();
    }
    // A pipe without a writer would block a plain open forever; /dev/zero never ends.
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.filePath("pipe.pcx")).constData(), 0600), 0);
    EXPECT_TRUE(load("pipe.pcx").isNull());
    EXPECT_TRUE(load("missing.pcx").isNull());
    EXPECT_TRUE(load(".").isNull());
    EXPECT_TRUE(PictureLibLoad("/dev/zero", 0).isNull());
    EXPECT_TRUE(PictureLibLoad(nullptr, 0).isNull());
}

// BMP files go through Qt, which decodes a picture whole before reducing it:
// one larger than 4096 on a side comes back reduced as the PCX pictures do,
// and one whose whole would take more than the largest picture shown (4096 x
// 4096 at 4 bytes a pixel) is not decoded at all, however small its file.
TEST(PictureLibLoad, BmpLargerThan4096IsReducedOrNull)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("claim.bmp");
    const struct
    {
        int width;
        int height;
        QSize shown;
    } cases[] = {
        {4096, 4096, {4096, 4096}},
        {8192, 2048, {4096, 1024}},
        {1024, 12288, {342, 4096}},
        {8192, 4096, {0, 0}}, // a null image
    };
    for (const auto &c : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const QByteArray bytes = bmp_files::RunLengthClaim(c.width, c.height);
        ASSERT_EQ(file.write(bytes), bytes.size());
        file.close();
        const QImage image = PictureLibLoad(QFile::encodeName(path), 0);
        EXPECT_EQ(image.size(), c.shown) << c.width << " x " << c.height;
    }
}
