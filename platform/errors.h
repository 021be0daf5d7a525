#pragma once
#include <stdexcept>
#include <string>

// A failure that ends the command that raised it. The event loop catches it and
// shows its text in the general error box; the program then goes on.
class RomdeckError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// An input/output failure, carrying the system-independent error code whose
// text the user sees ("File not found", "File access denied", ...).
class IoError : public RomdeckError
{
public:
    explicit IoError(int code);
    int code() const { return code_; }

private:
    int code_;
};

// Text for an I/O error code: 2, 3, 4, 5, 100, 101, 106, else "I/O error <code>".
std::string IoErrorText(int code);

// Maps a POSIX errno value to the I/O error code the user is shown.
int IoCodeFromErrno(int err);

// Throws IoError for the current errno.
[[noreturn]] void ThrowLastIoError();
