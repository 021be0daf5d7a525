#pragma once
#include <QList>
#include <QString>

// One entry of a file-type box: the text shown and the mask it applies.
struct FilterEntry
{
    QString description;
    QString mask;
};

// The entries of a filter text, "description|mask|description|mask...".
// A trailing description without its mask is left out.
QList<FilterEntry> ParseFilterText(const QString &filter);

// Whether a file name matches a mask: patterns separated by ";", each with
// "*" (any run of characters) and "?" (any one character), letters matched
// ignoring case. As on Windows, a pattern ending in ".*" also matches a name
// without a dot, so "*.*" matches every file.
bool MatchesMask(const QString &mask, const QString &fileName);
