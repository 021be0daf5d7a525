#include "platform/move_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) << path.toStdString();
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
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
    return info;
}

bool Move(const QString &from, const QString &to)
{
    return MoveFileA(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0;
}

void Chmod(const QString &path, mode_t mode)
{
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

// More than one buffer's worth, so that the copy runs its loop.
QByteArray Picture()
{
    QByteArray bytes(200 * 1024 + 17, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 131) >> 3);
    return bytes;
}

TEST(MoveFile, WithinOneFileSystemRenamesAndNeverReplaces)
{
    QTemporaryDir dir;
    const QString from = dir.filePath("snap000.pcx");
    const QString to = dir.filePath("SONIC.pcx");
    Write(from, "picture");
    const ino_t inode = Stat(from).st_ino;
    ASSERT_TRUE(Move(from, to));
    EXPECT_EQ(Read(to), "picture");
    EXPECT_EQ(Stat(to).st_ino, inode);

    Write(from, "another");
    EXPECT_FALSE(Move(from, to));
    EXPECT_FALSE(Move(dir.filePath("none.pcx"), dir.filePath("x.pcx")));
    EXPECT_FALSE(Move(from, dir.filePath("no folder/x.pcx")));
    EXPECT_EQ(Read(from), "another");
    EXPECT_EQ(Read(to), "picture");
    EXPECT_EQ(Entries(dir.path()), (QStringList{"SONIC.pcx", "snap000.pcx"}));
}

// A folder in memory and one on the disk, on two file systems.
class MoveAcrossFileSystems : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!memory.isValid())
            GTEST_SKIP() << "no /dev/shm";
        if (Stat(memory.path()).st_dev == Stat(disk.path()).st_dev)
            GTEST_SKIP() << "/dev/shm and " << disk.path().toStdString() << " are one file system here";
    }

    QTemporaryDir memory{"/dev/shm/romdeck-test-XXXXXX"};
    QTemporaryDir disk;
};

TEST_F(MoveAcrossFileSystems, CopiesContentPermissionsAndTimeThenRemovesTheOriginal)
{
    for (const auto &[from, to] : {std::pair{memory.filePath("snap000.pcx"), disk.filePath("SONIC.pcx")},
                                   std::pair{disk.filePath("snap001.pcx"), memory.filePath("SONIC.pcx")}}) {
        SCOPED_TRACE(from.toStdString());
        Write(from, Picture());
        Chmod(from, 0640);
        const timespec times[2] = {{1000000000, 0}, {1000000123, 456}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(from).constData(), times, 0), 0);

        ASSERT_TRUE(Move(from, to));
        EXPECT_FALSE(QFile::exists(from));
        EXPECT_EQ(Read(to), Picture());
        const struct stat moved = Stat(to);
        EXPECT_EQ(moved.st_mode & 07777, 0640u);
        EXPECT_EQ(moved.st_mtim.tv_sec, 1000000123);
        EXPECT_EQ(moved.st_mtim.tv_nsec, 456);
    }
    // Nothing of ours is left behind.
    EXPECT_EQ(Entries(disk.path()), QStringList{"SONIC.pcx"});
    EXPECT_EQ(Entries(memory.path()), QStringList{"SONIC.pcx"});
}

TEST_F(MoveAcrossFileSystems, ATakenNameOrAMissingFolderLeavesBothSidesAsTheyWere)
{
    // The name is found taken only once the copy is complete.
    const QString from = memory.filePath("snap000.pcx");
    const QString taken = disk.filePath("SONIC.pcx");
    Write(from, Picture());
    Write(taken, "the old picture");
    EXPECT_FALSE(Move(from, taken));
    EXPECT_FALSE(Move(from, disk.filePath("gone/SONIC.pcx")));
    // Only files move across.
    ASSERT_TRUE(QDir(memory.path()).mkdir("folder.pcx"));
    EXPECT_FALSE(Move(memory.filePath("folder.pcx"), disk.filePath("f.pcx")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(memory.filePath("fifo.pcx")).constData(), 0600), 0);
    EXPECT_FALSE(Move(memory.filePath("fifo.pcx"), disk.filePath("f.pcx"))); // without waiting for a writer

    EXPECT_EQ(Read(from), Picture());
    EXPECT_EQ(Read(taken), "the old picture");
    EXPECT_EQ(Entries(disk.path()), QStringList{"SONIC.pcx"});
    EXPECT_EQ(Entries(memory.path()), (QStringList{"fifo.pcx", "folder.pcx", "snap000.pcx"}));
}

// Root passes every permission check, so this runs only for other users.
TEST_F(MoveAcrossFileSystems, FoldersThatCannotBeWrittenLoseNothing)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QString sources = memory.filePath("sources");
    const QString targets = disk.filePath("targets");
    ASSERT_TRUE(QDir().mkdir(sources) && QDir().mkdir(targets));
    const QString from = sources + "/snap000.pcx";
    Write(from, Picture());

    // The source cannot leave its folder: not renamed, and the copy made on
    // the other side is taken back.
    Chmod(sources, 0555);
    EXPECT_FALSE(Move(from, memory.filePath("beside.pcx")));
    EXPECT_FALSE(Move(from, targets + "/SONIC.pcx"));
    Chmod(sources, 0755);
    // The destination folder cannot be written: no copy starts.
    Chmod(targets, 0555);
    EXPECT_FALSE(Move(from, targets + "/SONIC.pcx"));
    Chmod(targets, 0755);

    EXPECT_EQ(Read(from), Picture());
    EXPECT_EQ(Entries(memory.path()), QStringList{"sources"});
    EXPECT_EQ(Entries(targets), QStringList());
}

// A link is filed as what it shows: a regular file with its content takes the
// new name, the link goes, and the file it points to stays. A taken name or a
// link to nothing leaves everything as it was.
TEST(MoveFileContent, ALinkBecomesTheFileItShowsAndItsTargetStays)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("incoming") && QDir(dir.path()).mkdir("pix"));
    const QString target = dir.filePath("incoming/real.pcx");
    const QString link = dir.filePath("incoming/snap1.pcx");
    const QString dangling = dir.filePath("incoming/snap2.pcx");
    Write(target, Picture());
    ASSERT_EQ(::symlink("real.pcx", QFile::encodeName(link).constData()), 0);
    ASSERT_EQ(::symlink("gone.pcx", QFile::encodeName(dangling).constData()), 0);
    const QString taken = dir.filePath("pix/TAKEN.pcx");
    Write(taken, "the old picture");
    const auto moveContent = [](const QString &from, const QString &to) {
        return MoveFileContentA(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0;
    };

    EXPECT_FALSE(moveContent(link, taken));
    EXPECT_FALSE(moveContent(dangling, dir.filePath("pix/SONIC.pcx")));
    EXPECT_EQ(Read(taken), "the old picture");
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), target);

    const QString filed = dir.filePath("pix/SONIC.pcx");
    ASSERT_TRUE(moveContent(link, filed));
    EXPECT_FALSE(QFileInfo(filed).isSymLink());
    EXPECT_EQ(Read(filed), Picture());
    EXPECT_EQ(Read(target), Picture());
    EXPECT_EQ(Entries(dir.filePath("incoming")), (QStringList{"real.pcx", "snap2.pcx"}));
    EXPECT_EQ(Entries(dir.filePath("pix")), (QStringList{"SONIC.pcx", "TAKEN.pcx"}));

    // A file that is no link moves as it is.
    const ino_t inode = Stat(target).st_ino;
    ASSERT_TRUE(moveContent(target, dir.filePath("pix/OTHER.pcx")));
    EXPECT_EQ(Stat(dir.filePath("pix/OTHER.pcx")).st_ino, inode);
}

} // namespace
