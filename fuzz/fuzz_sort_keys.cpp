// The grid's sort keys: numbers and dates read from any cell text in a choice
// of locales. No crash; a number read is finite; a date read without a time is
// read the same when a time may follow. The first byte picks the locale, the
// rest is the text in UTF-8.
#include "widgets/sortablegrid/sort_key_reader.h"

#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

// The type ReadNumber fills in, whatever floating-point type that is.
template <typename Number>
Number NumberOf(bool (SortKeyReader::*)(QStringView, Number &) const);
using Number = decltype(NumberOf(&SortKeyReader::ReadNumber));

// Locales with date formats that end in a literal, with names, with other
// digits and other separators; built once, as the grid builds one per sort.
const SortKeyReader &Reader(std::uint8_t pick)
{
    static const char *const names[] = {"C",     "en_US", "en_GB", "de_DE", "fr_FR", "hu_HU", "hr_HR", "sr_RS",
                                        "bs_BA", "ko_KR", "bg_BG", "ja_JP", "zh_CN", "ar_EG", "fa_IR", "hi_IN",
                                        "ru_RU", "pl_PL", "nl_NL", "es_ES", "sv_SE", "fi_FI", "th_TH", "he_IL"};
    constexpr std::size_t count = sizeof names / sizeof names[0];
    static std::unique_ptr<SortKeyReader> readers[count];
    std::unique_ptr<SortKeyReader> &reader = readers[pick % count];
    if (!reader)
        reader = std::make_unique<SortKeyReader>(QLocale(QString::fromLatin1(names[pick % count])));
    return *reader;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const SortKeyReader &reader = Reader(data[0]);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    Number number{};
    if (reader.ReadNumber(text, number) && !std::isfinite(number))
        abort();
    qint64 dateOnly = 0, withTime = 0;
    const bool date = reader.ReadDate(text, false, dateOnly);
    const bool dateAndTime = reader.ReadDate(text, true, withTime);
    if (date && (!dateAndTime || withTime != dateOnly))
        abort();
    return 0;
}
