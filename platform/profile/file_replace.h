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
// in one rename, keeping the old file's permission bits and owner where the
// file system has them and allows it (their loss is no failure: FAT has
// neither): killed at any moment, the file holds the old contents or the new.
//
// Only when the folder refuses the temporary file while the existing file may
// be written (a shared install where just the file was made writable), the
// file is written in place, as Windows does. Its old contents are read first;
// the room the new ones need is taken and synced before any byte of it changes,
// so a full disk or quota fails with the file as it was; the new contents then
// go in one pass, and when that pass, the cut to the new length or the final
// sync fails, the old bytes are written back. What this cannot cover: a crash,
// kill or power cut during the pass leaves the file part new, part old; one
// between taking the room and the pass leaves the old contents followed by
// zero bytes; if writing the old bytes back fails too, the file stays mixed
// (the first error is what is returned); a reader at the same time may see the
// file part-way; and a file system that puts every write in new room
// (copy-on-write, compressing) may still run out of room during the pass.
//
// `previous` is the status of the existing file, or null when there is none.
// Returns false with errno set, the old file (in place: as far as said above)
// and no temporary file left.
bool ReplaceFileContents(const std::string &target, std::string_view contents, const struct stat *previous);

// Removes the temporary files beside `target` that ReplaceFileContents left
// when its writer was killed; those of a writer still at work stay.
void RemoveLeftTemporaries(const std::string &target);
