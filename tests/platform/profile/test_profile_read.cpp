#include "support/close_to_open_file_system.h"
#include "support/profile_fixture.h"

#include <chrono>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace std::string_literals;

using ProfileRead = ProfileFile;

TEST_F(ProfileRead, LinesEndAtCrLfOrCrLf)
{
    put("[General]\rroms=cr\ncdrom=lf\r\npix=crlf\r\r\nkgenloc=last");
    EXPECT_EQ(get("General", "roms"), "cr");
    EXPECT_EQ(get("General", "cdrom"), "lf");
    EXPECT_EQ(get("General", "pix"), "crlf");
    EXPECT_EQ(get("General", "kgenloc"), "last");
}

TEST_F(ProfileRead, BlanksAroundNamesAndValuesDoNotCount)
{
    put("  [ General ]\t \r\n\t roms \t=  /home/me/my roms \t\r\n=nameless\r\n");
    EXPECT_EQ(get("General", "roms"), "/home/me/my roms");
    EXPECT_EQ(get(" general\t", "  ROMS "), "/home/me/my roms");
    EXPECT_EQ(get("General", ""), "nameless");
}

TEST_F(ProfileRead, NamesMatchIgnoringAsciiCaseOnly)
{
    put("[GAME.BIN]\r\nUseKgen=1\r\n[\xC9T\xC9]\r\nx=1\r\n");
    EXPECT_EQ(get("game.bin", "usekgen"), "1");
    EXPECT_EQ(get("Game.Bin", "USEKGEN"), "1");
    EXPECT_EQ(get("\xC9T\xC9", "x"), "1");
    EXPECT_EQ(get("\xE9t\xE9", "x"), "#");
}

TEST_F(ProfileRead, FirstSectionAndFirstKeyWin)
{
    put("[A]\r\nk=first\r\nK=second\r\n[B]\r\nk=b\r\n[a]\r\nk=third\r\nonly=later\r\n");
    EXPECT_EQ(get("A", "k"), "first");
    EXPECT_EQ(get("B", "k"), "b");
    // Only the first section of a name is looked at.
    EXPECT_EQ(get("A", "only"), "#");
}

TEST_F(ProfileRead, SectionHeaderEndsAtLastBracket)
{
    put("[Sonic (W) [!].bin]\r\nfskip=2\r\n"
        "[a] b ] tail\r\nk=1\r\n"
        "[broken\r\nk=2\r\n"
        "[half=value\r\n");
    EXPECT_EQ(get("Sonic (W) [!].bin", "fskip"), "2");
    EXPECT_EQ(get("a] b", "k"), "1");
    // A "[" line without "]" is no header: its keys stay in the section above.
    EXPECT_EQ(get("broken", "k"), "#");
    EXPECT_EQ(get("a] b", "[half"), "value");
}

TEST_F(ProfileRead, KeyLineWithoutEqualsHoldsNoValueAndHidesLaterOnes)
{
    put("[General]\r\n  Roms \r\nroms=/r\r\npix\r\n");
    EXPECT_EQ(get("General", "roms"), "#");
    EXPECT_EQ(get("General", "pix"), "#");
}

TEST_F(ProfileRead, OneMatchingPairOfQuotesIsRemoved)
{
    put("[Q]\r\n"
        "d=\" padded \"\r\n"
        "s=  'single'  \r\n"
        "mixed=\"a'\r\n"
        "lone=\"\r\n"
        "empty=\"\"\r\n"
        "inner=\"a\"b\"\r\n"
        "double=\"\"x\"\"\r\n"
        "open=\"abc\r\n");
    EXPECT_EQ(get("Q", "d"), " padded ");
    EXPECT_EQ(get("Q", "s"), "single");
    EXPECT_EQ(get("Q", "mixed"), "\"a'");
    EXPECT_EQ(get("Q", "lone"), "\"");
    EXPECT_EQ(get("Q", "empty"), "");
    EXPECT_EQ(get("Q", "inner"), "a\"b");
    EXPECT_EQ(get("Q", "double"), "\"x\"");
    EXPECT_EQ(get("Q", "open"), "\"abc");
}

TEST_F(ProfileRead, ThereAreNoComments)
{
    put("; settings\r\n[General]\r\n;roms=/commented\r\n#pix=/hash\r\nextra=-sound ; loud\r\nk=v # x\r\n");
    EXPECT_EQ(get("General", ";roms"), "/commented");
    EXPECT_EQ(get("General", "#pix"), "/hash");
    EXPECT_EQ(get("General", "roms"), "#");
    EXPECT_EQ(get("General", "extra"), "-sound ; loud");
    EXPECT_EQ(get("General", "k"), "v # x");
}

TEST_F(ProfileRead, CopiesAtMostSizeMinusOneBytes)
{
    put("[General]\r\nroms=abcdef\r\n");
    EXPECT_EQ(get("General", "roms", 4), "abc");
    EXPECT_EQ(get("General", "roms", 7), "abcdef");
    EXPECT_EQ(get("General", "roms", 1), "");

    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(GetPrivateProfileStringA("General", "roms", "", buffer, 0, path().c_str()), 0u);
    EXPECT_STREQ(buffer, "xxxxxxx");

    // The default goes the same way, without its trailing spaces.
    EXPECT_EQ(GetPrivateProfileStringA("General", "none", "defau  ", buffer, 4, path().c_str()), 3u);
    EXPECT_STREQ(buffer, "def");
    EXPECT_EQ(GetPrivateProfileStringA("General", "none", " x  ", buffer, 8, path().c_str()), 2u);
    EXPECT_STREQ(buffer, " x");
    EXPECT_EQ(GetPrivateProfileStringA("General", "none", nullptr, buffer, 8, path().c_str()), 0u);
    EXPECT_STREQ(buffer, "");
    // ... and without enclosing quotes, as a stored value.
    for (const auto &[fallback, read] :
         {std::pair{"\"abc\"", "abc"}, std::pair{"'abc'  ", "abc"}, std::pair{" \"ab\"", " \"ab\""},
          std::pair{"\"", "\""}, std::pair{"\"a'", "\"a'"}}) {
        GetPrivateProfileStringA("General", "none", fallback, buffer, 8, path().c_str());
        EXPECT_STREQ(buffer, read) << fallback;
    }
    EXPECT_EQ(GetPrivateProfileStringA("General", "none", "\"abc\"", buffer, 3, path().c_str()), 2u);
    EXPECT_STREQ(buffer, "ab");

    // A value of 1023 bytes fills the program's 1024-byte buffer; one more is cut.
    put("[General]\r\nlong=" + std::string(1024, 'v') + "\r\n");
    EXPECT_EQ(get("General", "long"), std::string(1023, 'v'));
}

TEST_F(ProfileRead, MissingOrUnreadableFileGivesDefault)
{
    EXPECT_EQ(get("General", "roms"), "#");
    ASSERT_TRUE(QDir(QString::fromStdString(path())).mkpath("."));
    EXPECT_EQ(get("General", "roms"), "#");

    char buffer[8];
    EXPECT_EQ(GetPrivateProfileStringA("General", "roms", "d", buffer, 8, "/dev/null"), 1u);
    EXPECT_STREQ(buffer, "d");
    ASSERT_EQ(mkfifo(path("fifo.ini").c_str(), 0600), 0); // read without waiting for a writer
    EXPECT_EQ(GetPrivateProfileStringA("General", "roms", "d", buffer, 8, path("fifo.ini").c_str()), 1u);
}

TEST_F(ProfileRead, ByteOrderMarks)
{
    put("\xEF\xBB\xBF[General]\r\nroms=/r\r\n");
    EXPECT_EQ(get("General", "roms"), "/r");

    // UTF-16 reads as bytes: nothing matches, nothing breaks.
    const char16_t text[] = u"\xFEFF[General]\r\nroms=/r\r\n";
    put(std::string(reinterpret_cast<const char *>(text), sizeof text - sizeof(char16_t)));
    EXPECT_EQ(get("General", "roms"), "#");
}

TEST_F(ProfileRead, GarbageNeverBreaksTheReader)
{
    // NUL bytes are ordinary bytes, but the caller gets a C string.
    put("[Ge\0n]\r\nk=ab\0cd\r\n[General]\r\nroms=x\0y\r\n"s);
    EXPECT_EQ(get("General", "roms"), "x");
    EXPECT_EQ(get("Ge", "k"), "#");

    const std::string longLine(100000, 'L');
    put("[General]\r\n" + longLine + "\r\nroms=" + longLine + "\r\n[" + longLine);
    EXPECT_EQ(get("General", "roms", 10), "LLLLLLLLL");
    EXPECT_EQ(get(longLine.c_str(), "roms"), "#");

    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        std::string noise(size_t(random() % 5000), '\0');
        for (char &c : noise)
            c = "[]=\r\n \t\"'k\0\xff"[random() % 12];
        put(noise);
        get("k", "k", 16);
        get("", "", 1);
    }

    for (const std::string junk : {"", "\r", "\n", "[", "]", "=", "[]", "[=]", "\"", "\xEF\xBB\xBF"}) {
        put(junk);
        EXPECT_EQ(get("General", "roms"), "#") << junk;
    }
}

TEST_F(ProfileRead, NeverGivesAValueTheFileNoLongerHolds)
{
    // Each change keeps the size; the in-place ones also put the modification
    // time back, as a program copying a file's times would.
    const auto rewriteInPlace = [this](const std::string &bytes) {
        struct stat before
        {
        };
        ASSERT_EQ(stat(path().c_str(), &before), 0);
        const int fd = open(path().c_str(), O_WRONLY);
        ASSERT_EQ(pwrite(fd, bytes.data(), bytes.size(), 0), ssize_t(bytes.size()));
        const timespec times[] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(futimens(fd, times), 0);
        close(fd);
    };
    put("[General]\r\nroms=/1\r\n");
    EXPECT_EQ(get("General", "roms"), "/1");
    rewriteInPlace("[General]\r\nroms=/2\r\n");
    EXPECT_EQ(get("General", "roms"), "/2");
    put("[General]\r\nroms=/3\r\n", "other.ini");
    ASSERT_EQ(rename(path("other.ini").c_str(), path().c_str()), 0);
    EXPECT_EQ(get("General", "roms"), "/3");

    // Once the file's times are old enough to be trusted alone.
    std::this_thread::sleep_for(std::chrono::milliseconds(3100));
    EXPECT_EQ(get("General", "roms"), "/3");
    EXPECT_EQ(get("General", "roms"), "/3");
    rewriteInPlace("[General]\r\nroms=/4\r\n");
    EXPECT_EQ(get("General", "roms"), "/4");
    ASSERT_EQ(unlink(path().c_str()), 0);
    EXPECT_EQ(get("General", "roms"), "#");
}

TEST_F(ProfileRead, AChangeFromAnotherComputerShowsWhileStatStillGivesTheOldTimes)
{
    // As on NFS: stat() answers from cached attributes, each open asks afresh.
    CloseToOpenFileSystem share(path("share"));
    if (!share.mounted())
        GTEST_SKIP() << share.problem();
    const std::string file = share.filePath();
    const auto read = [&file] {
        char buffer[16];
        GetPrivateProfileStringA("General", "roms", "#", buffer, sizeof buffer, file.c_str());
        return std::string(buffer);
    };
    // Times long past, which the reads trust alone.
    const time_t written = 1000000000;
    share.change("[General]\r\nroms=/1\r\n", written);
    EXPECT_EQ(read(), "/1");
    EXPECT_EQ(read(), "/1");

    share.change("[General]\r\nroms=/2\r\n", written + 60);
    struct stat cached
    {
    };
    ASSERT_EQ(stat(file.c_str(), &cached), 0);
    ASSERT_EQ(cached.st_mtime, written) << "the kernel no longer keeps the attributes";
    EXPECT_EQ(read(), "/2");
}
