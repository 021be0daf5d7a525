#include "catalogue/header_names.h"

#include "catalogue/rom_layout.h"
#include "platform/paths.h"
#include "platform/read_only_file.h"
#include "platform/windows1252.h"

#include <QFile>

QByteArray HeaderName;

namespace {

using namespace rom_layout;

QString FileNameFallback(const QByteArray &nativePath, int maxLength)
{
    return FileNamePart(QFile::decodeName(nativePath)).left(maxLength);
}

QString ResultText(const QByteArray &nativePath, const QByteArray &headerName, int fallbackLength)
{
    if (headerName.isEmpty())
        return FileNameFallback(nativePath, fallbackLength);
    // Titles are single-byte text, shown as that code page shows them.
    return DecodeWindows1252(headerName);
}

} // namespace

QString ReadBinHeaderName(const QByteArray &nativePath, QByteArray &headerName)
{
    char title[kTitleField];
    int length;
    {
        ReadOnlyFile file(nativePath);
        length = file.readAt(kFirstTitle, title, kTitleField);
    }
    int end = 0;
    while (end < length && title[end] != '\0')
        ++end;
    headerName = QByteArray(title, std::min(end, kHeaderNameMax));
    return ResultText(nativePath, headerName, kHeaderNameMax);
}

QString ReadSmdHeaderName(const QByteArray &nativePath, QByteArray &headerName)
{
    char odd[kSmdRunLength];
    char even[kSmdRunLength];
    int oddLength;
    int evenLength;
    {
        ReadOnlyFile file(nativePath);
        oddLength = file.readAt(kSmdOddRun, odd, kSmdRunLength);
        evenLength = file.readAt(kSmdEvenRun, even, kSmdRunLength);
    }
    char title[kTitleField];
    int length = 0;
    for (int i = 0; i < kSmdRunLength; ++i) {
        if (i < evenLength)
            title[length++] = even[i];
        if (i < oddLength)
            title[length++] = odd[i];
    }
    int first = 0;
    int last = length;
    while (first < last && static_cast<unsigned char>(title[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(title[last - 1]) <= 32)
        --last;
    headerName = QByteArray(title + first, std::min(last - first, kHeaderNameMax));
    return ResultText(nativePath, headerName, kTitleField);
}
