#include "app/registry/RegistryTree.h"

#include "app/registry/KeyPath.h"

namespace {

long DeleteKeyTreeAt(IRegistry& registry, RegKey parent, const CStringW& keyPath, int depth) {
    if (depth > kMaxKeyTreeDepth) return kRegistryBadKey;
    RegKey opened = 0;
    const long openStatus = registry.OpenKeyForRead(parent, keyPath.GetString(), &opened);
    if (openStatus == kRegistryFileNotFound) return kRegistrySuccess;
    if (openStatus != kRegistrySuccess) return openStatus;
    {
        ScopedRegKey key(registry, parent);
        key.Replace(opened);
        // All names first: deleting while enumerating would shift the
        // indexes under the walk.
        std::vector<CStringW> names;
        const long listStatus = ListSubKeys(registry, key.Get(), names);
        if (listStatus != kRegistrySuccess) return listStatus;
        for (const CStringW& name : names) {
            const long status = DeleteKeyTreeAt(registry, key.Get(), name, depth + 1);
            if (status != kRegistrySuccess) return status;
        }
    }
    return registry.DeleteSubKey(parent, keyPath.GetString());
}

CStringW JoinKeyNames(const std::vector<CStringW>& names, std::size_t count) {
    CStringW path;
    for (std::size_t i = 0; i < count && i < names.size(); ++i) {
        if (i > 0) path += u"\\";
        path += names[i];
    }
    return path;
}

}  // namespace

long ListSubKeys(IRegistry& registry, RegKey key, std::vector<CStringW>& names) {
    for (std::uint32_t index = 0;; ++index) {
        CStringW name;
        const long status = registry.EnumSubKey(key, index, &name);
        if (status == kRegistryNoMoreItems) return kRegistrySuccess;
        if (status != kRegistrySuccess) return status;
        names.push_back(name);
    }
}

long DeleteKeyTree(IRegistry& registry, RegKey parent, const CStringW& keyPath) {
    // An empty path would name the parent itself.
    if (keyPath.IsEmpty()) return kRegistryBadKey;
    return DeleteKeyTreeAt(registry, parent, keyPath, 0);
}

int RemoveEmptyParentKeys(IRegistry& registry, RegKey root, const CStringW& basePath,
                          const CStringW& relativePath) {
    // The names as they are: a key may be named " x" or "*x", and trimming
    // them would lead to another key.
    std::vector<CStringW> names;
    SplitString(relativePath, u"\\", names, false);
    int removed = 0;
    for (std::size_t count = names.size(); count-- > 1;) {
        const CStringW path = basePath + u"\\" + JoinKeyNames(names, count);
        RegKey opened = 0;
        if (registry.OpenKeyForRead(root, path.GetString(), &opened) != kRegistrySuccess) break;
        std::uint32_t subKeys = 1;
        std::uint32_t values = 1;
        long status = kRegistrySuccess;
        {
            ScopedRegKey key(registry, root);
            key.Replace(opened);
            status = registry.QueryKeyCounts(key.Get(), &subKeys, &values);
        }
        if (status != kRegistrySuccess || subKeys != 0 || values != 0) break;
        if (registry.DeleteSubKey(root, path.GetString()) != kRegistrySuccess) break;
        ++removed;
    }
    return removed;
}
