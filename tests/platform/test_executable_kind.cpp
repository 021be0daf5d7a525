#include "platform/executable_kind.h"
#include "support/rom_images.h"
#include "support/windows_image.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using rom_images::WriteFile;

TEST(ExecutableKind, TellsWindowsProgramsByContentWhateverTheName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct
    {
        const char *name;
        QByteArray bytes;
        ExecutableKind kind;
    } cases[] = {
        {"kgen.exe", WindowsImage(kWindowsProgram), ExecutableKind::WindowsProgram},
        {"emulator", WindowsImage(kWindowsProgram, 0x40), ExecutableKind::WindowsProgram},
        {"library.exe", WindowsImage(kWindowsLibrary), ExecutableKind::WindowsOther},
        {"object.exe", WindowsImage(0x0100), ExecutableKind::WindowsOther},
        // A DOS program: its new-header offset leads past the end or to no "PE".
        {"dos.exe", WindowsImage(kWindowsProgram).left(0x80), ExecutableKind::WindowsOther},
        {"ne.exe", WindowsImage(kWindowsProgram).replace(0x80, 2, "NE"), ExecutableKind::WindowsOther},
        {"far.exe", WindowsImage(kWindowsProgram).replace(0x3C, 4, "\xf0\xff\xff\xff"), ExecutableKind::WindowsOther},
        {"cut.exe", QByteArray("MZ\x90\0", 4), ExecutableKind::WindowsOther},
        {"script.exe", QByteArray("#!/bin/sh\necho MZ\n"), ExecutableKind::Native},
        {"bare", QByteArray("echo hi\n"), ExecutableKind::Native},
        {"elf",
         QByteArray("\x7f"
                    "ELF\2\1\1",
                    7),
         ExecutableKind::Native},
        {"empty", QByteArray(), ExecutableKind::Native},
        {"M", QByteArray("M"), ExecutableKind::Native},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(WriteFile(dir.filePath(c.name), c.bytes));
        EXPECT_EQ(ExecutableKindOf(dir.filePath(c.name)), c.kind) << c.name;
    }
    EXPECT_EQ(ExecutableKindOf(dir.filePath("missing")), ExecutableKind::Native);
    EXPECT_EQ(ExecutableKindOf(dir.path()), ExecutableKind::Native);
}

} // namespace
