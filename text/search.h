#pragma once
#include "text/text_types.h"

// Plain scans over bytes or 16-bit units, compared as unsigned values. Each
// returns an index or -1; any unusable argument (null pointer, empty text or
// needle, a start outside the text) gives -1. A negative length means "up to
// the terminating 0", except for FindLastUnit.
int FindBytes(const char* hay, const char* needle, int hayLen, int needleLen, int from);
int FindBytesReverse(const char* hay, const char* needle, int hayLen, int needleLen, int from);
int FindWideUnits(const WideChar* hay, const WideChar* needle, int hayLen, int needleLen, int from);
int FindLastByte(const char* text, char ch, int len, int from);
int FindLastUnit(const WideChar* text, WideChar ch, int len, int from);

// Shorter sorts first whatever the content; equal lengths compare unit by
// unit. Two empty (or null) texts are equal. Returns -1, 0 or 1.
int CompareBytes(const char* a, const char* b, int lenA, int lenB);
int CompareUnits(const WideChar* a, const WideChar* b, int lenA, int lenB);
