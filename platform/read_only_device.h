#pragma once
#include "platform/read_only_file.h"

#include <QIODevice>

// A regular file as a device that readers take piece by piece where they
// ask, so that no reader needs the file whole in memory. It opens as
// ReadOnlyFile does, raising IoError; a read that fails later is the device's
// read error (-1), as Qt's readers expect, never an exception in Qt's code.
class ReadOnlyDevice final : public QIODevice
{
public:
    // Open for reading, unbuffered: every reader here keeps its own buffer.
    explicit ReadOnlyDevice(const QByteArray &nativePath);

    bool isSequential() const override;
    // The size when the file was opened.
    qint64 size() const override;

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    ReadOnlyFile file_;
    qint64 size_;
};
