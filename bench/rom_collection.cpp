#include "rom_collection.h"

#include "catalogue/rom_layout.h"
#include "support/rom_images.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace rom_layout;

bool WriteCollection(const QString &folder, int count)
{
    for (int i = 0; i < count; ++i) {
        const bool smd = i % 2 == 1;
        const QString path = folder + QStringLiteral("/Game ") + QString::number(100000 + i) +
            (smd ? QStringLiteral(" (World).smd") : QStringLiteral(" (World).bin"));
        const QByteArray title =
            rom_images::Padded("TITLE " + QByteArray::number((static_cast<long>(i) * 7919) % count));
        if (!(smd ? rom_images::WriteSmdRom(path, title) : rom_images::WritePlainRom(path, title)))
            return false;
    }
    return true;
}

namespace {

// Opens the ROM at path (whose name is name), reads its header bytes and
// closes it; false when it does not open.
bool ReadHeader(const std::string &path, const char *name, std::size_t length)
{
    char title[kTitleField];
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (name[length - 1] == 'd') {
        benchmark::DoNotOptimize(pread(fd, title, kSmdRunLength, kSmdOddRun));
        benchmark::DoNotOptimize(pread(fd, title + kSmdRunLength, kSmdRunLength, kSmdEvenRun));
    } else {
        benchmark::DoNotOptimize(pread(fd, title, kTitleField, kFirstTitle));
    }
    close(fd);
    return true;
}

bool IsRomName(const char *name, std::size_t length)
{
    return length >= 4 && name[0] != '.';
}

} // namespace

int ReadHeadersBare(const QByteArray &folder)
{
    DIR *dir = opendir(folder.constData());
    if (!dir)
        return -1;
    std::string path = folder.toStdString() + '/';
    const std::size_t stem = path.size();
    int files = 0;
    while (const dirent *entry = readdir(dir)) {
        const std::size_t length = std::strlen(entry->d_name);
        if (!IsRomName(entry->d_name, length))
            continue;
        path.resize(stem);
        path.append(entry->d_name, length);
        files += ReadHeader(path, entry->d_name, length);
    }
    closedir(dir);
    return files;
}

int ReadHeadersConcurrently(const QByteArray &folder, int readers)
{
    DIR *dir = opendir(folder.constData());
    if (!dir)
        return -1;
    const std::string stem = folder.toStdString() + '/';
    std::mutex mutex;
    std::condition_variable listed;
    std::deque<std::string> names;
    bool ended = false;
    std::atomic<int> files{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < readers; ++i) {
        threads.emplace_back([&] {
            std::unique_lock lock(mutex);
            for (;;) {
                listed.wait(lock, [&] { return ended || !names.empty(); });
                if (names.empty())
                    return;
                const std::string name = std::move(names.front());
                names.pop_front();
                lock.unlock();
                files += ReadHeader(stem + name, name.c_str(), name.size());
                lock.lock();
            }
        });
    }
    while (const dirent *entry = readdir(dir)) {
        const std::size_t length = std::strlen(entry->d_name);
        if (!IsRomName(entry->d_name, length))
            continue;
        std::lock_guard lock(mutex);
        names.emplace_back(entry->d_name, length);
        listed.notify_one();
    }
    closedir(dir);
    {
        std::lock_guard lock(mutex);
        ended = true;
        listed.notify_all();
    }
    for (std::thread &thread : threads)
        thread.join();
    return files;
}
