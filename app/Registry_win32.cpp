#include "app/Registry.h"

long CWin32Registry::CreateKey(RegKey parent, const char16_t* name, RegKey* pCreated) {
    HKEY hKey = nullptr;
    const LONG status =
        ::RegCreateKeyExW(ToHkey(parent), velmora::WinText(name), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_READ | KEY_WRITE, nullptr, &hKey, nullptr);
    *pCreated = ToRegKey(hKey);
    return status;
}

long CWin32Registry::OpenKeyForRead(RegKey parent, const char16_t* keyPath, RegKey* pOpened) {
    HKEY hKey = nullptr;
    const LONG status = ::RegOpenKeyExW(ToHkey(parent), velmora::WinText(keyPath), 0, KEY_READ, &hKey);
    *pOpened = ToRegKey(hKey);
    return status;
}

long CWin32Registry::SetStringValue(RegKey key, const char16_t* valueName, const char16_t* data,
                                    std::uint32_t size) {
    return ::RegSetValueExW(ToHkey(key), velmora::WinText(valueName), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data), size);
}

long CWin32Registry::QueryValueSize(RegKey key, const char16_t* valueName, std::uint32_t* pSize) {
    DWORD size = 0;
    const LONG status =
        ::RegQueryValueExW(ToHkey(key), velmora::WinText(valueName), nullptr, nullptr, nullptr, &size);
    *pSize = size;
    return status;
}

long CWin32Registry::QueryValue(RegKey key, const char16_t* valueName, unsigned char* buffer,
                                std::uint32_t* pSize) {
    DWORD size = *pSize;
    const LONG status =
        ::RegQueryValueExW(ToHkey(key), velmora::WinText(valueName), nullptr, nullptr, buffer, &size);
    *pSize = size;
    return status;
}

long CWin32Registry::CloseKey(RegKey key) { return ::RegCloseKey(ToHkey(key)); }

long CWin32Registry::EnumSubKey(RegKey key, std::uint32_t index, CStringW* pName) {
    // A name holds up to 255 characters: room for it and its zero at once.
    wchar_t buffer[256];
    DWORD length = static_cast<DWORD>(std::size(buffer));
    const LONG status =
        ::RegEnumKeyExW(ToHkey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) return status;
    if (length >= std::size(buffer)) return ERROR_MORE_DATA;
    *pName = velmora::FromWin(buffer, length);
    return ERROR_SUCCESS;
}

long CWin32Registry::QueryKeyCounts(RegKey key, std::uint32_t* pSubKeys, std::uint32_t* pValues) {
    DWORD subKeys = 0;
    DWORD values = 0;
    const LONG status = ::RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                           &values, nullptr, nullptr, nullptr, nullptr);
    *pSubKeys = subKeys;
    *pValues = values;
    return status;
}

long CWin32Registry::DeleteSubKey(RegKey parent, const char16_t* name) {
    return ::RegDeleteKeyW(ToHkey(parent), velmora::WinText(name));
}

BOOL RegWriteString(HKEY hRoot, const CStringW& strKeyPath, const CStringW& strValueName,
                    const CStringW& strData) {
    CWin32Registry registry;
    return RegWriteString(registry, ToRegKey(hRoot), strKeyPath, strValueName, strData) ? TRUE : FALSE;
}

CStringW RegReadString(HKEY hRoot, const CStringW& strKeyPath, const CStringW& strValueName) {
    CWin32Registry registry;
    return RegReadString(registry, ToRegKey(hRoot), strKeyPath, strValueName);
}
