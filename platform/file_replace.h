#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

// Writing a settings file so that it is never left half-written.

// The file that a write to `path` must change: a symbolic link is followed,
// one that points nowhere included, so that the link stays and the file it
// names is written (or created). Empty with errno set when the links go round
// in circles (ELOOP) or cannot be read.
std::optional<std::string> WriteTargetOf(const std::string &path);

// Whether an existing file may be written: it has a write permission bit, as
// a file that Windows would not call read-only does (root included), and the
// caller has write access. False with errno EACCES otherwise.
bool MayWriteExisting(const std::string &target, const struct stat &info);

// Replaces the file at `target` (no link) with `contents`. The contents are
// written and synced in a temporary file beside it, which then takes its place
// in one rename, keeping the old file's permission bits and, where allowed,
// its owner: killed at any moment, the file holds the old contents or the new.
//
// Only when the folder refuses the temporary file while the existing file may
// be written (a shared install where just the file was made writable), the
// file is written in place, as Windows does: its room is reserved first, so a
// full disk leaves it whole, but a crash during the write may not.
//
// `previous` is the status of the existing file, or null when there is none.
// Returns false with errno set, the old file and no temporary file left.
bool ReplaceFileContents(const std::string &target, std::string_view contents, const struct stat *previous);

// Removes the temporary files beside `target` that ReplaceFileContents left
// when its writer was killed; those of a writer still at work stay.
void RemoveLeftTemporaries(const std::string &target);
