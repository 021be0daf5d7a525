#include "platform/folder_reader.h"

#include <dirent.h>

FolderReader::FolderReader(const QByteArray &nativeFolder) : dir_(::opendir(nativeFolder.constData())) {}

FolderReader::~FolderReader()
{
    if (dir_)
        ::closedir(dir_);
}

bool FolderReader::next(QByteArray &name)
{
    if (!dir_)
        return false;
    const dirent *entry = ::readdir(dir_);
    if (!entry)
        return false;
    name = QByteArray(entry->d_name);
    return true;
}
