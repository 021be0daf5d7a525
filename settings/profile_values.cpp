#include "settings/profile_values.h"

#include "platform/errors.h"
#include "platform/file_name_text.h"
#include "platform/profile/profile_file.h"

#include <QFile>
#include <cctype>
#include <limits>

namespace {

constexpr DWORD kValueBuffer = 1024;

// A character a profile read strips from the ends of a value.
bool IsBlank(QChar ch)
{
    return ch.unicode() < 0x80 && IsProfileBlank(char(ch.unicode()));
}

// The value as it must stand in the file so that a read gives it back.
QString StoredForm(const QString &value)
{
    if (value.isEmpty())
        return value;
    const QChar first = value.front();
    const QChar last = value.back();
    const bool blankEnds = IsBlank(first) || IsBlank(last);
    const bool quoted = value.size() >= 2 && first == last && (first == u'"' || first == u'\'');
    if (blankEnds || quoted)
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

} // namespace

ProfileReader::ProfileReader(const QString &file) : reading_(QFile::encodeName(file).constData()) {}

QString ProfileReader::text(const QString &section, const QString &key, const QString &defaultValue) const
{
    char buffer[kValueBuffer];
    const QByteArray group = FileNameBytes(section);
    const QByteArray name = key.toUtf8();
    const QByteArray fallback = FileNameBytes(defaultValue);
    const DWORD length =
        reading_.getString(group.constData(), name.constData(), fallback.constData(), buffer, kValueBuffer);
    return FileNameText(QByteArray(buffer, static_cast<qsizetype>(length)));
}

bool ParseProfileInteger(const QString &text, int &value)
{
    QStringView digits(text);
    bool negative = false;
    if (!digits.isEmpty() && (digits.front() == u'-' || digits.front() == u'+')) {
        negative = digits.front() == u'-';
        digits = digits.mid(1);
    }
    int base = 10;
    if (digits.startsWith(u'$')) {
        base = 16;
        digits = digits.mid(1);
    } else if (digits.size() > 2 && (digits.startsWith(u"0x") || digits.startsWith(u"0X"))) {
        base = 16;
        digits = digits.mid(2);
    }
    if (digits.isEmpty())
        return false;
    for (QChar ch : digits) {
        const bool ok =
            base == 16 ? std::isxdigit(ch.unicode() < 128 ? ch.unicode() : 'g') != 0 : (ch >= u'0' && ch <= u'9');
        if (!ok)
            return false;
    }
    bool converted = false;
    if (base == 16) {
        // Hexadecimal fills the 32 bits, so $FFFFFFFF reads as -1.
        const qulonglong bits = digits.toULongLong(&converted, 16);
        if (!converted || bits > std::numeric_limits<quint32>::max())
            return false;
        // Negated in unsigned arithmetic: "-$80000000" must not overflow an int.
        const auto magnitude = static_cast<quint32>(bits);
        value = static_cast<qint32>(negative ? 0u - magnitude : magnitude);
        return true;
    }
    const qlonglong number = digits.toLongLong(&converted, 10);
    const qlonglong signedNumber = negative ? -number : number;
    if (!converted || signedNumber < std::numeric_limits<int>::min() || signedNumber > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(signedNumber);
    return true;
}

int ProfileReader::integer(const QString &section, const QString &key, int defaultValue) const
{
    int value = defaultValue;
    if (!ParseProfileInteger(text(section, key, QString()), value))
        return defaultValue;
    return value;
}

bool ProfileReader::boolean(const QString &section, const QString &key, bool defaultValue) const
{
    return integer(section, key, defaultValue ? 1 : 0) != 0;
}

void ProfileWrites::setText(const QString &section, const QString &key, const QString &value)
{
    entries_.push_back(ProfileEntry{FileNameBytes(section).toStdString(), key.toStdString(),
                                    FileNameBytes(StoredForm(value)).toStdString()});
}

void ProfileWrites::setInteger(const QString &section, const QString &key, int value)
{
    setText(section, key, QString::number(value));
}

void ProfileWrites::setBool(const QString &section, const QString &key, bool value)
{
    setText(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool ProfileWrites::CanStoreName(const QString &name)
{
    return !HoldsLineBreak(FileNameBytes(name).toStdString());
}

void ProfileWrites::write(const QString &file) const
{
    if (!WriteProfileBatch(entries_, QFile::encodeName(file).constData()))
        throw RomdeckError("Unable to write to " + file.toStdString());
}
