#include "widgets/sortablegrid/sort_key_reader.h"

#include "widgets/sortablegrid/extended_number.h"

#include <string>
#include <string_view>

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

SortKeyReader::SortKeyReader(const QLocale &locale)
{
    decimalPointText_ = locale.decimalPoint();
    minusText_ = locale.negativeSign();
    plusText_ = locale.positiveSign();
    exponentialText_ = locale.exponential();
    const QString zero = locale.zeroDigit();
    zeroDigit_ = zero.isEmpty() ? U'0' : zero.toUcs4().value(0, U'0');
    simpleNumbers_ = zeroDigit_ == U'0' && decimalPointText_.size() == 1 && minusText_.size() == 1 &&
        plusText_.size() == 1 && exponentialText_.size() == 1;
    if (simpleNumbers_) {
        decimalPoint_ = decimalPointText_[0];
        minusSign_ = minusText_[0];
        plusSign_ = plusText_[0];
        exponential_ = exponentialText_[0];
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

    // What follows the time's last field, such as Bulgarian " 'ч'.".
    qsizetype lastField = -1;
    for (qsizetype i = 0; i < timePattern.size(); ++i) {
        if (timePattern[i] == u'\'') {
            const qsizetype close = timePattern.indexOf(u'\'', i + 1);
            i = close < 0 ? timePattern.size() : close;
        } else if (QStringView(u"hHmszaAptP").contains(timePattern[i])) {
            lastField = i;
        }
    }
    timeEndText_ = timePattern.mid(lastField + 1).remove(u'\'').trimmed();
}

bool SortKeyReader::ReadNumber(QStringView text, long double &value) const
{
    qsizetype pos = 0;
    SkipBlanks(text, pos);
    qsizetype end = text.size();
    while (end > pos && text[end - 1].isSpace())
        --end;
    if (pos == end)
        return false;
    text = text.sliced(pos, end - pos);

    // Each character gives at most one ASCII character.
    char small[64];
    std::string large;
    char *ascii = small;
    if (text.size() > qsizetype(sizeof small)) {
        large.resize(size_t(text.size()));
        ascii = large.data();
    }
    qsizetype length = 0;
    return ToAscii(text, ascii, length) && ReadExtendedNumber(std::string_view(ascii, size_t(length)), value);
}

bool SortKeyReader::ToAscii(QStringView text, char *ascii, qsizetype &length) const
{
    length = 0;
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text[i].unicode();
        char mapped = 0;
        qsizetype taken = 1;
        if (simpleNumbers_) {
            if (c == decimalPoint_)
                mapped = '.';
            else if (c == minusSign_)
                mapped = '-';
            else if (c == plusSign_)
                mapped = '+';
            else if (c == exponential_)
                mapped = 'e';
        } else {
            const QStringView rest = text.sliced(i);
            auto symbol = [&](const QString &name, char ch, Qt::CaseSensitivity cs = Qt::CaseSensitive) {
                if (mapped || name.isEmpty() || !rest.startsWith(name, cs))
                    return;
                mapped = ch;
                taken = name.size();
            };
            symbol(decimalPointText_, '.');
            symbol(minusText_, '-');
            symbol(plusText_, '+');
            symbol(exponentialText_, 'e', Qt::CaseInsensitive);
            if (!mapped) {
                const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
                const char32_t code = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : c;
                if (code >= zeroDigit_ && code <= zeroDigit_ + 9) {
                    mapped = char('0' + (code - zeroDigit_));
                    taken = pair ? 2 : 1;
                }
            }
        }
        if (!mapped && c < 0x80 && (IsAsciiDigit(QChar(c)) || c == u'-' || c == u'+' || c == u'e' || c == u'E'))
            mapped = char(c);
        if (!mapped)
            return false;
        ascii[length++] = mapped;
        i += taken;
    }
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
    // Where the date's own characters end: blanks after a closing literal,
    // such as the last "." of "2024. 07. 09.", belong to what follows.
    qsizetype dateEnd = pos;
    for (const DateField &field : dateFields_) {
        int number = 0, count = 0, index = 0;
        switch (field.kind) {
        case DateField::Literal: {
            const qsizetype before = pos;
            SkipBlanks(text, pos);
            if (field.literal.isEmpty()) {
                if (pos == before && before > 0)
                    return false; // a blank separator needs a blank
                continue;
            }
            if (!StartsWithAt(text, pos, field.literal))
                return false;
            pos += field.literal.size();
            dateEnd = pos;
            SkipBlanks(text, pos);
            continue;
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
        dateEnd = pos;
    }
    if (day < 0 || month < 0 || year < 0)
        return false;
    if (!IsValidDate(year, month, day))
        return false;

    int msecs = 0;
    pos = dateEnd;
    SkipBlanks(text, pos);
    if (pos < text.size()) {
        // A time is set apart from the date by blanks.
        if (!allowTime || pos == dateEnd || !ReadTime(text, pos, msecs))
            return false;
        SkipBlanks(text, pos);
        if (pos < text.size())
            return false;
    }
    value = JulianDay(year, month, day) * kMsecsPerDay + msecs;
    return true;
}

bool SortKeyReader::ReadDayHalf(QStringView text, qsizetype &pos, bool &pm) const
{
    for (const QStringView mark :
         {QStringView(amText_), QStringView(u"AM"), QStringView(pmText_), QStringView(u"PM")}) {
        if (StartsWithAt(text, pos, mark)) {
            pm = mark == pmText_ || mark == u"PM";
            pos += mark.size();
            return true;
        }
    }
    return false;
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
    // The AM/PM mark may come first, as in Korean "오전 10:30".
    bool pm = false;
    bool marked = ReadDayHalf(text, pos, pm);
    if (marked)
        SkipBlanks(text, pos);
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
    qsizetype next = pos;
    SkipBlanks(text, next);
    if (!marked && ReadDayHalf(text, next, pm)) {
        marked = true;
        pos = next;
        SkipBlanks(text, next);
    }
    if (!timeEndText_.isEmpty() && StartsWithAt(text, next, timeEndText_))
        pos = next + timeEndText_.size();
    if (marked) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59)
        return false;
    msecs = ((hour * 60 + minute) * 60 + second) * 1000 + millisecond;
    return true;
}
