#include "rom_collection.h"

#include "catalogue/rom_layout.h"
#include "support/rom_images.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>

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

int ReadHeadersBare(const QByteArray &folder)
{
    DIR *dir = opendir(folder.constData());
    if (!dir)
        return -1;
    std::string path = folder.toStdString() + '/';
    const std::size_t stem = path.size();
    char title[kTitleField];
    int files = 0;
    while (const dirent *entry = readdir(dir)) {
        const std::size_t length = std::strlen(entry->d_name);
        if (length < 4 || entry->d_name[0] == '.')
            continue;
        path.resize(stem);
        path.append(entry->d_name, length);
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (entry->d_name[length - 1] == 'd') {
            benchmark::DoNotOptimize(pread(fd, title, kSmdRunLength, kSmdOddRun));
            benchmark::DoNotOptimize(pread(fd, title + kSmdRunLength, kSmdRunLength, kSmdEvenRun));
        } else {
            benchmark::DoNotOptimize(pread(fd, title, kTitleField, kFirstTitle));
        }
        close(fd);
        ++files;
    }
    closedir(dir);
    return files;
}
