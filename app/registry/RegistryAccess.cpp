#include "app/registry/RegistryAccess.h"

#include <vector>

#include "app/registry/KeyPath.h"

namespace {

constexpr long kSuccess = kRegistrySuccess;

}  // namespace

bool RegWriteString(IRegistry& registry, RegKey root, const CStringW& keyPath, const CStringW& valueName,
                    const CStringW& data) {
    const std::vector<CStringW> names = SplitKeyPath(keyPath);
    ScopedRegKey current(registry, root);
    for (const CStringW& name : names) {
        RegKey next = 0;
        if (registry.CreateKey(current.Get(), name.GetString(), &next) != kSuccess) return false;
        current.Replace(next);
    }
    // The text with its terminating zero, in bytes. A text too long for a
    // value is refused rather than stored cut.
    const std::size_t size = (data.size() + 1) * sizeof(char16_t);
    if (size > kMaxRegistryValueBytes) return false;
    return registry.SetValue(current.Get(), valueName.GetString(), kRegSz,
                             reinterpret_cast<const unsigned char*>(data.GetString()),
                             static_cast<std::uint32_t>(size)) == kSuccess;
}

CStringW RegReadString(IRegistry& registry, RegKey root, const CStringW& keyPath, const CStringW& valueName) {
    RegKey opened = 0;
    if (registry.OpenKeyForRead(root, keyPath.GetString(), &opened) != kSuccess) return CStringW();
    ScopedRegKey key(registry, root);
    key.Replace(opened);
    return ReadStringValue(registry, key.Get(), valueName);
}

CStringW ReadStringValue(IRegistry& registry, RegKey key, const CStringW& valueName) {
    std::uint32_t type = kRegNone;
    std::vector<unsigned char> data;
    if (registry.ReadValue(key, valueName.GetString(), &type, &data) != kSuccess) return CStringW();
    if (data.size() > kMaxRegistryValueBytes) return CStringW();
    return velmora::WideFromRegistryData(data.data(), data.size());
}

CStringW SpelledKeyName(IRegistry& registry, RegKey root, const CStringW& keyPath) {
    RegKey opened = 0;
    if (registry.OpenKeyForRead(root, keyPath.GetString(), &opened) != kRegistrySuccess) return CStringW();
    ScopedRegKey key(registry, root);
    key.Replace(opened);
    CStringW name;
    return registry.KeyName(key.Get(), &name) == kRegistrySuccess ? name : CStringW();
}
