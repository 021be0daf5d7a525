#pragma once
#include <QByteArray>
#include <QHash>
#include <QList>

#include <sys/types.h>

// Finds a picture file by name in the picture folder, comparing names without
// regard to ASCII case, so that SONIC.PCX, SONIC.pcx and sonic.Pcx all count.
// Only files (and links to files) count. When several names match, the exact
// name wins, then the smallest name in byte order.
//
// A folder of tens of thousands of pictures is listed once and the listing
// kept while the folder is unchanged (same folder, same modification and
// change times, checked on every call); a listing taken while the folder was
// changing is not trusted for later calls. So every answer is as fresh as
// listing the folder anew.
class PictureFinder
{
public:
    // The path of the matching file of path's folder, or an empty array when
    // there is none.
    QByteArray find(const QByteArray &path);

private:
    struct Stamp
    {
        dev_t device = 0;
        ino_t inode = 0;
        timespec modified{};
        timespec changed{};
        bool operator==(const Stamp &other) const;
    };

    void relist(const QByteArray &folder, const Stamp &stamp);

    QByteArray folder_;
    Stamp stamp_;
    bool trusted_ = false;
    QHash<QByteArray, QList<QByteArray>> byFoldedName_; // lower-case name -> its names in byte order
};
