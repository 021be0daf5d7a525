#include "preview/picture_finder.h"

#include "platform/ascii_case.h"
#include "platform/file_kind.h"
#include "platform/folder_reader.h"
#include "platform/paths.h"

#include <algorithm>

namespace {

QByteArray FoldedAscii(QByteArray name)
{
    for (char &c : name)
        c = AsciiLower(c);
    return name;
}

} // namespace

QByteArray PictureFinder::find(const QByteArray &path)
{
    // The exact name needs no listing.
    if (IsFileAt(path))
        return path;
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArrayLiteral(".") : path.left(slash == 0 ? 1 : slash);
    const QByteArray name = path.mid(slash + 1);

    const timespec listStart = ReadingStamp::Now();
    struct stat info;
    if (::stat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
        return {};
    if (folder != folder_ || !stamp_.Holds(info))
        relist(folder, ReadingStamp(info, listStart));

    const auto found = byFoldedName_.constFind(FoldedAscii(name));
    if (found == byFoldedName_.constEnd())
        return {};
    // Only files take part in the choice: a folder or a dangling link of a
    // smaller name never hides the picture. The exact name, not a file, was
    // ruled out above.
    const QByteArray prefix = WithFinalSlash(folder);
    for (const QByteArray &candidate : found.value()) {
        if (candidate != name && IsFileAt(prefix + candidate))
            return prefix + candidate;
    }
    return {};
}

void PictureFinder::relist(const QByteArray &folder, const ReadingStamp &stamp)
{
    byFoldedName_.clear();
    folder_ = folder;
    stamp_ = stamp;
    FolderReader reader(folder);
    QByteArray name;
    while (reader.next(name)) {
        QList<QByteArray> &names = byFoldedName_[FoldedAscii(name)];
        names.insert(std::lower_bound(names.begin(), names.end(), name), name);
    }
}
