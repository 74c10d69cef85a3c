#include "app/Registry.h"

long CWin32Registry::CreateKey(RegKey parent, const char* name, RegKey* pCreated) {
    HKEY hKey = nullptr;
    const LONG status = ::RegCreateKeyExA(ToHkey(parent), name, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_READ | KEY_WRITE, nullptr, &hKey, nullptr);
    *pCreated = ToRegKey(hKey);
    return status;
}

long CWin32Registry::OpenKeyForRead(RegKey parent, const char* keyPath, RegKey* pOpened) {
    HKEY hKey = nullptr;
    const LONG status = ::RegOpenKeyExA(ToHkey(parent), keyPath, 0, KEY_READ, &hKey);
    *pOpened = ToRegKey(hKey);
    return status;
}

long CWin32Registry::SetStringValue(RegKey key, const char* valueName, const char* data, std::uint32_t size) {
    return ::RegSetValueExA(ToHkey(key), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), size);
}

long CWin32Registry::QueryValueSize(RegKey key, const char* valueName, std::uint32_t* pSize) {
    DWORD size = 0;
    const LONG status = ::RegQueryValueExA(ToHkey(key), valueName, nullptr, nullptr, nullptr, &size);
    *pSize = size;
    return status;
}

long CWin32Registry::QueryValue(RegKey key, const char* valueName, char* buffer, std::uint32_t* pSize) {
    DWORD size = *pSize;
    const LONG status =
        ::RegQueryValueExA(ToHkey(key), valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size);
    *pSize = size;
    return status;
}

long CWin32Registry::CloseKey(RegKey key) { return ::RegCloseKey(ToHkey(key)); }

IRegistry*& ReplacementRegistry() {
    static IRegistry* replacement = nullptr;
    return replacement;
}

BOOL RegWriteString(HKEY hRoot, LPCSTR lpszKeyPath, LPCSTR lpszValueName, LPCSTR lpszData) {
    CWin32Registry win32;
    IRegistry& registry = ReplacementRegistry() != nullptr ? *ReplacementRegistry() : win32;
    return RegWriteString(registry, ToRegKey(hRoot), lpszKeyPath, lpszValueName, lpszData) ? TRUE : FALSE;
}

CString RegReadString(HKEY hRoot, LPCSTR lpszKeyPath, LPCSTR lpszValueName) {
    CWin32Registry win32;
    IRegistry& registry = ReplacementRegistry() != nullptr ? *ReplacementRegistry() : win32;
    return RegReadString(registry, ToRegKey(hRoot), lpszKeyPath, lpszValueName);
}
