#pragma once
#include <cstdarg>
#include <cstdint>

#include "text/text_types.h"

// The program's one string type. It holds its text in one of two modes:
// narrow (UTF-8 bytes) or wide (UTF-16 units, WideChar), and converts text of
// the other form when it is appended or assigned. Lengths, indices and counts
// are in units of the current mode. A count below 0 means "up to the
// argument's terminating 0"; a null text or a count of 0 appends nothing and
// succeeds. Operations return 1 for success and 0 for failure.
//
// The text lives in one heap block: a 4-byte header word (bit 31 set for
// narrow text, bits 0-28 the text's size in bytes when the block was made),
// then the text area. The text starts `start` units into that area, so
// DropFront moves no bytes, and is always followed by a 0 unit.
class UniString {
public:
    UniString();
    UniString(WideChar ch, int count);
    virtual ~UniString();
    UniString(const UniString&) = delete;
    UniString& operator=(const UniString&) = delete;

    // Access
    void* Terminate();
    const char* NarrowPtr(int pos) const;
    const WideChar* WidePtr(int pos) const;
    void Clear();
    void SetWide() { wide = 1; }
    void SetNarrow() { wide = 0; }
    int SetLength(int n);
    int DropFront(int n);
    WideChar* WideWriteBuffer(int count);
    char* NarrowWriteBuffer(int count);

    int Length() const { return length; }
    int Start() const { return start; }
    int Capacity() const { return capacity; }
    int CodePage() const { return codePage; }
    bool IsWide() const { return wide != 0; }
    bool IsEmpty() const { return length == 0; }
    // The header word of the current block; 0 without a block.
    std::uint32_t BlockHeader() const;
    // Units that may follow `start`, one kept for the terminator.
    int Room() const;

    // Capacity
    int Reserve(int n);
    int EnsureRoom(int k);
    int Compact();
    int Scratch();
    // The scratch string's text, for operations that convert an argument
    // into it first; valid until the next converting call.
    UniString& ScratchString() { return *scratch; }

    // Modes
    const WideChar* MakeWide(int codePage);
    const char* MakeNarrow(int codePage);

    // Assignment
    int Assign(const UniString& other);
    int AssignAsWide(const UniString* other);
    int AssignAsNarrow(const UniString* other);
    int AssignWide(const WideChar* text, int count);
    int AssignNarrow(const char* text, int count, int codePage);
    int AssignNarrowAsWide(const char* text, int count, int codePage);
    // A string record: a little-endian length word (bit 31 set for UTF-8,
    // bits 0-28 the length in units), then the text.
    int AssignRecord(const void* record);

    // Appending
    int AppendWideToWide(const WideChar* text, int count);
    int AppendNarrowToNarrow(const char* text, int count, int codePage);
    int AppendWide(const WideChar* text, int count);
    int AppendNarrow(const char* text, int count, int codePage);
    int Append(const UniString& other);
    int AppendChar(WideChar ch, int count);
    int AppendByte(char ch, int count);
    int AppendWideChar(WideChar ch);
    int AppendNewline();
    const char* AppendUtf8Prefix(const char* text, int chars, int count, int codePage);
    int EnsureSuffixWide(const WideChar* text, int count);
    int EnsureSuffixNarrow(const char* text, int count);
    int AppendPathWide(const WideChar* part, int count);
    int AppendPathNarrow(const char* part, int count);

    // The scratch string receives an argument converted into another form.
    int ScratchAsWide(const UniString& other);
    int ScratchFromWide(const WideChar* text, int count, int codePage);
    int ScratchFromNarrow(const char* text, int count, int codePage);
    int ScratchWide();

    // Search, comparison and case
    int FindWide(const WideChar* needle, int from, int needleCount);
    int FindNarrow(const char* needle, int from, int needleCount);
    int FindLast(WideChar ch, int from);
    int CompareWide(const WideChar* text, int count);
    int CompareNarrow(const char* text, int count);
    int MakeUpper();

    // Formatting. The variable arguments are read by their C++ type, never
    // by a fixed slot size, so a directive takes exactly its argument on the
    // 32-bit program and on the 64-bit host alike: d i c C T t Y and F with h
    // take an int; u o x X y I U an unsigned int (with L or ll: long long or
    // unsigned long long); f e E g G a A F a double (F with L: long long);
    // p P w W s S z Z b B n a pointer. Pass a WideChar for c, not a char16_t
    // literal promoted elsewhere. Returns 1, or 0 with the text before the
    // failing directive kept.
    int Format(const WideChar* format, ...);
    int FormatAppend(const WideChar* format, va_list args);
    int PadLeft(int count, unsigned flags);
    int PadRight(int count, unsigned flags);
    // Writes at most maxChars characters to the debugger output in lines of
    // debugLineWidth characters, each continued line ending in " \".
    void DebugPrint(int maxChars);

private:
    int UnitSize() const { return wide ? 2 : 1; }
    std::uint8_t* TextArea() const { return block + 4; }
    std::uint8_t* TextAt(int index) const { return TextArea() + (start + index) * UnitSize(); }
    int Free() const;
    int ValidCodePage(int requested) const;
    bool InsideBlock(const void* text) const;
    int AppendUnits(const void* text, int count);

    std::uint8_t* block;
    std::int32_t length;
    std::int32_t start;
    std::int32_t capacity;
    std::int32_t granularity;
    std::int32_t codePage;
    std::int32_t wide;
    std::int32_t debugLineWidth;
    UniString* scratch;
};
