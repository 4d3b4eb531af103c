#pragma once
#include "text/text_types.h"

// Conversions between UTF-16 units and UTF-8 bytes, one 16-bit unit at a
// time: a surrogate becomes a three-byte sequence of its own, so every unit
// sequence, unpaired surrogates included, survives a round trip. Four-byte
// sequences are refused. A count below 0 means "up to the terminating 0".
// No function writes a terminator or a byte-order mark.

int WideLength(const WideChar* text);
int NarrowLength(const char* text);

// Bytes EncodeUtf8 writes for `count` units; a `known` above 0 is returned as is.
int Utf8Size(const WideChar* text, int count, int known);
// Units DecodeUtf8 needs at most for `count` bytes, which is also the
// character count of valid text; a `known` above 0 is returned as is.
int Utf16Count(const char* text, int count, int known);

// Both return the units written, or -1 when dst is null (with dstSize above 0),
// when the output would not fit in dstSize, or, for DecodeUtf8, when the
// input is not valid UTF-8. dstSize 0 only sizes.
int EncodeUtf8(const WideChar* src, char* dst, int count, int dstSize);
int DecodeUtf8(const char* src, WideChar* dst, int count, int dstSize);

// Address of the character after the first `n` characters, or null when
// n < 0, the text is empty or null, or n is not below the byte count.
const char* Utf8CharOffset(const char* text, int n, int count);
