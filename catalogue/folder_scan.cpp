#include "catalogue/folder_scan.h"

#include "catalogue/header_names.h"
#include "catalogue/make_short_path.h"
#include "platform/file_name_text.h"
#include "platform/folder_reader.h"
#include "platform/paths.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// Files read at once. A share answers many requests together, each after a
// round trip, so the scan takes about as many round trips per file as there
// are readers fewer than files (see bench/share_bench.cpp for the choice).
constexpr int kReaders = 64;

// Entries listed but not yet taken, at most: bounds what a slow taker lets
// pile up, while leaving the readers far more work than they have in flight.
constexpr std::size_t kReadAhead = 4096;

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
    };

    void list();
    void read();
    // The threads end as soon as they can; what they read is dropped.
    void abandon();
    // Both with the mutex held.
    void wakeTaker();
    void startReader();

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
    bool abandoned = false;
    std::function<void()> wake; // cleared when the scan is abandoned
    bool takerWaits = false;
    bool listerWaits = false;
    std::size_t unreadRoms = 0; // listed, not yet claimed by a reader
    std::size_t readers = 0;
    std::size_t busyReaders = 0;
    std::size_t idleReaders = 0;
};

void FolderScan::Shared::wakeTaker()
{
    if (takerWaits && wake) {
        takerWaits = false;
        wake();
    }
}

void FolderScan::Shared::startReader()
{
    // Another reader when those not busy are fewer than the ROMs listed and
    // not yet read. One that cannot start is no error: the readers there are
    // go on (the first started with the scan).
    if (idleReaders > 0)
        work.notify_one();
    if (readers - busyReaders >= unreadRoms || readers >= kReaders)
        return;
    try {
        std::thread([self = shared_from_this()] { self->read(); }).detach();
        ++readers;
    } catch (const std::system_error &) {
    }
}

void FolderScan::Shared::list()
{
    // Opening and reading the folder may hang on a share as a file may.
    FolderReader folder(nativeFolder);
    QByteArray name;
    while (folder.next(name)) {
        const RomFileKind kind = KindOfRomFile(name);
        std::unique_lock lock(mutex);
        while (queue.size() >= kReadAhead && !abandoned) {
            listerWaits = true;
            room.wait(lock);
        }
        if (abandoned)
            return;
        const bool ready = kind == RomFileKind::NotRom;
        queue.push_back(Slot{name, kind, ready, ScannedEntry{}});
        if (ready && queue.size() == 1)
            wakeTaker();
        if (!ready) {
            ++unreadRoms;
            startReader();
        }
    }
    std::lock_guard lock(mutex);
    listed = true;
    work.notify_all();
    if (queue.empty())
        wakeTaker();
}

void FolderScan::Shared::read()
{
    std::unique_lock lock(mutex);
    while (!abandoned) {
        nextRead = std::max(nextRead, taken);
        while (nextRead < taken + queue.size() && queue[nextRead - taken].kind == RomFileKind::NotRom)
            ++nextRead;
        if (nextRead == taken + queue.size()) {
            if (listed)
                return;
            ++idleReaders;
            work.wait(lock);
            --idleReaders;
            continue;
        }
        const std::size_t index = nextRead++;
        --unreadRoms;
        ++busyReaders;
        const QByteArray path = pathStart + queue[index - taken].name;
        const RomFileKind kind = queue[index - taken].kind;
        lock.unlock();
        ScannedEntry entry;
        entry.isRom = true;
        try {
            entry.rom = reader(path, kind);
        } catch (...) {
            entry.failure = std::current_exception();
        }
        lock.lock();
        --busyReaders;
        if (abandoned)
            return;
        // Not taken before it is ready: the slot is still there.
        Slot &slot = queue[index - taken];
        slot.entry = std::move(entry);
        slot.ready = true;
        if (index == taken)
            wakeTaker();
    }
}

FolderScan::FolderScan(const QString &folder, RomFileReader reader, std::function<void()> wake)
    : shared_(std::make_shared<Shared>())
{
    // Every path is built from the folder's and the entry's own bytes, so
    // that a name that is no valid text opens, plays and keeps its section.
    shared_->nativeFolder = FileNameBytes(folder);
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
    std::lock_guard lock(mutex);
    abandoned = true;
    wake = nullptr;
    work.notify_all();
    room.notify_all();
}

FolderScan::Step FolderScan::take(ScannedEntry &entry)
{
    Shared &s = *shared_;
    std::lock_guard lock(s.mutex);
    if (!s.queue.empty() && s.queue.front().ready) {
        entry = std::move(s.queue.front().entry);
        s.queue.pop_front();
        ++s.taken;
        // The lister, once the window was full, lists on when half of it is free.
        if (s.listerWaits && s.queue.size() <= kReadAhead / 2) {
            s.listerWaits = false;
            s.room.notify_one();
        }
        return Step::Taken;
    }
    if (s.queue.empty() && s.listed)
        return Step::Finished;
    s.takerWaits = true;
    return Step::Pending;
}
