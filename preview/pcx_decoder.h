#pragma once
#include <QByteArrayView>
#include <QIODevice>
#include <QImage>

// Decodes a ZSoft PCX picture from an open device that can seek, in any of
// its layouts: 1 bit per pixel in 1 to 4 planes, 2 or 4 bits packed in one
// plane (colours from the header, or the standard EGA colours for a file
// without them), 8 bits in one plane (the 256-colour palette at the end of
// the file, grey levels without it), 8 bits in 3 or 4 planes (true colour; a
// fourth plane is ignored).
// Every picture comes back as Format_RGB32, paletted ones in their colours:
// the format a picture is shown in, so that a pixmap takes the image as it is
// instead of holding the indices and a copy four times their size at once.
// A picture larger than 4096 pixels on a side comes back reduced, keeping
// every k-th line and pixel (see picture_reduction.h).
//
// Anything that is not such a picture in full gives a null image: a cut file,
// an unknown layout, a failed read, or a size that the file's bytes could not
// encode, which is checked before anything of that size is allocated. The
// file is read as the lines need it, a piece at a time; the memory taken is
// the picture's and a few buffers', whatever the file's size.
QImage DecodePcx(QIODevice &file);

// The same for a file held whole in memory.
QImage DecodePcx(QByteArrayView bytes);
