#pragma once
#include "platform/windows_types.h"

// The Windows profile-file calls the settings use, with their Windows names,
// types and contract, for the one case the program needs: section, key and
// value all given. The file format is that of Windows (see profile_file.h),
// so a settings file moves between the two systems unchanged. Every call
// looks at the file afresh; a read reuses the parse of an earlier one only
// while the file is unchanged (see profile_cache.h).

// Copies the value of lpKeyName in section lpAppName of lpFileName into
// lpReturnedString: at most nSize - 1 bytes, then a NUL. A missing file,
// section or key (or a file that cannot be read) gives lpDefault instead,
// without its trailing spaces and, as a stored value, without one matching
// pair of enclosing quotes, as Windows does; a null lpDefault reads as "".
// A value ends at a NUL byte inside it. Returns the number of bytes copied,
// not counting the NUL; 0 and nothing written when nSize is 0.
DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize, LPCSTR lpFileName);

// Sets lpKeyName in section lpAppName of lpFileName to lpString, creating the
// key, the section or the file (not its folder) as needed. As Windows does,
// the value loses the blanks at its ends (one that should keep them, or its
// enclosing quotes, must be quoted by the caller), a key keeps its spelling in
// the file, and a write that leaves the value as it is leaves the file as it
// is, byte for byte.
//
// Unlike Windows, the file is not left half-written: see ReplaceFileContents
// in file_replace.h, and what it says of the one write made in place. A
// symbolic link is followed, also one to a file that does not exist yet.
// Returns nonzero on success. Returns 0 with errno set and the file untouched
// when a name or the value holds a CR or LF or an argument is null (EINVAL),
// the path names a folder (EISDIR) or some other non-file (EACCES), the file
// has no write permission bit or the caller may not write it (EACCES, also
// for root), the folder is missing, or the disk is full.
BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName);
