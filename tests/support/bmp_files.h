#pragma once
#include <QByteArray>
#include <QtEndian>

// BMP files as tests and benchmarks need them.
namespace bmp_files {

// A 256-colour file with run-length codes that claims width x height pixels
// and ends its codes at once (every pixel colour 0, a green ramp of colours):
// about a kilobyte, whatever size it claims.
inline QByteArray RunLengthClaim(int width, int height)
{
    constexpr int kInfoSize = 40;
    constexpr int kColours = 256;
    constexpr int kDataOffset = 14 + kInfoSize + 4 * kColours;
    const QByteArray codes("\x00\x01", 2); // the end of the picture
    QByteArray file(kDataOffset, '\0');
    char *at = file.data();
    at[0] = 'B';
    at[1] = 'M';
    qToLittleEndian<quint32>(quint32(kDataOffset + codes.size()), at + 2);
    qToLittleEndian<quint32>(kDataOffset, at + 10);
    at += 14;
    qToLittleEndian<quint32>(kInfoSize, at);
    qToLittleEndian<qint32>(width, at + 4);
    qToLittleEndian<qint32>(height, at + 8);
    qToLittleEndian<quint16>(1, at + 12); // planes
    qToLittleEndian<quint16>(8, at + 14); // bits per pixel
    qToLittleEndian<quint32>(1, at + 16); // 8-bit run-length codes
    qToLittleEndian<quint32>(quint32(codes.size()), at + 20);
    qToLittleEndian<quint32>(kColours, at + 32);
    at += kInfoSize;
    for (int i = 0; i < kColours; ++i)
        at[4 * i + 1] = char(i);
    return file + codes;
}

} // namespace bmp_files
