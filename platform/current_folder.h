#pragma once
#include "platform/windows_types.h"

// Makes path the working folder. Non-zero on success.
BOOL SetCurrentDirectoryA(LPCSTR path);

// The I/O error code (as IoErrorText reads it) of the last failed
// SetCurrentDirectoryA on this thread.
DWORD GetLastError();
