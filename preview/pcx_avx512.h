#pragma once
#include <QtGlobal>

// The part of PCX decoding that AVX-512's byte permutes do many bytes at a
// time, where plain code goes run by run. Used only where the processor has
// the instructions.

// Whether this processor has them (decided once).
bool HasAvx512Permutes();

// Run-length codes where runs are short, as on the tiles and sprites of a game
// snapshot, 32 bytes a step, and long runs 8 at a time. Decodes while the next
// bytes at in hold literals and runs of at most 8 bytes, or 8 runs, whose
// output ends within outEnd, and in has 32 bytes before inEnd and out 64 before
// writeEnd (the bytes after each output may be scribbled on up to there).
// Returns at the first bytes that don't, with in on the next code and out
// after the output.
void ExpandShortCodes(const uchar *&in, const uchar *inEnd, uchar *&out, const uchar *outEnd, const uchar *writeEnd);
