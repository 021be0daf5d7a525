#include "catalogue/folder_scan.h"

#include "catalogue/header_names.h"
#include "catalogue/make_short_path.h"
#include "platform/errors.h"
#include "platform/folder_reader.h"
#include "platform/paths.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <exception>
#include <set>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Files read at once, at most. A share answers many requests together, each
// after a round trip, so the scan takes about as many round trips per file as
// there are readers fewer than files (bench/share_bench.cpp: 64 come within
// the noise of 128 and 256, 16 take two fifths longer).
constexpr std::size_t kReaders = 64;

// A read that takes this long waits on a device or a network, not on the
// processor: only then do more readers than processors help. Reads from a
// local disk's cache take microseconds, and there more threads than
// processors would only take turns.
constexpr auto kWaitingRead = std::chrono::microseconds(500);

// Entries listed but not yet taken, at most: bounds what a slow taker lets
// pile up, while leaving the readers far more work than they have in flight.
constexpr std::size_t kReadAhead = 4096;

// On a local disk a read takes microseconds, as long as handing it over:
// names are handed to the readers, ROMs to a reader and entries to the taker
// many at a time, so that the threads meet seldom. A reader takes at most its
// share of the ROMs unread, so that all readers have work on a share.
constexpr std::size_t kListBatch = 64;
constexpr std::size_t kMaxClaim = 16;
constexpr std::size_t kTakeBatch = 256;

// The files being read, by all scans of the program. A file whose read hangs
// on a share that went away holds the system's page of it: a second open of
// it waits for that page without interruption, and neither the program's end
// nor a kill could end that thread. So a newer scan (after a reload) waits
// for the earlier read instead of opening the file again: each hung file
// holds one reader, however many reloads come, and every wait of ours can
// end.
struct FilesBeingRead
{
    std::mutex mutex;
    std::condition_variable ended;
    std::set<QByteArray> paths;
};
// Never destroyed: a read may end while the program exits.
FilesBeingRead &Reading()
{
    static auto *files = new FilesBeingRead;
    return *files;
}

// False when the scan was abandoned before the file was free to read.
bool StartReading(const QByteArray &path, const std::atomic<bool> &abandoned)
{
    FilesBeingRead &reading = Reading();
    std::unique_lock lock(reading.mutex);
    reading.ended.wait(lock, [&] { return abandoned || !reading.paths.contains(path); });
    if (abandoned)
        return false;
    reading.paths.insert(path);
    return true;
}

void EndReading(const QByteArray &path)
{
    FilesBeingRead &reading = Reading();
    {
        std::lock_guard lock(reading.mutex);
        reading.paths.erase(path);
    }
    reading.ended.notify_all();
}

} // namespace

RomListEntry ReadRomFile(const QByteArray &nativePath, RomFileKind kind)
{
    RomListEntry rom;
    QByteArray title;
    rom.text = kind == RomFileKind::Smd ? ReadSmdHeaderName(nativePath, title) : ReadBinHeaderName(nativePath, title);
    rom.object.putrominfo(rom_info{MakeShortPath(nativePath), title});
    return rom;
}

// What the taker and the worker threads share; each thread keeps it alive
// for as long as it runs. The fields below the mutex are guarded by it.
struct FolderScan::Shared : std::enable_shared_from_this<FolderScan::Shared>
{
    struct Slot
    {
        QByteArray name;
        RomFileKind kind;
        bool ready; // an entry that is no ROM is ready once listed
        ScannedEntry entry;
        Clock::time_point readStart{}; // when its read began, if it has
    };

    // The threads' bodies: an error of the scan itself (out of memory) goes
    // to the taker instead of ending the program on a thread of its own.
    void list() { failOn([this] { listAll(); }); }
    void read() { failOn([this] { readAll(); }); }
    void listAll();
    void readAll();
    template <typename Body>
    void failOn(Body body)
    {
        try {
            body();
        } catch (...) {
            std::lock_guard lock(mutex);
            if (!failure)
                failure = std::current_exception();
            wakeTaker();
        }
    }
    // The threads end as soon as they can; what they read is dropped.
    void abandon();
    // Both with the mutex held.
    void wakeTaker();
    // Wakes idle readers for that many new ROMs, and starts more readers
    // where reads wait and the readers not busy cannot take the ROMs unread.
    void startReaders(std::size_t roms);
    // A read has waited long (kWaitingRead): more readers help from now on.
    void readsWait();

    QByteArray nativeFolder;
    QByteArray pathStart; // the folder and "/"
    RomFileReader reader;

    std::mutex mutex;
    std::condition_variable work; // readers wait for a ROM to read, or the end
    std::condition_variable room; // the lister waits for room to list ahead
    std::deque<Slot> queue;       // listed, not yet taken
    std::size_t taken = 0;        // entries taken: the index of queue.front()
    std::size_t nextRead = 0;     // index of the next slot a reader looks at
    bool listed = false;          // the listing has ended
    std::atomic<bool> abandoned = false; // also read by readers waiting for a file to be free
    std::function<void()> wake; // cleared when the scan is abandoned
    bool takerWaits = false;
    bool listerWaits = false;
    std::size_t unreadRoms = 0; // listed, not yet claimed by a reader
    std::size_t readers = 0;
    std::size_t busyReaders = 0;
    std::size_t idleReaders = 0;
    bool readsWaited = false;
    std::exception_ptr failure; // the scan failed as a whole: no entry may come
};

void FolderScan::Shared::wakeTaker()
{
    if (takerWaits && wake) {
        takerWaits = false;
        wake();
    }
}

void FolderScan::Shared::startReaders(std::size_t roms)
{
    for (std::size_t i = 0; i < std::min(roms, idleReaders); ++i)
        work.notify_one();
    // One that cannot start is no error: the readers there are go on (the
    // first started with the scan).
    const std::size_t most = readsWaited ? kReaders : std::max(1U, std::thread::hardware_concurrency());
    while (readers < most && (readers - busyReaders) * kMaxClaim < unreadRoms) {
        try {
            std::thread([self = shared_from_this()] { self->read(); }).detach();
        } catch (...) {
            return;
        }
        ++readers;
    }
}

void FolderScan::Shared::readsWait()
{
    readsWaited = true;
    startReaders(0);
}

void FolderScan::Shared::listAll()
{
    // Opening and reading the folder may hang on a share as a file may.
    FolderReader folder(nativeFolder);
    std::vector<QByteArray> names;
    QByteArray name;
    bool more = true;
    while (more) {
        names.clear();
        while (names.size() < kListBatch && (more = folder.next(name)))
            names.push_back(name);
        std::unique_lock lock(mutex);
        while (queue.size() >= kReadAhead && !abandoned) {
            listerWaits = true;
            room.wait(lock);
        }
        if (abandoned)
            return;
        const bool wasEmpty = queue.empty();
        std::size_t roms = 0;
        for (QByteArray &listed : names) {
            const RomFileKind kind = KindOfRomFile(listed);
            roms += kind != RomFileKind::NotRom;
            queue.push_back(Slot{std::move(listed), kind, kind == RomFileKind::NotRom, ScannedEntry{}});
        }
        if (wasEmpty && !queue.empty() && queue.front().ready)
            wakeTaker();
        unreadRoms += roms;
        if (roms > 0)
            startReaders(roms);
    }
    std::lock_guard lock(mutex);
    // A listing that fails midway ends the scan there, as an unreadable file does.
    if (folder.error()) {
        ScannedEntry failed;
        failed.failure = std::make_exception_ptr(IoError::FromErrno(folder.error(), nativeFolder));
        if (queue.empty())
            wakeTaker();
        queue.push_back(Slot{QByteArray(), RomFileKind::NotRom, true, std::move(failed)});
    }
    listed = true;
    work.notify_all();
    if (queue.empty())
        wakeTaker();
}

void FolderScan::Shared::readAll()
{
    struct Claim
    {
        std::size_t index;
        QByteArray path;
        RomFileKind kind;
    };
    std::vector<Claim> claims;
    std::unique_lock lock(mutex);
    while (!abandoned) {
        nextRead = std::max(nextRead, taken);
        const std::size_t share = std::clamp<std::size_t>(unreadRoms / readers, 1, kMaxClaim);
        claims.clear();
        for (; nextRead < taken + queue.size() && claims.size() < share; ++nextRead) {
            const Slot &slot = queue[nextRead - taken];
            if (slot.kind != RomFileKind::NotRom)
                claims.push_back(Claim{nextRead, pathStart + slot.name, slot.kind});
        }
        if (claims.empty()) {
            if (listed)
                return;
            ++idleReaders;
            work.wait(lock);
            --idleReaders;
            continue;
        }
        unreadRoms -= claims.size();
        ++busyReaders;
        for (const Claim &claim : claims) {
            // Not taken before it is ready: the slot is there until then.
            const Clock::time_point start = queue[claim.index - taken].readStart = Clock::now();
            lock.unlock();
            if (!StartReading(claim.path, abandoned))
                return;
            ScannedEntry entry;
            entry.isRom = true;
            try {
                entry.rom = reader(claim.path, claim.kind);
            } catch (...) {
                entry.failure = std::current_exception();
            }
            EndReading(claim.path);
            const bool waited = Clock::now() - start >= kWaitingRead;
            lock.lock();
            if (abandoned)
                return;
            Slot &slot = queue[claim.index - taken];
            slot.entry = std::move(entry);
            slot.ready = true;
            if (claim.index == taken)
                wakeTaker();
            if (waited && !readsWaited)
                readsWait();
        }
        --busyReaders;
    }
}

FolderScan::FolderScan(const QByteArray &nativeFolder, RomFileReader reader, std::function<void()> wake)
    : shared_(std::make_shared<Shared>())
{
    shared_->nativeFolder = nativeFolder;
    shared_->pathStart = WithFinalSlash(shared_->nativeFolder);
    shared_->reader = std::move(reader);
    shared_->wake = std::move(wake);
    // The first reader and the lister start here, so that a system out of
    // threads fails the scan at once instead of leaving it pending.
    shared_->readers = 1;
    std::thread([self = shared_] { self->read(); }).detach();
    try {
        std::thread([self = shared_] { self->list(); }).detach();
    } catch (...) {
        shared_->abandon();
        throw;
    }
}

FolderScan::~FolderScan()
{
    shared_->abandon();
}

void FolderScan::Shared::abandon()
{
    {
        std::lock_guard lock(mutex);
        abandoned = true;
        wake = nullptr;
        work.notify_all();
        room.notify_all();
    }
    // A reader waiting for a file to be free sees it under this lock.
    { std::lock_guard lock(Reading().mutex); }
    Reading().ended.notify_all();
}

FolderScan::Step FolderScan::take(ScannedEntry &entry)
{
    if (taken_.empty()) {
        Shared &s = *shared_;
        std::lock_guard lock(s.mutex);
        while (!s.queue.empty() && s.queue.front().ready && taken_.size() < kTakeBatch) {
            taken_.push_back(std::move(s.queue.front().entry));
            s.queue.pop_front();
            ++s.taken;
        }
        // The lister, once the window was full, lists on when half of it is free.
        if (s.listerWaits && s.queue.size() <= kReadAhead / 2) {
            s.listerWaits = false;
            s.room.notify_one();
        }
        if (taken_.empty()) {
            if (s.failure)
                std::rethrow_exception(s.failure);
            if (s.queue.empty() && s.listed)
                return Step::Finished;
            // The entry waited for may hang in its read: then the readers
            // go on with the rest meanwhile.
            if (!s.readsWaited && !s.queue.empty() && s.queue.front().readStart != Clock::time_point{} &&
                Clock::now() - s.queue.front().readStart >= kWaitingRead)
                s.readsWait();
            s.takerWaits = true;
            return Step::Pending;
        }
    }
    entry = std::move(taken_.front());
    taken_.pop_front();
    return Step::Taken;
}
