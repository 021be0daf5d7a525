#include "listexport/catalogue_writer.h"

#include "platform/errors.h"
#include "platform/windows1252.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kNameWidth = 12;
constexpr int kTitleWidth = 48;
constexpr QByteArrayView kTitle = "Genesis ROMs";
constexpr QByteArrayView kSeparator = " | ";
constexpr QByteArrayView kLineEnd = "\r\n";
// A file name takes at most four UTF-8 bytes per character.
constexpr qsizetype kMaxLineBytes = 4 * kNameWidth + 2 * kSeparator.size() + 2 * kTitleWidth + 2 * kLineEnd.size();
// Lines gather in a buffer that stays in the cache and is written when full.
constexpr qsizetype kBufferBytes = 64 * 1024;

char *PutBytes(char *out, QByteArrayView bytes)
{
    std::memcpy(out, bytes.data(), size_t(bytes.size()));
    return out + bytes.size();
}

// Copies the text one byte per character; true when every character was ASCII.
bool PutAscii(char *out, QStringView text)
{
    const char16_t *chars = text.utf16();
    char16_t any = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        any |= chars[i];
        out[i] = char(chars[i]);
    }
    return any < 0x80;
}

// The first 12 characters of a file name as UTF-8; a character outside the
// 16-bit range counts once. The line is blank where nothing is put.
char *PutNameField(char *out, QStringView name)
{
    const QStringView head = name.first(std::min<qsizetype>(name.size(), kNameWidth));
    if (PutAscii(out, head))
        return out + kNameWidth;
    qsizetype end = 0;
    int chars = 0;
    for (; end < name.size() && chars < kNameWidth; ++chars) {
        const bool pair = name[end].isHighSurrogate() && end + 1 < name.size() && name[end + 1].isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return PutBytes(out, name.first(end).toUtf8()) + (kNameWidth - chars);
}

// The first 48 characters of a header title, one Windows-1252 byte each.
char *PutTitleField(char *out, QStringView title)
{
    const QStringView head = title.first(std::min<qsizetype>(title.size(), kTitleWidth));
    if (!PutAscii(out, head))
        PutBytes(out, EncodeWindows1252(head));
    return out + kTitleWidth;
}

} // namespace

CatalogueWriter::CatalogueWriter(const QString &path)
    : file_(path), buffer_(kBufferBytes + kMaxLineBytes, Qt::Uninitialized)
{
    // Unbuffered, so that a failed write shows in its result.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw RomdeckError("Cannot create file " + path.toStdString());
    Put(kTitle);
    Put(kLineEnd);
    Put(kLineEnd);
}

void CatalogueWriter::AddRow(QStringView fileName, QStringView englishName, QStringView japName)
{
    MakeRoom(kMaxLineBytes);
    char *out = buffer_.data() + used_;
    std::memset(out, ' ', kMaxLineBytes); // the padding, in one go
    out = PutNameField(out, fileName);
    out = PutBytes(out, kSeparator);
    out = PutTitleField(out, englishName);
    out = PutBytes(out, kSeparator);
    out = PutTitleField(out, japName);
    out = PutBytes(out, kLineEnd);
    if (headerNext_) {
        out = PutBytes(out, kLineEnd);
        headerNext_ = false;
    }
    used_ = out - buffer_.data();
}

void CatalogueWriter::Close()
{
    Flush();
    file_.close();
    if (file_.error() != QFileDevice::NoError)
        throw RomdeckError("Stream write error");
}

void CatalogueWriter::Put(QByteArrayView bytes)
{
    MakeRoom(bytes.size());
    PutBytes(buffer_.data() + used_, bytes);
    used_ += bytes.size();
}

void CatalogueWriter::MakeRoom(qsizetype bytes)
{
    if (used_ + bytes > buffer_.size())
        Flush();
}

void CatalogueWriter::Flush()
{
    if (used_ == 0)
        return;
    if (file_.write(buffer_.constData(), used_) != used_)
        throw RomdeckError("Stream write error");
    used_ = 0;
}

QString CataloguePath(const QString &programFolder, const QString &fileName)
{
    return programFolder + QLatin1Char('/') + fileName;
}
