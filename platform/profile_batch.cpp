#include "platform/profile_batch.h"

#include "platform/file_replace.h"
#include "platform/profile_cache.h"

#include <cerrno>
#include <string_view>

namespace {

bool HoldsLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

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
