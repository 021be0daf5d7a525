#include "preview/picture_finder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <string>

#include <unistd.h>

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

// Only files, and links to files, take part in the choice among names that
// match ignoring case: a folder, a link to a folder or a dangling link of a
// name that would win never hides the picture beside it.
TEST(PictureFinder, OnlyFilesTakePartInTheChoice)
{
    // The decoy, named SONIC.PCX, the smallest of the names: a folder (no
    // link), a dangling link, a link to a folder.
    const struct
    {
        const char *linksTo;
        const char *lookedUp;
    } cases[] = {{nullptr, "SONIC.PCX"}, {"gone.pcx", "SONIC.PCX"}, {".", "sonic.pcx"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.lookedUp) + ", decoy linked to " + (c.linksTo ? c.linksTo : "nothing"));
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const QByteArray folder = QFile::encodeName(dir.path());
        Touch(dir.filePath(QStringLiteral("SONIC.pcx")));
        const QByteArray decoy = folder + "/SONIC.PCX";
        if (c.linksTo)
            ASSERT_EQ(::symlink(c.linksTo, decoy.constData()), 0);
        else
            ASSERT_TRUE(QDir().mkdir(QFile::decodeName(decoy)));
        PictureFinder finder;
        EXPECT_EQ(finder.find(folder + '/' + c.lookedUp), folder + "/SONIC.pcx");
    }

    // A link to a file is a picture.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("real")));
    Touch(dir.filePath(QStringLiteral("real/picture.pcx")));
    ASSERT_EQ(::symlink("real/picture.pcx", (folder + "/Game.pcx").constData()), 0);
    PictureFinder finder;
    EXPECT_EQ(finder.find(folder + "/GAME.PCX"), folder + "/Game.pcx");
}

} // namespace
