#pragma once

// The character's Windows-1252 byte value, or 0x100 + its UTF-16 code for a
// character the code page lacks. Cells hold ROM titles decoded from
// Windows-1252 (platform/windows1252.h); comparing these codes orders text as
// its single bytes would be ordered.
int Windows1252CodeOutsideLatin1(char16_t c);

inline int Windows1252Code(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    return Windows1252CodeOutsideLatin1(c);
}
