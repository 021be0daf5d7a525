#include "preview/picture_finder.h"

#include "platform/file_kind.h"
#include "platform/folder_reader.h"

#include <algorithm>

#include <sys/stat.h>
#include <time.h>

namespace {

QByteArray FoldedAscii(QByteArray name)
{
    for (char &c : name) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

bool Same(const timespec &a, const timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// A folder changed within the file system's timestamp granularity of now may
// change again without its times moving.
bool SettledLongAgo(const timespec &stamp)
{
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec - stamp.tv_sec >= 2;
}

} // namespace

bool PictureFinder::Stamp::operator==(const Stamp &other) const
{
    return device == other.device && inode == other.inode && Same(modified, other.modified) &&
        Same(changed, other.changed);
}

QByteArray PictureFinder::find(const QByteArray &path)
{
    // The exact name needs no listing.
    if (IsFileAt(path))
        return path;
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArrayLiteral(".") : path.left(slash == 0 ? 1 : slash);
    const QByteArray name = path.mid(slash + 1);

    struct stat info;
    if (::stat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return {};
    const Stamp stamp{info.st_dev, info.st_ino, info.st_mtim, info.st_ctim};
    if (!trusted_ || folder != folder_ || !(stamp == stamp_))
        relist(folder, stamp);

    const auto found = byFoldedName_.constFind(FoldedAscii(name));
    if (found == byFoldedName_.constEnd())
        return {};
    // Only files take part in the choice: a folder or a dangling link of a
    // smaller name never hides the picture. The exact name, not a file, was
    // ruled out above.
    const QByteArray prefix = folder + (folder.endsWith('/') ? "" : "/");
    for (const QByteArray &candidate : found.value()) {
        if (candidate != name && IsFileAt(prefix + candidate))
            return prefix + candidate;
    }
    return {};
}

void PictureFinder::relist(const QByteArray &folder, const Stamp &stamp)
{
    byFoldedName_.clear();
    folder_ = folder;
    stamp_ = stamp;
    trusted_ = SettledLongAgo(stamp.modified) && SettledLongAgo(stamp.changed);
    FolderReader reader(folder);
    QByteArray name;
    while (reader.next(name)) {
        QList<QByteArray> &names = byFoldedName_[FoldedAscii(name)];
        names.insert(std::lower_bound(names.begin(), names.end(), name), name);
    }
}
