#pragma once
#include "platform/windows_types.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>

class ProfileDocument;

// Calls over many keys of a profile file at once, beside the Windows calls of
// profile.h and with their rules: one look at the file serves them all.

// One look at lpFileName for many reads: each gives what
// GetPrivateProfileStringA would give for the file as it was at that look.
class ProfileReading
{
public:
    explicit ProfileReading(LPCSTR lpFileName);
    DWORD getString(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString, DWORD nSize) const;

private:
    std::shared_ptr<const ProfileDocument> document_;
};

// Whether a section, key or value holds a CR or LF, which no line of a
// profile file can hold.
bool HoldsLineBreak(std::string_view s);

// One key to set: its section, its name and its value, as
// WritePrivateProfileStringA takes them.
struct ProfileEntry
{
    std::string section;
    std::string key;
    std::string value;
};

// Sets every key of `entries` in lpFileName, one after the other, each as
// WritePrivateProfileStringA sets it (see profile.h), but as one write: all
// are applied to one reading of the file, which is then replaced once. So the
// file holds either all of them or, after any failure or crash, none. Returns
// nonzero on success; 0 with errno set and the file untouched when any entry
// holds a CR or LF (EINVAL) or the file cannot be written. When no entry
// changes anything, the file is not touched at all.
BOOL WriteProfileBatch(std::span<const ProfileEntry> entries, LPCSTR lpFileName);
