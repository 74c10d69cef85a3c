// Run-command registry access through the Win32 registry.
#pragma once

#include <windows.h>

#include <iterator>

#include "app/registry/RegistryAccess.h"

// IRegistry over advapi32's UTF-16 functions (RegCreateKeyExW,
// RegOpenKeyExW, RegSetValueExW, RegQueryValueExW, RegEnumKeyExW,
// RegQueryInfoKeyW, RegDeleteKeyW, RegEnumValueW, RegDeleteValueW,
// RegCloseKey), and ntdll's NtQueryKey for a key's own name. It holds no
// state.
class CWin32Registry final : public IRegistry {
public:
    long CreateKey(RegKey parent, const char16_t* name, RegKey* pCreated) override;
    long OpenKeyForRead(RegKey parent, const char16_t* keyPath, RegKey* pOpened) override;
    long CloseKey(RegKey key) override;
    long EnumSubKey(RegKey key, std::uint32_t index, CStringW* pName) override;
    long KeyName(RegKey key, CStringW* pName) override;
    long QueryKeyCounts(RegKey key, std::uint32_t* pSubKeys, std::uint32_t* pValues) override;
    long DeleteSubKey(RegKey parent, const char16_t* name) override;
    long OpenKeyForWrite(RegKey parent, const char16_t* keyPath, RegKey* pOpened) override;
    long EnumValue(RegKey key, std::uint32_t index, CStringW* pName, std::uint32_t* pType,
                   std::vector<unsigned char>* pData) override;
    long ReadValue(RegKey key, const char16_t* valueName, std::uint32_t* pType,
                   std::vector<unsigned char>* pData) override;
    long SetValue(RegKey key, const char16_t* valueName, std::uint32_t type, const unsigned char* data,
                  std::uint32_t size) override;
    long DeleteValue(RegKey key, const char16_t* valueName) override;
};

inline RegKey ToRegKey(HKEY hKey) noexcept { return reinterpret_cast<RegKey>(hKey); }
inline HKEY ToHkey(RegKey key) noexcept { return reinterpret_cast<HKEY>(key); }
