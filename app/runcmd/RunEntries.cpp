#include "app/runcmd/RunEntries.h"

#include <map>
#include <set>

#include "app/runcmd/CommandText.h"
#include "app/registry/RegistryTree.h"

namespace {

constexpr int kExeLength = 4;

// Walks the subkeys of `key`, whose path below App Paths is `prefix`.
int WalkGroup(IRegistry& registry, RegKey key, const CStringW& prefix, RunScope scope, int depth,
              std::vector<RunEntry>& entries) {
    std::vector<CStringW> names;
    int skipped = ListSubKeys(registry, key, names) == kRegistrySuccess ? 0 : 1;
    for (const CStringW& name : names) {
        const CStringW path = prefix.IsEmpty() ? name : CStringW(prefix + u"\\" + name);
        const bool isEntry = IsRunEntryKeyName(name);
        if (!isEntry && depth >= kMaxKeyTreeDepth) {
            ++skipped;
            continue;
        }
        RegKey opened = 0;
        if (registry.OpenKeyForRead(key, name.GetString(), &opened) != kRegistrySuccess) {
            ++skipped;
            continue;
        }
        ScopedRegKey child(registry, key);
        child.Replace(opened);
        if (isEntry) {
            RunEntry entry;
            entry.command = path.Left(path.GetLength() - kExeLength);
            entry.keyPath = path;
            entry.target = ReadStringValue(registry, child.Get(), CStringW());
            entry.path = ReadStringValue(registry, child.Get(), u"Path");
            entry.terminal = ReadTerminalMark(registry, child.Get());
            entry.scope = scope;
            entries.push_back(entry);
        } else {
            skipped += WalkGroup(registry, child.Get(), path, scope, depth + 1, entries);
        }
    }
    return skipped;
}

CStringW FoldedKey(const CStringW& keyPath) {
    CStringW folded(keyPath);
    folded.MakeLower();
    return folded;
}

}  // namespace

bool ReadTerminalMark(IRegistry& registry, RegKey key) {
    std::uint32_t type = 0;
    std::vector<unsigned char> data;
    if (registry.ReadValue(key, kTerminalMarkValue, &type, &data) != kRegistrySuccess) return false;
    if (type != kRegDword || data.size() != 4) return false;
    return (data[0] | data[1] | data[2] | data[3]) != 0;
}

bool IsRunEntryKeyName(const CStringW& name) {
    return name.GetLength() > kExeLength && HasExeExtension(name);
}

int ListRunEntries(IRegistry& registry, RegKey root, const CStringW& appPathsKey, RunScope scope,
                   std::vector<RunEntry>& entries) {
    RegKey opened = 0;
    const long status = registry.OpenKeyForRead(root, appPathsKey.GetString(), &opened);
    if (status == kRegistryFileNotFound) return 0;
    if (status != kRegistrySuccess) return 1;
    ScopedRegKey appPaths(registry, root);
    appPaths.Replace(opened);
    return WalkGroup(registry, appPaths.Get(), CStringW(), scope, 1, entries);
}

CStringW TargetFileOf(const CStringW& target) {
    CStringW file(target);
    file.Trim(u" \t\r\n");
    if (file.IsEmpty() || file.GetAt(0) != u'"') return file;
    const int closing = file.Find(u'"', 1);
    file = closing < 0 ? file.Mid(1) : file.Mid(1, closing - 1);
    return file.Trim(u" \t");
}

CStringW FolderOfFile(const CStringW& file) {
    const int slash = file.ReverseFind(u'\\');
    if (slash < 0) return CStringW();
    if (slash == 2 && file.GetAt(1) == u':') return file.Left(3);
    return file.Left(slash);
}

void MarkRunEntries(std::vector<RunEntry>& entries, const TargetFileCheck& exists) {
    std::set<CStringW> userKeys;
    for (const RunEntry& entry : entries) {
        if (entry.scope == RunScope::kCurrentUser) userKeys.insert(FoldedKey(entry.keyPath));
    }
    std::map<CStringW, bool> existing;  // by folded file name
    for (RunEntry& entry : entries) {
        entry.shadowed =
            entry.scope == RunScope::kLocalMachine && userKeys.count(FoldedKey(entry.keyPath)) != 0;
        const CStringW file = TargetFileOf(entry.target);
        if (file.IsEmpty()) {
            entry.broken = true;
            continue;
        }
        const CStringW folded = FoldedKey(file);
        auto known = existing.find(folded);
        if (known == existing.end()) known = existing.emplace(folded, exists(file)).first;
        entry.broken = !known->second;
    }
}
