#pragma once
#include "catalogue/rom_file_kind.h"
#include "catalogue/rom_info.h"

#include <QByteArray>
#include <QString>
#include <deque>
#include <exception>
#include <functional>
#include <memory>

// What one directory entry of a scanned folder gave.
struct ScannedEntry
{
    bool isRom = false;
    RomListEntry rom;           // when isRom: the list text, the path and the header title
    std::exception_ptr failure; // the file could not be read, or the listing failed here: its IoError
};

// Reads one ROM file: its list text, its stored path (MakeShortPath) and the
// header title, by the reader its kind names. Raises IoError. Runs on a worker
// thread, so it must touch nothing shared.
using RomFileReader = std::function<RomListEntry(const QByteArray &nativePath, RomFileKind kind)>;
RomListEntry ReadRomFile(const QByteArray &nativePath, RomFileKind kind);

// One folder's scan. The listing and the reads of the ROM files (open, header
// bytes, close, short path) run on worker threads, many files at once, so that
// a slow share costs a few round trips per file in all rather than each in
// turn, and a hung file holds no one but its own reader. The entries are
// taken in the order of the listing, "." and ".." included, exactly as a
// serial scan would meet them. A missing or unreadable folder gives no entry;
// a listing that fails midway gives its error after the entries before it.
//
// Taking never waits. Destroying the scan abandons it at once: reads in
// flight finish (or hang) on their own threads and their results are dropped;
// nothing waits for them, also not at the program's end.
class FolderScan
{
public:
    enum class Step { Taken, Pending, Finished };

    // wake is called on a worker thread when the entry the taker found
    // pending is ready, or the listing has ended; it must only wake the
    // taker's thread. It is not called once the scan is destroyed. The
    // folder is the system's own bytes, so that every path is built from the
    // folder's and the entry's own bytes: a name that is no valid text opens,
    // plays and keeps its section.
    FolderScan(const QByteArray &nativeFolder, RomFileReader reader, std::function<void()> wake);
    ~FolderScan();
    FolderScan(const FolderScan &) = delete;
    FolderScan &operator=(const FolderScan &) = delete;

    // Taken: the next entry in the listing's order is in `entry`. Pending: it
    // is still being listed or read. Finished: no entry is left.
    Step take(ScannedEntry &entry);

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::deque<ScannedEntry> taken_; // taken from the shared queue, not yet handed out
};
