#pragma once
#include "platform/profile/profile_batch.h"

#include <QString>
#include <vector>

// Typed reads and writes of the keys of a profile file, many per look at the
// file, which is released before each call returns.

// Typed reads of one look at a profile file, taken when the reader is made.
class ProfileReader
{
public:
    explicit ProfileReader(const QString &file);

    // Text of a key, at most 1023 bytes; the default when the key is missing.
    // The file is bytes: what is no valid UTF-8 is kept as FileNameText keeps
    // it, and a write of the text gives the same bytes back.
    QString text(const QString &section, const QString &key, const QString &defaultValue) const;
    // Integer: signed decimal, or hexadecimal after "$", "0x" or "0X"; a
    // value that does not convert gives the default.
    int integer(const QString &section, const QString &key, int defaultValue) const;
    // Boolean: read as an integer with default 1 or 0; anything but 0 is true.
    bool boolean(const QString &section, const QString &key, bool defaultValue) const;

private:
    ProfileReading reading_;
};

// Values gathered for one write of a profile file, in the order given; text
// is written as FileNameBytes gives it. A value that would not read back as
// written (blanks at its ends, or enclosed in quotes) is stored inside double
// quotes.
class ProfileWrites
{
public:
    void setText(const QString &section, const QString &key, const QString &value);
    void setInteger(const QString &section, const QString &key, int value);
    void setBool(const QString &section, const QString &key, bool value);

    // Whether a section or key of this name can be stored: no line break.
    static bool CanStoreName(const QString &name);

    // Writes all of them in one replacement of the file. Raises RomdeckError
    // "Unable to write to <file>", with the file left as it was, when the file
    // cannot be written or a value cannot be stored as one line.
    void write(const QString &file) const;

private:
    std::vector<ProfileEntry> entries_;
};

// The integer conversion on its own.
bool ParseProfileInteger(const QString &text, int &value);
