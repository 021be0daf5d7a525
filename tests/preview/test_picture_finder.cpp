#include "preview/picture_finder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

void Touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// A kept listing never hides a change: each answer is what a new listing gives.
TEST(PictureFinder, KeptListingFollowsEveryChangeOfTheFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray wanted = folder + "/GAME.PCX";
    for (int i = 0; i < 200; ++i)
        Touch(dir.filePath(QStringLiteral("other%1.pcx").arg(i)));
    // Listed once the folder has settled, the listing is kept from then on.
    QThread::msleep(2100);

    PictureFinder finder;
    EXPECT_EQ(finder.find(folder + "/OTHER7.PCX"), folder + "/other7.pcx");
    EXPECT_TRUE(finder.find(wanted).isEmpty());
    Touch(dir.filePath(QStringLiteral("game.pcx")));
    EXPECT_EQ(finder.find(wanted), folder + "/game.pcx");
    EXPECT_EQ(finder.find(wanted), folder + "/game.pcx");
    ASSERT_TRUE(QFile::rename(dir.filePath(QStringLiteral("game.pcx")), dir.filePath(QStringLiteral("Game.pcx"))));
    EXPECT_EQ(finder.find(wanted), folder + "/Game.pcx");
    Touch(dir.filePath(QStringLiteral("GAME.PCX")));
    EXPECT_EQ(finder.find(wanted), wanted) << "the exact name wins";
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("GAME.PCX"))));
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("Game.pcx"))));
    EXPECT_TRUE(finder.find(wanted).isEmpty());

    // Another folder, or one that is gone, is never answered from the old listing.
    EXPECT_TRUE(finder.find(folder + "/sub/other1.pcx").isEmpty());
    EXPECT_EQ(finder.find(folder + "/OTHER1.PCX"), folder + "/other1.pcx");
    EXPECT_TRUE(finder.find("/nonexistent-folder/x.pcx").isEmpty());
}

} // namespace
