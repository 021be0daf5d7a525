#include "platform/current_folder.h"
#include "platform/errors.h"
#include "support/standin_emulator.h"

#include <QTemporaryDir>

namespace {

TEST(CurrentFolder, ChangesFolderOrReportsTheSystemError)
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
    EXPECT_EQ(GetLastError(), DWORD(ENOENT));
    const QByteArray underFile = QFile::encodeName(dir.filePath("file/sub"));
    EXPECT_EQ(SetCurrentDirectoryA(underFile.constData()), 0);
    EXPECT_EQ(GetLastError(), DWORD(ENOTDIR));
    EXPECT_EQ(IoError::FromErrno(int(GetLastError()), underFile).what(),
              "Invalid filename: " + underFile.toStdString());
    EXPECT_EQ(SetCurrentDirectoryA(""), 0);
    EXPECT_EQ(GetLastError(), DWORD(ENOENT));
    // A failed change leaves the working folder where it was.
    EXPECT_EQ(QDir::currentPath(), target);
}

} // namespace
