#pragma once
#include "platform/profile_batch.h"

#include <QString>
#include <vector>

// Typed reads of single keys of a profile file, and typed writes of many. Each
// call looks at the file afresh and releases it before returning.

// Text of a key, at most 1023 bytes; the default when the key is missing.
QString ReadProfileText(const QString &file, const QString &section, const QString &key, const QString &defaultValue);

// Integer: signed decimal, or hexadecimal after "$", "0x" or "0X"; a value
// that does not convert gives the default.
int ReadProfileInteger(const QString &file, const QString &section, const QString &key, int defaultValue);

// Boolean: read as an integer with default 1 or 0; anything but 0 is true.
bool ReadProfileBool(const QString &file, const QString &section, const QString &key, bool defaultValue);

// Values gathered for one write of a profile file, in the order given. A
// value that would not read back as written (blanks at its ends, or enclosed
// in quotes) is stored inside double quotes.
class ProfileWrites
{
public:
    void setText(const QString &section, const QString &key, const QString &value);
    void setInteger(const QString &section, const QString &key, int value);
    void setBool(const QString &section, const QString &key, bool value);

    // Writes all of them in one replacement of the file. Raises RomdeckError
    // "Unable to write to <file>", with the file left as it was, when the file
    // cannot be written or a value cannot be stored as one line.
    void write(const QString &file) const;

private:
    std::vector<ProfileEntry> entries_;
};

// The integer conversion on its own.
bool ParseProfileInteger(const QString &text, int &value);
