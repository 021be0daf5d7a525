#pragma once
#include <QByteArray>
#include <QString>

// The title last read from a ROM header, program-wide.
extern QByteArray HeaderName;

// The cartridge title readers. Each takes the file's path in the system's own
// bytes, leaves the raw title (at most 47 bytes) in headerName and returns the
// list text: the title, or the file's name when the title is empty.
// A file that cannot be opened or read raises IoError.

// Plain image: first title at 0x120, up to its first NUL, blanks kept.
QString ReadBinHeaderName(const QByteArray &nativePath, QByteArray &headerName);

// SMD image: second title at 0x150, interleaved in two 24-byte runs, trimmed.
QString ReadSmdHeaderName(const QByteArray &nativePath, QByteArray &headerName);
