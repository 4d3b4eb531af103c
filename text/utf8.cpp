#include "text/utf8.h"

namespace {

int EncodedSize(unsigned unit)
{
    return unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
}

// The size a lead byte announces; 0 for a byte that cannot start a character.
int AnnouncedSize(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 0;
}

bool IsFollowByte(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

}  // namespace

int WideLength(const WideChar* text)
{
    int n = 0;
    if (text != nullptr)
        while (text[n] != 0)
            ++n;
    return n;
}

int NarrowLength(const char* text)
{
    int n = 0;
    if (text != nullptr)
        while (text[n] != 0)
            ++n;
    return n;
}

int Utf8Size(const WideChar* text, int count, int known)
{
    if (known > 0)
        return known;
    if (text == nullptr)
        return 0;
    if (count < 0)
        count = WideLength(text);
    int size = 0;
    for (int i = 0; i < count; ++i)
        size += EncodedSize(text[i]);
    return size;
}

int Utf16Count(const char* text, int count, int known)
{
    if (known > 0)
        return known;
    if (text == nullptr || count == 0)
        return 0;
    if (count < 0)
        count = NarrowLength(text);
    int characters = 0;
    for (int pos = 0; pos < count;) {
        const int size = AnnouncedSize(static_cast<unsigned char>(text[pos]));
        ++characters;
        if (size == 0)
            break;
        pos += size;
    }
    return characters;
}

int EncodeUtf8(const WideChar* src, char* dst, int count, int dstSize)
{
    if (src == nullptr || count == 0)
        return 0;
    if (count < 0)
        count = WideLength(src);
    if (dstSize == 0)
        return Utf8Size(src, count, 0);
    if (dst == nullptr)
        return -1;
    int out = 0;
    for (int i = 0; i < count; ++i) {
        const unsigned u = src[i];
        if (dstSize - out < EncodedSize(u))
            return -1;
        if (u < 0x80) {
            dst[out++] = char(u);
        } else if (u < 0x800) {
            dst[out++] = char(0xC0 | (u >> 6));
            dst[out++] = char(0x80 | (u & 0x3F));
        } else {
            dst[out++] = char(0xE0 | (u >> 12));
            dst[out++] = char(0x80 | ((u >> 6) & 0x3F));
            dst[out++] = char(0x80 | (u & 0x3F));
        }
    }
    return out;
}

int DecodeUtf8(const char* src, WideChar* dst, int count, int dstSize)
{
    if (src == nullptr || count == 0)
        return 0;
    if (count < 0)
        count = NarrowLength(src);
    if (dstSize == 0)
        return Utf16Count(src, count, 0);
    if (dst == nullptr)
        return -1;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(src);
    int out = 0;
    for (int pos = 0; pos < count;) {
        const int size = AnnouncedSize(bytes[pos]);
        if (size == 0 || size == 4 || count - pos < size || out >= dstSize)
            return -1;
        unsigned unit = bytes[pos];
        if (size == 2) {
            if (!IsFollowByte(bytes[pos + 1]))
                return -1;
            unit = (unit & 0x1F) << 6 | (bytes[pos + 1] & 0x3F);
        } else if (size == 3) {
            if (!IsFollowByte(bytes[pos + 1]) || !IsFollowByte(bytes[pos + 2]))
                return -1;
            unit = (unit & 0x0F) << 12 | (bytes[pos + 1] & 0x3F) << 6 | (bytes[pos + 2] & 0x3F);
        }
        dst[out++] = WideChar(unit);
        pos += size;
    }
    return out;
}

const char* Utf8CharOffset(const char* text, int n, int count)
{
    if (n < 0)
        return nullptr;
    if (n == 0)
        return text;
    if (text == nullptr || count == 0)
        return nullptr;
    if (count < 0)
        count = NarrowLength(text);
    if (n >= count)
        return nullptr;
    int pos = 0;
    for (int skipped = 0; skipped < n && pos < count; ++skipped) {
        const int size = AnnouncedSize(static_cast<unsigned char>(text[pos]));
        pos += size == 0 ? 4 : size;
        if (size == 0)
            break;
    }
    return text + (pos < count ? pos : count);
}
