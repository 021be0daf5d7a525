#pragma once
// Smallest files that read as Windows images: an "MZ" header whose new-header
// offset points at "PE\0\0" and a file header with the given characteristics.

#include <QByteArray>
#include <QtEndian>

constexpr quint16 kWindowsProgram = 0x0102; // executable image, 32-bit machine
constexpr quint16 kWindowsLibrary = 0x2102; // the same, marked as a library

inline QByteArray WindowsImage(quint16 characteristics, quint32 peOffset = 0x80)
{
    QByteArray image(qMax<int>(int(peOffset) + 24, 0x40), '\0');
    image[0] = 'M';
    image[1] = 'Z';
    qToLittleEndian(peOffset, image.data() + 0x3C);
    if (peOffset + 24 <= quint32(image.size())) {
        image.replace(int(peOffset), 4, QByteArray("PE\0\0", 4));
        qToLittleEndian(characteristics, image.data() + peOffset + 22);
    }
    return image;
}
