#include "app/registry/RegistryValues.h"

#include "app/registry/KeyPath.h"
#include "app/registry/RegistryTree.h"

bool operator==(const RegKeyContents& a, const RegKeyContents& b) {
    return a.values == b.values && a.subKeys == b.subKeys;
}

namespace {

long ReadOpenKey(IRegistry& registry, RegKey key, int depth, RegKeyContents* pContents) {
    if (depth > kMaxKeyTreeDepth) return kRegistryBadKey;
    RegKeyContents contents;
    for (std::uint32_t index = 0;; ++index) {
        RegValue value;
        const long status = registry.EnumValue(key, index, &value.name, &value.type, &value.data);
        if (status == kRegistryNoMoreItems) break;
        if (status != kRegistrySuccess) return status;
        contents.values.push_back(std::move(value));
    }
    std::vector<CStringW> names;
    const long listStatus = ListSubKeys(registry, key, names);
    if (listStatus != kRegistrySuccess) return listStatus;
    for (const CStringW& name : names) {
        RegKey opened = 0;
        const long openStatus = registry.OpenKeyForRead(key, name.GetString(), &opened);
        if (openStatus != kRegistrySuccess) return openStatus;
        ScopedRegKey subKey(registry, key);
        subKey.Replace(opened);
        RegKeyContents::SubKey sub;
        sub.name = name;
        const long status = ReadOpenKey(registry, subKey.Get(), depth + 1, &sub.contents);
        if (status != kRegistrySuccess) return status;
        contents.subKeys.push_back(std::move(sub));
    }
    *pContents = std::move(contents);
    return kRegistrySuccess;
}

long WriteOpenKey(IRegistry& registry, RegKey key, int depth, const RegKeyContents& contents) {
    if (depth > kMaxKeyTreeDepth) return kRegistryBadKey;
    for (const RegValue& value : contents.values) {
        if (value.data.size() > kMaxRegistryValueBytes) return kRegistryBadKey;
        const long status = registry.SetValue(key, value.name.GetString(), value.type, value.data.data(),
                                              static_cast<std::uint32_t>(value.data.size()));
        if (status != kRegistrySuccess) return status;
    }
    for (const RegKeyContents::SubKey& sub : contents.subKeys) {
        // Subkey names as read: one name each, never split.
        RegKey created = 0;
        const long createStatus = registry.CreateKey(key, sub.name.GetString(), &created);
        if (createStatus != kRegistrySuccess) return createStatus;
        ScopedRegKey subKey(registry, key);
        subKey.Replace(created);
        const long status = WriteOpenKey(registry, subKey.Get(), depth + 1, sub.contents);
        if (status != kRegistrySuccess) return status;
    }
    return kRegistrySuccess;
}

}  // namespace

const RegValue* FindValue(const RegKeyContents& contents, const CStringW& name) {
    for (const RegValue& value : contents.values) {
        if (velmora::CompareNoCase(value.name, name) == 0) return &value;
    }
    return nullptr;
}

CStringW TextOfValue(const RegValue& value) {
    if (value.type != kRegSz && value.type != kRegExpandSz) return CStringW();
    return velmora::WideFromRegistryData(value.data.data(), value.data.size());
}

std::vector<unsigned char> StringValueBytes(const CStringW& text) {
    std::vector<unsigned char> bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

long ReadKeyContents(IRegistry& registry, RegKey parent, const CStringW& keyPath, RegKeyContents* pContents) {
    if (keyPath.IsEmpty()) return kRegistryBadKey;
    RegKey opened = 0;
    const long openStatus = registry.OpenKeyForRead(parent, keyPath.GetString(), &opened);
    if (openStatus != kRegistrySuccess) return openStatus;
    ScopedRegKey key(registry, parent);
    key.Replace(opened);
    return ReadOpenKey(registry, key.Get(), 0, pContents);
}

long WriteKeyContents(IRegistry& registry, RegKey parent, const CStringW& keyPath,
                      const RegKeyContents& contents) {
    // The names as they are: a key read as " x" is written as " x".
    std::vector<CStringW> names;
    SplitString(keyPath, u"\\", names, false);
    if (names.empty()) return kRegistryBadKey;
    ScopedRegKey key(registry, parent);
    for (const CStringW& name : names) {
        RegKey next = 0;
        const long status = registry.CreateKey(key.Get(), name.GetString(), &next);
        if (status != kRegistrySuccess) return status;
        key.Replace(next);
    }
    return WriteOpenKey(registry, key.Get(), 0, contents);
}

long ReplaceKeyContents(IRegistry& registry, RegKey parent, const CStringW& keyPath,
                        const RegKeyContents& contents) {
    const long deleteStatus = DeleteKeyTree(registry, parent, keyPath);
    if (deleteStatus != kRegistrySuccess) return deleteStatus;
    return WriteKeyContents(registry, parent, keyPath, contents);
}
