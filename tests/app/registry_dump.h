// A key tree of the Win32 registry as sorted text lines, read straight
// through advapi32 (not through the code under test), one line per value:
//   KEY|NAME|TYPE|BYTES
// with KEY the path below the start, NAME the value's UTF-16 code units and
// BYTES its data, both in hex, and one line "KEY|" per key. Two trees hold
// the same keys and values, types and bytes exactly when their dumps match.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace registry_dump {

inline std::string Hex(const unsigned char* data, std::size_t size) {
    std::string out;
    char byte[3];
    for (std::size_t i = 0; i < size; ++i) {
        std::snprintf(byte, sizeof(byte), "%02x", data[i]);
        out += byte;
    }
    return out;
}

inline std::string HexOf(const std::wstring& text) {
    return Hex(reinterpret_cast<const unsigned char*>(text.data()), text.size() * sizeof(wchar_t));
}

inline void DumpKey(HKEY key, const std::wstring& path, std::vector<std::string>& lines) {
    lines.push_back(HexOf(path) + "|");
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384];
        DWORD nameLength = 16384;
        DWORD type = 0;
        DWORD size = 0;
        if (::RegEnumValueW(key, index, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
        std::vector<unsigned char> data(size + 1);
        nameLength = 16384;
        DWORD read = size + 1;
        if (::RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data.data(), &read) != ERROR_SUCCESS) {
            lines.push_back(HexOf(path) + "|<unreadable>");
            continue;
        }
        lines.push_back(HexOf(path) + "|" + HexOf(std::wstring(name, nameLength)) + "|" + std::to_string(type) + "|" +
                        Hex(data.data(), read));
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (::RegEnumKeyExW(key, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY sub = nullptr;
        if (::RegOpenKeyExW(key, name, 0, KEY_READ, &sub) != ERROR_SUCCESS) {
            lines.push_back(HexOf(path + L"\\" + name) + "|<unopenable>");
            continue;
        }
        DumpKey(sub, path + L"\\" + std::wstring(name, nameLength), lines);
        ::RegCloseKey(sub);
    }
}

// The dump of `keyPath` below `root`, its lines sorted; empty when the key
// is missing.
inline std::vector<std::string> Dump(HKEY root, const wchar_t* keyPath) {
    std::vector<std::string> lines;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return lines;
    DumpKey(key, L"", lines);
    ::RegCloseKey(key);
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Stores a value of any type with the given bytes, making the key.
inline bool Put(HKEY root, const std::wstring& keyPath, const wchar_t* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(root, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const bool stored =
        ::RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return stored;
}

inline bool PutText(HKEY root, const std::wstring& keyPath, const wchar_t* name, DWORD type, const std::wstring& text) {
    return Put(root, keyPath, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

// An entry key holding every value type the shell or anyone else puts in
// one: the default value as REG_EXPAND_SZ, UseUrl, DropTarget,
// SupportedProtocols, Path, an unknown name with binary data, a qword, two
// REG_NONE, a type number no name is given to, a Chinese name, a text with
// a line break, a large binary value, and a subkey of its own.
inline bool PutEveryType(HKEY root, const std::wstring& key) {
    const DWORD one = 1;
    const unsigned char qword[] = {1, 2, 3, 4, 5, 6, 7, 8};
    const unsigned char odd[] = {0xFF, 0x00, 0x7F};
    const std::wstring multi(L"http\0https\0\0", 12);
    std::vector<unsigned char> large(5000);
    for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<unsigned char>(i * 31);
    return PutText(root, key, L"", REG_EXPAND_SZ, L"%ProgramFiles%\\Ed\\ed.exe") &&
           Put(root, key, L"UseUrl", REG_DWORD, &one, sizeof(one)) &&
           PutText(root, key, L"DropTarget", REG_SZ, L"{86C86720-42A0-1069-A2E8-08002B30309D}") &&
           Put(root, key, L"SupportedProtocols", REG_MULTI_SZ, multi.data(),
               static_cast<DWORD>(multi.size() * sizeof(wchar_t))) &&
           PutText(root, key, L"Path", REG_EXPAND_SZ, L"%SystemRoot%;C:\\Ed \"x\"\\bin") &&
           Put(root, key, L"Vendor data", REG_BINARY, odd, sizeof(odd)) &&
           Put(root, key, L"Big", REG_QWORD, qword, sizeof(qword)) &&
           Put(root, key, L"Marker", REG_NONE, nullptr, 0) &&
           Put(root, key, L"Marker with bytes", REG_NONE, odd, sizeof(odd)) &&
           Put(root, key, L"Type 0x4711", 0x4711, odd, sizeof(odd)) &&
           PutText(root, key, L"\u540D\u79F0", REG_SZ, L"\u4E2D\u6587") &&
           PutText(root, key, L"Lines", REG_SZ, L"a\r\nb") &&
           Put(root, key, L"Large", REG_BINARY, large.data(), static_cast<DWORD>(large.size())) &&
           PutText(root, key + L"\\shell\\open", L"", REG_SZ, L"x");
}

}  // namespace registry_dump
