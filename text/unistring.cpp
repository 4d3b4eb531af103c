#include "text/unistring.h"

#include <cstring>
#include <new>

#include "text/utf8.h"

namespace {

// Handed out for empty, wrong-mode or out-of-range requests; never written.
const char emptyNarrow[1] = {0};
const WideChar emptyWide[1] = {0};

// Only UTF-8 exists; every other number means "the string's own".
constexpr int codePageCount = 1;

const WideChar backslashWide[] = WIDE("\\");
const char backslashNarrow[] = "\\";

}  // namespace

UniString::UniString()
    : block(nullptr), length(0), start(0), capacity(0), granularity(64), codePage(0), wide(0),
      debugLineWidth(80), scratch(nullptr)
{
    Reserve(0);
}

UniString::UniString(WideChar ch, int count)
    : block(nullptr), length(0), start(0), capacity(0), granularity(64), codePage(0), wide(1),
      debugLineWidth(80), scratch(nullptr)
{
    if (count < 0)
        return;
    Reserve(count);
    WideChar* text = reinterpret_cast<WideChar*>(TextAt(0));
    for (int i = 0; i < count; ++i)
        text[i] = ch;
    length = count;
    Terminate();
}

UniString::~UniString()
{
    delete[] block;
    delete scratch;
    block = nullptr;
    scratch = nullptr;
    length = start = capacity = codePage = wide = 0;
    granularity = 64;
    debugLineWidth = 80;
}

std::uint32_t UniString::BlockHeader() const
{
    if (block == nullptr)
        return 0;
    return std::uint32_t(block[0]) | std::uint32_t(block[1]) << 8 | std::uint32_t(block[2]) << 16 |
           std::uint32_t(block[3]) << 24;
}

int UniString::Room() const
{
    if (block == nullptr)
        return 0;
    const int room = (capacity - 4) / UnitSize() - start - 1;
    return room > 0 ? room : 0;
}

int UniString::Free() const
{
    const int free = Room() - length;
    return free > 0 ? free : 0;
}

int UniString::ValidCodePage(int requested) const
{
    return requested < 0 || requested >= codePageCount ? codePage : requested;
}

bool UniString::InsideBlock(const void* text) const
{
    const std::uint8_t* p = static_cast<const std::uint8_t*>(text);
    return block != nullptr && p >= block && p < block + capacity;
}

void* UniString::Terminate()
{
    if (block == nullptr)
        return nullptr;
    std::memset(TextAt(length), 0, UnitSize());
    return TextAt(0);
}

const char* UniString::NarrowPtr(int pos) const
{
    if (length == 0 || wide || pos < 0)
        return emptyNarrow;
    return reinterpret_cast<const char*>(TextAt(pos < length ? pos : length));
}

const WideChar* UniString::WidePtr(int pos) const
{
    if (length == 0 || !wide || pos < 0)
        return emptyWide;
    return reinterpret_cast<const WideChar*>(TextAt(pos < length ? pos : length));
}

void UniString::Clear()
{
    length = 0;
    start = 0;
    Terminate();
}

int UniString::SetLength(int n)
{
    if (block == nullptr)
        return 0;
    const int room = Room();
    if (n < 0) {
        n = 0;
        for (int i = 0; i < room; ++i) {
            const std::uint8_t* unit = TextAt(i);
            if (unit[0] == 0 && (!wide || unit[1] == 0))
                break;
            ++n;
        }
        if (n == room)
            n = 0;
    } else if (n > room) {
        n = room;
    }
    length = n;
    if (length == 0)
        start = 0;
    Terminate();
    return 1;
}

int UniString::DropFront(int n)
{
    if (n <= 0)
        return 0;
    const int dropped = n < length ? n : length;
    start += dropped;
    length -= dropped;
    if (length == 0) {
        start = 0;
        Terminate();
    }
    return 1;
}

WideChar* UniString::WideWriteBuffer(int count)
{
    if (MakeWide(-1) == nullptr || !EnsureRoom(count) || block == nullptr)
        return nullptr;
    return reinterpret_cast<WideChar*>(TextAt(length));
}

char* UniString::NarrowWriteBuffer(int count)
{
    MakeNarrow(-1);
    if (!EnsureRoom(count) || block == nullptr)
        return nullptr;
    return reinterpret_cast<char*>(TextAt(length));
}

int UniString::Reserve(int n)
{
    if (n < 0)
        return 1;
    if (n <= length && (n > 0 || block != nullptr))
        return Compact();

    const int unit = UnitSize();
    std::int64_t target;
    if (n == 0)
        target = (granularity - 4) / unit - 1;
    else
        target = n > length + length / 2 ? n : length + length / 2;
    const std::int64_t bytes = (target + 1) * unit + 4;

    if (bytes <= capacity) {
        if (Room() < target)
            Compact();
        return 1;
    }

    const std::int64_t newCapacity = (bytes + granularity - 1) / granularity * granularity;
    if (newCapacity > 0x7FFFFFC0)
        throw std::bad_alloc();
    // Zeroed, so a caller's SetLength(-1) never reads indeterminate bytes.
    std::uint8_t* newBlock = new std::uint8_t[std::size_t(newCapacity)]();
    const int newUnits = int((newCapacity - 4) / unit);
    const int kept = length < newUnits - 1 ? length : newUnits - 1;
    if (block != nullptr && kept > 0)
        std::memcpy(newBlock + 4, TextAt(0), std::size_t(kept) * unit);
    delete[] block;
    block = newBlock;
    capacity = int(newCapacity);
    start = 0;
    length = kept;
    Terminate();
    const std::uint32_t header = (wide ? 0u : 0x80000000u) | (std::uint32_t(length * unit) & 0x1FFFFFFFu);
    block[0] = std::uint8_t(header);
    block[1] = std::uint8_t(header >> 8);
    block[2] = std::uint8_t(header >> 16);
    block[3] = std::uint8_t(header >> 24);
    return 1;
}

int UniString::EnsureRoom(int k)
{
    if (k <= 0 || Free() >= k)
        return 1;
    return Reserve(length + k);
}

int UniString::Compact()
{
    if (block == nullptr)
        return 0;
    if (start != 0) {
        std::memmove(TextArea(), TextAt(0), std::size_t(length + 1) * UnitSize());
        start = 0;
    }
    return 1;
}

int UniString::Scratch()
{
    if (scratch == nullptr)
        scratch = new UniString();
    scratch->length = 0;
    scratch->start = 0;
    scratch->Terminate();
    scratch->codePage = codePage;
    return 1;
}

const WideChar* UniString::MakeWide(int requestedCodePage)
{
    if (!wide) {
        Scratch();
        scratch->codePage = ValidCodePage(requestedCodePage);
        if (!scratch->AssignAsWide(this))
            return nullptr;
        SetWide();
        Clear();
        AppendWideToWide(scratch->WidePtr(0), scratch->length);
    }
    return WidePtr(0);
}

const char* UniString::MakeNarrow(int)
{
    if (wide && length == 0) {
        SetNarrow();
    } else if (wide) {
        Scratch();
        scratch->AssignAsNarrow(this);
        SetNarrow();
        Clear();
        AppendNarrowToNarrow(scratch->NarrowPtr(0), scratch->length, -1);
    }
    return NarrowPtr(0);
}

int UniString::Assign(const UniString& other)
{
    if (&other == this)
        return 1;
    codePage = other.codePage;
    if (other.wide) {
        SetWide();
        Clear();
        return AppendWideToWide(other.WidePtr(0), other.length);
    }
    SetNarrow();
    Clear();
    return AppendNarrowToNarrow(other.NarrowPtr(0), other.length, other.codePage);
}

int UniString::AssignAsWide(const UniString* other)
{
    SetWide();
    Clear();
    if (other == nullptr)
        return 0;
    codePage = other->codePage;
    if (other->wide)
        return AppendWideToWide(other->WidePtr(0), other->length);
    return AppendNarrow(other->NarrowPtr(0), other->length, other->codePage);
}

int UniString::AssignAsNarrow(const UniString* other)
{
    SetNarrow();
    Clear();
    if (other == nullptr)
        return 0;
    codePage = other->codePage;
    if (other->wide)
        return AppendWide(other->WidePtr(0), other->length);
    return AppendNarrowToNarrow(other->NarrowPtr(0), other->length, other->codePage);
}

int UniString::AssignWide(const WideChar* text, int count)
{
    SetWide();
    Clear();
    return AppendWideToWide(text, count);
}

int UniString::AssignNarrow(const char* text, int count, int requestedCodePage)
{
    SetNarrow();
    Clear();
    return AppendNarrowToNarrow(text, count, requestedCodePage);
}

int UniString::AssignNarrowAsWide(const char* text, int count, int requestedCodePage)
{
    SetWide();
    Clear();
    return AppendNarrow(text, count, requestedCodePage);
}

int UniString::AssignRecord(const void* record)
{
    if (record == nullptr) {
        Clear();
        return 0;
    }
    const std::uint8_t* bytes = static_cast<const std::uint8_t*>(record);
    const std::uint32_t word = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                               std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
    const int count = int(word & 0x1FFFFFFFu);
    if (word & 0x80000000u)
        return AssignNarrow(reinterpret_cast<const char*>(bytes + 4), count, -1);
    // The units may be unaligned inside a table, so they are copied as bytes.
    SetWide();
    Clear();
    return AppendUnits(bytes + 4, count);
}

// Copies `count` units of the string's own mode. Text that lies inside this
// string's block is found again after a reallocation.
int UniString::AppendUnits(const void* text, int count)
{
    if (text == nullptr || count <= 0)
        return 1;
    const bool inside = InsideBlock(text);
    const std::ptrdiff_t offset = static_cast<const std::uint8_t*>(text) - block;
    if (!EnsureRoom(count))
        return 0;
    const void* source = inside ? block + offset : text;
    std::memmove(TextAt(length), source, std::size_t(count) * UnitSize());
    length += count;
    Terminate();
    return 1;
}

int UniString::AppendWideToWide(const WideChar* text, int count)
{
    if (text == nullptr || count == 0)
        return 1;
    if (!wide)
        return 0;
    if (count < 0)
        count = WideLength(text);
    return AppendUnits(text, count);
}

int UniString::AppendNarrowToNarrow(const char* text, int count, int)
{
    if (wide)
        return 0;
    if (text == nullptr || count == 0)
        return 1;
    if (count < 0)
        count = NarrowLength(text);
    return AppendUnits(text, count);
}

int UniString::AppendWide(const WideChar* text, int count)
{
    if (wide)
        return AppendWideToWide(text, count);
    codePage = 0;
    if (text == nullptr || count == 0)
        return 1;
    if (count < 0)
        count = WideLength(text);
    const int size = Utf8Size(text, count, 0);
    char* target = NarrowWriteBuffer(size);
    if (target == nullptr)
        return 0;
    const int written = EncodeUtf8(text, target, count, size);
    if (written < 0) {
        Terminate();
        return 0;
    }
    length += written;
    Terminate();
    return 1;
}

int UniString::AppendNarrow(const char* text, int count, int requestedCodePage)
{
    if (!wide)
        return AppendNarrowToNarrow(text, count, requestedCodePage);
    if (text == nullptr || count == 0)
        return 1;
    if (count < 0)
        count = NarrowLength(text);
    const int units = Utf16Count(text, count, -1);
    WideChar* target = WideWriteBuffer(units);
    if (target == nullptr)
        return 0;
    const int written = DecodeUtf8(text, target, count, units);
    if (written < 0) {
        Terminate();  // decoding may have overwritten the terminator
        return 0;
    }
    length += written;
    Terminate();
    return 1;
}

int UniString::Append(const UniString& other)
{
    if (wide && other.wide)
        return AppendWideToWide(other.WidePtr(0), other.length);
    if (wide)
        return AppendNarrow(other.NarrowPtr(0), other.length, other.codePage);
    if (other.wide)
        return AppendWide(other.WidePtr(0), other.length);
    return AppendNarrowToNarrow(other.NarrowPtr(0), other.length, other.codePage);
}

int UniString::AppendChar(WideChar ch, int count)
{
    if (ch == 0 || count <= 0)
        return 1;
    if (!wide)
        return ch < 128 ? AppendByte(char(ch), count) : 0;
    if (!EnsureRoom(count))
        return 0;
    WideChar* text = reinterpret_cast<WideChar*>(TextAt(length));
    for (int i = 0; i < count; ++i)
        text[i] = ch;
    length += count;
    Terminate();
    return 1;
}

int UniString::AppendByte(char ch, int count)
{
    if (ch == 0 || count <= 0)
        return 1;
    const unsigned char byte = static_cast<unsigned char>(ch);
    if (wide)
        return byte < 0x80 ? AppendChar(WideChar(byte), count) : 0;
    if (!EnsureRoom(count))
        return 0;
    std::memset(TextAt(length), byte, std::size_t(count));
    length += count;
    Terminate();
    return 1;
}

int UniString::AppendWideChar(WideChar ch)
{
    if (!wide || !EnsureRoom(1))
        return 0;
    *reinterpret_cast<WideChar*>(TextAt(length)) = ch;
    ++length;
    return 1;
}

int UniString::AppendNewline()
{
    return AppendByte('\r', 1) && AppendByte('\n', 1);
}

const char* UniString::AppendUtf8Prefix(const char* text, int chars, int count, int requestedCodePage)
{
    if (count < 0 || text == nullptr)
        count = NarrowLength(text);
    const char* rest = Utf8CharOffset(text, chars, count);
    const int take = rest == nullptr ? count : int(rest - text);
    if (wide)
        AppendNarrow(text, take, requestedCodePage);
    else
        AppendNarrowToNarrow(text, take, requestedCodePage);
    return rest;
}

int UniString::EnsureSuffixWide(const WideChar* text, int count)
{
    if (text == nullptr || text[0] == 0)
        return 0;
    if (!wide) {
        ScratchFromWide(text, count, -1);
        return EnsureSuffixNarrow(scratch->NarrowPtr(0), scratch->length);
    }
    if (count < 0)
        count = WideLength(text);
    if (count == 0)
        return 0;
    if (length >= count && std::memcmp(TextAt(length - count), text, std::size_t(count) * 2) == 0)
        return 1;
    return AppendWideToWide(text, count);
}

int UniString::EnsureSuffixNarrow(const char* text, int count)
{
    if (text == nullptr || text[0] == 0)
        return 0;
    if (wide) {
        ScratchFromNarrow(text, count, -1);
        return EnsureSuffixWide(scratch->WidePtr(0), scratch->length);
    }
    if (count < 0)
        count = NarrowLength(text);
    if (count == 0)
        return 0;
    if (length >= count && std::memcmp(TextAt(length - count), text, std::size_t(count)) == 0)
        return 1;
    return AppendNarrowToNarrow(text, count, -1);
}

int UniString::AppendPathWide(const WideChar* part, int count)
{
    if (!wide) {
        ScratchFromWide(part, count, -1);
        return AppendPathNarrow(scratch->NarrowPtr(0), scratch->length);
    }
    if (part == nullptr || count == 0 || (count < 0 && part[0] == 0)) {
        EnsureSuffixWide(backslashWide, 1);
        return 1;
    }
    if (count < 0)
        count = WideLength(part);
    if (part[0] == WIDE('\\') || part[0] == WIDE('/')) {
        ++part;
        --count;
    }
    EnsureSuffixWide(backslashWide, 1);
    AppendWideToWide(part, count);
    return 1;
}

int UniString::AppendPathNarrow(const char* part, int count)
{
    if (wide) {
        ScratchFromNarrow(part, count, -1);
        return AppendPathWide(scratch->WidePtr(0), scratch->length);
    }
    if (part == nullptr || count == 0 || (count < 0 && part[0] == 0)) {
        EnsureSuffixNarrow(backslashNarrow, 1);
        return 1;
    }
    if (count < 0)
        count = NarrowLength(part);
    if (part[0] == '\\' || part[0] == '/') {
        ++part;
        --count;
    }
    EnsureSuffixNarrow(backslashNarrow, 1);
    AppendNarrowToNarrow(part, count, -1);
    return 1;
}

int UniString::ScratchAsWide(const UniString& other)
{
    Scratch();
    scratch->codePage = other.codePage;
    return scratch->AssignAsWide(&other);
}

int UniString::ScratchFromWide(const WideChar* text, int count, int requestedCodePage)
{
    Scratch();
    scratch->codePage = ValidCodePage(requestedCodePage);
    scratch->SetNarrow();
    scratch->Clear();
    return scratch->AppendWide(text, count);
}

int UniString::ScratchFromNarrow(const char* text, int count, int requestedCodePage)
{
    Scratch();
    scratch->codePage = ValidCodePage(requestedCodePage);
    scratch->SetWide();
    scratch->Clear();
    return scratch->AppendNarrow(text, count, requestedCodePage);
}

int UniString::ScratchWide()
{
    Scratch();
    scratch->SetWide();
    scratch->Clear();
    return 1;
}
