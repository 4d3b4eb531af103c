#pragma once
#include <cstdint>

using StringId = std::uint32_t;
// A string id kept in 16 bits, as the key table stores its key names.
using ShortStringId = std::uint16_t;

// A decoded string-table record: N index entries of (id, offset), sorted by
// id as unsigned numbers, then the string area the offsets point into. Each
// string record there is a length word (bit 31 set for UTF-8, bits 0-28 the
// length in units) followed by the text.
class StringTable {
public:
    StringTable() { Clear(); }
    ~StringTable() { Release(); }
    StringTable(const StringTable&) = delete;
    StringTable& operator=(const StringTable&) = delete;

    void Clear();
    void Release();
    // Takes ownership of a buffer from KeyBlock::DecodeRecord (freed with
    // delete[]); refuses a null buffer or a count of 0 and keeps what it had.
    int Attach(std::uint8_t* buffer, std::uint32_t count);
    // The string record for `id`, or null.
    const std::uint8_t* Find(StringId id) const;

    std::uint32_t Count() const { return count; }

private:
    std::uint32_t count;
    std::uint8_t* buffer;
    const std::uint8_t* index;
    const std::uint8_t* strings;
};
