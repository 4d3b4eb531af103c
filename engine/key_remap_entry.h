#pragma once
#include <cstdint>

#include "store/string_table.h"

// One row of the key table.
struct KeyRemapEntry {
    // The key's scan code; E0- and E1-prefixed keys carry the prefix in the
    // high byte. 0 ends the table.
    std::uint16_t scanCode;
    // The virtual key to patch into the layout driver; 0 keeps the driver's.
    // In defaultKeyTable: the key's own virtual key with the driver's flag
    // bits (0x100 extended, 0x400 special, 0x800 numeric keypad).
    std::uint16_t vkOverride;
    // String id of the key's name on the key assignment page.
    ShortStringId labelId;
    // The scan code the system's map sends instead; 0 not remapped, 255 off.
    std::uint16_t mapTarget;
};

constexpr int defaultKeyTableCount = 146;
extern const KeyRemapEntry defaultKeyTable[defaultKeyTableCount];
