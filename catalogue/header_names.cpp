#include "catalogue/header_names.h"

#include "platform/windows1252.h"
#include "platform/paths.h"
#include "platform/read_only_file.h"

#include <QFile>

QByteArray HeaderName;

namespace {

constexpr int kTitleLength = 48;
constexpr int kHeaderNameMax = 47;
constexpr int kBinTitleOffset = 0x120;
constexpr int kSmdRunLength = 24;
constexpr int kSmdOddRunOffset = 512 + 0x150 / 2;        // cartridge bytes 0x151, 0x153, ...
constexpr int kSmdEvenRunOffset = 512 + 8192 + 0x150 / 2; // cartridge bytes 0x150, 0x152, ...

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
    char title[kTitleLength];
    int length;
    {
        ReadOnlyFile file(nativePath);
        length = file.readAt(kBinTitleOffset, title, kTitleLength);
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
        oddLength = file.readAt(kSmdOddRunOffset, odd, kSmdRunLength);
        evenLength = file.readAt(kSmdEvenRunOffset, even, kSmdRunLength);
    }
    char title[kTitleLength];
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
    return ResultText(nativePath, headerName, kTitleLength);
}
