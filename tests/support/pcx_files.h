#pragma once
#include <QByteArray>

// PCX files of any layout, as tests and benchmarks need them: a header and the
// scan-line bytes (each line holding its planes one after the other), written
// with runs.
namespace pcx_files {

struct Layout
{
    int version = 5;
    bool runLength = true;
    int bitsPerPixel = 8;
    int planes = 1;
    int xMin = 0;
    int yMin = 0;
    int width = 1;
    int height = 1;
    int bytesPerLine = 0; // 0: as few as the width needs, rounded up to even
    QByteArray colours;   // header palette, up to 48 bytes

    int lineBytes() const
    {
        if (bytesPerLine != 0)
            return bytesPerLine;
        const int needed = (width * bitsPerPixel + 7) / 8;
        return needed + needed % 2;
    }
};

inline void PutWord(QByteArray &bytes, int at, int value)
{
    bytes[at] = char(value & 0xFF);
    bytes[at + 1] = char((value >> 8) & 0xFF);
}

inline QByteArray Header(const Layout &layout)
{
    QByteArray header(128, '\0');
    header[0] = 0x0A;
    header[1] = char(layout.version);
    header[2] = char(layout.runLength ? 1 : 0);
    header[3] = char(layout.bitsPerPixel);
    PutWord(header, 4, layout.xMin);
    PutWord(header, 6, layout.yMin);
    PutWord(header, 8, layout.xMin + layout.width - 1);
    PutWord(header, 10, layout.yMin + layout.height - 1);
    header.replace(16, layout.colours.size(), layout.colours);
    header[65] = char(layout.planes);
    PutWord(header, 66, layout.lineBytes());
    PutWord(header, 68, 1);
    return header;
}

// Runs of up to 63 equal bytes; a lone byte below 0xC0 stands for itself.
// Runs stop at every multiple of breakEvery (a scan line, as most writers do),
// or go on over everything when breakEvery is 0.
inline QByteArray Runs(const QByteArray &stream, qsizetype breakEvery)
{
    QByteArray out;
    out.reserve(stream.size() * 2);
    for (qsizetype i = 0; i < stream.size();) {
        const char value = stream[i];
        qsizetype length = 1;
        while (i + length < stream.size() && length < 63 && stream[i + length] == value &&
               (breakEvery == 0 || (i + length) % breakEvery != 0))
            ++length;
        if (length > 1 || uchar(value) >= 0xC0)
            out += char(0xC0 | length);
        out += value;
        i += length;
    }
    return out;
}

// The whole file: header, scan lines (with runs broken at each line end unless
// runsOverLines), then the 256-colour palette behind its marker when one is given.
inline QByteArray File(const Layout &layout, const QByteArray &scanLines, bool runsOverLines = false,
                       const QByteArray &endColours = {})
{
    QByteArray file = Header(layout);
    if (layout.runLength)
        file += Runs(scanLines, runsOverLines ? 0 : qsizetype(layout.lineBytes()) * layout.planes);
    else
        file += scanLines;
    if (!endColours.isEmpty())
        file += char(0x0C) + endColours;
    return file;
}

} // namespace pcx_files
