#pragma once
#include "platform/windows_types.h"

// The Windows profile-file calls the settings use, with their Windows names,
// types and contract, for the one case the program needs: section, key and
// value all given. The file format is that of Windows (see profile_file.h),
// so a settings file moves between the two systems unchanged. Every call
// opens the file afresh and closes it before returning; nothing is cached.

// Copies the value of lpKeyName in section lpAppName of lpFileName into
// lpReturnedString: at most nSize - 1 bytes, then a NUL. A missing file,
// section or key (or a file that cannot be read) gives lpDefault instead,
// without its trailing spaces, as Windows does; a null lpDefault reads as "".
// A value ends at a NUL byte inside it. Returns the number of bytes copied,
// not counting the NUL; 0 and nothing written when nSize is 0.
DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName);

// Sets lpKeyName in section lpAppName of lpFileName to lpString, creating the
// key, the section or the file (not its folder) as needed. The value is
// written as given: one that should keep surrounding blanks or quotes must be
// quoted by the caller.
//
// Unlike Windows, the file is never left half-written: the new contents go to
// a temporary file in the same folder, which is synced and then renamed over
// the old one, keeping its permission bits (and, where allowed, its owner);
// a symbolic link is followed. Returns nonzero on success. Returns 0 with
// errno set, the file untouched and no temporary file left, when a name or
// the value holds a CR or LF or an argument is null (EINVAL), the path names
// a folder (EISDIR) or some other non-file (EACCES), the folder is missing or
// refuses the write, or the disk is full. A write that would leave the file as
// it is succeeds without touching it.
BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName);
