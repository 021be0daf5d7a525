#pragma once
#include "platform/windows_types.h"

// Moves the file `existing` to `newName`, as Windows' MoveFileA does: it never
// replaces a file that already has the new name. Within one file system the
// file is renamed; across file systems it is copied, then the original is
// removed. Whatever step fails, the original stays where it was and no partial
// file appears under the new name. That holds on every file system, also on
// those without an exclusive rename or hard links (FAT, exFAT), where a killed
// move may leave at worst an empty file under the new name beside the whole
// original. Non-zero on success; zero with errno set on failure.
BOOL MoveFileA(LPCSTR existing, LPCSTR newName);

// As MoveFileA, except for a symbolic link: it is not moved (a relative link
// would point at nothing in its new folder) but replaced by a regular file
// holding what it shows. The content is copied to `newName`, again never
// replacing a file of that name, then the link is removed; the file it points
// to stays where it is. Non-zero on success; zero with errno set on failure.
BOOL MoveFileContentA(LPCSTR existing, LPCSTR newName);
