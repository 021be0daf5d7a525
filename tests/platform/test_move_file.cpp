#include "platform/move_file.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Native(const QString &path)
{
    return QFile::encodeName(path);
}

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray Read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<missing>");
}

QStringList Entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

struct stat Stat(const QString &path)
{
    struct stat info = {};
    EXPECT_EQ(::stat(Native(path).constData(), &info), 0) << path.toStdString();
    return info;
}

bool Move(const QString &from, const QString &to)
{
    return MoveFileA(Native(from).constData(), Native(to).constData()) != 0;
}

// More than one buffer's worth, so that the copy runs its loop.
QByteArray Picture()
{
    QByteArray bytes(200 * 1024 + 17, '\0');
    QRandomGenerator generator(8);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

// A folder in memory and one on the disk, on two file systems.
class MoveAcrossFileSystems : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!memory.isValid())
            GTEST_SKIP() << "no /dev/shm";
        ASSERT_TRUE(disk.isValid());
        if (Stat(memory.path()).st_dev == Stat(disk.path()).st_dev)
            GTEST_SKIP() << "/dev/shm and " << disk.path().toStdString() << " are one file system here";
    }

    QTemporaryDir memory{QStringLiteral("/dev/shm/romdeck-test-XXXXXX")};
    QTemporaryDir disk;
};

TEST(MoveFile, WithinOneFileSystemRenamesAndNeverReplaces)
{
    QTemporaryDir dir;
    const QString from = dir.filePath(QStringLiteral("snap000.pcx"));
    const QString to = dir.filePath(QStringLiteral("SONIC.pcx"));
    Write(from, "picture");
    const ino_t inode = Stat(from).st_ino;
    ASSERT_TRUE(Move(from, to));
    EXPECT_FALSE(QFile::exists(from));
    EXPECT_EQ(Read(to), "picture");
    EXPECT_EQ(Stat(to).st_ino, inode);

    Write(from, "another");
    EXPECT_FALSE(Move(from, to));
    EXPECT_EQ(Read(from), "another");
    EXPECT_EQ(Read(to), "picture");

    EXPECT_FALSE(Move(dir.filePath(QStringLiteral("none.pcx")), dir.filePath(QStringLiteral("x.pcx"))));
    EXPECT_FALSE(Move(from, dir.filePath(QStringLiteral("no folder/x.pcx"))));
    EXPECT_EQ(Entries(dir.path()), (QStringList{QStringLiteral("SONIC.pcx"), QStringLiteral("snap000.pcx")}));
}

TEST_F(MoveAcrossFileSystems, CopiesContentPermissionsAndTimeThenRemovesTheOriginal)
{
    const QByteArray picture = Picture();
    const struct
    {
        QString from;
        QString to;
    } ways[] = {
        {memory.filePath(QStringLiteral("snap000.pcx")), disk.filePath(QStringLiteral("SONIC.pcx"))},
        {disk.filePath(QStringLiteral("snap001.pcx")), memory.filePath(QStringLiteral("SONIC.pcx"))},
    };
    for (const auto &way : ways) {
        SCOPED_TRACE(way.from.toStdString());
        Write(way.from, picture);
        ASSERT_EQ(::chmod(Native(way.from).constData(), 0640), 0);
        const timespec times[2] = {{1000000000, 0}, {1000000123, 456}};
        ASSERT_EQ(::utimensat(AT_FDCWD, Native(way.from).constData(), times, 0), 0);

        ASSERT_TRUE(Move(way.from, way.to));
        EXPECT_FALSE(QFile::exists(way.from));
        EXPECT_EQ(Read(way.to), picture);
        const struct stat moved = Stat(way.to);
        EXPECT_EQ(moved.st_mode & 07777, 0640u);
        EXPECT_EQ(moved.st_mtim.tv_sec, 1000000123);
        EXPECT_EQ(moved.st_mtim.tv_nsec, 456);
    }
    // Nothing of ours is left behind in either folder.
    EXPECT_EQ(Entries(disk.path()), QStringList{QStringLiteral("SONIC.pcx")});
    EXPECT_EQ(Entries(memory.path()), QStringList{QStringLiteral("SONIC.pcx")});
}

TEST_F(MoveAcrossFileSystems, ATakenNameOrAMissingFolderLeavesBothSidesAsTheyWere)
{
    // The name is found taken only once the copy is complete.
    const QString from = memory.filePath(QStringLiteral("snap000.pcx"));
    const QString taken = disk.filePath(QStringLiteral("SONIC.pcx"));
    Write(from, Picture());
    Write(taken, "the old picture");
    EXPECT_FALSE(Move(from, taken));
    EXPECT_EQ(Read(from), Picture());
    EXPECT_EQ(Read(taken), "the old picture");
    EXPECT_EQ(Entries(disk.path()), QStringList{QStringLiteral("SONIC.pcx")});

    EXPECT_FALSE(Move(from, disk.filePath(QStringLiteral("gone/SONIC.pcx"))));
    EXPECT_EQ(Read(from), Picture());
    EXPECT_EQ(Entries(disk.path()), QStringList{QStringLiteral("SONIC.pcx")});

    // Only files move across.
    ASSERT_TRUE(QDir(memory.path()).mkdir(QStringLiteral("folder.pcx")));
    EXPECT_FALSE(Move(memory.filePath(QStringLiteral("folder.pcx")), disk.filePath(QStringLiteral("f.pcx"))));
    EXPECT_TRUE(QFileInfo(memory.filePath(QStringLiteral("folder.pcx"))).isDir());
    EXPECT_EQ(Entries(disk.path()), QStringList{QStringLiteral("SONIC.pcx")});
}

// Root passes every permission check, so these run only for other users.
TEST_F(MoveAcrossFileSystems, FoldersThatCannotBeWrittenLoseNothing)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QString sources = memory.filePath(QStringLiteral("sources"));
    const QString targets = disk.filePath(QStringLiteral("targets"));
    ASSERT_TRUE(QDir().mkdir(sources));
    ASSERT_TRUE(QDir().mkdir(targets));
    const QString from = sources + QStringLiteral("/snap000.pcx");
    Write(from, Picture());
    const QString beside = memory.filePath(QStringLiteral("beside.pcx"));

    // The source cannot leave its folder: not renamed, and the copy made on
    // the other side is taken back.
    ASSERT_EQ(::chmod(Native(sources).constData(), 0555), 0);
    EXPECT_FALSE(Move(from, beside));
    EXPECT_FALSE(Move(from, targets + QStringLiteral("/SONIC.pcx")));
    EXPECT_EQ(Read(from), Picture());
    EXPECT_FALSE(QFile::exists(beside));
    EXPECT_EQ(Entries(targets), QStringList());
    ASSERT_EQ(::chmod(Native(sources).constData(), 0755), 0);

    // The destination folder cannot be written: no copy starts.
    ASSERT_EQ(::chmod(Native(targets).constData(), 0555), 0);
    EXPECT_FALSE(Move(from, targets + QStringLiteral("/SONIC.pcx")));
    EXPECT_EQ(Read(from), Picture());
    EXPECT_EQ(Entries(targets), QStringList());
    ASSERT_EQ(::chmod(Native(targets).constData(), 0755), 0);
}

} // namespace
