#include "platform/errors.h"

#include <cerrno>

IoError::IoError(int code) : RomdeckError(IoErrorText(code)), code_(code) {}

std::string IoErrorText(int code)
{
    switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
    }
}

int IoCodeFromErrno(int err)
{
    switch (err) {
    case ENOENT: return 2;
    case ENOTDIR:
    case ENAMETOOLONG: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return 5;
    case ENOSPC:
    case EDQUOT: return 101;
    default: return err;
    }
}

void ThrowLastIoError()
{
    throw IoError(IoCodeFromErrno(errno));
}
