#include "app/registry/Registry_win32.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "app/registry/KeyPath.h"

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

namespace {

// NtQueryKey's KEY_BASIC_INFORMATION: the write time, a title index, the
// name's length in bytes, then the name (no zero). Registry names are at
// most 255 characters.
constexpr int kKeyBasicInformation = 0;
constexpr std::size_t kNameLengthOffset = 12;
constexpr std::size_t kNameOffset = 16;
constexpr std::size_t kLongestName = 255;
using NtQueryKeyFn = LONG(WINAPI*)(HANDLE key, int infoClass, void* info, ULONG size, ULONG* pNeeded);

}  // namespace

long CWin32Registry::KeyName(RegKey key, CStringW* pName) {
    // ntdll is mapped into every process: taken from memory, never searched for.
    static const auto query = reinterpret_cast<NtQueryKeyFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryKey")));
    if (query == nullptr) return ERROR_CALL_NOT_IMPLEMENTED;
    unsigned char info[kNameOffset + kLongestName * sizeof(wchar_t)] = {};
    ULONG returned = 0;
    if (query(ToHkey(key), kKeyBasicInformation, info, sizeof info, &returned) < 0)
        return ERROR_INVALID_HANDLE;
    ULONG nameBytes = 0;
    std::memcpy(&nameBytes, info + kNameLengthOffset, sizeof nameBytes);
    if (returned < kNameOffset || returned > sizeof info || nameBytes % 2 != 0 ||
        nameBytes > returned - kNameOffset)
        return ERROR_INVALID_DATA;
    CStringW name;
    for (std::size_t at = kNameOffset; at < kNameOffset + nameBytes; at += 2)
        name += static_cast<char16_t>(info[at] | (info[at + 1] << 8));
    *pName = std::move(name);
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

long CWin32Registry::OpenKeyForWrite(RegKey parent, const char16_t* keyPath, RegKey* pOpened) {
    HKEY hKey = nullptr;
    const LONG status =
        ::RegOpenKeyExW(ToHkey(parent), velmora::WinText(keyPath), 0, KEY_READ | KEY_WRITE, &hKey);
    *pOpened = ToRegKey(hKey);
    return status;
}

namespace {

// A value can grow between the read that gives its size and the next: the read is
// tried again with the new size a few times before it gives up.
constexpr int kValueReadAttempts = 4;
// What the first read of a value offers: a long path and its zero.
constexpr std::size_t kFirstValueReadBytes = 1024;
// And the first read of a value's name: a long name (its zero is added).
constexpr DWORD kFirstValueNameChars = 256;

}  // namespace

long CWin32Registry::EnumValue(RegKey key, std::uint32_t index, CStringW* pName, std::uint32_t* pType,
                               std::vector<unsigned char>* pData) {
    // The first try offers room for a long name and a long path, so that
    // nearly every value is read in one call; a larger one is read again
    // at the sizes the key gives for its largest name and data.
    DWORD maxName = kFirstValueNameChars;
    DWORD maxData = kFirstValueReadBytes;
    LONG status = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kValueReadAttempts; ++attempt) {
        if (attempt == 1) {
            DWORD keyMaxName = 0;
            DWORD keyMaxData = 0;
            status = ::RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                        nullptr, &keyMaxName, &keyMaxData, nullptr, nullptr);
            if (status != ERROR_SUCCESS) return status;
            maxName = std::max(maxName, keyMaxName);
            maxData = std::max(maxData, keyMaxData);
        }
        // Names are at most 16383 characters; the count has no zero.
        std::vector<wchar_t> name(static_cast<std::size_t>(maxName) + 1);
        std::vector<unsigned char> data(static_cast<std::size_t>(maxData) + 1);
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        status = ::RegEnumValueW(ToHkey(key), index, name.data(), &nameLength, nullptr, &type, data.data(),
                                 &dataSize);
        if (status == ERROR_MORE_DATA) {
            // Larger than offered, or grown since the sizes were asked.
            maxName = static_cast<DWORD>(name.size()) * 2;
            maxData = dataSize > maxData ? dataSize : static_cast<DWORD>(data.size()) * 2;
            continue;
        }
        if (status != ERROR_SUCCESS) return status;
        if (nameLength >= name.size() || dataSize > data.size()) return ERROR_MORE_DATA;
        data.resize(dataSize);
        *pName = velmora::FromWin(name.data(), nameLength);
        *pType = type;
        *pData = std::move(data);
        return ERROR_SUCCESS;
    }
    return ERROR_MORE_DATA;
}

long CWin32Registry::ReadValue(RegKey key, const char16_t* valueName, std::uint32_t* pType,
                               std::vector<unsigned char>* pData) {
    // One call reads a value that fits the first buffer (a run command's
    // target or Path value nearly always does); a larger one is read again
    // at the size the registry gave back.
    std::vector<unsigned char> data(kFirstValueReadBytes);
    for (int attempt = 0; attempt < kValueReadAttempts; ++attempt) {
        DWORD type = 0;
        DWORD read = static_cast<DWORD>(data.size());
        const LONG status = ::RegQueryValueExW(ToHkey(key), velmora::WinText(valueName), nullptr, &type,
                                               data.empty() ? nullptr : data.data(), &read);
        if (status == ERROR_MORE_DATA) {
            // Never smaller than what was tried: a value that grows while
            // it is read still gets a larger buffer next time.
            data.resize(std::max<std::size_t>(read, data.size() + 1));
            continue;
        }
        if (status != ERROR_SUCCESS) return status;
        if (read > data.size()) return ERROR_MORE_DATA;
        data.resize(read);
        *pType = type;
        *pData = std::move(data);
        return ERROR_SUCCESS;
    }
    return ERROR_MORE_DATA;
}

long CWin32Registry::SetValue(RegKey key, const char16_t* valueName, std::uint32_t type,
                              const unsigned char* data, std::uint32_t size) {
    return ::RegSetValueExW(ToHkey(key), velmora::WinText(valueName), 0, type, data, size);
}

long CWin32Registry::DeleteValue(RegKey key, const char16_t* valueName) {
    return ::RegDeleteValueW(ToHkey(key), velmora::WinText(valueName));
}
