#pragma once
#include "platform/windows_types.h"

// Moves the file `existing` to `newName`, as Windows' MoveFileA does: it never
// replaces a file that already has the new name. Within one file system the
// file is renamed; across file systems it is copied, then the original is
// removed. Whatever step fails, the original stays where it was and no partial
// file appears under the new name. Non-zero on success.
BOOL MoveFileA(LPCSTR existing, LPCSTR newName);
