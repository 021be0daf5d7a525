#include "preview/file_mask.h"

namespace {

bool SameLetter(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

bool MatchesPattern(QStringView pattern, QStringView name)
{
    qsizetype p = 0;
    qsizetype n = 0;
    // Where the last "*" was, and how much of the name it has taken so far.
    qsizetype starPattern = -1;
    qsizetype starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || SameLetter(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starPattern >= 0) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace

QList<FilterEntry> ParseFilterText(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QList<FilterEntry> entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries.append({parts[i], parts[i + 1]});
    return entries;
}

bool MatchesMask(const QString &mask, const QString &fileName)
{
    for (QStringView pattern : QStringView(mask).split(u';')) {
        pattern = pattern.trimmed();
        if (pattern.isEmpty())
            continue;
        if (MatchesPattern(pattern, fileName))
            return true;
        if (pattern.endsWith(u".*") && !fileName.contains(u'.') && MatchesPattern(pattern.chopped(2), fileName))
            return true;
    }
    return false;
}
