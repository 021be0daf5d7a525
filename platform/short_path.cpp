#include "platform/short_path.h"

DWORD GetShortPathNameA(LPCSTR, LPSTR, DWORD)
{
    return 0;
}
