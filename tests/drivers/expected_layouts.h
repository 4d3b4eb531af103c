#pragma once
#include <cstdint>

// What the layout source says each driver must hold, in the terms of the
// source rather than of the driver's tables: the build writes the data with
// tools/layouts/expected_tables.py.

constexpr int expectedShiftStates = 5;  // base, Shift, Ctrl, AltGr, Shift+AltGr

struct ExpectedKey {
    std::uint8_t vk;
    std::uint8_t attributes;
    // The character of each shift state, 0 for none; a dead key's accent.
    std::uint16_t chars[expectedShiftStates];
    // Bit i set: shift state i is a dead key.
    std::uint8_t deadStates;
};

struct ExpectedComposition {
    std::uint16_t accent;
    std::uint16_t next;
    std::uint16_t composed;
};

// Keys sent with a prefix carry it in the high byte (0xE05D).
struct ExpectedScan {
    std::uint16_t scanCode;
    std::uint16_t vk;
};

struct ExpectedName {
    std::uint16_t scanCode;
    const wchar_t* name;
};

struct ExpectedDriver {
    const ExpectedKey* keys;
    int keyCount;
    const ExpectedComposition* compositions;
    int compositionCount;
    const ExpectedScan* scans;
    int scanCount;
    const ExpectedName* names;
    int nameCount;
    // Each the accent followed by its name.
    const wchar_t* const* deadKeyNames;
    int deadKeyNameCount;
    const wchar_t* description;
};

// The modifier bits (Shift 1, Ctrl 2, Alt 4) each shift state is made of.
extern const std::uint8_t expectedStateModifiers[expectedShiftStates];
// [set][layout variant]
extern const ExpectedDriver expectedDrivers[2][3];

extern const wchar_t expectedProductName[];
extern const wchar_t expectedMaker[];
extern const wchar_t expectedVersion[];
extern const std::uint16_t expectedVersionWords[4];
extern const unsigned expectedDisplayNameId;
