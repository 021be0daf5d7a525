#pragma once
#include <QString>

// Typed reads and writes of single keys of a profile file. Each call opens the
// file afresh and releases it before returning.

// Text of a key, at most 1023 bytes; the default when the key is missing.
QString ReadProfileText(const QString &file, const QString &section, const QString &key, const QString &defaultValue);

// Integer: signed decimal, or hexadecimal after "$", "0x" or "0X"; a value
// that does not convert gives the default.
int ReadProfileInteger(const QString &file, const QString &section, const QString &key, int defaultValue);

// Boolean: read as an integer with default 1 or 0; anything but 0 is true.
bool ReadProfileBool(const QString &file, const QString &section, const QString &key, bool defaultValue);

// Writes raise RomdeckError "Unable to write to <file>" when the file cannot be
// written or the value cannot be stored as one line. A value that would not
// read back as written (blanks at its ends, or enclosed in quotes) is stored
// inside double quotes.
void WriteProfileText(const QString &file, const QString &section, const QString &key, const QString &value);
void WriteProfileInteger(const QString &file, const QString &section, const QString &key, int value);
void WriteProfileBool(const QString &file, const QString &section, const QString &key, bool value);

// The integer conversion on its own.
bool ParseProfileInteger(const QString &text, int &value);
