#pragma once
#include <QString>

// How a file that is to be started as a program has to be run here, told by
// its content whatever its name.
enum class ExecutableKind {
    // Not a Windows image: the system runs it (ELF programs, "#!" scripts),
    // or /bin/sh does when the system cannot.
    Native,
    // A Windows program: an "MZ" image whose PE header marks an executable
    // image, not a library. Runs through Wine.
    WindowsProgram,
    // An "MZ" image that Windows itself would not start as a program: a DOS
    // or 16-bit program, a library, a broken header.
    WindowsOther,
};

// The kind of the file at path; Native when it cannot be read.
ExecutableKind ExecutableKindOf(const QString &path);
