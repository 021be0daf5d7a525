#pragma once
#include <QByteArray>

#include <dirent.h>

// Reads a folder's entries in the order the file system gives them, "." and
// ".." included, names as the system's own bytes.
class FolderReader
{
public:
    // Opens the folder; isOpen() is false when it does not exist or cannot be read.
    explicit FolderReader(const QByteArray &nativeFolder);
    ~FolderReader();
    FolderReader(const FolderReader &) = delete;
    FolderReader &operator=(const FolderReader &) = delete;

    bool isOpen() const { return dir_ != nullptr; }
    // The next entry's name; false when none is left.
    bool next(QByteArray &name);

private:
    DIR *dir_;
};
