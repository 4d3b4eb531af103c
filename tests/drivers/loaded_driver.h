#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

// A layout driver written to a file of its own and loaded into this process,
// unloaded and deleted when the test is done with it.
class LoadedDriver {
public:
    LoadedDriver(const std::vector<std::uint8_t>& image, const std::wstring& name);
    ~LoadedDriver();
    LoadedDriver(const LoadedDriver&) = delete;
    LoadedDriver& operator=(const LoadedDriver&) = delete;

    HMODULE Module() const { return module; }
    const std::wstring& Path() const { return path; }

private:
    std::wstring path;
    HMODULE module;
};

// What a loaded driver's tables say, read through KbdLayerDescriptor.
struct DriverTables {
    struct Row {
        std::uint8_t attributes = 0;
        std::vector<std::uint16_t> cells;
        // The accents, for a row that holds a dead key.
        std::vector<std::uint16_t> deadCells;
    };
    struct Composition {
        std::uint16_t accent, next, composed, flags;
        bool operator==(const Composition& o) const;
        bool operator<(const Composition& o) const;
    };

    bool read = false;
    std::map<std::uint8_t, std::uint8_t> modifierKeys;  // virtual key: modifier bits
    std::vector<std::uint8_t> columns;                  // column per modifier bits
    std::map<std::uint8_t, Row> rows;                   // by virtual key
    int rowCount = 0;                                   // rows seen, duplicates included
    std::vector<Composition> compositions;
    std::vector<std::uint16_t> plain;                   // virtual key by scan code
    std::vector<std::pair<std::uint8_t, std::uint16_t>> e0, e1;
    std::map<std::uint16_t, std::wstring> names;        // E0 keys with the prefix
    std::vector<std::wstring> deadKeyNames;
    std::uint32_t localeFlags = 0;
    std::uint32_t type = 0;

    // The character of a shift state (its modifier bits), 0 for none, and
    // whether it is a dead key (the character is then its accent).
    std::pair<std::uint16_t, bool> Character(std::uint8_t vk, std::uint8_t modifiers) const;
    bool operator==(const DriverTables& o) const;
};

DriverTables ReadDriverTables(HMODULE module);
