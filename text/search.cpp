#include "text/search.h"

#include "text/unistring.h"
#include "text/upper_case.h"
#include "text/utf8.h"

namespace {

template <typename Unit>
int FindForward(const Unit* hay, const Unit* needle, int hayLen, int needleLen, int from)
{
    if (hay == nullptr || needle == nullptr || hayLen <= 0 || needleLen <= 0 || from < 0 || from > hayLen - needleLen)
        return -1;
    for (int p = from; p <= hayLen - needleLen; ++p) {
        int i = 0;
        while (i < needleLen && hay[p + i] == needle[i])
            ++i;
        if (i == needleLen)
            return p;
    }
    return -1;
}

template <typename Unit>
int FindLast(const Unit* text, Unit ch, int len, int from)
{
    if (text == nullptr || len <= 0 || from < 0 || from >= len)
        return -1;
    for (int i = len - 1; i >= from; --i)
        if (text[i] == ch)
            return i;
    return -1;
}

template <typename Unit>
int Compare(const Unit* a, const Unit* b, int lenA, int lenB)
{
    const bool aEmpty = a == nullptr || lenA == 0, bEmpty = b == nullptr || lenB == 0;
    if (aEmpty && bEmpty)
        return 0;
    if (aEmpty)
        return -1;
    if (bEmpty)
        return 1;
    if (lenA != lenB)
        return lenA < lenB ? -1 : 1;
    for (int i = 0; i < lenA; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return 0;
}

const unsigned char* Bytes(const char* text)
{
    return reinterpret_cast<const unsigned char*>(text);
}

}  // namespace

int FindBytes(const char* hay, const char* needle, int hayLen, int needleLen, int from)
{
    if (hayLen < 0)
        hayLen = NarrowLength(hay);
    if (needleLen < 0)
        needleLen = NarrowLength(needle);
    return FindForward(Bytes(hay), Bytes(needle), hayLen, needleLen, from);
}

int FindBytesReverse(const char* hay, const char* needle, int hayLen, int needleLen, int from)
{
    if (hayLen < 0)
        hayLen = NarrowLength(hay);
    if (needleLen < 0)
        needleLen = NarrowLength(needle);
    if (hay == nullptr || needle == nullptr || hayLen <= 0 || needleLen <= 0 || from < 0 || from > hayLen - needleLen)
        return -1;
    for (int p = hayLen - needleLen; p >= from; --p)
        if (FindForward(Bytes(hay) + p, Bytes(needle), needleLen, needleLen, 0) == 0)
            return p;
    return -1;
}

int FindWideUnits(const WideChar* hay, const WideChar* needle, int hayLen, int needleLen, int from)
{
    if (hayLen < 0)
        hayLen = WideLength(hay);
    if (needleLen < 0)
        needleLen = WideLength(needle);
    return FindForward(hay, needle, hayLen, needleLen, from);
}

int FindLastByte(const char* text, char ch, int len, int from)
{
    if (len < 0)
        len = NarrowLength(text);
    return FindLast(Bytes(text), static_cast<unsigned char>(ch), len, from);
}

int FindLastUnit(const WideChar* text, WideChar ch, int len, int from)
{
    return FindLast(text, ch, len, from);
}

int CompareBytes(const char* a, const char* b, int lenA, int lenB)
{
    return Compare(Bytes(a), Bytes(b), lenA, lenB);
}

int CompareUnits(const WideChar* a, const WideChar* b, int lenA, int lenB)
{
    return Compare(a, b, lenA, lenB);
}

int UniString::FindWide(const WideChar* needle, int from, int needleCount)
{
    if (needle == nullptr || length == 0 || from < 0 || from >= length)
        return -1;
    if (wide)
        return FindWideUnits(WidePtr(0), needle, length, needleCount, from);
    ScratchFromWide(needle, needleCount, -1);
    return FindBytes(NarrowPtr(0), scratch->NarrowPtr(0), length, scratch->length, from);
}

int UniString::FindNarrow(const char* needle, int from, int needleCount)
{
    if (needle == nullptr || length == 0 || from < 0 || from >= length)
        return -1;
    if (!wide)
        return FindBytes(NarrowPtr(0), needle, length, needleCount, from);
    if (!ScratchFromNarrow(needle, needleCount, -1))
        return -1;
    return FindWideUnits(WidePtr(0), scratch->WidePtr(0), length, scratch->length, from);
}

int UniString::FindLast(WideChar ch, int from)
{
    if (wide)
        return FindLastUnit(WidePtr(0), ch, length, from);
    if (ch <= 0x7F)
        return FindLastByte(NarrowPtr(0), char(ch), length, from);
    ScratchFromWide(&ch, 1, -1);
    return FindBytesReverse(NarrowPtr(0), scratch->NarrowPtr(0), length, scratch->length, from);
}

int UniString::CompareWide(const WideChar* text, int count)
{
    if (count < 0 || text == nullptr)
        count = WideLength(text);
    if (length == 0)
        return text == nullptr || count == 0 ? 0 : -1;
    if (text == nullptr || count == 0)
        return 1;
    if (wide)
        return CompareUnits(WidePtr(0), text, length, count);
    ScratchFromWide(text, count, -1);
    return CompareBytes(NarrowPtr(0), scratch->NarrowPtr(0), length, scratch->length);
}

int UniString::CompareNarrow(const char* text, int count)
{
    if (count < 0 || text == nullptr)
        count = NarrowLength(text);
    if (length == 0)
        return text == nullptr || count == 0 ? 0 : -1;
    if (text == nullptr || count == 0)
        return 1;
    if (!wide)
        return CompareBytes(NarrowPtr(0), text, length, count);
    if (!ScratchFromNarrow(text, count, -1))
        return 0;
    return CompareUnits(WidePtr(0), scratch->WidePtr(0), length, scratch->length);
}

int UniString::MakeUpper()
{
    if (length == 0)
        return 1;
    if (wide) {
        WideChar* text = static_cast<WideChar*>(Terminate());
        for (int i = 0; i < length; ++i)
            text[i] = UpperCaseUnit(text[i]);
        return 1;
    }
    if (!ScratchAsWide(*this))
        return 0;
    scratch->MakeUpper();
    return AssignAsNarrow(scratch);
}
