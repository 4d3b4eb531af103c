// Registry access. Every value is read with its type checked, so a value of
// the wrong type reads as absent; the by-id operations fetch the key path or
// value name into scratchText first.
#include <memory>

#include "engine/setup_app.h"
#include "system/registry_key.h"

namespace {

bool Empty(const wchar_t* text)
{
    return text == nullptr || text[0] == 0;
}

}  // namespace

HKEY SetupApp::RegOpen(HKEY parent, const wchar_t* path, REGSAM access)
{
    // An empty path would hand back the parent itself.
    if (parent == nullptr || Empty(path))
        return nullptr;
    HKEY key = nullptr;
    return RegOpenKeyExW(parent, path, 0, access, &key) == ERROR_SUCCESS ? key : nullptr;
}

HKEY SetupApp::RegCreate(HKEY parent, const wchar_t* path, REGSAM access)
{
    if (parent == nullptr || Empty(path))
        return nullptr;
    HKEY key = nullptr;
    return RegCreateKeyExW(parent, path, 0, nullptr, 0, access, nullptr, &key, nullptr) == ERROR_SUCCESS ? key
                                                                                                          : nullptr;
}

int SetupApp::RegSetBinary(HKEY key, const wchar_t* name, const void* data, DWORD size)
{
    return RegSetValueExW(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

std::uint8_t* SetupApp::RegQueryBinary(HKEY key, const wchar_t* name, DWORD* size)
{
    *size = 0;
    DWORD type = 0, needed = 0;
    const LONG status = RegQueryValueExW(key, name, nullptr, &type, nullptr, &needed);
    if ((status != ERROR_SUCCESS && status != ERROR_MORE_DATA) || needed == 0 || type != REG_BINARY)
        return nullptr;
    std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[needed]);
    DWORD got = needed;
    if (RegQueryValueExW(key, name, nullptr, &type, block.get(), &got) != ERROR_SUCCESS || got != needed ||
        type != REG_BINARY)
        return nullptr;
    *size = needed;
    return block.release();
}

int SetupApp::RegSetDword(HKEY key, const wchar_t* name, DWORD value)
{
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value) ==
           ERROR_SUCCESS;
}

int SetupApp::RegQueryDword(HKEY key, const wchar_t* name, DWORD* value)
{
    DWORD type = 0, data = 0, size = sizeof data;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data)
        return 0;
    *value = data;
    return 1;
}

int SetupApp::RegSetString(HKEY key, const wchar_t* name, UniString& text)
{
    if (key == nullptr || Empty(name) || text.MakeWide(-1) == nullptr)
        return 0;
    const DWORD size = DWORD(text.Length()) * 2 + 2;
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.WidePtr(0)), size) ==
           ERROR_SUCCESS;
}

int SetupApp::RegQueryString(HKEY key, const wchar_t* name, UniString& text)
{
    if (key == nullptr || Empty(name))
        return 0;
    text.SetWide();
    text.Clear();
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return 0;
    if (size == 0)
        return 1;
    WideChar* buffer = text.WideWriteBuffer(int(size / 2));
    if (buffer == nullptr)
        return 0;
    // The buffer holds size / 2 units and a terminator, so an odd size fits.
    DWORD got = size;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &got) != ERROR_SUCCESS ||
        type != REG_SZ || got > size) {
        text.Clear();
        return 0;
    }
    // The stored terminator is not part of the text; a value stored without
    // one loses its last character.
    text.SetLength(int((size - 1) / 2));
    return 1;
}

int SetupApp::RegStringEquals(HKEY key, const wchar_t* name, UniString& text)
{
    UniString stored;
    if (!RegQueryString(key, name, stored))
        return 0;
    if (text.IsWide())
        return stored.CompareWide(text.WidePtr(0), text.Length()) == 0;
    return stored.CompareNarrow(text.NarrowPtr(0), text.Length()) == 0;
}

int SetupApp::RegDeleteValue(HKEY key, const wchar_t* name)
{
    if (key == nullptr || Empty(name))
        return 0;
    return RegDeleteValueW(key, name) == ERROR_SUCCESS;
}

HKEY SetupApp::RegOpenById(HKEY parent, StringId path, REGSAM access)
{
    return GetString(path, scratchText) ? RegOpen(parent, scratchText.WidePtr(0), access) : nullptr;
}

HKEY SetupApp::RegCreateById(HKEY parent, StringId path, REGSAM access)
{
    return GetString(path, scratchText) ? RegCreate(parent, scratchText.WidePtr(0), access) : nullptr;
}

int SetupApp::RegSetBinaryById(HKEY key, StringId name, const void* data, DWORD size)
{
    return GetString(name, scratchText) ? RegSetBinary(key, scratchText.WidePtr(0), data, size) : 0;
}

std::uint8_t* SetupApp::RegQueryBinaryById(HKEY key, StringId name, DWORD* size)
{
    *size = 0;
    return GetString(name, scratchText) ? RegQueryBinary(key, scratchText.WidePtr(0), size) : nullptr;
}

int SetupApp::RegSetDwordById(HKEY key, StringId name, DWORD value)
{
    return GetString(name, scratchText) ? RegSetDword(key, scratchText.WidePtr(0), value) : 0;
}

int SetupApp::RegQueryDwordById(HKEY key, StringId name, DWORD* value)
{
    return GetString(name, scratchText) ? RegQueryDword(key, scratchText.WidePtr(0), value) : 0;
}

int SetupApp::RegQueryStringById(HKEY key, StringId name, UniString& text)
{
    return GetString(name, scratchText) ? RegQueryString(key, scratchText.WidePtr(0), text) : 0;
}

int SetupApp::RegSetStringById(HKEY key, StringId name, UniString& text)
{
    return GetString(name, scratchText) ? RegSetString(key, scratchText.WidePtr(0), text) : 0;
}

int SetupApp::RegSetStringByIds(HKEY key, StringId name, StringId text)
{
    UniString value;
    if (!GetString(text, value))
        return 0;
    return RegSetStringById(key, name, value);
}

int SetupApp::RegStringEqualsById(HKEY key, StringId name, UniString& text)
{
    return GetString(name, scratchText) ? RegStringEquals(key, scratchText.WidePtr(0), text) : 0;
}

void SetupApp::RegDeleteValueById(HKEY key, StringId name)
{
    if (GetString(name, scratchText))
        RegDeleteValue(key, scratchText.WidePtr(0));
}

int SetupApp::RegDeleteSubKeyById(HKEY key, StringId name)
{
    if (key == nullptr || !GetString(name, scratchText) || scratchText.Length() == 0)
        return 0;
    return RegDeleteKeyW(key, scratchText.WidePtr(0)) == ERROR_SUCCESS;
}

int SetupApp::RegSetMachineStringByIds(StringId path, StringId name, StringId text)
{
    const RegistryKey key(RegOpenById(HKEY_LOCAL_MACHINE, path, KEY_SET_VALUE | KEY_CREATE_SUB_KEY));
    return key != nullptr ? RegSetStringByIds(key, name, text) : 0;
}
