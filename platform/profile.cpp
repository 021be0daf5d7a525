#include "platform/profile.h"

#include "platform/profile_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Reads a whole regular file. Anything else at the path (a folder, a pipe, a
// device) fails with errno set rather than being read or waited on.
bool ReadRegularFile(const char *path, std::string &contents, struct stat &info)
{
    const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    int error = 0;
    if (fstat(fd, &info) != 0)
        error = errno;
    else if (!S_ISREG(info.st_mode))
        error = S_ISDIR(info.st_mode) ? EISDIR : EACCES;
    contents.clear();
    char buffer[65536];
    while (error == 0) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0)
            contents.append(buffer, size_t(n));
        else if (n == 0)
            break;
        else if (errno != EINTR)
            error = errno;
    }
    close(fd);
    errno = error;
    return error == 0;
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        data.remove_prefix(size_t(n));
    }
    return true;
}

std::string FolderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates a new, empty file beside `target` under an unused hidden name, with
// the permissions an ordinary create would give.
int CreateTemporaryBeside(const std::string &target, std::string &temporaryPath)
{
    static std::minstd_rand random{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    // Leaves room for the prefix and suffix within the longest file name.
    const std::string name = target.substr(folder.size()).substr(0, 200);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix(8, ' ');
        for (char &c : suffix)
            c = kLetters[random() % (sizeof kLetters - 1)];
        temporaryPath = folder + "." + name + "." + suffix + ".tmp";
        const int fd = open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool KeepOwnerAndMode(int fd, const struct stat &previous)
{
    // Only root may hand a file to someone else; for anyone else the rewritten
    // file becomes theirs, as with any rewrite, so a refusal is no failure.
    [[maybe_unused]] const int ownerKept = fchown(fd, previous.st_uid, previous.st_gid);
    return fchmod(fd, previous.st_mode & 07777) == 0;
}

// The rename is what makes the new contents durable; losing this sync only
// risks the old file coming back after a power cut, never a damaged one.
void SyncFolder(const std::string &folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Replaces `target` with `contents` so that any failure leaves the old file
// whole: the new contents are written and synced in a temporary file beside
// it, which then takes its place in one rename.
bool ReplaceFile(const std::string &target, std::string_view contents, const struct stat *previous)
{
    std::string temporary;
    const int fd = CreateTemporaryBeside(target, temporary);
    if (fd < 0)
        return false;
    bool ok = (!previous || KeepOwnerAndMode(fd, *previous)) && WriteAll(fd, contents) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        errno = error;
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}

bool HoldsLineBreak(const char *s)
{
    return std::strpbrk(s, "\r\n") != nullptr;
}

// A linked settings file is rewritten where it really lives, keeping the link.
std::string ResolvedPath(const char *path)
{
    char *real = realpath(path, nullptr);
    if (!real)
        return path;
    std::string resolved(real);
    std::free(real);
    return resolved;
}

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
    std::string contents;
    struct stat info;
    std::optional<std::string_view> value;
    if (lpAppName && lpKeyName && lpFileName && ReadRegularFile(lpFileName, contents, info))
        value = FindProfileValue(contents, lpAppName, lpKeyName);
    // The caller receives a C string: a NUL inside the value ends it.
    const std::string_view source =
        value ? value->substr(0, value->find('\0')) : WithoutTrailingSpaces(lpDefault ? lpDefault : "");
    const size_t count = std::min<size_t>(source.size(), nSize - 1);
    std::memcpy(lpReturnedString, source.data(), count);
    lpReturnedString[count] = '\0';
    return DWORD(count);
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName)
{
    // A line break would split the entry into lines that read back as
    // something else, so such a write is refused before the file is touched.
    if (!lpAppName || !lpKeyName || !lpString || !lpFileName || HoldsLineBreak(lpAppName) ||
        HoldsLineBreak(lpKeyName) || HoldsLineBreak(lpString)) {
        errno = EINVAL;
        return 0;
    }
    const std::string target = ResolvedPath(lpFileName);
    std::string contents;
    struct stat info;
    const bool exists = ReadRegularFile(target.c_str(), contents, info);
    if (!exists && errno != ENOENT)
        return 0;
    // The rename would get past a file's own write protection; keep it.
    if (exists && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        return 0;
    const std::string updated = SetProfileValue(contents, lpAppName, lpKeyName, lpString);
    if (exists && updated == contents)
        return 1;
    return ReplaceFile(target, updated, exists ? &info : nullptr) ? 1 : 0;
}
