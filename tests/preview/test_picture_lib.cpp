#include "preview/picture_lib.h"
#include "support/pcx_files.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray Native(const QString &path)
{
    return QFile::encodeName(path);
}

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

} // namespace

TEST(PictureLibLoad, TheContentNotTheNameTellsBmpFromPcx)
{
    QTemporaryDir folder;
    QImage bmp(5, 3, QImage::Format_RGB32);
    for (int i = 0; i < 15; ++i)
        bmp.setPixel(i % 5, i / 5, qRgb(i * 17, 255 - i * 17, i));
    const QString bmpNamedPcx = folder.filePath("default.pcx");
    ASSERT_TRUE(bmp.save(bmpNamedPcx, "BMP"));
    EXPECT_EQ(PictureLibLoad(Native(bmpNamedPcx), 0).convertToFormat(QImage::Format_RGB32), bmp);

    const QString pcxNamedBmp = folder.filePath("romdeck.bmp");
    Write(pcxNamedBmp, pcx_files::File({.width = 2}, QByteArray("\x01\x02", 2), false, QByteArray(768, '\x33')));
    const QImage pcx = PictureLibLoad(Native(pcxNamedBmp), 0);
    ASSERT_EQ(pcx.size(), QSize(2, 1));
    EXPECT_EQ(pcx.pixel(1, 0), qRgb(0x33, 0x33, 0x33));

    const QString other = folder.filePath("other.pcx");
    for (const QByteArray &content : {QByteArray(), QByteArray("BM"), QByteArray("GIF89a"), QByteArray(4096, '\x0A')}) {
        Write(other, content);
        EXPECT_TRUE(PictureLibLoad(Native(other), 0).isNull()) << content.left(8).toStdString();
    }
}

TEST(PictureLibLoad, MissingFoldersPipesAndDevicesGiveNullAtOnce)
{
    QTemporaryDir folder;
    const QString fifo = folder.filePath("pipe.pcx");
    ASSERT_EQ(::mkfifo(Native(fifo).constData(), 0600), 0);
    // A pipe without a writer would block a plain open forever, /dev/zero never ends.
    for (const QString &path : {folder.path(), fifo, folder.filePath("missing.pcx"), QString("/dev/zero")})
        EXPECT_TRUE(PictureLibLoad(Native(path), 0).isNull()) << path.toStdString();
    EXPECT_TRUE(PictureLibLoad(nullptr, 0).isNull());
}
