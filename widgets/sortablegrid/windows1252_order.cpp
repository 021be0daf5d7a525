#include "widgets/sortablegrid/windows1252_order.h"

#include "platform/windows1252.h"

#include <array>

int Windows1252CodeOutsideLatin1(char16_t c)
{
    // The characters of the bytes 0x80 to 0x9F, as the decoder gives them.
    static const std::array<char16_t, 32> highCharacters = [] {
        QByteArray bytes;
        for (int b = 0x80; b < 0xA0; ++b)
            bytes.append(char(b));
        const QString text = DecodeWindows1252(bytes);
        std::array<char16_t, 32> characters{};
        for (int i = 0; i < 32; ++i)
            characters[i] = text[i].unicode();
        return characters;
    }();
    for (int i = 0; i < 32; ++i) {
        if (highCharacters[i] == c)
            return 0x80 + i;
    }
    return 0x100 + c;
}
