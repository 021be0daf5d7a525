#include "platform/current_folder.h"
#include "support/standin_emulator.h"

#include <QTemporaryDir>

namespace {

TEST(CurrentFolder, ChangesFolderOrReportsTheIoCode)
{
    WorkingFolderGuard guard;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath(QStringLiteral("snap shots"));
    ASSERT_TRUE(QDir().mkdir(target));
    QFile file(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    EXPECT_NE(SetCurrentDirectoryA(QFile::encodeName(target).constData()), 0);
    EXPECT_EQ(QDir::currentPath(), target);

    EXPECT_EQ(SetCurrentDirectoryA(QFile::encodeName(dir.filePath("missing")).constData()), 0);
    EXPECT_EQ(GetLastError(), 2u);
    EXPECT_EQ(SetCurrentDirectoryA(QFile::encodeName(dir.filePath("file/sub")).constData()), 0);
    EXPECT_EQ(GetLastError(), 3u);
    EXPECT_EQ(SetCurrentDirectoryA(""), 0);
    EXPECT_EQ(GetLastError(), 2u);
    // A failed change leaves the working folder where it was.
    EXPECT_EQ(QDir::currentPath(), target);
}

} // namespace
