#pragma once
#include <QChar>
#include <QString>
#include <QStringList>
#include <vector>

class GridTable;

// Separated text files of the grid. The bytes are Windows-1252 text, so every
// file loads and saves back byte for byte; lines end at CR, LF or CR LF, and a
// last line without an end counts. Fields are split at every separator (no
// quoting): n separators give n + 1 fields, an empty line one empty field.
//
// Files larger than these limits fail with an error instead of exhausting memory.
constexpr qint64 kMaxTextFileBytes = qint64(256) << 20;
constexpr qint64 kMaxTextFileFields = qint64(4) << 20;

// The file's lines split into fields. Throws IoError when the file cannot be
// opened or read (a folder or other non-regular file gives code 5), RomdeckError
// when it is too large.
std::vector<QStringList> ReadSeparatedTextFile(const QString &fileName, QChar separator);

// One line per row of the table, its cells joined by the separator, each line
// ended by CR LF; creates or replaces the file. Throws IoError on failure, at
// once with code 5 for a folder, FIFO or device of that name.
void WriteSeparatedTextFile(const QString &fileName, QChar separator, const GridTable &table);
