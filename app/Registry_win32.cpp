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

long CWin32Registry::EnumSubKey(RegKey key, std::uint32_t index, CString* pName) {
    // A name holds up to 255 characters, which in a double-byte code page
    // can be twice as many bytes: start with room for the common case and
    // grow while the registry says the name does not fit.
    CString name;
    for (DWORD capacity = 256; capacity <= 4096; capacity *= 2) {
        char* buffer = name.GetBuffer(static_cast<int>(capacity));
        DWORD length = capacity;
        const LONG status =
            ::RegEnumKeyExA(ToHkey(key), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) {
            name.ReleaseBuffer(0);
            continue;
        }
        if (status != ERROR_SUCCESS) return status;
        name.ReleaseBuffer(length < capacity ? static_cast<int>(length) : 0);
        *pName = name;
        return ERROR_SUCCESS;
    }
    return ERROR_MORE_DATA;
}

long CWin32Registry::QueryKeyCounts(RegKey key, std::uint32_t* pSubKeys, std::uint32_t* pValues) {
    DWORD subKeys = 0;
    DWORD values = 0;
    const LONG status = ::RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                           &values, nullptr, nullptr, nullptr, nullptr);
    *pSubKeys = subKeys;
    *pValues = values;
    return status;
}

long CWin32Registry::DeleteSubKey(RegKey parent, const char* name) {
    return ::RegDeleteKeyA(ToHkey(parent), name);
}

IRegistry*& ReplacementRegistry() {
    static IRegistry* replacement = nullptr;
    return replacement;
}

IRegistry& ActiveRegistry() {
    static CWin32Registry win32;
    return ReplacementRegistry() != nullptr ? *ReplacementRegistry() : win32;
}

BOOL RegWriteString(HKEY hRoot, LPCSTR lpszKeyPath, LPCSTR lpszValueName, LPCSTR lpszData) {
    return RegWriteString(ActiveRegistry(), ToRegKey(hRoot), lpszKeyPath, lpszValueName, lpszData) ? TRUE
                                                                                                   : FALSE;
}

CString RegReadString(HKEY hRoot, LPCSTR lpszKeyPath, LPCSTR lpszValueName) {
    return RegReadString(ActiveRegistry(), ToRegKey(hRoot), lpszKeyPath, lpszValueName);
}
