// The key table: the system's scan-code map and the list of virtual-key
// overrides that travels with an installation.
#include <algorithm>
#include <memory>

#include "engine/setup_app.h"
#include "store/byte_order.h"
#include "system/registry_key.h"

namespace {

constexpr StringId scancodeMapKeyPath = 5;
constexpr StringId scancodeMapValueName = 6;

// Header (version, flags, count) and the terminating entry.
constexpr std::uint32_t mapHeaderSize = 12;
constexpr std::uint32_t mapFixedSize = mapHeaderSize + 4;
// The table's "key off"; the map itself says it with target 0.
constexpr std::uint16_t mapTargetOff = 255;

}  // namespace

KeyRemapEntry* SetupApp::FindKeyEntry(std::uint16_t scanCode)
{
    if (keyTable == nullptr)
        return nullptr;
    for (int i = 0; i < keyTableCount && keyTable[i].scanCode != 0; ++i)
        if (keyTable[i].scanCode == scanCode)
            return &keyTable[i];
    return nullptr;
}

const KeyRemapEntry* SetupApp::FindDefaultKeyEntry(std::uint16_t scanCode)
{
    for (int i = 0; i < defaultKeyTableCount && defaultKeyTable[i].scanCode != 0; ++i)
        if (defaultKeyTable[i].scanCode == scanCode)
            return &defaultKeyTable[i];
    return nullptr;
}

int SetupApp::NormaliseKeyTable()
{
    if (keyTable == nullptr || keyTableCount <= 0)
        return 0;
    // What equals the default is no change, and must not be written as one.
    const int rows = std::min(keyTableCount, defaultKeyTableCount);
    for (int i = 0; i < rows; ++i) {
        if (keyTable[i].mapTarget == defaultKeyTable[i].scanCode)
            keyTable[i].mapTarget = 0;
        if (keyTable[i].vkOverride == defaultKeyTable[i].vkOverride)
            keyTable[i].vkOverride = 0;
    }
    return 1;
}

void SetupApp::ReadScancodeMap()
{
    if (keyTable == nullptr || keyTableCount <= 0)
        return;
    // Opened, never created: a system without the key has no map to keep.
    const RegistryKey key(RegOpenById(HKEY_LOCAL_MACHINE, scancodeMapKeyPath, KEY_READ));
    if (key == nullptr)
        return;
    DWORD size = 0;
    std::unique_ptr<std::uint8_t[]> map(RegQueryBinaryById(key, scancodeMapValueName, &size));
    if (map == nullptr)
        return;
    // Even a map the table cannot use must be rewritten later, or the
    // system would keep remaps the user just removed.
    scancodeMapPresent = 1;
    if (size >= mapFixedSize) {
        // 64-bit, so that a count near 2^32 cannot wrap into a small size.
        const std::uint64_t count = ReadLittleEndian32(map.get() + 8);
        if (count > 1 && std::uint64_t(size) >= mapHeaderSize + 4 * count) {
            for (std::uint64_t i = 0; i + 1 < count; ++i) {
                const std::uint8_t* entry = map.get() + mapHeaderSize + 4 * i;
                if (KeyRemapEntry* row = FindKeyEntry(ReadLittleEndian16(entry + 2))) {
                    const std::uint16_t target = ReadLittleEndian16(entry);
                    row->mapTarget = target != 0 ? target : mapTargetOff;
                }
            }
        }
    }
    NormaliseKeyTable();
}

int SetupApp::WriteScancodeMap()
{
    if (keyTable == nullptr || keyTableCount <= 0)
        return 0;
    std::uint32_t remapped = 0;
    for (int i = 0; i < keyTableCount && keyTable[i].scanCode != 0; ++i)
        if (keyTable[i].mapTarget != 0)
            ++remapped;
    if (remapped == 0 && scancodeMapPresent == 0)
        return 1;

    // An empty map (count 1) rather than none: the value may be there.
    const DWORD size = mapFixedSize + 4 * remapped;
    std::unique_ptr<std::uint8_t[]> map(new std::uint8_t[size]());
    WriteLittleEndian32(map.get() + 8, remapped + 1);
    std::uint8_t* entry = map.get() + mapHeaderSize;
    std::uint32_t written = 0;
    for (int i = 0; i < keyTableCount && keyTable[i].scanCode != 0 && written < remapped; ++i) {
        const KeyRemapEntry& row = keyTable[i];
        if (row.mapTarget == 0)
            continue;
        WriteLittleEndian16(entry, row.mapTarget == mapTargetOff ? 0 : row.mapTarget);
        WriteLittleEndian16(entry + 2, row.scanCode);
        entry += 4;
        ++written;
    }

    const RegistryKey key(RegOpenById(HKEY_LOCAL_MACHINE, scancodeMapKeyPath, KEY_WRITE));
    if (key == nullptr)
        return 0;
    return RegSetBinaryById(key, scancodeMapValueName, map.get(), size) ? 1 : 0;
}

std::uint8_t* SetupApp::ExportKeyOverrides(std::uint32_t* byteCount)
{
    if (byteCount != nullptr)
        *byteCount = 0;
    if (keyTable == nullptr)
        return nullptr;
    NormaliseKeyTable();
    std::uint32_t count = 0;
    for (int i = 0; i < keyTableCount; ++i)
        if (keyTable[i].vkOverride != 0)
            ++count;
    // Never null, even for no overrides: null means "no table".
    std::uint8_t* list = new std::uint8_t[4 * count];
    std::uint8_t* pair = list;
    for (int i = 0; i < keyTableCount; ++i) {
        if (keyTable[i].vkOverride == 0)
            continue;
        WriteLittleEndian16(pair, keyTable[i].scanCode);
        WriteLittleEndian16(pair + 2, keyTable[i].vkOverride);
        pair += 4;
    }
    if (byteCount != nullptr)
        *byteCount = 4 * count;
    return list;
}

int SetupApp::ImportKeyOverrides(std::uint8_t* block, std::uint32_t byteCount)
{
    const std::unique_ptr<std::uint8_t[]> list(block);
    if (block == nullptr || byteCount == 0 || keyTable == nullptr || keyTableCount <= 0)
        return 0;
    // Whole pairs only; a trailing fragment is no pair.
    for (std::uint32_t pair = 0; pair < byteCount / 4; ++pair) {
        const std::uint8_t* p = block + 4 * pair;
        const std::uint16_t scanCode = ReadLittleEndian16(p);
        const std::uint16_t vk = ReadLittleEndian16(p + 2);
        if (vk == 0)
            continue;
        // All rows, past the end of the keys too: the override list may
        // name rows that the key searches never reach.
        for (int i = 0; i < keyTableCount; ++i) {
            if (keyTable[i].scanCode == scanCode) {
                keyTable[i].vkOverride = vk;
                break;
            }
        }
    }
    NormaliseKeyTable();
    return 1;
}
