#pragma once
#include "platform/windows_types.h"

// The short (8.3) form of a path. This system has none: always 0, which
// tells the caller to keep the long path. The buffer is left untouched.
DWORD GetShortPathNameA(LPCSTR lpszLongPath, LPSTR lpszShortPath, DWORD cchBuffer);
