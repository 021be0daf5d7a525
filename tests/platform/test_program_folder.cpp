#include "platform/program_folder.h"
#include "platform/short_path.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(ProgramFolder, IsTheFolderOfTheRunningExecutable)
{
    const QString folder = ProgramFolderPath();
    const QString executable = QFileInfo("/proc/self/exe").symLinkTarget();
    EXPECT_EQ(folder, QFileInfo(executable).absolutePath());
    EXPECT_FALSE(folder.endsWith('/'));
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST(ShortPath, ThereIsNoShortFormSoTheLongPathIsKept)
{
    char buffer[16] = "untouched";
    EXPECT_EQ(GetShortPathNameA("/roms/Sonic (W).bin", buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "untouched");
}
