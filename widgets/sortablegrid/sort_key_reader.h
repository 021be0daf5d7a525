#pragma once
#include <QLocale>
#include <QString>
#include <QStringView>
#include <vector>

// Reads cell texts as numbers and dates in one locale's formats. Built once per
// sort: the locale's symbols and short date pattern are looked up here, so that
// reading 100,000 keys costs no locale look-ups.
class SortKeyReader
{
public:
    explicit SortKeyReader(const QLocale &locale);

    // A finite number in the platform's extended precision: optional sign,
    // digits with an optional locale decimal separator and fraction, an
    // optional exponent; no group separators; blanks around it are allowed.
    // The locale's own digits and symbols count as well as the ASCII ones. An
    // empty text is no number.
    bool ReadNumber(QStringView text, long double &value) const;

    // A date in the locale's short date format, the whole text being the date;
    // with allowTime, optionally followed by a time (h:mm, h:mm:ss, h:mm:ss.zzz,
    // with an AM/PM mark before or after it, and the end text of the locale's
    // time format, such as " ч.", optional). The value orders dates and times: days since
    // the Julian epoch in milliseconds plus the time of day. Two-digit years mean
    // 2000 to 2049 and 1950 to 1999.
    bool ReadDate(QStringView text, bool allowTime, qint64 &value) const;

private:
    struct DateField
    {
        enum Kind { Day, Month, MonthName, WeekdayName, Year, Literal } kind;
        QString literal; // trimmed separator text of a Literal
    };

    // The text with the locale's digits and symbols replaced by ASCII ones,
    // at most one per character; false for a character that has no place in a number.
    bool ToAscii(QStringView text, char *ascii, qsizetype &length) const;
    bool ReadTime(QStringView text, qsizetype &pos, int &msecs) const;
    bool ReadDayHalf(QStringView text, qsizetype &pos, bool &pm) const;
    static bool MatchName(QStringView text, qsizetype &pos, const std::vector<QString> &names, int &index);

    bool simpleNumbers_ = false; // single-character symbols and ASCII digits
    QChar decimalPoint_, minusSign_, plusSign_, exponential_;
    QString decimalPointText_, minusText_, plusText_, exponentialText_;
    char32_t zeroDigit_ = U'0';
    std::vector<DateField> dateFields_;
    std::vector<QString> monthNames_; // 12 per naming form, in month order
    std::vector<QString> weekdayNames_;
    std::vector<QChar> timeSeparators_;
    QString amText_, pmText_;
    QString timeEndText_; // trimmed literal text after the last field of the time format
};
