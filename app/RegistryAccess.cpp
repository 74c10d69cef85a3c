#include "app/RegistryAccess.h"

#include <vector>

#include "app/CommandText.h"

namespace {

constexpr long kSuccess = kRegistrySuccess;

}  // namespace

bool RegWriteString(IRegistry& registry, RegKey root, const char* keyPath, const char* valueName,
                    const char* data) {
    const std::vector<CString> names = SplitKeyPath(CString(keyPath));
    ScopedRegKey current(registry, root);
    for (const CString& name : names) {
        RegKey next = 0;
        if (registry.CreateKey(current.Get(), name, &next) != kSuccess) return false;
        current.Replace(next);
    }
    const CString strData(data);
    const auto size = static_cast<std::uint32_t>(strData.GetLength() + 1);
    return registry.SetStringValue(current.Get(), valueName != nullptr ? valueName : "", strData, size) ==
           kSuccess;
}

CString RegReadString(IRegistry& registry, RegKey root, const char* keyPath, const char* valueName) {
    RegKey opened = 0;
    if (registry.OpenKeyForRead(root, keyPath != nullptr ? keyPath : "", &opened) != kSuccess)
        return CString();
    ScopedRegKey key(registry, root);
    key.Replace(opened);
    return ReadStringValue(registry, key.Get(), valueName);
}

CString ReadStringValue(IRegistry& registry, RegKey key, const char* valueName) {
    CString strResult;
    const char* name = valueName != nullptr ? valueName : "";
    std::uint32_t size = 0;
    if (registry.QueryValueSize(key, name, &size) != kSuccess) return strResult;
    if (size == 0 || size > kMaxRegistryValueBytes) return strResult;

    // The buffer has room for one byte more than the value: the text ends
    // there even when the stored data carries no terminating zero.
    char* buffer = strResult.GetBuffer(static_cast<int>(size));
    std::uint32_t read = size;
    if (registry.QueryValue(key, name, buffer, &read) != kSuccess || read > size) {
        strResult.ReleaseBuffer(0);
        return strResult;
    }
    buffer[read] = '\0';
    strResult.ReleaseBuffer(-1);
    return strResult;
}
