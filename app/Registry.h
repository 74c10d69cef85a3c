// Run-command registry access through the Win32 registry.
#pragma once

#include <windows.h>

#include "app/RegistryAccess.h"

// IRegistry over advapi32 (RegCreateKeyExA, RegOpenKeyExA, RegSetValueExA,
// RegQueryValueExA, RegCloseKey).
class CWin32Registry final : public IRegistry {
public:
    long CreateKey(RegKey parent, const char* name, RegKey* pCreated) override;
    long OpenKeyForRead(RegKey parent, const char* keyPath, RegKey* pOpened) override;
    long SetStringValue(RegKey key, const char* valueName, const char* data, std::uint32_t size) override;
    long QueryValueSize(RegKey key, const char* valueName, std::uint32_t* pSize) override;
    long QueryValue(RegKey key, const char* valueName, char* buffer, std::uint32_t* pSize) override;
    long CloseKey(RegKey key) override;
};

inline RegKey ToRegKey(HKEY hKey) noexcept { return reinterpret_cast<RegKey>(hKey); }
inline HKEY ToHkey(RegKey key) noexcept { return reinterpret_cast<HKEY>(key); }

// RegWriteString and RegReadString of RegistryAccess.h on the Win32 registry,
// or on the registry a test has put in its place.
BOOL RegWriteString(HKEY hRoot, LPCSTR lpszKeyPath, LPCSTR lpszValueName, LPCSTR lpszData);
CString RegReadString(HKEY hRoot, LPCSTR lpszKeyPath, LPCSTR lpszValueName);

// The registry behind the two functions above in place of the Win32 one, or
// null (the default). Tests of the dialog put one here, to see a write fail.
IRegistry*& ReplacementRegistry();
