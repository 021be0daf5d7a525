#pragma once
#include "platform/windows_types.h"

#include <span>
#include <string>

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
