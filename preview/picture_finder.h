#pragma once
#include "platform/reading_stamp.h"

#include <QByteArray>
#include <QHash>
#include <QList>

// Finds a picture file by name in the picture folder, comparing names without
// regard to ASCII case, so that SONIC.PCX, SONIC.pcx and sonic.Pcx all count.
// Only files (and links to files) count. When several names match, the exact
// name wins, then the smallest name in byte order.
//
// A folder of tens of thousands of pictures is listed once and the listing
// kept while its ReadingStamp holds, checked on every call; so every answer is
// as fresh as listing the folder anew.
class PictureFinder
{
public:
    // The path of the matching file of path's folder, or an empty array when
    // there is none.
    QByteArray find(const QByteArray &path);

private:
    void relist(const QByteArray &folder, const ReadingStamp &stamp);

    QByteArray folder_;
    ReadingStamp stamp_;
    QHash<QByteArray, QList<QByteArray>> byFoldedName_; // lower-case name -> its names in byte order
};
