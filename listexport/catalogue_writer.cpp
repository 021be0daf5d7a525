#include "listexport/catalogue_writer.h"

#include "platform/errors.h"
#include "platform/open_for_overwrite.h"
#include "platform/windows1252.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int kNameWidth = 12;
constexpr int kTitleWidth = 48;
constexpr QByteArrayView kTitle = "Genesis ROMs";
constexpr QByteArrayView kSeparator = " | ";
constexpr QByteArrayView kLineEnd = "\r\n";
constexpr qsizetype kLineBytes = kNameWidth + 2 * kSeparator.size() + 2 * kTitleWidth + kLineEnd.size();
// The header line is followed by an empty line.
constexpr qsizetype kMaxLineBytes = kLineBytes + kLineEnd.size();
// Lines gather in a buffer that stays in the cache and is written when full.
constexpr qsizetype kBufferBytes = 64 * 1024;

char *PutBytes(char *out, QByteArrayView bytes)
{
    std::memcpy(out, bytes.data(), size_t(bytes.size()));
    return out + bytes.size();
}

bool IsControl(char16_t c)
{
    return c < 0x20 || c == 0x7F;
}

// The first width characters of the text, one byte each; the field is blank
// where nothing is put.
char *PutField(char *out, QStringView text, qsizetype width)
{
    const char16_t *chars = text.utf16();
    const qsizetype head = std::min(text.size(), width);
    // The common case, printable ASCII (0x20 to 0x7E), is copied as it is;
    // the sign bit tells any other character, without a branch per character.
    int outside = 0;
    for (qsizetype i = 0; i < head; ++i) {
        const int offset = int(chars[i]) - 0x20;
        outside |= offset | (0x5E - offset);
        out[i] = char(chars[i]);
    }
    if (outside >= 0)
        return out + width;

    QString cut;
    for (qsizetype i = 0; i < text.size() && cut.size() < width; ++i) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        cut += pair || IsControl(chars[i]) ? QChar(u'?') : text[i];
        i += pair ? 1 : 0;
    }
    std::memset(out, ' ', size_t(width));
    PutBytes(out, EncodeWindows1252(cut));
    return out + width;
}

} // namespace

CatalogueWriter::CatalogueWriter(const QString &path) : buffer_(kBufferBytes + kMaxLineBytes, Qt::Uninitialized)
{
    // Unbuffered, so that a failed write shows in its result.
    if (!OpenReplacedFile(file_, path, QIODevice::Unbuffered)) {
        // A name the folder's file system cannot hold says so.
        if (IsRefusedName(errno, QFile::encodeName(path)))
            throw IoError(3, QFile::encodeName(path));
        throw RomdeckError("Cannot create file " + path.toStdString());
    }
    Put(kTitle);
    Put(kLineEnd);
    Put(kLineEnd);
}

void CatalogueWriter::AddRow(QStringView fileName, QStringView englishName, QStringView japName)
{
    MakeRoom(kMaxLineBytes);
    char *out = buffer_.data() + used_;
    std::memset(out, ' ', kMaxLineBytes); // the padding, in one go
    out = PutField(out, fileName, kNameWidth);
    out = PutBytes(out, kSeparator);
    out = PutField(out, englishName, kTitleWidth);
    out = PutBytes(out, kSeparator);
    out = PutField(out, japName, kTitleWidth);
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
