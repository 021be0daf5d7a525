#pragma once
#include "platform/profile/profile_document.h"

#include <memory>
#include <sys/stat.h>

// The profile file at `path` as it is now, parsed. The parse of an earlier call
// is handed out again while its ReadingStamp holds, checked at every call on
// the file opened afresh, not by its path alone; while it does not, the file's
// bytes are read and compared with the kept parse's text instead.
//
// Returns null with errno set when the file cannot be read: ENOENT when it is
// missing, EISDIR for a folder and EACCES for any other kind of file, which is
// never read or waited on. `info`, when given, receives the file's status.
std::shared_ptr<const ProfileDocument> CurrentProfile(const char *path, struct stat *info = nullptr);

// Tells the reads above that the file at `path` was just written with the text
// of `document`: the next call compares the file's bytes with it instead of
// parsing them again.
void RememberWrittenProfile(const char *path, std::shared_ptr<const ProfileDocument> document);
