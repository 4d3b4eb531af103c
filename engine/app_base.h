#pragma once
#include <windows.h>

#include <cstdint>

#include "store/key_block.h"
#include "store/string_table.h"
#include "text/unistring.h"

// The base of the application object: the resource store, the platform
// facts and the language selector.
class AppBase {
public:
    AppBase();
    virtual ~AppBase();
    AppBase(const AppBase&) = delete;
    AppBase& operator=(const AppBase&) = delete;

    virtual HWND OwnerWindow();
    virtual int Initialise(HINSTANCE instance);
    virtual void ReleaseTables();
    // The selected language table first, then the default table.
    virtual const std::uint8_t* FindStringRecord(StringId id);

    // Refuses anything but 0 and 1, keeping the selector.
    int SetLanguage(std::uint32_t selector);
    std::uint32_t Language() const { return languageSelector; }

protected:
    HINSTANCE instanceHandle;
    KeyBlock keyBlock;
    StringTable defaultTable;
    StringTable languageTables[2];

public:
    std::int32_t wizardStep;
    std::int32_t osVersionCode;

protected:
    std::uint32_t languageSelector;

public:
    std::int32_t is64BitWindows;
    std::uint16_t processorArchitecture;
    UniString scratchText;
};
