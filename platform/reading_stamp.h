#pragma once
#include <sys/stat.h>
#include <time.h>

// What a kept reading of a file or folder (a parse of its text, a listing of
// its names) is checked against before it is handed out again: the device,
// inode, size, modification and change times the file had when the reading
// began. A file system stamps times at the pace of its clock, so a file
// changed in the same tick as it was read could keep all of them: the stamps
// vouch for the reading only when they were older than the coarsest such tick
// when the reading began. Until then the caller reads the file afresh.
class ReadingStamp
{
public:
    // The moment a reading begins: taken before the file is looked at.
    static timespec Now();

    // No reading: it holds for no file.
    ReadingStamp() = default;
    // A reading that began at `start` of the file whose status was then `info`.
    ReadingStamp(const struct stat &info, const timespec &start);

    // Whether the reading still tells what the file holds, now that its status is `info`.
    bool Holds(const struct stat &info) const;

private:
    dev_t device_ = 0;
    ino_t inode_ = 0;
    off_t size_ = 0;
    timespec modified_{}, changed_{};
    bool trusted_ = false;
};
