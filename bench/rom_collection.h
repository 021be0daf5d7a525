#pragma once
#include <QByteArray>
#include <QString>

// The synthetic collection the scan benchmarks share, and the floor that no
// scan can beat on it.

// Writes count ROMs into folder, half plain and half SMD. Plain ROMs carry the
// title at 0x120 in a 512-byte file; SMD ROMs are one 16 KiB block (mostly a
// hole). Titles run in another order than the file names, so the list's
// insertions land all over it.
bool WriteCollection(const QString &folder, int count);

// The bare loop: lists the folder, opens each ROM, reads its header bytes and
// closes it. Returns the number of files read, -1 when the folder does not open.
int ReadHeadersBare(const QByteArray &folder);

// The same with `readers` threads reading at once while the folder is listed,
// each file handed to the next free reader: the floor on a share, whose
// round trips overlap.
int ReadHeadersConcurrently(const QByteArray &folder, int readers);
