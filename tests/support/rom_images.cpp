#include "support/rom_images.h"

#include "catalogue/rom_layout.h"

#include <QFile>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace rom_images {

using namespace rom_layout;

QByteArray Cartridge(const QByteArray &firstTitle, const QByteArray &secondTitle, int size)
{
    QByteArray rom(size, '\0');
    rom.replace(kFirstTitle, std::min<qsizetype>(firstTitle.size(), kTitleField), firstTitle.left(kTitleField));
    rom.replace(kSecondTitle, std::min<qsizetype>(secondTitle.size(), kTitleField), secondTitle.left(kTitleField));
    return rom;
}

QByteArray Padded(QByteArray title)
{
    title.resize(kTitleField, ' ');
    return title;
}

QByteArray SmdImage(QByteArray cartridge)
{
    if (cartridge.size() % kSmdBlock != 0)
        cartridge.resize((cartridge.size() / kSmdBlock + 1) * kSmdBlock, '\0');
    QByteArray smd(kSmdFileHeader + cartridge.size(), '\0');
    smd[0] = static_cast<char>(cartridge.size() / kSmdBlock);
    smd[1] = 3; // emulators play only a file that says it holds a game
    smd[8] = static_cast<char>(0xAA);
    smd[9] = static_cast<char>(0xBB);
    smd[10] = 6;
    constexpr qsizetype half = kSmdBlock / 2;
    for (qsizetype block = 0; block < cartridge.size(); block += kSmdBlock) {
        char *out = smd.data() + kSmdFileHeader + block;
        for (qsizetype k = 0; k < half; ++k) {
            out[k] = cartridge[block + 2 * k + 1];
            out[half + k] = cartridge[block + 2 * k];
        }
    }
    return smd;
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool written = ::ftruncate(fd, bytes.size()) == 0;
    const char *data = bytes.constData();
    qsizetype at = 0;
    while (written && at < bytes.size()) {
        if (data[at] == '\0') {
            ++at;
            continue;
        }
        qsizetype end = at;
        while (end < bytes.size() && data[end] != '\0')
            ++end;
        written = ::pwrite(fd, data + at, end - at, at) == end - at;
        at = end;
    }
    return ::close(fd) == 0 && written;
}

bool WritePlainRom(const QString &path, const QByteArray &title)
{
    return WriteFile(path, Cartridge(title, QByteArray()));
}

bool WriteSmdRom(const QString &path, const QByteArray &title)
{
    return WriteFile(path, SmdImage(Cartridge(QByteArray(), title)));
}

} // namespace rom_images
