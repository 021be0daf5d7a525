#include "widgets/sortablegrid/sort_key_reader.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

constexpr qint64 kMsecsPerDay = 86400000;

bool IsAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

void SkipBlanks(QStringView text, qsizetype &pos)
{
    while (pos < text.size() && text[pos].isSpace())
        ++pos;
}

// Reads between minDigits and maxDigits ASCII digits.
bool ReadDigits(QStringView text, qsizetype &pos, int minDigits, int maxDigits, int &value, int &count)
{
    value = 0;
    count = 0;
    while (pos < text.size() && count < maxDigits && IsAsciiDigit(text[pos])) {
        value = value * 10 + (text[pos].unicode() - '0');
        ++pos;
        ++count;
    }
    // A longer digit run is no field of this pattern.
    if (pos < text.size() && IsAsciiDigit(text[pos]))
        return false;
    return count >= minDigits;
}

bool StartsWithAt(QStringView text, qsizetype pos, QStringView word)
{
    if (word.size() == 1 && !word[0].isLetter()) // a separator: the common case, made quick
        return pos < text.size() && text[pos] == word[0];
    return !word.isEmpty() && text.mid(pos).startsWith(word, Qt::CaseInsensitive);
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsValidDate(int year, int month, int day)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1)
        return false;
    return day <= kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

// The Julian day number of a proleptic Gregorian date, as QDate counts it;
// computed here because QDate's calendar machinery dominates reading a key.
qint64 JulianDay(int year, int month, int day)
{
    const int a = (14 - month) / 12;
    const qint64 y = qint64(year) + 4800 - a;
    const int m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

} // namespace

SortKeyReader::SortKeyReader(const QLocale &locale) : locale_(locale)
{
    locale_.setNumberOptions(locale_.numberOptions() | QLocale::RejectGroupSeparator);
    const QString point = locale.decimalPoint();
    const QString minus = locale.negativeSign();
    const QString plus = locale.positiveSign();
    const QString exponential = locale.exponential();
    simpleNumbers_ = locale.zeroDigit() == QStringLiteral("0") && point.size() == 1 && minus.size() == 1 &&
        plus.size() == 1 && exponential.size() == 1;
    if (simpleNumbers_) {
        decimalPoint_ = point[0];
        minusSign_ = minus[0];
        plusSign_ = plus[0];
        exponential_ = exponential[0];
    }

    const QString pattern = locale.dateFormat(QLocale::ShortFormat);
    QString literal;
    auto flushLiteral = [&] {
        if (!literal.isEmpty())
            dateFields_.push_back({DateField::Literal, literal.trimmed()});
        literal.clear();
    };
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c == u'\'') {
            const qsizetype close = pattern.indexOf(u'\'', i + 1);
            const qsizetype end = close < 0 ? pattern.size() : close;
            literal += end == i + 1 ? QStringLiteral("'") : pattern.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (c != u'd' && c != u'M' && c != u'y') {
            literal += c;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        flushLiteral();
        DateField::Kind kind = DateField::Year;
        if (c == u'd')
            kind = run <= 2 ? DateField::Day : DateField::WeekdayName;
        else if (c == u'M')
            kind = run <= 2 ? DateField::Month : DateField::MonthName;
        dateFields_.push_back({kind, QString()});
        i += run;
    }
    flushLiteral();

    for (auto format : {QLocale::LongFormat, QLocale::ShortFormat}) {
        for (int m = 1; m <= 12; ++m)
            monthNames_.push_back(locale.monthName(m, format));
        for (int m = 1; m <= 12; ++m)
            monthNames_.push_back(locale.standaloneMonthName(m, format));
        for (int d = 1; d <= 7; ++d)
            weekdayNames_.push_back(locale.dayName(d, format));
    }

    timeSeparators_.push_back(u':');
    const QString timePattern = locale.timeFormat(QLocale::ShortFormat);
    for (qsizetype i = 0; i + 1 < timePattern.size(); ++i) {
        const QChar c = timePattern[i];
        if ((c == u'h' || c == u'H') && timePattern[i + 1] != c) {
            const QChar separator = timePattern[i + 1];
            if (!separator.isLetter() && separator != u':')
                timeSeparators_.push_back(separator);
            break;
        }
    }
    amText_ = locale.amText();
    pmText_ = locale.pmText();
}

bool SortKeyReader::ReadNumber(QStringView text, double &value) const
{
    if (!simpleNumbers_)
        return ReadNumberGeneric(text, value);

    qsizetype pos = 0;
    SkipBlanks(text, pos);
    qsizetype end = text.size();
    while (end > pos && text[end - 1].isSpace())
        --end;
    if (pos == end)
        return false;

    // The same number in the grammar std::from_chars reads.
    char small[64];
    std::string large;
    const qsizetype length = end - pos;
    char *out = small;
    if (length + 1 > qsizetype(sizeof small)) {
        large.resize(length + 1);
        out = large.data();
    }
    char *const begin = out;

    if (text[pos] == minusSign_ || text[pos] == u'-') {
        *out++ = '-';
        ++pos;
    } else if (text[pos] == plusSign_ || text[pos] == u'+') {
        ++pos;
    }
    int digits = 0;
    while (pos < end && IsAsciiDigit(text[pos])) {
        *out++ = char(text[pos++].unicode());
        ++digits;
    }
    if (pos < end && text[pos] == decimalPoint_) {
        *out++ = '.';
        ++pos;
        while (pos < end && IsAsciiDigit(text[pos])) {
            *out++ = char(text[pos++].unicode());
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (pos < end && (text[pos] == exponential_ || text[pos] == u'e' || text[pos] == u'E')) {
        *out++ = 'e';
        ++pos;
        if (pos < end && (text[pos] == minusSign_ || text[pos] == u'-')) {
            *out++ = '-';
            ++pos;
        } else if (pos < end && (text[pos] == plusSign_ || text[pos] == u'+')) {
            ++pos;
        }
        int exponentDigits = 0;
        while (pos < end && IsAsciiDigit(text[pos])) {
            *out++ = char(text[pos++].unicode());
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    if (pos != end)
        return false;

    double result = 0;
    const auto [ptr, ec] = std::from_chars(begin, out, result);
    if (ec != std::errc() || ptr != out || !std::isfinite(result))
        return false;
    value = result;
    return true;
}

bool SortKeyReader::ReadNumberGeneric(QStringView text, double &value) const
{
    bool ok = false;
    const double result = locale_.toDouble(text, &ok);
    // Infinities and NaN give no order, so they count as text.
    if (!ok || !std::isfinite(result))
        return false;
    value = result;
    return true;
}

bool SortKeyReader::MatchName(QStringView text, qsizetype &pos, const std::vector<QString> &names, int &index)
{
    qsizetype best = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].size() > best && StartsWithAt(text, pos, names[i])) {
            best = names[i].size();
            index = int(i);
        }
    }
    pos += best;
    return best > 0;
}

bool SortKeyReader::ReadDate(QStringView text, bool allowTime, qint64 &value) const
{
    qsizetype pos = 0;
    SkipBlanks(text, pos);
    int day = -1, month = -1, year = -1;
    for (const DateField &field : dateFields_) {
        int number = 0, count = 0, index = 0;
        switch (field.kind) {
        case DateField::Literal: {
            const qsizetype before = pos;
            SkipBlanks(text, pos);
            if (field.literal.isEmpty()) {
                if (pos == before && before > 0)
                    return false; // a blank separator needs a blank
                break;
            }
            if (!StartsWithAt(text, pos, field.literal))
                return false;
            pos += field.literal.size();
            SkipBlanks(text, pos);
            break;
        }
        case DateField::Day:
            if (!ReadDigits(text, pos, 1, 2, day, count))
                return false;
            break;
        case DateField::Month:
            if (!ReadDigits(text, pos, 1, 2, month, count))
                return false;
            break;
        case DateField::MonthName:
            if (!MatchName(text, pos, monthNames_, index))
                return false;
            month = index % 12 + 1;
            break;
        case DateField::WeekdayName:
            if (!MatchName(text, pos, weekdayNames_, index))
                return false;
            break;
        case DateField::Year:
            if (!ReadDigits(text, pos, 1, 4, number, count))
                return false;
            year = count <= 2 ? (number < 50 ? 2000 + number : 1900 + number) : number;
            break;
        }
    }
    if (day < 0 || month < 0 || year < 0)
        return false;
    if (!IsValidDate(year, month, day))
        return false;

    int msecs = 0;
    const qsizetype dateEnd = pos;
    SkipBlanks(text, pos);
    if (pos < text.size()) {
        if (!allowTime || pos == dateEnd || !ReadTime(text, pos, msecs))
            return false;
        SkipBlanks(text, pos);
        if (pos < text.size())
            return false;
    }
    value = JulianDay(year, month, day) * kMsecsPerDay + msecs;
    return true;
}

bool SortKeyReader::ReadTime(QStringView text, qsizetype &pos, int &msecs) const
{
    auto readSeparator = [&] {
        if (pos >= text.size())
            return false;
        for (QChar separator : timeSeparators_) {
            if (text[pos] == separator) {
                ++pos;
                return true;
            }
        }
        return false;
    };
    int hour = 0, minute = 0, second = 0, millisecond = 0, count = 0;
    if (!ReadDigits(text, pos, 1, 2, hour, count) || !readSeparator() || !ReadDigits(text, pos, 2, 2, minute, count))
        return false;
    const qsizetype afterMinutes = pos;
    if (readSeparator()) {
        if (!ReadDigits(text, pos, 2, 2, second, count))
            return false;
        if (pos < text.size() && text[pos] == u'.') {
            ++pos;
            if (!ReadDigits(text, pos, 1, 3, millisecond, count))
                return false;
            for (; count < 3; ++count)
                millisecond *= 10;
        }
    } else {
        pos = afterMinutes;
    }
    qsizetype markPos = pos;
    SkipBlanks(text, markPos);
    const bool am = StartsWithAt(text, markPos, amText_) || StartsWithAt(text, markPos, u"AM");
    const bool pm = !am && (StartsWithAt(text, markPos, pmText_) || StartsWithAt(text, markPos, u"PM"));
    if (am || pm) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (pm ? 12 : 0);
        const QStringView mark = am ? (StartsWithAt(text, markPos, amText_) ? QStringView(amText_) : u"AM")
                                    : (StartsWithAt(text, markPos, pmText_) ? QStringView(pmText_) : u"PM");
        pos = markPos + mark.size();
    }
    if (hour > 23 || minute > 59 || second > 59)
        return false;
    msecs = ((hour * 60 + minute) * 60 + second) * 1000 + millisecond;
    return true;
}
