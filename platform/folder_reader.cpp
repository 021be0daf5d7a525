#include "platform/folder_reader.h"

#include "platform/errors.h"
#include "platform/paths.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <utility>
#include <vector>
#include <dirent.h>
#include <sys/stat.h>

namespace {

FolderReader::Kind KindOfMode(mode_t mode)
{
    switch (mode & S_IFMT) {
    case S_IFDIR:
        return FolderReader::Kind::Folder;
    case S_IFREG:
        return FolderReader::Kind::File;
    default:
        return FolderReader::Kind::Other;
    }
}

FolderReader::Kind KindOfType(unsigned char type)
{
    switch (type) {
    case DT_DIR:
        return FolderReader::Kind::Folder;
    case DT_REG:
        return FolderReader::Kind::File;
    case DT_UNKNOWN:
    case DT_LNK: // what a link points to takes a question of its own
        return FolderReader::Kind::Unknown;
    default:
        return FolderReader::Kind::Other;
    }
}

// The kind of a folder's entry, following a link: the listed one where it
// is known, else asked of the system (Unknown when that fails).
FolderReader::Kind KindOfEntry(const QByteArray &entryPath, FolderReader::Kind listed)
{
    if (listed != FolderReader::Kind::Unknown)
        return listed;
    struct stat info;
    return ::stat(entryPath.constData(), &info) == 0 ? KindOfMode(info.st_mode) : FolderReader::Kind::Unknown;
}

// By name ignoring case; names equal but for case in a fixed order. Each
// name is decoded once: thousands of names take that many comparisons each.
void SortByName(QList<QByteArray> &names)
{
    std::vector<std::pair<QString, QByteArray>> decoded;
    decoded.reserve(names.size());
    for (QByteArray &name : names)
        decoded.emplace_back(QFile::decodeName(name), std::move(name));
    std::sort(decoded.begin(), decoded.end(), [](const auto &a, const auto &b) {
        const int order = a.first.compare(b.first, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.second < b.second;
    });
    for (qsizetype i = 0; i < names.size(); ++i)
        names[i] = std::move(decoded[i].second);
}

} // namespace

FolderReader::FolderReader(const QByteArray &nativeFolder) : dir_(::opendir(nativeFolder.constData())) {}

FolderReader::~FolderReader()
{
    if (dir_)
        ::closedir(dir_);
}

bool FolderReader::next(QByteArray &name, Kind *kind)
{
    if (!dir_ || error_)
        return false;
    // Only a changed errno tells a failed read from the end.
    errno = 0;
    const dirent *entry = ::readdir(dir_);
    if (!entry) {
        error_ = errno;
        return false;
    }
    name = QByteArray(entry->d_name);
    if (kind)
        *kind = KindOfType(entry->d_type);
    return true;
}

FolderContents ListFolderContents(const QByteArray &folder)
{
    char *resolved = ::realpath(folder.constData(), nullptr);
    if (!resolved)
        ThrowLastIoError(folder);
    FolderContents contents;
    contents.folder = resolved;
    std::free(resolved);
    FolderReader reader(contents.folder);
    if (!reader.isOpen())
        ThrowLastIoError(contents.folder);
    const QByteArray pathStart = WithFinalSlash(contents.folder);
    QByteArray name;
    FolderReader::Kind listed;
    while (reader.next(name, &listed)) {
        if (name.isEmpty() || name.startsWith('.'))
            continue;
        const FolderReader::Kind kind = KindOfEntry(pathStart + name, listed);
        if (kind == FolderReader::Kind::Folder)
            contents.subFolders << name;
        else if (kind == FolderReader::Kind::File)
            contents.files << name;
    }
    if (reader.error())
        throw IoError::FromErrno(reader.error(), contents.folder);
    SortByName(contents.subFolders);
    SortByName(contents.files);
    return contents;
}
