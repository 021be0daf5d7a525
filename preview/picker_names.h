#pragma once
#include <QByteArray>
#include <QString>

// What the picture picker forms from the expected picture name that the main
// window shows ("SONICT~1.pcx"): counts are in characters, not bytes.

// The text before the first ".", at most 9 characters ("SONICT~1").
QString PickerBaseName(const QString &expectedName);

// The window's title: "PIX for SONICT~1 ROM".
QString PickerTitle(const QString &expectedName);

// The file types: the files whose names begin with the base name's first five
// characters or with "snap", all PCX files, all files. A "|" or ";" in the
// name, which would split the text or the mask, stands as "?" (any one
// character, itself included).
QString PickerFilterText(const QString &expectedName);

// Whether a path's file name ends in ".pcx", in any case of its letters.
bool HasPcxExtension(const QByteArray &path);
