#pragma once
#include "platform/windows_types.h"

// Moves the file `existing` to `newName`, as Windows' MoveFileA does: it never
// replaces a file that already has the new name. Within one file system the
// file is renamed; across file systems it is copied, then the original is
// removed. Whatever step fails, the original stays where it was and no partial
// file appears under the new name. Non-zero on success.
BOOL MoveFileA(LPCSTR existing, LPCSTR newName);

// As MoveFileA, except for a symbolic link: it is not moved (a relative link
// would point at nothing in its new folder) but replaced by a regular file
// holding what it shows. The content is copied to `newName`, again never
// replacing a file of that name, then the link is removed; the file it points
// to stays where it is. Non-zero on success.
BOOL MoveFileContentA(LPCSTR existing, LPCSTR newName);
