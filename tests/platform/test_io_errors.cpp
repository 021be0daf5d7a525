#include "platform/errors.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(IoErrors, OnlyTheListedErrnoValuesTakeACodeAndEveryOtherShowsItsNumber)
{
    const struct
    {
        int err;
        int code;
        const char *text;
    } listed[] = {
        {ENOENT, 2, "File not found"},      {ENOTDIR, 3, "Invalid filename"},   {ENAMETOOLONG, 3, "Invalid filename"},
        {EMFILE, 4, "Too many open files"}, {ENFILE, 4, "Too many open files"}, {EACCES, 5, "File access denied"},
        {EPERM, 5, "File access denied"},   {EISDIR, 5, "File access denied"},  {EROFS, 5, "File access denied"},
        {ENOSPC, 101, "Disk full"},         {EDQUOT, 101, "Disk full"},
    };
    for (const auto &c : listed) {
        const IoError error = IoError::FromErrno(c.err);
        EXPECT_EQ(error.code(), c.code) << c.err;
        EXPECT_STREQ(error.what(), c.text) << c.err;
    }
    // Numbers that the code table also uses must not borrow its texts.
    for (const int err : {EIO, EINTR, ESRCH, ENETDOWN, ENETUNREACH, EISCONN, EAGAIN, EXDEV, ELOOP}) {
        const IoError error = IoError::FromErrno(err);
        EXPECT_EQ(error.code(), err);
        EXPECT_EQ(error.what(), "I/O error " + std::to_string(err));
    }
    // The codes of the table, and any other code.
    EXPECT_STREQ(IoError(100).what(), "Read beyond end of file");
    EXPECT_STREQ(IoError(106).what(), "Invalid numeric input");
    EXPECT_STREQ(IoError(32).what(), "I/O error 32");
    EXPECT_STREQ(IoError(0).what(), "I/O error 0");
}

TEST(IoErrors, AnErrorAboutOneFileNamesIt)
{
    EXPECT_STREQ(IoError::FromErrno(ENOENT, "/roms/broken.bin").what(), "File not found: /roms/broken.bin");
    EXPECT_STREQ(IoError::FromErrno(EIO, "/roms/a b.smd").what(), "I/O error 5: /roms/a b.smd");
    EXPECT_STREQ(IoError(5, "/roms/x.bin").what(), "File access denied: /roms/x.bin");
    EXPECT_STREQ(IoError(5, "/r\xC3\xB6ms/\xE9.bin").what(), "File access denied: /r\xC3\xB6ms/\xEF\xBF\xBD.bin");
    errno = ENAMETOOLONG;
    try {
        ThrowLastIoError("/x");
        ADD_FAILURE() << "nothing thrown";
    } catch (const IoError &error) {
        EXPECT_EQ(error.code(), 3);
        EXPECT_STREQ(error.what(), "Invalid filename: /x");
    }
}

} // namespace
