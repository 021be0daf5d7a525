#pragma once
#include <QtGlobal>

// The run-length codes of a PCX stream where runs are short, as on the tiles
// and sprites of a game snapshot, decoded 32 bytes at a time by byte permutes
// of AVX-512, instead of one store per run.

// Whether this processor has the instructions (decided once).
bool CanExpandShortCodes();

// Decodes while the next 32 bytes at in hold only literals and runs of at most
// 8 bytes whose output ends within outEnd, and in has 32 bytes before inEnd
// and out 64 before writeEnd (the bytes after each output may be scribbled on
// up to there). Returns at the first 32 bytes that don't, with in on the next
// code and out after the output. Call only where CanExpandShortCodes().
void ExpandShortCodes(const uchar *&in, const uchar *inEnd, uchar *&out, const uchar *outEnd, const uchar *writeEnd);
