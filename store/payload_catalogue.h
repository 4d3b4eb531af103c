#pragma once
#include <cstdint>

// The layout-driver records: two driver sets (standard, alternate), three
// layouts, 13 variant slots each, one per Windows release and architecture.
constexpr int driverSetCount = 2;
constexpr int driverLayoutCount = 3;
constexpr int driverSlotCount = 13;

extern const std::uint8_t* const driverRecords[driverSetCount][driverLayoutCount][driverSlotCount];
extern const std::uint32_t driverRecordLengths[driverSetCount][driverLayoutCount][driverSlotCount];

// The slots that fit a system: the first driver (the only one on 32-bit
// Windows, the 32-bit one on 64-bit Windows) and, on 64-bit Windows, the
// native second driver; -1 for no second. Returns 0 when the catalogue has
// nothing for the combination.
int ChooseDriverSlots(int osVersionCode, unsigned architecture, int& firstSlot, int& secondSlot);
