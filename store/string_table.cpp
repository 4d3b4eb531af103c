#include "store/string_table.h"

#include "store/byte_order.h"

void StringTable::Clear()
{
    count = 0;
    buffer = nullptr;
    index = nullptr;
    strings = nullptr;
}

void StringTable::Release()
{
    delete[] buffer;
    Clear();
}

int StringTable::Attach(std::uint8_t* newBuffer, std::uint32_t newCount)
{
    if (newBuffer == nullptr || newCount == 0)
        return 0;
    Release();
    buffer = newBuffer;
    index = newBuffer;
    strings = newBuffer + std::uint64_t(newCount) * 8;
    count = newCount;
    return 1;
}

const std::uint8_t* StringTable::Find(StringId id) const
{
    if (index == nullptr || strings == nullptr)
        return nullptr;
    std::int64_t lo = 0, hi = std::int64_t(count) - 1;
    while (lo <= hi) {
        const std::int64_t mid = (lo + hi) / 2;
        const std::uint8_t* entry = index + mid * 8;
        const StringId entryId = ReadLittleEndian32(entry);
        if (id == entryId)
            return strings + ReadLittleEndian32(entry + 4);
        if (id > entryId)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    return nullptr;
}
