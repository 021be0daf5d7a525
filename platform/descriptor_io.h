#pragma once
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>

// Opens a regular file with `flags` (O_RDONLY, O_RDWR or O_WRONLY, with
// O_CREAT a new file too; the descriptor is neither inherited nor a
// controlling terminal) and gives its status in `info`. Anything else at the
// path (a folder, a pipe, a device) fails with errno set, EISDIR or EACCES,
// rather than being read or waited on. The descriptor it gives blocks as any
// other does. -1 on failure.
int OpenRegularFile(const char *path, int flags, struct stat &info);

// Whole reads and writes through an open file descriptor, retrying the
// interrupted and short ones the system may give.

// Reads from the descriptor's position to the end of the file into
// `contents`. `expectedSize`, the size the file had when it was looked at,
// sizes the first allocation; a file that grew since is read whole anyway.
// False with errno set when a read fails.
bool ReadToEnd(int fd, std::string &contents, size_t expectedSize);

// Writes all of `data` at `offset`. `written`, when given, receives how many
// bytes reached the file, also when a later part failed. False with errno set.
bool WriteAllAt(int fd, std::string_view data, off_t offset, size_t *written = nullptr);
