#include "platform/profile/profile_batch.h"

#include "platform/profile/file_replace.h"
#include "platform/profile/profile_cache.h"
#include "platform/profile/profile_file.h"

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

bool HoldsLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

ProfileReading::ProfileReading(LPCSTR lpFileName)
{
    if (lpFileName)
        document_ = CurrentProfile(lpFileName);
}

DWORD ProfileReading::getString(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                                DWORD nSize) const
{
    if (!lpReturnedString || nSize == 0)
        return 0;
    std::optional<std::string_view> value;
    if (document_ && lpAppName && lpKeyName)
        value = document_->find(lpAppName, lpKeyName);
    // The caller receives a C string: a NUL inside the value ends it.
    const std::string_view source = value ? value->substr(0, value->find('\0'))
                                          : WithoutProfileQuotes(WithoutTrailingSpaces(lpDefault ? lpDefault : ""));
    const size_t count = std::min<size_t>(source.size(), nSize - 1);
    std::memcpy(lpReturnedString, source.data(), count);
    lpReturnedString[count] = '\0';
    return DWORD(count);
}

BOOL WriteProfileBatch(std::span<const ProfileEntry> entries, LPCSTR lpFileName)
{
    // A line break would split an entry into lines that read back as
    // something else, so such a write is refused before the file is touched.
    for (const ProfileEntry &entry : entries) {
        if (HoldsLineBreak(entry.section) || HoldsLineBreak(entry.key) || HoldsLineBreak(entry.value)) {
            errno = EINVAL;
            return 0;
        }
    }
    if (!lpFileName) {
        errno = EINVAL;
        return 0;
    }
    const std::optional<std::string> target = WriteTargetOf(lpFileName);
    if (!target)
        return 0;
    RemoveLeftTemporaries(*target);
    struct stat info;
    const std::shared_ptr<const ProfileDocument> existing = CurrentProfile(target->c_str(), &info);
    if (!existing && errno != ENOENT)
        return 0;
    // The rename would get past a file's own write protection; keep it.
    if (existing && !MayWriteExisting(*target, info))
        return 0;
    const ProfileDocument none{std::string()};
    ProfileEdits edits(existing ? *existing : none);
    for (const ProfileEntry &entry : entries)
        edits.set(entry.section, entry.key, entry.value);
    if (!edits.changed())
        return 1;
    auto written = std::make_shared<const ProfileDocument>(edits);
    if (!ReplaceFileContents(*target, written->text(), existing ? &info : nullptr))
        return 0;
    RememberWrittenProfile(target->c_str(), std::move(written));
    return 1;
}
