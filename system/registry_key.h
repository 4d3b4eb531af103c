#pragma once
#include <windows.h>

// Closes a key it holds when the operation that opened it ends.
struct RegistryKey {
    HKEY key;
    explicit RegistryKey(HKEY opened) : key(opened) {}
    ~RegistryKey()
    {
        if (key != nullptr)
            RegCloseKey(key);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    operator HKEY() const { return key; }
};
