#pragma once
#include <QtGlobal>

// The run-length codes of PCX scan lines: a byte with both top bits set is a
// run of its low six bits' count of the byte after it; any other byte stands
// for itself.
namespace pcx_codes {

constexpr uchar kRunFlags = 0xC0;
constexpr int kLongestRun = 0x3F;

// Given which bytes have their top bits set, the first byte being a code: the
// run values among them. A value follows each code with its top bits set, so
// in a row of such bytes every second one is a value, and the first byte after
// a row of odd length is one too. Rows starting on an odd bit are told from
// those starting on an even bit by the carry of an addition.
constexpr quint64 RunValues(quint64 high)
{
    constexpr quint64 kEvenBits = 0x5555555555555555ull;
    const quint64 followsHigh = high << 1;
    const quint64 oddStarts = high & ~kEvenBits & ~followsHigh;
    const quint64 evenStartEnds = oddStarts + high;
    return (kEvenBits ^ evenStartEnds << 1) & followsHigh;
}

} // namespace pcx_codes
