#pragma once
#include <QByteArray>
#include <cstdint>

// A file opened for reading a few bytes at given offsets, closed when the
// object goes, also on error. Failures raise IoError with the system's code
// and the file's path.
class ReadOnlyFile
{
public:
    // Only regular files open: a folder fails with "File access denied" as it
    // does on Windows, and so do pipes and devices, which could block or never end.
    explicit ReadOnlyFile(const QByteArray &nativePath);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    // Reads up to length bytes from offset; a read past the end is short, not an error.
    int readAt(std::int64_t offset, char *buffer, int length);

    // The file's size now, so a whole-file read can be sized and bounded first.
    std::int64_t size() const;

private:
    QByteArray path_;
    int fd_;
};
