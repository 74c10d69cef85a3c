#include "app/RegistryTree.h"

#include "app/CommandText.h"

namespace {

long DeleteKeyTreeAt(IRegistry& registry, RegKey parent, const char* keyPath, int depth) {
    if (depth > kMaxKeyTreeDepth) return kRegistryBadKey;
    RegKey opened = 0;
    const long openStatus = registry.OpenKeyForRead(parent, keyPath, &opened);
    if (openStatus == kRegistryFileNotFound) return kRegistrySuccess;
    if (openStatus != kRegistrySuccess) return openStatus;
    {
        ScopedRegKey key(registry, parent);
        key.Replace(opened);
        // All names first: deleting while enumerating would shift the
        // indexes under the walk.
        std::vector<CString> names;
        const long listStatus = ListSubKeys(registry, key.Get(), names);
        if (listStatus != kRegistrySuccess) return listStatus;
        for (const CString& name : names) {
            const long status = DeleteKeyTreeAt(registry, key.Get(), name, depth + 1);
            if (status != kRegistrySuccess) return status;
        }
    }
    return registry.DeleteSubKey(parent, keyPath);
}

CString JoinKeyNames(const std::vector<CString>& names, std::size_t count) {
    CString path;
    for (std::size_t i = 0; i < count && i < names.size(); ++i) {
        if (i > 0) path += "\\";
        path += names[i];
    }
    return path;
}

}  // namespace

long ListSubKeys(IRegistry& registry, RegKey key, std::vector<CString>& names) {
    for (std::uint32_t index = 0;; ++index) {
        CString name;
        const long status = registry.EnumSubKey(key, index, &name);
        if (status == kRegistryNoMoreItems) return kRegistrySuccess;
        if (status != kRegistrySuccess) return status;
        names.push_back(name);
    }
}

long DeleteKeyTree(IRegistry& registry, RegKey parent, const char* keyPath) {
    const CString path(keyPath);
    // An empty path would name the parent itself.
    if (path.IsEmpty()) return kRegistryBadKey;
    return DeleteKeyTreeAt(registry, parent, path, 0);
}

int RemoveEmptyParentKeys(IRegistry& registry, RegKey root, const CString& basePath,
                          const CString& relativePath) {
    // The names as they are: a key may be named " x" or "*x", and trimming
    // them would lead to another key.
    std::vector<CString> names;
    SplitString(relativePath, "\\", names, false);
    int removed = 0;
    for (std::size_t count = names.size(); count-- > 1;) {
        const CString path = basePath + "\\" + JoinKeyNames(names, count);
        RegKey opened = 0;
        if (registry.OpenKeyForRead(root, path, &opened) != kRegistrySuccess) break;
        std::uint32_t subKeys = 1;
        std::uint32_t values = 1;
        long status = kRegistrySuccess;
        {
            ScopedRegKey key(registry, root);
            key.Replace(opened);
            status = registry.QueryKeyCounts(key.Get(), &subKeys, &values);
        }
        if (status != kRegistrySuccess || subKeys != 0 || values != 0) break;
        if (registry.DeleteSubKey(root, path) != kRegistrySuccess) break;
        ++removed;
    }
    return removed;
}
