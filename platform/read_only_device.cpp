#include "platform/read_only_device.h"

#include "platform/errors.h"

#include <algorithm>
#include <climits>

ReadOnlyDevice::ReadOnlyDevice(const QByteArray &nativePath) : file_(nativePath), size_(file_.size())
{
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool ReadOnlyDevice::isSequential() const
{
    return false;
}

qint64 ReadOnlyDevice::size() const
{
    return size_;
}

qint64 ReadOnlyDevice::readData(char *data, qint64 maxSize)
{
    try {
        return file_.readAt(pos(), data, int(std::min<qint64>(maxSize, INT_MAX)));
    } catch (const IoError &error) {
        setErrorString(QString::fromStdString(error.what()));
        return -1;
    }
}

qint64 ReadOnlyDevice::writeData(const char * /*data*/, qint64 /*maxSize*/)
{
    return -1;
}
