#include "app/RunEntries.h"

#include <map>
#include <set>

#include "app/CommandText.h"
#include "app/RegistryTree.h"

namespace {

constexpr int kExeLength = 4;

// Walks the subkeys of `key`, whose path below App Paths is `prefix`.
int WalkGroup(IRegistry& registry, RegKey key, const CString& prefix, RunScope scope, int depth,
              std::vector<RunEntry>& entries) {
    std::vector<CString> names;
    int skipped = ListSubKeys(registry, key, names) == kRegistrySuccess ? 0 : 1;
    for (const CString& name : names) {
        const CString path = prefix.IsEmpty() ? name : prefix + "\\" + name;
        const bool isEntry = IsRunEntryKeyName(name);
        if (!isEntry && depth >= kMaxKeyTreeDepth) {
            ++skipped;
            continue;
        }
        RegKey opened = 0;
        if (registry.OpenKeyForRead(key, name, &opened) != kRegistrySuccess) {
            ++skipped;
            continue;
        }
        ScopedRegKey child(registry, key);
        child.Replace(opened);
        if (isEntry) {
            RunEntry entry;
            entry.command = path.Left(path.GetLength() - kExeLength);
            entry.keyPath = path;
            entry.target = ReadStringValue(registry, child.Get(), "");
            entry.scope = scope;
            entries.push_back(entry);
        } else {
            skipped += WalkGroup(registry, child.Get(), path, scope, depth + 1, entries);
        }
    }
    return skipped;
}

CString FoldedKey(const CString& keyPath) {
    CString folded(keyPath);
    folded.MakeLower();
    return folded;
}

}  // namespace

bool IsRunEntryKeyName(const CString& name) { return name.GetLength() > kExeLength && HasExeExtension(name); }

int ListRunEntries(IRegistry& registry, RegKey root, const char* appPathsKey, RunScope scope,
                   std::vector<RunEntry>& entries) {
    RegKey opened = 0;
    const long status = registry.OpenKeyForRead(root, appPathsKey != nullptr ? appPathsKey : "", &opened);
    if (status == kRegistryFileNotFound) return 0;
    if (status != kRegistrySuccess) return 1;
    ScopedRegKey appPaths(registry, root);
    appPaths.Replace(opened);
    return WalkGroup(registry, appPaths.Get(), CString(), scope, 1, entries);
}

CString TargetFileOf(const CString& target) {
    CString file(target);
    file.Trim(" \t\r\n");
    if (file.IsEmpty() || file.GetAt(0) != '"') return file;
    const int closing = file.Find('"', 1);
    file = closing < 0 ? file.Mid(1) : file.Mid(1, closing - 1);
    return file.Trim(" \t");
}

CString FolderOfFile(const CString& file) {
    const int slash = file.ReverseFind('\\');
    if (slash < 0) return CString();
    if (slash == 2 && file.GetAt(1) == ':') return file.Left(3);
    return file.Left(slash);
}

void MarkRunEntries(std::vector<RunEntry>& entries, const TargetFileCheck& exists) {
    std::set<CString> userKeys;
    for (const RunEntry& entry : entries) {
        if (entry.scope == RunScope::kCurrentUser) userKeys.insert(FoldedKey(entry.keyPath));
    }
    std::map<CString, bool> existing;  // by folded file name
    for (RunEntry& entry : entries) {
        entry.shadowed =
            entry.scope == RunScope::kLocalMachine && userKeys.count(FoldedKey(entry.keyPath)) != 0;
        const CString file = TargetFileOf(entry.target);
        if (file.IsEmpty()) {
            entry.broken = true;
            continue;
        }
        const CString folded = FoldedKey(file);
        auto known = existing.find(folded);
        if (known == existing.end()) known = existing.emplace(folded, exists(file)).first;
        entry.broken = !known->second;
    }
}
