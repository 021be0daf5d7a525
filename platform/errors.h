#pragma once
#include <QByteArray>
#include <stdexcept>
#include <string>

// A failure that ends the command that raised it. The event loop catches it and
// shows its text in the general error box; the program then goes on.
class RomdeckError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// An input/output failure. Its text is the one for its code ("File not
// found", "File access denied", ...) and, for a failure about one file, ": "
// and that file's path, so that the user learns which file it was.
class IoError : public RomdeckError
{
public:
    // One of the codes of IoErrorText.
    explicit IoError(int code, const QByteArray &path = {});
    // The failure of a system call that set err: the errno values that have a
    // code (IoCodeFromErrno) take it; every other one reads "I/O error <err>",
    // and err is its code.
    static IoError FromErrno(int err, const QByteArray &path = {});

    int code() const { return code_; }

private:
    IoError(int code, const std::string &text, const QByteArray &path);

    int code_;
};

// Text for an I/O error code: 2, 3, 4, 5, 100, 101, 106, else "I/O error <code>".
std::string IoErrorText(int code);

// The code an errno value is shown with: ENOENT 2; ENOTDIR and ENAMETOOLONG 3;
// EMFILE and ENFILE 4; EACCES, EPERM, EISDIR and EROFS 5; ENOSPC and EDQUOT
// 101. 0 for every other value, which has no code of its own.
int IoCodeFromErrno(int err);

// Whether a failure with err to create the file at `path` came from its name:
// one the file system cannot hold. File systems say so differently (vfat
// EINVAL, fusefat EPERM, exfat-fuse ENOENT, others EILSEQ or ENAMETOOLONG);
// EPERM and ENOENT count only for a name that holds what FAT, exFAT or NTFS's
// Windows names refuse (\ : * ? " < > |, control characters), bytes outside
// ASCII, or more than 255 bytes, and ENOENT only in a folder that exists.
bool IsRefusedName(int err, const QByteArray &path);

// Throws IoError::FromErrno for the current errno, about the file at path.
[[noreturn]] void ThrowLastIoError(const QByteArray &path = {});
