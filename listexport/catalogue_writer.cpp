#include "listexport/catalogue_writer.h"

#include "catalogue/windows1252.h"
#include "platform/errors.h"

#include <QFile>
#include <QStringView>

#include <algorithm>

namespace {

constexpr int kNameWidth = 12;
constexpr int kTitleWidth = 48;
constexpr QByteArrayView kTitle = "Genesis ROMs";
constexpr QByteArrayView kSeparator = " | ";
constexpr QByteArrayView kLineEnd = "\r\n";
constexpr int kTableLineChars = kNameWidth + 3 + kTitleWidth + 3 + kTitleWidth;

// Copies text to buffer when every character is ASCII; false otherwise.
bool CopyAscii(QStringView text, char *buffer)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch >= 0x80)
            return false;
        buffer[i] = static_cast<char>(ch);
    }
    return true;
}

// The first width characters of a file name as UTF-8, padded with blanks to
// width characters. A character outside the 16-bit range counts once.
void AppendNameField(QByteArray &out, QStringView text)
{
    char ascii[kNameWidth] = {};
    const QStringView head = text.first(std::min<qsizetype>(text.size(), kNameWidth));
    if (CopyAscii(head, ascii)) {
        out.append(ascii, head.size());
        out.append(kNameWidth - head.size(), ' ');
        return;
    }
    qsizetype end = 0;
    int chars = 0;
    for (; end < text.size() && chars < kNameWidth; ++chars) {
        const bool pair = text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate();
        end += pair ? 2 : 1;
    }
    out.append(text.first(end).toUtf8());
    out.append(kNameWidth - chars, ' ');
}

// The first 48 characters of a header title, one Windows-1252 byte each,
// padded with blanks to 48.
void AppendTitleField(QByteArray &out, QStringView text)
{
    char ascii[kTitleWidth] = {};
    const QStringView head = text.first(std::min<qsizetype>(text.size(), kTitleWidth));
    if (CopyAscii(head, ascii))
        out.append(ascii, head.size());
    else
        out.append(EncodeWindows1252(head));
    out.append(kTitleWidth - head.size(), ' ');
}

void AppendTableLine(QByteArray &out, const CatalogueRow &row)
{
    AppendNameField(out, row[0]);
    out.append(kSeparator);
    AppendTitleField(out, row[1]);
    out.append(kSeparator);
    AppendTitleField(out, row[2]);
    out.append(kLineEnd);
}

} // namespace

QByteArray CatalogueText(const std::vector<CatalogueRow> &rows)
{
    QByteArray text;
    text.reserve(kTitle.size() + 3 * kLineEnd.size() + qsizetype(rows.size()) * (kTableLineChars + kLineEnd.size()));
    text.append(kTitle).append(kLineEnd).append(kLineEnd);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        AppendTableLine(text, rows[i]);
        if (i == 0)
            text.append(kLineEnd);
    }
    return text;
}

void WriteCatalogue(const QString &path, const QByteArray &text)
{
    // Unbuffered, so that a failed write shows in its result and not later
    // in a flush that might go unnoticed.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        throw RomdeckError("Cannot create file " + path.toStdString());
    if (file.write(text) != text.size())
        throw RomdeckError("Stream write error");
    file.close();
    if (file.error() != QFileDevice::NoError)
        throw RomdeckError("Stream write error");
}

QString CataloguePath(const QString &programFolder, const QString &fileName)
{
    return programFolder + QLatin1Char('/') + fileName;
}
