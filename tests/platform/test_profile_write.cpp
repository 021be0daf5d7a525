#include "support/profile_fixture.h"

#include <cerrno>
#include <csignal>
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

TEST_F(ProfileWrite, ReplacesTheKeyLineInPlaceAndNothingElse)
{
    put("; mine\n[general]\n  Roms = /old  \nroms=/second\npix=/p\n[Default]\nroms=/d\n");
    ASSERT_TRUE(set("General", "roms", "/new"));
    EXPECT_EQ(bytes(), "; mine\n[general]\nroms=/new\nroms=/second\npix=/p\n[Default]\nroms=/d\n");

    // The last line keeps having no line end.
    put("[A]\r\nk=1\r\nlast = 2");
    ASSERT_TRUE(set("a", "LAST", "3"));
    EXPECT_EQ(bytes(), "[A]\r\nk=1\r\nLAST=3");

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

TEST_F(ProfileWrite, WriteThatChangesNothingLeavesTheFileAlone)
{
    ASSERT_TRUE(set("General", "roms", "/r"));
    const ino_t before = InodeOf(path());
    ASSERT_TRUE(set("general", "roms", "/r"));
    EXPECT_EQ(InodeOf(path()), before);
    ASSERT_TRUE(set("General", "roms", "/s"));
    EXPECT_NE(InodeOf(path()), before) << "a change replaces the file as a whole";
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

TEST_F(ProfileWrite, KeepsPermissionsAndLinks)
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
}

TEST_F(ProfileWrite, PermissionRefusalsWhenNotRoot)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes past permission bits";
    const std::string before = "[General]\r\nroms=/r\r\n";
    put(before);
    ASSERT_EQ(chmod(path().c_str(), 0444), 0);
    errno = 0;
    EXPECT_FALSE(set("General", "roms", "/s"));
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(bytes(), before);

    ASSERT_EQ(chmod(path().c_str(), 0644), 0);
    ASSERT_EQ(chmod(folder.path().toLocal8Bit().constData(), 0555), 0);
    errno = 0;
    EXPECT_FALSE(set("General", "roms", "/s"));
    EXPECT_EQ(errno, EACCES);
    chmod(folder.path().toLocal8Bit().constData(), 0755);
    EXPECT_EQ(bytes(), before);
    EXPECT_EQ(entries(), QStringList{"romdeck.ini"});
}
