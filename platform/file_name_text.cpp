#include "platform/file_name_text.h"

namespace {

constexpr char16_t kByteEscape = 0xDC00;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at the front of the bytes, and
// its code point; 0 when the first byte starts none. Overlong forms, encoded
// surrogates and code points above U+10FFFF are not well formed.
int SequenceAt(const unsigned char *bytes, qsizetype left, char32_t &codePoint)
{
    const unsigned char lead = bytes[0];
    int length;
    char32_t lowest;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        lowest = 0x80;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if (!IsContinuation(bytes[i]))
            return 0;
        codePoint = (codePoint << 6) | (bytes[i] & 0x3F);
    }
    if (codePoint < lowest || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

bool IsByteEscape(char16_t unit)
{
    return unit >= kByteEscape + 0x80 && unit <= kByteEscape + 0xFF;
}

} // namespace

QString FileNameText(const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype size = bytes.size();
    QString text;
    text.reserve(size);
    qsizetype at = 0;
    while (at < size) {
        if (data[at] < 0x80) {
            text += QChar(data[at++]);
            continue;
        }
        char32_t codePoint;
        const int length = SequenceAt(data + at, size - at, codePoint);
        if (length == 0) {
            text += QChar(char16_t(kByteEscape + data[at++]));
            continue;
        }
        if (codePoint > 0xFFFF) {
            text += QChar(QChar::highSurrogate(codePoint));
            text += QChar(QChar::lowSurrogate(codePoint));
        } else {
            text += QChar(char16_t(codePoint));
        }
        at += length;
    }
    return text;
}

QByteArray FileNameBytes(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    const qsizetype size = text.size();
    qsizetype runStart = 0;
    for (qsizetype at = 0; at < size; ++at) {
        const char16_t unit = text[at].unicode();
        // A low surrogate that ends a pair is part of a character, not a byte.
        if (!IsByteEscape(unit) || (at > 0 && text[at - 1].isHighSurrogate()))
            continue;
        bytes += QStringView(text).sliced(runStart, at - runStart).toUtf8();
        bytes += char(unit - kByteEscape);
        runStart = at + 1;
    }
    bytes += QStringView(text).sliced(runStart).toUtf8();
    return bytes;
}
