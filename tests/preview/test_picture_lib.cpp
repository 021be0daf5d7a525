#include "preview/picture_lib.h"
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
