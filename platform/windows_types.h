#pragma once
#include <cstdint>

// The Windows integer and string types that the Windows-named calls of this
// folder take, as plain typedefs.
typedef const char *LPCSTR;
typedef char *LPSTR;
typedef uint32_t DWORD;
typedef int BOOL;
