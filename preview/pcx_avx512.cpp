#include "preview/pcx_avx512.h"

#include "preview/pcx_codes.h"

#if defined(__x86_64__) && defined(__GNUC__)
#if !defined(__clang__)
// GCC 12's AVX-512 intrinsics start some results from an undefined vector,
// which it then warns of wherever they are inlined.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>

#define ROMDECK_AVX512_TARGET                                                                                          \
    "avx512f,avx512bw,avx512vl,avx512vbmi,avx512vbmi2,avx512bitalg,avx512vpopcntdq,bmi,bmi2,popcnt"
// Only these functions use the instructions: everything else built here,
// inline functions of other headers included, stays runnable anywhere.
#define ROMDECK_AVX512_STEP __attribute__((target(ROMDECK_AVX512_TARGET), always_inline)) inline

bool HasAvx512Permutes()
{
    static const bool can = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512vbmi") &&
        __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("avx512bitalg") &&
        __builtin_cpu_supports("avx512vpopcntdq") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
        __builtin_cpu_supports("popcnt");
    return can;
}

namespace {

// Bits moved up by a count taken modulo 64, as the shift instructions do,
// without a branch. A count of 64 comes with bits that are all 0 (no output
// starts after a full store), and a larger one only in a step that is not
// taken.
constexpr quint64 ShiftedUp(quint64 bits, unsigned count)
{
    return bits << (count & 63);
}

constexpr int kLongestShortRun = 8;
// Where the codes of 16 runs lie among their 32 bytes.
constexpr __mmask32 kEvenBytes = 0x55555555;
// One bit in each 8-bit field.
constexpr quint64 kFieldStarts = 0x0101010101010101ull;

// Vectors of one value repeated, made once for all steps: the compiler would
// otherwise build each of them again on every step.
struct Repeated
{
    __m256i runFlags;        // the top bits of a code
    __m256i shortCodeFloor;  // the code of a run of one byte
    __m256i shortCodeSpan;   // from there to the code of the longest short run
    __m256i longestShortRun; // its length
    __m256i ones;
    __m256i lengthBits; // a code's length bits
    // Where the first run's value is among the permuted codes, and the first
    // standing byte among those, less one: the first start counts one.
    __m512i runValuesFirst;
    __m512i standingFirst;
};

// The vector, kept in a register: the compiler cannot see through the empty
// statement to build it again.
template <typename Vector>
ROMDECK_AVX512_STEP Vector Held(Vector vector)
{
    asm("" : "+v"(vector));
    return vector;
}

ROMDECK_AVX512_STEP Repeated MakeRepeated()
{
    return {Held(_mm256_set1_epi8(char(pcx_codes::kRunFlags))),
            Held(_mm256_set1_epi8(char(pcx_codes::kRunFlags + 1))),
            Held(_mm256_set1_epi8(kLongestShortRun - 1)),
            Held(_mm256_set1_epi8(kLongestShortRun)),
            Held(_mm256_set1_epi8(1)),
            Held(_mm256_set1_epi8(pcx_codes::kLongestRun)),
            Held(_mm512_set1_epi64(16 - 1)),
            Held(_mm512_set1_epi64(0 - 1))};
}

// Adds to starts where the output of 16 input bytes starts, from one 8-bit
// field per input byte with as many low bits set as it stands for output
// bytes: the unused bits squeezed out, after the end of the output before;
// moves end past them. Past 64 bytes the starts are wrong, and the step that
// finds that its output does not fit in one store is not taken.
ROMDECK_AVX512_STEP void SqueezeFields(__m128i fields, quint64 &starts, unsigned &end)
{
    const quint64 first = _mm_cvtsi128_si64(fields), last = _mm_extract_epi64(fields, 1);
    const unsigned middle = end + unsigned(_mm_popcnt_u64(first));
    starts |= ShiftedUp(_pext_u64(kFieldStarts, first), end) | ShiftedUp(_pext_u64(kFieldStarts, last), middle);
    end = middle + unsigned(_mm_popcnt_u64(last));
}

// For each of 64 output bytes, given the output positions where a new byte
// starts: the number of starts up to it, one less, plus first (given less
// one). That is where its byte is, counted among those that start, from
// first on.
ROMDECK_AVX512_STEP __m512i OutputSources(quint64 starts, __m512i firstLessOne)
{
    // Output byte j lies in the 64-bit lane j / 8: there, the starts before
    // the lane count, and of the lane's own byte of starts, those up to bit
    // j % 8.
    const __m512i lanesBelow =
        _mm512_setr_epi64(0, 0xFF, 0xFFFF, 0xFFFFFF, 0xFFFFFFFF, 0xFFFFFFFFFF, 0xFFFFFFFFFFFF, 0xFFFFFFFFFFFFFF);
    const __m512i lowByteOfLane =
        _mm512_set_epi64(0x0808080808080808, 0, 0x0808080808080808, 0, 0x0808080808080808, 0, 0x0808080808080808, 0);
    const __m512i laneByte =
        _mm512_set_epi64(0x0707070707070707, 0x0606060606060606, 0x0505050505050505, 0x0404040404040404,
                         0x0303030303030303, 0x0202020202020202, 0x0101010101010101, 0);
    const __m512i upToBit = _mm512_set1_epi64(qint64(0xFF7F3F1F0F070301ull));
    const __m512i startBits = _mm512_set1_epi64(qint64(starts));
    const __m512i startsBelow = _mm512_shuffle_epi8(
        _mm512_add_epi64(_mm512_popcnt_epi64(_mm512_and_si512(startBits, lanesBelow)), firstLessOne), lowByteOfLane);
    const __m512i startsInLane =
        _mm512_popcnt_epi8(_mm512_and_si512(_mm512_shuffle_epi8(startBits, laneByte), upToBit));
    return _mm512_add_epi8(startsBelow, startsInLane);
}

// 32 bytes that are 16 runs of 1 to 8 bytes, as the tiles of a game's
// picture are coded, written with one store, when their output fits within
// room and 64 bytes. The output positions where a run starts are found from
// one 8-bit field per run, the low length bits of it in use. Every output byte then takes the value of the last start
// at or before it, counted among the starts, by one permute.
ROMDECK_AVX512_STEP bool WriteRuns(__m256i bytes, uchar *&out, unsigned room, const Repeated &repeated)
{
    const __m256i lengthsLessOne = _mm256_sub_epi8(bytes, repeated.shortCodeFloor);
    if (_mm256_mask_cmpgt_epu8_mask(kEvenBytes, lengthsLessOne, repeated.shortCodeSpan) != 0)
        return false;
    // The codes in the low half, their values in the high half.
    const __m256i codesThenValues = _mm256_setr_epi8(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30, //
                                                     1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27, 29, 31);
    // The low bits set, for the lengths 1 to 8 as codes less 0xC0.
    const __m128i lowBitsOfLength = _mm_setr_epi8(0, 1, 3, 7, 15, 31, 63, 127, -1, 0, 0, 0, 0, 0, 0, 0);
    const __m256i runs = _mm256_permutexvar_epi8(codesThenValues, bytes);
    const __m128i used = _mm_shuffle_epi8(
        lowBitsOfLength, _mm_sub_epi8(_mm256_castsi256_si128(runs), _mm256_castsi256_si128(repeated.runFlags)));
    quint64 starts = 0;
    unsigned total = 0;
    SqueezeFields(used, starts, total);
    // One store writes the output.
    if (total > 64 || total > room)
        return false;
    // The values are 16 bytes into the permuted codes.
    _mm512_storeu_si512(
        out, _mm512_permutexvar_epi8(OutputSources(starts, repeated.runValuesFirst), _mm512_zextsi256_si512(runs)));
    out += total;
    return true;
}

// The 16 bytes at in as 8 runs of any length, as flat parts of a picture
// are coded, each written with one store of 64 bytes, when their output fits
// within room and the last store within writeRoom.
ROMDECK_AVX512_STEP bool WriteLongRuns(const uchar *in, uchar *&out, qsizetype room, qsizetype writeRoom)
{
    // The lengths in 16-bit lanes, where sums do not overflow: multiplying by
    // ones in every lane adds each lane into all lanes above it.
    const __m128i lengths =
        _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(in)), _mm_set1_epi16(pcx_codes::kLongestRun));
    constexpr quint64 kLaneOnes = 0x0001000100010001ull;
    const quint64 firstEnds = quint64(_mm_cvtsi128_si64(lengths)) * kLaneOnes;
    const quint64 lastEnds = (quint64(_mm_extract_epi64(lengths, 1)) + (firstEnds >> 48)) * kLaneOnes;
    const auto end = [firstEnds, lastEnds](int run) {
        return qsizetype((run < 4 ? firstEnds >> 16 * run : lastEnds >> 16 * (run - 4)) & 0xFFFF);
    };
    const qsizetype total = end(7);
    if (total > room || end(6) + 64 > writeRoom)
        return false;
    _mm512_storeu_si512(out, _mm512_set1_epi8(char(in[1])));
    for (int run = 1; run < 8; ++run)
        _mm512_storeu_si512(out + end(run - 1), _mm512_set1_epi8(char(in[2 * run + 1])));
    out += total;
    return true;
}

// 32 bytes of literals and runs of at most 8 bytes, mixed as on a game's
// sprites, written with one store when their output fits within room and 64
// bytes. Every input byte stands for a count of output bytes: a literal 1, a
// run's value the run's length, a code 0. Where their output starts is found,
// and every output byte takes its byte as above. A code in the last byte
// waits for its value.
ROMDECK_AVX512_STEP bool WriteMixed(__m256i bytes, const uchar *&in, uchar *&out, unsigned room,
                                    const Repeated &repeated)
{
    // For input byte i, byte i - 1 (a value's code); byte 0 is never a value.
    const __m256i previousByte = _mm256_setr_epi8(0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18,
                                                  19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30);
    // The low count bits set, for counts 0 to 8, in both 16-byte halves.
    const __m256i lowBitsOfCount = _mm256_setr_epi8(0, 1, 3, 7, 15, 31, 63, 127, -1, 0, 0, 0, 0, 0, 0, 0, //
                                                    0, 1, 3, 7, 15, 31, 63, 127, -1, 0, 0, 0, 0, 0, 0, 0);
    const __mmask32 high = _mm256_cmpge_epu8_mask(bytes, repeated.runFlags);
    const __mmask32 values = __mmask32(pcx_codes::RunValues(high));
    const __m256i runLengths = _mm256_and_si256(_mm256_permutexvar_epi8(previousByte, bytes), repeated.lengthBits);
    const __m256i counts = _mm256_mask_mov_epi8(_mm256_maskz_mov_epi8(~high, repeated.ones), values, runLengths);
    if (_mm256_cmpgt_epu8_mask(counts, repeated.longestShortRun) != 0)
        return false;
    const __m256i used = _mm256_shuffle_epi8(lowBitsOfCount, counts);
    quint64 starts = 0;
    unsigned total = 0;
    SqueezeFields(_mm256_castsi256_si128(used), starts, total);
    SqueezeFields(_mm256_extracti128_si256(used, 1), starts, total);
    if (total > 64 || total > room)
        return false;
    const __m256i standing = _mm256_maskz_compress_epi8(_mm256_test_epi8_mask(counts, counts), bytes);
    _mm512_storeu_si512(
        out, _mm512_permutexvar_epi8(OutputSources(starts, repeated.standingFirst), _mm512_zextsi256_si512(standing)));
    out += total;
    // Told by a branch (the empty statement keeps the compiler from computing
    // it instead), so that the next load need not wait for the codes to be
    // found.
    if ((high & ~values) >> 31 == 0) [[likely]] {
        in += 32;
    } else {
        asm volatile("");
        in += 31;
    }
    return true;
}

} // namespace

__attribute__((target(ROMDECK_AVX512_TARGET))) void
ExpandShortCodes(const uchar *&inAt, const uchar *inEnd, uchar *&outAt, const uchar *outEnd, const uchar *writeEnd)
{
    // Locals, not the references: any byte written could alias them and force
    // them to be read again.
    const uchar *in = inAt;
    uchar *out = outAt;
    const Repeated repeated = MakeRepeated();
    while (inEnd - in >= 32 && writeEnd - out >= 64) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(in));
        const __mmask32 codes = _mm256_mask_cmpge_epu8_mask(kEvenBytes, bytes, repeated.runFlags);
        if (codes == kEvenBytes) {
            if (WriteRuns(bytes, out, unsigned(outEnd - out), repeated)) {
                in += 32;
                continue;
            }
            if (!WriteLongRuns(in, out, outEnd - out, writeEnd - out))
                break;
            in += 16;
            continue;
        }
        if (!WriteMixed(bytes, in, out, unsigned(outEnd - out), repeated))
            break;
    }
    inAt = in;
    outAt = out;
}

#else

bool HasAvx512Permutes()
{
    return false;
}

void ExpandShortCodes(const uchar *&, const uchar *, uchar *&, const uchar *, const uchar *) {}

#endif
