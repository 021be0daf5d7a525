#include "platform/profile.h"

#include "platform/profile_batch.h"
#include "platform/profile_cache.h"
#include "platform/profile_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

namespace {

std::string_view WithoutTrailingSpaces(std::string_view s)
{
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName)
{
    if (!lpReturnedString || nSize == 0)
        return 0;
    std::shared_ptr<const ProfileDocument> document;
    std::optional<std::string_view> value;
    if (lpAppName && lpKeyName && lpFileName && (document = CurrentProfile(lpFileName)))
        value = document->find(lpAppName, lpKeyName);
    // The caller receives a C string: a NUL inside the value ends it.
    const std::string_view source = value ? value->substr(0, value->find('\0'))
                                          : WithoutProfileQuotes(WithoutTrailingSpaces(lpDefault ? lpDefault : ""));
    const size_t count = std::min<size_t>(source.size(), nSize - 1);
    std::memcpy(lpReturnedString, source.data(), count);
    lpReturnedString[count] = '\0';
    return DWORD(count);
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
