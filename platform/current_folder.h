#pragma once
#include "platform/windows_types.h"

// Makes path the working folder. Non-zero on success.
BOOL SetCurrentDirectoryA(LPCSTR path);

// The system's error number (errno) of the last failed SetCurrentDirectoryA
// on this thread; IoError::FromErrno turns it into what the user is shown.
DWORD GetLastError();
