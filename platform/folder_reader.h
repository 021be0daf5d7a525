#pragma once
#include <QByteArray>
#include <QList>

#include <dirent.h>

// Reads a folder's entries in the order the file system gives them, "." and
// ".." included, names as the system's own bytes.
class FolderReader
{
public:
    // What an entry is, as far as the listing tells: a share gives it with
    // each name, so that sorting folders from files costs no request more.
    enum class Kind { Folder, File, Other, Unknown };

    // Opens the folder; isOpen() is false when it does not exist or cannot be read.
    explicit FolderReader(const QByteArray &nativeFolder);
    ~FolderReader();
    FolderReader(const FolderReader &) = delete;
    FolderReader &operator=(const FolderReader &) = delete;

    bool isOpen() const { return dir_ != nullptr; }
    // The next entry's name, and its kind when asked; false when none is
    // left, or the listing failed (then error() tells why).
    bool next(QByteArray &name, Kind *kind = nullptr);
    // The errno of a listing that failed midway (a share that dropped); 0
    // while it goes on and after its end.
    int error() const { return error_; }

private:
    DIR *dir_;
    int error_ = 0;
};

// A folder as a folder browser shows it.
struct FolderContents
{
    QByteArray folder;            // absolute, without symbolic links
    QList<QByteArray> subFolders; // sorted by name ignoring case
    QList<QByteArray> files;      // regular files, sorted the same way
};

// Lists a folder, hidden entries (names beginning with ".") left out. A
// folder that cannot be entered, or whose listing fails, raises IoError naming it.
FolderContents ListFolderContents(const QByteArray &folder);
