#include "platform/profile/profile_batch.h"
#include "support/ext2_mount.h"
#include "support/folder_refusing_new_entries.h"
#include "support/profile_fixture.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <numeric>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using ProfileWrite = ProfileFile;

namespace {

ino_t InodeOf(const std::string &path)
{
    struct stat info
    {
    };
    stat(path.c_str(), &info);
    return info.st_ino;
}

} // namespace

TEST_F(ProfileWrite, NewFileIsWrittenInOrderWithCrLf)
{
    ASSERT_TRUE(set("General", "roms", "/home/me/roms"));
    ASSERT_TRUE(set("General", "pix", ""));
    ASSERT_TRUE(set("Default", "usekgen", "0"));
    ASSERT_TRUE(set("Default", "extracmdline", "-sound ; loud"));
    ASSERT_TRUE(set(" GAME.BIN ", " fskip ", "2"));
    EXPECT_EQ(bytes(),
              "[General]\r\nroms=/home/me/roms\r\npix=\r\n"
              "[Default]\r\nusekgen=0\r\nextracmdline=-sound ; loud\r\n"
              "[GAME.BIN]\r\nfskip=2\r\n");
    EXPECT_EQ(get("Default", "extracmdline"), "-sound ; loud");
    EXPECT_EQ(entries(), QStringList{"romdeck.ini"});
}

TEST_F(ProfileWrite, ReplacesTheKeyLineInPlaceKeepingTheKeysSpelling)
{
    put("; mine\n[general]\n  Roms = /old  \nroms=/second\npix=/p\n[Default]\nroms=/d\n");
    ASSERT_TRUE(set("General", "roms", "/new"));
    EXPECT_EQ(bytes(), "; mine\n[general]\nRoms=/new\nroms=/second\npix=/p\n[Default]\nroms=/d\n");

    // The last line keeps having no line end.
    put("[A]\r\nk=1\r\nlast = 2");
    ASSERT_TRUE(set("a", "LAST", "3"));
    EXPECT_EQ(bytes(), "[A]\r\nk=1\r\nlast=3");

    // A key line without "=" is that key: the first of its name.
    put("[General]\r\n  Roms  \r\nroms=/r\r\npix\r\n");
    ASSERT_TRUE(set("General", "roms", "/x"));
    EXPECT_EQ(bytes(), "[General]\r\nRoms=/x\r\nroms=/r\r\npix\r\n");
    ASSERT_TRUE(set("General", "pix", ""));
    EXPECT_EQ(bytes(), "[General]\r\nRoms=/x\r\nroms=/r\r\npix=\r\n");

    // Only the first of two sections of one name is written.
    put("[A]\r\nx=1\r\n[B]\r\n[A]\r\nk=old\r\n");
    ASSERT_TRUE(set("A", "k", "new"));
    EXPECT_EQ(bytes(), "[A]\r\nx=1\r\nk=new\r\n[B]\r\n[A]\r\nk=old\r\n");
}

TEST_F(ProfileWrite, NewKeyGoesAfterTheLastLineOfItsSection)
{
    put("[General]\r\nroms=/r\r\n\r\n\r\n[Default]\r\nusekgen=1\r\n");
    ASSERT_TRUE(set("General", "pix", "/p"));
    EXPECT_EQ(bytes(), "[General]\r\nroms=/r\r\npix=/p\r\n\r\n\r\n[Default]\r\nusekgen=1\r\n");

    // Lines without "=" belong to the section too.
    put("[A]\nk=1\nnote\n\n[B]\n");
    ASSERT_TRUE(set("A", "n", "2"));
    EXPECT_EQ(bytes(), "[A]\nk=1\nnote\nn=2\r\n\n[B]\n");

    put("[A]\r\n[B]\r\n");
    ASSERT_TRUE(set("A", "k", "v"));
    EXPECT_EQ(bytes(), "[A]\r\nk=v\r\n[B]\r\n");

    put("[A]");
    ASSERT_TRUE(set("A", "k", "v"));
    EXPECT_EQ(bytes(), "[A]\r\nk=v\r\n");

    put("[A]\nk=1");
    ASSERT_TRUE(set("A", "j", "2"));
    EXPECT_EQ(bytes(), "[A]\nk=1\r\nj=2\r\n");
}

TEST_F(ProfileWrite, NewSectionGoesAtTheEnd)
{
    put("[General]\r\nroms=/r\r\n");
    ASSERT_TRUE(set("Default", "fskip", "1"));
    EXPECT_EQ(bytes(), "[General]\r\nroms=/r\r\n[Default]\r\nfskip=1\r\n");

    put("[General]\nroms=/r");
    ASSERT_TRUE(set("Default", "fskip", "1"));
    EXPECT_EQ(bytes(), "[General]\nroms=/r\r\n[Default]\r\nfskip=1\r\n");

    put("[General]\r\nroms=/r\r\n\r\n");
    ASSERT_TRUE(set("Sonic (W) [!].bin", "fskip", "3"));
    EXPECT_EQ(bytes(), "[General]\r\nroms=/r\r\n\r\n[Sonic (W) [!].bin]\r\nfskip=3\r\n");
    EXPECT_EQ(get("sonic (w) [!].BIN", "fskip"), "3");

    put("\xEF\xBB\xBF");
    ASSERT_TRUE(set("A", "k", "v"));
    EXPECT_EQ(bytes(), "\xEF\xBB\xBF[A]\r\nk=v\r\n");
}

TEST_F(ProfileWrite, LinesBeforeTheFirstHeaderFormTheNamelessSection)
{
    put("\xEF\xBB\xBF\r\n[A]\r\n");
    ASSERT_TRUE(set("", "k", "v"));
    EXPECT_EQ(bytes(), "\xEF\xBB\xBFk=v\r\n\r\n[A]\r\n");
    ASSERT_TRUE(set("", "j", "w"));
    EXPECT_EQ(bytes(), "\xEF\xBB\xBFk=v\r\nj=w\r\n\r\n[A]\r\n");
    EXPECT_EQ(get("", "k"), "v");
    EXPECT_EQ(get("A", "k"), "#");
}

TEST_F(ProfileWrite, WrittenValuesReadBackAndOtherBytesSurvive)
{
    const std::string garbage("\xFF\xFE[\0G\0]\0\r\0\n\0\x01\x02=\x03", 16);
    put(garbage);
    const char *values[] = {"/home/me/Mega Drive/roms", "-sound ; #x", "[x]", "a=b", "\xC3\xA9t\xC3\xA9", ""};
    for (const char *value : values) {
        ASSERT_TRUE(set("General", "v", value));
        EXPECT_EQ(get("General", "v"), value);
    }
    EXPECT_EQ(bytes(), garbage + "\r\n[General]\r\nv=\r\n");
}

TEST_F(ProfileWrite, ValuesLoseTheBlanksAtTheirEnds)
{
    ASSERT_TRUE(set("General", "a", "  v  "));
    ASSERT_TRUE(set("General", "b", "\tv w\x1a"));
    ASSERT_TRUE(set("General", "c", " \" v \" "));
    EXPECT_EQ(bytes(), "[General]\r\na=v\r\nb=v w\r\nc=\" v \"\r\n");
    EXPECT_EQ(get("General", "c"), " v ");
}

TEST_F(ProfileWrite, WriteThatChangesNothingLeavesTheFileAsItIs)
{
    const std::string spelled = "[General]\r\n  Roms =  /r \t\r\nq=\"/r\"\n";
    put(spelled);
    const ino_t before = InodeOf(path());
    ASSERT_TRUE(set("general", "roms", "/r"));
    ASSERT_TRUE(set("General", "ROMS", " /r "));
    EXPECT_EQ(bytes(), spelled);
    EXPECT_EQ(InodeOf(path()), before);
    // Quotes are part of what is stored.
    ASSERT_TRUE(set("General", "q", "/r"));
    EXPECT_EQ(bytes(), "[General]\r\n  Roms =  /r \t\r\nq=/r\n");
    EXPECT_NE(InodeOf(path()), before) << "a change replaces the file as a whole";
}

TEST_F(ProfileWrite, ABatchIsOneWriteOfAllItsEntriesOrOfNone)
{
    put("[General]\r\nroms=/r\r\n");
    const ProfileEntry writes[] = {{"General", "roms", "/s"},
                                   {"Default", "fskip", "2"},
                                   {"General", "pix", "/p"},
                                   {"default", "FSKIP", "3"},
                                   {" GAME.BIN ", "usekgen", "1"}};
    ASSERT_TRUE(WriteProfileBatch(writes, path().c_str()));
    const std::string written = "[General]\r\nroms=/s\r\npix=/p\r\n[Default]\r\nfskip=3\r\n[GAME.BIN]\r\nusekgen=1\r\n";
    EXPECT_EQ(bytes(), written);

    // One entry that cannot be stored refuses them all.
    const ProfileEntry refused[] = {{"General", "roms", "/t"}, {"ba\nd.bin", "usekgen", "1"}};
    errno = 0;
    EXPECT_FALSE(WriteProfileBatch(refused, path().c_str()));
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(bytes(), written);

    const ino_t before = InodeOf(path());
    ASSERT_TRUE(WriteProfileBatch(writes, path().c_str()));
    EXPECT_EQ(InodeOf(path()), before) << "nothing to change, nothing written";
    EXPECT_EQ(entries(), QStringList{"romdeck.ini"});
}

TEST_F(ProfileWrite, LineBreaksAreRefusedWithoutTouchingTheFile)
{
    EXPECT_FALSE(set("General", "roms", "/a\nb"));
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(bytes(), "<missing>");

    const std::string before = "[General]\r\nroms=/r\r\n";
    put(before);
    const char *const breaking[][3] = {
        {"General", "roms", "x\r"}, {"General", "ro\nms", "x"}, {"Gen\reral", "roms", "x"}, {"new\nsection", "k", "v"}};
    for (const auto &args : breaking) {
        errno = 0;
        EXPECT_FALSE(set(args[0], args[1], args[2]));
        EXPECT_EQ(errno, EINVAL);
        EXPECT_EQ(bytes(), before);
    }
    EXPECT_FALSE(WritePrivateProfileStringA("General", "roms", nullptr, path().c_str()));
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(entries(), QStringList{"romdeck.ini"});
}

TEST_F(ProfileWrite, RefusedWritesLeaveEverythingAsItWas)
{
    // A folder where the file should be.
    ASSERT_TRUE(QDir(folder.path()).mkdir("romdeck.ini"));
    errno = 0;
    EXPECT_FALSE(set("General", "roms", "/r"));
    EXPECT_EQ(errno, EISDIR);
    EXPECT_TRUE(QDir(QString::fromStdString(path())).isEmpty());
    EXPECT_EQ(entries(), QStringList{"romdeck.ini"});

    // A folder that does not exist is not created.
    const std::string inMissingFolder = path("missing") + "/romdeck.ini";
    errno = 0;
    EXPECT_FALSE(WritePrivateProfileStringA("General", "roms", "/r", inMissingFolder.c_str()));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(entries(), QStringList{"romdeck.ini"});

    // Another kind of file is never replaced.
    errno = 0;
    EXPECT_FALSE(WritePrivateProfileStringA("General", "roms", "/r", "/dev/null"));
    EXPECT_EQ(errno, EACCES);
}

TEST_F(ProfileWrite, FullDiskLeavesThePreviousFileWhole)
{
    const std::string before = "[General]\r\nroms=/r\r\n";
    put(before);
    // A file-size limit makes the write of the new contents fail half-way,
    // as a full disk would.
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
    rlimit limit = oldLimit;
    limit.rlim_cur = before.size() + 4;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    errno = 0;
    const BOOL written = set("General", "pix", std::string(100, 'p').c_str());
    const int error = errno;
    setrlimit(RLIMIT_FSIZE, &oldLimit);
    signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(entries(), QStringList{"romdeck.ini"}) << "no temporary file is left behind";
}

TEST_F(ProfileWrite, KeepsPermissionsAndFollowsLinks)
{
    put("[General]\r\n");
    ASSERT_EQ(chmod(path().c_str(), 0640), 0);
    ASSERT_TRUE(set("General", "roms", "/r"));
    struct stat info
    {
    };
    ASSERT_EQ(stat(path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    // A linked settings file is updated where it lives; the link stays.
    ASSERT_EQ(symlink(path().c_str(), path("link.ini").c_str()), 0);
    ASSERT_TRUE(WritePrivateProfileStringA("General", "pix", "/p", path("link.ini").c_str()));
    EXPECT_EQ(bytes(), "[General]\r\nroms=/r\r\npix=/p\r\n");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(path("link.ini"))).isSymLink());

    // A link to a file that does not exist yet creates it, relative to the link's folder.
    ASSERT_EQ(symlink("target.ini", path("dangling.ini").c_str()), 0);
    ASSERT_TRUE(WritePrivateProfileStringA("General", "roms", "/d", path("dangling.ini").c_str()));
    EXPECT_EQ(bytes("target.ini"), "[General]\r\nroms=/d\r\n");
    EXPECT_TRUE(QFileInfo(QString::fromStdString(path("dangling.ini"))).isSymLink());

    // A link into a missing folder fails as that folder would; links in a circle fail.
    ASSERT_EQ(symlink(path("missing/romdeck.ini").c_str(), path("nowhere.ini").c_str()), 0);
    ASSERT_EQ(symlink("circle.ini", path("circle.ini").c_str()), 0);
    for (const auto &[name, error] : {std::pair{"nowhere.ini", ENOENT}, std::pair{"circle.ini", ELOOP}}) {
        errno = 0;
        EXPECT_FALSE(WritePrivateProfileStringA("General", "roms", "/n", path(name).c_str())) << name;
        EXPECT_EQ(errno, error) << name;
        EXPECT_TRUE(QFileInfo(QString::fromStdString(path(name))).isSymLink()) << name;
    }
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path("missing"))));
}

TEST_F(ProfileWrite, AFileWithoutWritePermissionIsNeverWrittenEvenByRoot)
{
    const std::string before = "[General]\r\nroms=/r\r\n";
    put(before);
    ASSERT_EQ(chmod(path().c_str(), 0444), 0);
    errno = 0;
    EXPECT_FALSE(set("General", "roms", "/s"));
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(entries(), QStringList{"romdeck.ini"});
}

TEST_F(ProfileWrite, TemporaryFilesLeftByAKilledWriterGoAtTheNextWrite)
{
    put("[General]\r\nroms=/r\r\n");
    const QStringList others = {".other.ini.k3j5h2g1.tmp", ".romdeck.ini.ABCDEFGH.tmp", ".romdeck.ini.a1b2c3d4.tmp",
                                ".romdeck.ini.k3j5h2g1.tmp.old", ".romdeck.ini.tmp"};
    for (const QString &name : others + QStringList{".romdeck.ini.k3j5h2g1.tmp", ".romdeck.ini.zzzzzzzz.tmp"})
        put("[Gen", name.toLatin1().constData());
    // A writer at work holds a lock on its temporary file.
    const int busy = open(path(".romdeck.ini.a1b2c3d4.tmp").c_str(), O_RDONLY);
    ASSERT_EQ(flock(busy, LOCK_EX), 0);

    // Also a write that changes nothing.
    ASSERT_TRUE(set("General", "roms", "/r"));
    close(busy);
    QStringList left = entries();
    QStringList expected = others + QStringList{"romdeck.ini"};
    left.sort();
    expected.sort();
    EXPECT_EQ(left, expected);
}

TEST_F(ProfileWrite, AWritableFileInAFolderThatRefusesWritesIsWrittenInPlace)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes past permission bits";
    const std::string before = "[General]\r\nroms=/r\r\n";
    put(before);
    const ino_t inode = InodeOf(path());
    const QByteArray folderPath = folder.path().toLocal8Bit();
    ASSERT_EQ(chmod(folderPath.constData(), 0555), 0);
    const bool longer = set("General", "roms", "/a/much/longer/folder");
    const std::string afterLonger = bytes();
    const bool shorter = set("General", "pix", "/p") && set("General", "roms", "/s");
    const std::string afterShorter = bytes();

    // A file that refuses writes, or a new one, still cannot be written there.
    ASSERT_EQ(chmod(path().c_str(), 0444), 0);
    errno = 0;
    const bool protectedFile = set("General", "roms", "/t");
    const int protectedError = errno;
    errno = 0;
    const bool newFile = WritePrivateProfileStringA("General", "roms", "/t", path("new.ini").c_str());
    const int newError = errno;
    chmod(folderPath.constData(), 0755);

    EXPECT_TRUE(longer);
    EXPECT_EQ(afterLonger, "[General]\r\nroms=/a/much/longer/folder\r\n");
    EXPECT_TRUE(shorter);
    EXPECT_EQ(afterShorter, "[General]\r\nroms=/s\r\npix=/p\r\n");
    EXPECT_EQ(InodeOf(path()), inode);
    EXPECT_FALSE(protectedFile);
    EXPECT_EQ(protectedError, EACCES);
    EXPECT_EQ(bytes(), afterShorter);
    EXPECT_FALSE(newFile);
    EXPECT_EQ(newError, EACCES);
    EXPECT_EQ(entries(), QStringList{"romdeck.ini"});
}

TEST_F(ProfileWrite, InPlaceWritesGrowTheFileWhereTheFileSystemCannotAllocateAhead)
{
    // ext2 has no allocation call: glibc's posix_fallocate then stands in by
    // reading through the descriptor, which one opened to write only refuses.
    const Ext2Mount ext2(folder.path());
    if (!ext2.mounted())
        GTEST_SKIP() << ext2.problem().toStdString();
    // Longer than a block, so that the stand-in would read the file's start.
    const std::string tail = "[Default]\r\nextracmdline=" + std::string(1100, 'x') + "\r\n";
    put("[General]\r\nroms=/r\r\n" + tail, "ext2/romdeck.ini");
    const std::string file = path("ext2/romdeck.ini");
    const ino_t inode = InodeOf(file);
    QFile filler(QString::fromStdString(path("ext2/filler")));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const FolderRefusingNewEntries refusing(ext2.folder());
    ASSERT_TRUE(refusing.refusing());

    EXPECT_TRUE(WritePrivateProfileStringA("General", "roms", "/a/much/longer/folder", file.c_str()));
    const std::string grown = "[General]\r\nroms=/a/much/longer/folder\r\n" + tail;
    EXPECT_EQ(bytes("ext2/romdeck.ini"), grown);

    // On a full disk the file stays as it was.
    const QByteArray block(1024, 'f');
    while (filler.write(block) > 0) {
    }
    errno = 0;
    EXPECT_FALSE(WritePrivateProfileStringA("General", "pix", std::string(5000, 'p').c_str(), file.c_str()));
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_EQ(bytes("ext2/romdeck.ini"), grown);
    EXPECT_EQ(InodeOf(file), inode);
    EXPECT_EQ(
        QDir(QString::fromStdString(ext2.folder())).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        (QStringList{"filler", "lost+found", "romdeck.ini"}));
}

TEST_F(ProfileWrite, AnInPlaceWriteThatFailsPartWayPutsTheOldContentsBack)
{
    // Every byte differs from its neighbour, and the first case's shorter value
    // moves all that follows it, so a restore one byte short shows.
    std::string tail(60, 'x');
    std::iota(tail.begin(), tail.end(), 'A');
    const std::string before = "[General]\r\nroms=/a/longer/folder\r\n[Default]\r\nextracmdline=" + tail + "\r\n";
    put(before);
    const ino_t inode = InodeOf(path());
    const FolderRefusingNewEntries refusing(folder.path().toStdString());
    if (!refusing.refusing())
        GTEST_SKIP() << "the folder cannot be made to refuse new entries here";
    // A file-size limit stops a write at that offset, as a failing disk would:
    // half-way through the new contents, or while a longer file takes its room.
    const struct
    {
        const char *key;
        std::string value;
        rlim_t limit;
    } cases[] = {{"roms", "/s", before.size() / 2}, {"pix", std::string(100, 'p'), before.size() + 50}};
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
    for (const auto &c : cases) {
        rlimit limit = oldLimit;
        limit.rlim_cur = c.limit;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        errno = 0;
        const BOOL written = set("General", c.key, c.value.c_str());
        const int error = errno;
        setrlimit(RLIMIT_FSIZE, &oldLimit);

        EXPECT_FALSE(written) << c.key;
        EXPECT_EQ(error, EFBIG) << c.key;
        EXPECT_EQ(bytes(), before) << c.key;
    }
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(InodeOf(path()), inode);
    EXPECT_EQ(entries(), QStringList{"romdeck.ini"});
}
