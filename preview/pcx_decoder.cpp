#include "preview/pcx_decoder.h"

#include "preview/pcx_codes.h"
#include "preview/picture_reduction.h"

#include <QBuffer>
#include <QList>

#include <algorithm>
#include <bit>
#include <cstring>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using pcx_codes::kLongestRun;
using pcx_codes::kRunFlags;
using pcx_codes::RunValues;

constexpr qsizetype kHeaderSize = 128;
constexpr uchar kManufacturer = 0x0A;
constexpr int kLastVersion = 5;
constexpr int kVersionWithoutPalette = 3;
constexpr uchar kPaletteMarker = 0x0C;
constexpr qsizetype kEndPaletteSize = 1 + 768;

// The colours of a 16-colour file that carries none.
constexpr QRgb kEgaColours[16] = {
    0xFF000000, 0xFF0000AA, 0xFF00AA00, 0xFF00AAAA, 0xFFAA0000, 0xFFAA00AA, 0xFFAA5500, 0xFFAAAAAA,
    0xFF555555, 0xFF5555FF, 0xFF55FF55, 0xFF55FFFF, 0xFFFF5555, 0xFFFF55FF, 0xFFFFFF55, 0xFFFFFFFF,
};

struct Header
{
    int version;
    bool runLength;
    int bitsPerPixel;
    int planes;
    int width;
    int height;
    qsizetype bytesPerLine;
    const uchar *colours; // 16 RGB triples
};

int Word(const uchar *at)
{
    return at[0] | at[1] << 8;
}

bool KnownLayout(int bitsPerPixel, int planes)
{
    switch (bitsPerPixel) {
    case 1: return planes >= 1 && planes <= 4;
    case 2:
    case 4: return planes == 1;
    case 8: return planes == 1 || planes == 3 || planes == 4;
    }
    return false;
}

// The header's kHeaderSize bytes at data.
std::optional<Header> ReadHeader(const uchar *data)
{
    if (data[0] != kManufacturer || data[1] > kLastVersion || data[2] > 1)
        return std::nullopt;
    Header header{};
    header.version = data[1];
    header.runLength = data[2] == 1;
    header.bitsPerPixel = data[3];
    header.planes = data[65];
    // The window's corners are taken modulo 2^16: writers store them signed or
    // unsigned, and both give the same width this way.
    header.width = ((Word(data + 8) - Word(data + 4)) & 0xFFFF) + 1;
    header.height = ((Word(data + 10) - Word(data + 6)) & 0xFFFF) + 1;
    header.bytesPerLine = Word(data + 66);
    header.colours = data + 16;
    if (!KnownLayout(header.bitsPerPixel, header.planes) ||
        header.bytesPerLine < (qsizetype(header.width) * header.bitsPerPixel + 7) / 8)
        return std::nullopt;
    return header;
}

void Store8(uchar *at, quint64 word)
{
    std::memcpy(at, &word, 8);
}

quint64 Splat(uchar value)
{
    return value * 0x0101010101010101ull;
}

#if defined(__SSE2__)
// Eight runs of at most 8 bytes each in the 16 bytes at in, all ending within
// room: written with one 8-byte store each and true; false for anything else.
bool WriteEightShortRuns(const uchar *in, uchar *&out, qsizetype room)
{
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
    // The codes 0xC0 to 0xC8 as lengths in 16-bit lanes; any other byte
    // gives more than 8 there, unsigned.
    const __m128i lengths = _mm_sub_epi16(_mm_and_si128(bytes, _mm_set1_epi16(0xFF)), _mm_set1_epi16(0xC0));
    const __m128i over = _mm_subs_epu16(lengths, _mm_set1_epi16(8));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(over, _mm_setzero_si128())) != 0xFFFF)
        return false;
    // The lengths in the bytes of a general register, where multiplying by
    // ones in every byte adds each byte into all bytes above it: where each
    // run ends, the last end in the top byte. Taking each end out with shifts
    // is cheaper than from a vector lane.
    quint64 lengthBytes;
    _mm_storel_epi64(reinterpret_cast<__m128i *>(&lengthBytes), _mm_packus_epi16(lengths, lengths));
    const quint64 ends = lengthBytes * 0x0101010101010101ull;
    const auto end = [ends](int run) { return int(ends >> 8 * run & 0xFF); };
    const int total = end(7);
    if (total > room)
        return false;
    // Each value in all eight bytes of its own 64-bit half.
    const __m128i values = _mm_srli_epi16(bytes, 8);
    const __m128i doubled = _mm_or_si128(values, _mm_slli_epi16(values, 8));
    const __m128i first = _mm_unpacklo_epi16(doubled, doubled);
    const __m128i second = _mm_unpackhi_epi16(doubled, doubled);
    const __m128i fills[4] = {_mm_unpacklo_epi32(first, first), _mm_unpackhi_epi32(first, first),
                              _mm_unpacklo_epi32(second, second), _mm_unpackhi_epi32(second, second)};
    // Stores of either half that need no alignment.
    const auto low = [out](int offset, __m128i fill) {
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out + offset), fill);
    };
    const auto high = [out](int offset, __m128i fill) {
        _mm_storeh_pi(reinterpret_cast<__m64 *>(out + offset), _mm_castsi128_ps(fill));
    };
    low(0, fills[0]);
    high(end(0), fills[0]);
    low(end(1), fills[1]);
    high(end(2), fills[1]);
    low(end(3), fills[2]);
    high(end(4), fills[2]);
    low(end(5), fills[3]);
    high(end(6), fills[3]);
    out += total;
    return true;
}
#endif

// A run in 16-byte pieces (which the compiler writes in one store each): one
// where it is short, otherwise all four that the longest run needs, so that
// only whether a run is short is a branch, not its length in pieces, which
// the processor would guess wrong where lengths vary.
void FillWords(uchar *out, uchar value, qsizetype length)
{
    const quint64 fill = Splat(value);
    Store8(out, fill);
    Store8(out + 8, fill);
    if (length > 16) {
        for (int i = 16; i < 64; i += 8)
            Store8(out + i, fill);
    }
}

// Which of the 16 bytes at in have their two top bits set, as bits.
unsigned HighBytes(const uchar *in)
{
#if defined(__SSE2__)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
    return unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(bytes, _mm_set1_epi8(char(kRunFlags))), bytes)));
#else
    unsigned high = 0;
    for (int i = 0; i < 16; ++i)
        high |= unsigned((in[i] & kRunFlags) == kRunFlags) << i;
    return high;
#endif
}

// Literals and runs as they mix in noisy parts of a picture: the codes in the
// 16 bytes at in are found at once, without reading them one after the other.
// Literals are copied between runs 16 bytes at a time, runs written whole.
// False, with in at the next code, where literals would reach limit: the
// line's end is near.
bool ReadMixedCodes(const uchar *&in, uchar *&out, const uchar *limit)
{
    const unsigned high = HighBytes(in);
    unsigned next = 0;
    for (quint64 runs = high & ~RunValues(high); runs != 0; runs &= runs - 1) {
        const unsigned code = unsigned(std::countr_zero(runs));
        const qsizetype literals = code - next;
        if (out + literals >= limit) {
            in += next;
            return false;
        }
        std::memcpy(out, in + next, 16);
        out += literals;
        const qsizetype length = in[code] & kLongestRun;
        FillWords(out, in[code + 1], length);
        out += length;
        next = code + 2;
    }
    if (next < 16) {
        const qsizetype literals = 16 - next;
        if (out + literals >= limit) {
            in += next;
            return false;
        }
        std::memcpy(out, in + next, 16);
        out += literals;
        next = 16;
    }
    in += next;
    return true;
}

// How many bytes the codes in the 16 bytes at in stand for, found as
// ReadMixedCodes finds them; next is where the code after them starts (17
// when the last byte is a code whose value comes after).
qint64 DecodedLength(const uchar *in, int &next)
{
    const unsigned high = HighBytes(in);
    const auto runs = unsigned(high & ~RunValues(high));
    // Every byte a literal, less the code and value of each run (the value of
    // a last code lies beyond), plus what each run stands for.
    const int beyond = int(runs >> 15);
    qint64 length = 16 + beyond;
    for (unsigned left = runs; left != 0; left &= left - 1)
        length += (in[std::countr_zero(left)] & kLongestRun) - 2;
    next = 16 + beyond;
    return length;
}

// The bytes of all lines and planes as one stream: a run may go on over the end
// of a plane or of a line, so its rest is kept for the next read. The file is
// read as the lines need it, never whole: uncompressed lines straight into
// the caller's buffer, run-length codes through a window of kWindowBytes.
class ScanlineStream
{
public:
    // The lines lie in file from offset begin up to offset end.
    ScanlineStream(QIODevice &file, qint64 begin, qint64 end, bool runLength)
        : file_(file), window_(kWindowBytes), in_(window_.data()), end_(in_), endOffset_(begin), dataEnd_(end),
          runLength_(runLength)
    {
    }

    // Bytes after those asked for that a read may scribble on, which lets
    // every run be written whole in 16-byte pieces: a long one takes 64 bytes
    // from wherever it starts.
    static constexpr qsizetype kSlack = 64;

    // Fills the next count bytes at out, with kSlack bytes of room after them;
    // false when the data ends first.
    bool read(uchar *out, qsizetype count)
    {
        if (!runLength_) {
            if (dataEnd_ - endOffset_ < count || !file_.seek(endOffset_) ||
                file_.read(reinterpret_cast<char *>(out), count) != count)
                return false;
            endOffset_ += count;
            return true;
        }
        uchar *const outEnd = out + count;
        const qsizetype carried = std::min(pending_, count);
        std::memset(out, value_, carried);
        out += carried;
        pending_ -= carried;
        // Locals, not members: any byte written could alias a member and force
        // it to be read again.
        const uchar *in = in_;
        const uchar *end = end_;
        // Runs are written whole, past the end if need be, so nothing needs
        // checking but where literals end. Eight short runs in one go stay
        // inside the count, so they never take bytes of the next read, and
        // their last 8-byte store inside the slack. Up to 32 bytes are read at
        // a time, so the last few codes go below.
        while (out < outEnd) {
            if (end - in < kLookahead && (!refill(in, end) || end - in < kLookahead))
                break;
#if defined(__SSE2__)
            if (WriteEightShortRuns(in, out, outEnd - out)) {
                in += 16;
                continue;
            }
#endif
            if (!ReadMixedCodes(in, out, outEnd))
                break;
        }
        if (out > outEnd) {
            // Only a run written alone goes past the end: its value is the
            // last byte read.
            pending_ = out - outEnd;
            value_ = in[-1];
            in_ = in;
            end_ = end;
            return true;
        }
        while (out < outEnd) {
            if (in == end && !refill(in, end))
                return false;
            const uchar code = *in++;
            if ((code & kRunFlags) != kRunFlags) {
                *out++ = code;
                continue;
            }
            if (in == end && !refill(in, end))
                return false;
            const uchar value = *in++;
            const qsizetype length = code & kLongestRun;
            const qsizetype room = outEnd - out;
            std::memset(out, value, std::min(length, room));
            if (length > room) {
                pending_ = length - room;
                value_ = value;
                out = outEnd;
            } else {
                out += length;
            }
        }
        in_ = in;
        end_ = end;
        return true;
    }

    // Passes over the next count bytes without storing them; false when the
    // data ends first.
    bool skip(qint64 count)
    {
        if (!runLength_) {
            if (dataEnd_ - endOffset_ < count)
                return false;
            endOffset_ += count;
            return true;
        }
        const qint64 carried = std::min<qint64>(pending_, count);
        pending_ -= carried;
        count -= carried;
        const uchar *in = in_;
        const uchar *end = end_;
        // Sixteen code bytes at a time while they cannot stand for more than
        // is left, as the lines between those of a reduced picture are
        // mostly; the last few codes one by one.
        while (count > 16 * kLongestRun) {
            if (end - in < kLookahead && (!refill(in, end) || end - in < kLookahead))
                break;
            int next;
            count -= DecodedLength(in, next);
            in += next;
        }
        while (count > 0) {
            if (in == end && !refill(in, end))
                return false;
            const uchar code = *in++;
            if ((code & kRunFlags) != kRunFlags) {
                --count;
                continue;
            }
            if (in == end && !refill(in, end))
                return false;
            value_ = *in++;
            const qsizetype length = code & kLongestRun;
            pending_ = std::max<qint64>(0, length - count);
            count -= length;
        }
        in_ = in;
        end_ = end;
        return true;
    }

private:
    static constexpr qsizetype kWindowBytes = 64 * 1024;
    // The fast paths look at up to this many bytes ahead.
    static constexpr qsizetype kLookahead = 32;

    // Keeps the codes from in to end, moved to the window's start, and fills
    // the rest of the window from the file; false when the file gives nothing
    // more (its lines end, or a read fails).
    bool refill(const uchar *&in, const uchar *&end)
    {
        const qsizetype kept = end - in;
        const qint64 wanted = std::min<qint64>(kWindowBytes - kept, dataEnd_ - endOffset_);
        if (wanted <= 0 || !file_.seek(endOffset_))
            return false;
        std::memmove(window_.data(), in, size_t(kept));
        const qint64 got = file_.read(reinterpret_cast<char *>(window_.data()) + kept, wanted);
        if (got <= 0)
            return false;
        endOffset_ += got;
        in = window_.data();
        end = in + kept + got;
        return true;
    }

    QIODevice &file_;
    std::vector<uchar> window_;
    const uchar *in_;
    const uchar *end_;
    // The file offset of end_: of the next byte to come from the file.
    qint64 endOffset_;
    qint64 dataEnd_;
    bool runLength_;
    qsizetype pending_ = 0;
    uchar value_ = 0;
};

QList<QRgb> HeaderColours(const Header &header)
{
    const int count = 1 << (header.bitsPerPixel * header.planes);
    const uchar *rgb = header.colours;
    // Monochrome: the two header entries, unless they cannot be told apart (a
    // writer that left them empty) or the version says the file has none,
    // then black and white.
    if (count == 2 && (header.version == kVersionWithoutPalette || std::memcmp(rgb, rgb + 3, 3) == 0))
        return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    // More colours: those of the header, whatever the version says, as every
    // common reader takes them; the EGA colours where the header left them empty.
    if (std::all_of(rgb, rgb + 3 * count, [](uchar c) { return c == 0; }))
        return QList<QRgb>(kEgaColours, kEgaColours + count);
    QList<QRgb> colours(count);
    for (int i = 0; i < count; ++i)
        colours[i] = qRgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    return colours;
}

QList<QRgb> EndColours(const uchar *rgb)
{
    QList<QRgb> colours(256);
    for (int i = 0; i < 256; ++i)
        colours[i] = qRgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    return colours;
}

QList<QRgb> GreyLevels()
{
    QList<QRgb> colours(256);
    for (int i = 0; i < 256; ++i)
        colours[i] = qRgb(i, i, i);
    return colours;
}

// The composers take every step-th pixel of a line, width of them.

// Colours of one line of 1, 2 or 4 bits per pixel, each plane giving the next
// higher bits of the index into colours.
void ComposePlanarColours(const Header &header, const uchar *line, int step, const QRgb *colours, QRgb *out,
                          int width)
{
    const int bits = header.bitsPerPixel;
    const int perByte = 8 / bits;
    const int mask = (1 << bits) - 1;
    for (int x = 0; x < width; ++x) {
        const int source = x * step;
        const qsizetype at = source / perByte;
        const int shift = 8 - bits * (source % perByte + 1);
        int index = 0;
        for (int plane = 0; plane < header.planes; ++plane)
            index |= ((line[plane * header.bytesPerLine + at] >> shift) & mask) << (plane * bits);
        out[x] = colours[index];
    }
}

#if defined(__SSE2__)
// Sixteen pixels of the three planes at once: the bytes interleaved into
// blue, green, red and opaque alpha, as RGB32 lies in memory here.
void ComposeSixteen(const uchar *red, const uchar *green, const uchar *blue, QRgb *out)
{
    const auto load = [](const uchar *at) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(at)); };
    const __m128i r = load(red), g = load(green), b = load(blue);
    const __m128i opaque = _mm_set1_epi8(char(0xFF));
    const __m128i blueGreen[2] = {_mm_unpacklo_epi8(b, g), _mm_unpackhi_epi8(b, g)};
    const __m128i redAlpha[2] = {_mm_unpacklo_epi8(r, opaque), _mm_unpackhi_epi8(r, opaque)};
    auto *pixels = reinterpret_cast<__m128i *>(out);
    for (int i = 0; i < 2; ++i) {
        _mm_storeu_si128(pixels + 2 * i, _mm_unpacklo_epi16(blueGreen[i], redAlpha[i]));
        _mm_storeu_si128(pixels + 2 * i + 1, _mm_unpackhi_epi16(blueGreen[i], redAlpha[i]));
    }
}
#endif

void ComposeTrueColour(const Header &header, const uchar *line, int step, QRgb *out, int width)
{
    const uchar *red = line;
    const uchar *green = red + header.bytesPerLine;
    const uchar *blue = green + header.bytesPerLine;
    int x = 0;
#if defined(__SSE2__)
    // Whole groups only: a store past the width could leave the picture.
    if (step == 1) {
        for (; x + 16 <= width; x += 16)
            ComposeSixteen(red + x, green + x, blue + x, out + x);
    }
#endif
    for (; x < width; ++x) {
        const int source = x * step;
        out[x] = 0xFF000000u | QRgb(red[source]) << 16 | QRgb(green[source]) << 8 | blue[source];
    }
}

// Colours of one line of byte indices, looked up where they were decoded.
void ComposeByteColours(const uchar *line, int step, const QRgb *colours, QRgb *out, int width)
{
    for (int x = 0; x < width; ++x)
        out[x] = colours[line[x * step]];
}

} // namespace

QImage DecodePcx(QIODevice &file)
{
    uchar headerBytes[kHeaderSize];
    if (!file.seek(0) || file.read(reinterpret_cast<char *>(headerBytes), kHeaderSize) != kHeaderSize)
        return {};
    const std::optional<Header> header = ReadHeader(headerBytes);
    if (!header)
        return {};

    const bool trueColour = header->planes >= 3 && header->bitsPerPixel == 8;
    const bool byteIndices = header->planes == 1 && header->bitsPerPixel == 8;
    qint64 dataEnd = file.size();
    uchar endPalette[kEndPaletteSize];
    const bool hasEndPalette = byteIndices && dataEnd >= kHeaderSize + kEndPaletteSize &&
                               file.seek(dataEnd - kEndPaletteSize) &&
                               file.read(reinterpret_cast<char *>(endPalette), kEndPaletteSize) == kEndPaletteSize &&
                               endPalette[0] == kPaletteMarker;
    if (hasEndPalette)
        dataEnd -= kEndPaletteSize;

    // Nothing is allocated for more than the file can hold: a run of two bytes
    // gives at most 63.
    const qint64 lineBytes = qint64(header->bytesPerLine) * header->planes;
    const qint64 encoded = dataEnd - kHeaderSize;
    const qint64 mostDecoded = header->runLength ? encoded / 2 * kLongestRun + encoded % 2 : encoded;
    if (lineBytes * header->height > mostDecoded)
        return {};

    // A picture larger than any the preview keeps whole is reduced to one line
    // and one pixel in every step; the lines between are walked through, not
    // stored.
    const QSize claimed(header->width, header->height);
    const int step = picture_reduction::Step(claimed);
    const QSize size = picture_reduction::Reduced(claimed);
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    QList<QRgb> colours;
    if (!trueColour)
        colours = byteIndices ? (hasEndPalette ? EndColours(endPalette + 1) : GreyLevels()) : HeaderColours(*header);

    // Lines are read into a buffer of a few kilobytes, as many at a time as it
    // holds, since what a read costs to start is paid once for them all; of a
    // reduced picture one line at a time, with the lines up to the next one
    // kept (or to the end) skipped after it.
    ScanlineStream stream(file, kHeaderSize, dataEnd, header->runLength);
    constexpr qsizetype kBufferBytes = 16 * 1024;
    const int bufferLines = step == 1 ? int(std::clamp<qint64>(kBufferBytes / lineBytes, 1, header->height)) : 1;
    std::vector<uchar> lines(size_t(bufferLines * lineBytes + ScanlineStream::kSlack));
    uchar *const pixels = image.bits();
    const qsizetype pixelLine = image.bytesPerLine();
    for (int first = 0; first < size.height(); first += bufferLines) {
        const int count = std::min(bufferLines, size.height() - first);
        if (!stream.read(lines.data(), count * lineBytes))
            return {};
        for (int i = 0; i < count; ++i) {
            const uchar *line = lines.data() + i * lineBytes;
            auto *row = reinterpret_cast<QRgb *>(pixels + (first + i) * pixelLine);
            if (trueColour)
                ComposeTrueColour(*header, line, step, row, size.width());
            else if (byteIndices)
                ComposeByteColours(line, step, colours.constData(), row, size.width());
            else
                ComposePlanarColours(*header, line, step, colours.constData(), row, size.width());
        }
        const int skipped = std::min(step, header->height - first * step) - 1;
        if (!stream.skip(skipped * lineBytes))
            return {};
    }
    return image;
}

QImage DecodePcx(QByteArrayView bytes)
{
    QBuffer buffer;
    buffer.setData(QByteArray::fromRawData(bytes.data(), bytes.size()));
    buffer.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    return DecodePcx(buffer);
}
