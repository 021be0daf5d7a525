#include "platform/current_folder.h"

#include <cerrno>
#include <unistd.h>

namespace {

// Kept apart from errno, which any later call may overwrite before the caller
// gets to report the failure.
thread_local DWORD lastError = 0;

} // namespace

BOOL SetCurrentDirectoryA(LPCSTR path)
{
    if (chdir(path ? path : "") == 0)
        return 1;
    lastError = static_cast<DWORD>(errno);
    return 0;
}

DWORD GetLastError()
{
    return lastError;
}
