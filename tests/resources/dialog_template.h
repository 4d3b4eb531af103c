#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A DLGTEMPLATEEX read field by field from the resource as it is stored.
struct DialogItem {
    DWORD helpId;
    DWORD exStyle;
    DWORD style;
    short x, y, cx, cy;
    std::int32_t id;
    // The system class as an ordinal (0x80 button ... 0x85 combo box), or a
    // class name with ordinal 0.
    WORD classOrdinal;
    std::wstring className;
    std::wstring title;
    WORD creationDataSize;
};

struct DialogTemplate {
    WORD version;
    WORD signature;
    DWORD helpId;
    DWORD exStyle;
    DWORD style;
    short x, y, cx, cy;
    // Both empty when the template names no menu and no class.
    std::wstring menu;
    std::wstring windowClass;
    std::wstring title;
    WORD pointSize;
    WORD weight;
    BYTE italic;
    BYTE charset;
    std::wstring typeface;
    std::vector<DialogItem> items;
};

// Reads template `id` of `module`. Returns false, with `error` saying why,
// when the resource is missing or does not parse as an extended template.
bool ReadDialogTemplate(HMODULE module, WORD id, DialogTemplate& dialog, std::string& error);
