#include "platform/profile/profile.h"

#include "platform/profile/profile_batch.h"

#include <cerrno>

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName)
{
    if (!lpReturnedString || nSize == 0)
        return 0;
    return ProfileReading(lpAppName && lpKeyName ? lpFileName : nullptr)
        .getString(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize);
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName)
{
    if (!lpAppName || !lpKeyName || !lpString || !lpFileName) {
        errno = EINVAL;
        return 0;
    }
    const ProfileEntry entry{lpAppName, lpKeyName, lpString};
    return WriteProfileBatch({&entry, 1}, lpFileName);
}
