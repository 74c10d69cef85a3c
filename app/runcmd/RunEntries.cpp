#include "app/runcmd/RunEntries.h"

#include <map>
#include <set>

#include "app/registry/KeyPath.h"
#include "app/registry/RegistryTree.h"
#include "app/runcmd/CommandText.h"

namespace {

constexpr int kExeLength = 4;

// The text of a value as ReadStringValue gives it, from the bytes read.
CStringW StringOfValueData(const std::vector<unsigned char>& data) {
    if (data.size() > kMaxRegistryValueBytes) return CStringW();
    return velmora::WideFromRegistryData(data.data(), data.size());
}

bool IsTerminalMarkData(std::uint32_t type, const std::vector<unsigned char>& data) {
    return type == kRegDword && data.size() == 4 && (data[0] | data[1] | data[2] | data[3]) != 0;
}

// A command with options starts its program value: the default value names
// its launcher.
void TakeProgramValue(const CStringW& program, RunEntry& entry) {
    if (program.IsEmpty()) return;
    entry.launcherTarget = entry.target;
    entry.target = program;
}

// The values an entry is listed with. Every registry call is a trip to the
// registry's keeper, and listing thousands of entries is mostly those
// trips: a key of a few values (nearly every entry) is read value by value,
// one call each after the count; a larger key reads them by name. Both ways
// give the same entry.
void ReadEntryValues(IRegistry& registry, RegKey key, RunEntry& entry) {
    constexpr std::uint32_t kEnumeratedValues = 8;
    std::uint32_t subKeys = 0;
    std::uint32_t values = 0;
    if (registry.QueryKeyCounts(key, &subKeys, &values) == kRegistrySuccess && values <= kEnumeratedValues) {
        RunEntry read;
        CStringW program;
        bool whole = true;
        for (std::uint32_t index = 0; index < values; ++index) {
            CStringW name;
            std::uint32_t type = kRegNone;
            std::vector<unsigned char> data;
            const long status = registry.EnumValue(key, index, &name, &type, &data);
            // Fewer values than counted: one went meanwhile.
            if (status == kRegistryNoMoreItems) break;
            if (status != kRegistrySuccess) {
                whole = false;
                break;
            }
            if (name.IsEmpty()) {
                read.target = StringOfValueData(data);
            } else if (velmora::CompareNoCase(name, u"Path") == 0) {
                read.path = StringOfValueData(data);
            } else if (velmora::CompareNoCase(name, kTerminalMarkValue) == 0) {
                read.terminal = IsTerminalMarkData(type, data);
            } else if (velmora::CompareNoCase(name, kAppliedMarkValue) == 0) {
                read.applied = IsTerminalMarkData(type, data);
            } else if (velmora::CompareNoCase(name, kOptionProgramValue) == 0) {
                program = StringOfValueData(data);
            } else if (data.size() <= kMaxRegistryValueBytes) {
                TakeOptionValue(name, type, data, read.options);
            }
        }
        if (whole) {
            entry.target = read.target;
            entry.path = read.path;
            entry.terminal = read.terminal;
            entry.applied = read.applied;
            entry.options = read.options;
            TakeProgramValue(program, entry);
            return;
        }
    }
    entry.target = ReadStringValue(registry, key, CStringW());
    entry.path = ReadStringValue(registry, key, u"Path");
    entry.terminal = ReadTerminalMark(registry, key);
    entry.applied = ReadDwordMark(registry, key, kAppliedMarkValue);
    entry.options = ReadRunCommandOptions(registry, key);
    TakeProgramValue(ReadStringValue(registry, key, kOptionProgramValue), entry);
}

RunEntry EntryOfKeyPath(const CStringW& keyPath, RunScope scope) {
    RunEntry entry;
    entry.command = CommandOfKeyPath(keyPath);
    entry.keyPath = keyPath;
    entry.scope = scope;
    return entry;
}

// Walks the subkeys of `key`, whose path below App Paths is `prefix`. With
// `readValues` false an entry's key is not opened: it is listed by its name.
int WalkGroup(IRegistry& registry, RegKey key, const CStringW& prefix, RunScope scope, bool readValues,
              int depth, std::vector<RunEntry>& entries) {
    std::vector<CStringW> names;
    int skipped = ListSubKeys(registry, key, names) == kRegistrySuccess ? 0 : 1;
    for (const CStringW& name : names) {
        const CStringW path = prefix.IsEmpty() ? name : CStringW(prefix + u"\\" + name);
        const bool isEntry = IsRunEntryKeyName(name);
        if (!isEntry && depth >= kMaxKeyTreeDepth) {
            ++skipped;
            continue;
        }
        if (isEntry && !readValues) {
            entries.push_back(EntryOfKeyPath(path, scope));
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
            entries.push_back(EntryOfKeyPath(path, scope));
            ReadEntryValues(registry, child.Get(), entries.back());
        } else {
            skipped += WalkGroup(registry, child.Get(), path, scope, readValues, depth + 1, entries);
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
    return ReadDwordMark(registry, key, kTerminalMarkValue);
}

bool ReadDwordMark(IRegistry& registry, RegKey key, const char16_t* name) {
    std::uint32_t type = 0;
    std::vector<unsigned char> data;
    if (registry.ReadValue(key, name, &type, &data) != kRegistrySuccess) return false;
    return IsTerminalMarkData(type, data);
}

bool IsRunEntryKeyName(const CStringW& name) {
    return name.GetLength() > kExeLength && HasExeExtension(name);
}

namespace {

int ListBelowAppPaths(IRegistry& registry, RegKey root, const CStringW& appPathsKey, RunScope scope,
                      bool readValues, std::vector<RunEntry>& entries) {
    RegKey opened = 0;
    const long status = registry.OpenKeyForRead(root, appPathsKey.GetString(), &opened);
    if (status == kRegistryFileNotFound) return 0;
    if (status != kRegistrySuccess) return 1;
    ScopedRegKey appPaths(registry, root);
    appPaths.Replace(opened);
    return WalkGroup(registry, appPaths.Get(), CStringW(), scope, readValues, 1, entries);
}

}  // namespace

int ListRunEntries(IRegistry& registry, RegKey root, const CStringW& appPathsKey, RunScope scope,
                   std::vector<RunEntry>& entries) {
    return ListBelowAppPaths(registry, root, appPathsKey, scope, true, entries);
}

int ListRunEntryKeys(IRegistry& registry, RegKey root, const CStringW& appPathsKey, RunScope scope,
                     std::vector<RunEntry>& entries) {
    return ListBelowAppPaths(registry, root, appPathsKey, scope, false, entries);
}

bool ReadRunEntryValues(IRegistry& registry, RegKey root, const CStringW& appPathsKey, RunEntry& entry) {
    RegKey opened = 0;
    const CStringW path = appPathsKey + u"\\" + entry.keyPath;
    if (registry.OpenKeyForRead(root, path.GetString(), &opened) != kRegistrySuccess) return false;
    ScopedRegKey key(registry, root);
    key.Replace(opened);
    ReadEntryValues(registry, key.Get(), entry);
    return true;
}

namespace {

// The key path as the registry spells it: each key along it opened and
// asked its name; a name that cannot be asked stays as given.
CStringW SpelledKeyPath(IRegistry& registry, RegKey root, const CStringW& appPathsKey,
                        const CStringW& keyPath) {
    std::vector<CStringW> names;
    SplitString(keyPath, u"\\", names, false);
    CStringW spelled;
    for (const CStringW& name : names) {
        const CStringW path =
            appPathsKey + u"\\" + (spelled.IsEmpty() ? name : CStringW(spelled + u"\\" + name));
        CStringW found = SpelledKeyName(registry, root, path);
        if (velmora::CompareNoCase(found, name) != 0) found = name;
        spelled += (spelled.IsEmpty() ? u"" : u"\\") + found;
    }
    return spelled;
}

}  // namespace

bool FindRunEntry(IRegistry& registry, RegKey root, const CStringW& appPathsKey, RunScope scope,
                  const CStringW& keyPath, RunEntry* pEntry) {
    if (keyPath.IsEmpty()) return false;
    RunEntry entry = EntryOfKeyPath(keyPath, scope);
    if (!ReadRunEntryValues(registry, root, appPathsKey, entry)) return false;
    *pEntry = EntryOfKeyPath(SpelledKeyPath(registry, root, appPathsKey, keyPath), scope);
    pEntry->target = entry.target;
    pEntry->path = entry.path;
    pEntry->terminal = entry.terminal;
    pEntry->applied = entry.applied;
    pEntry->options = entry.options;
    pEntry->launcherTarget = entry.launcherTarget;
    return true;
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

void MarkShadowedRunEntries(std::vector<RunEntry>& entries) {
    std::set<CStringW> userKeys;
    for (const RunEntry& entry : entries) {
        if (entry.scope == RunScope::kCurrentUser) userKeys.insert(FoldedKey(entry.keyPath));
    }
    for (RunEntry& entry : entries) {
        entry.shadowed =
            entry.scope == RunScope::kLocalMachine && userKeys.count(FoldedKey(entry.keyPath)) != 0;
    }
}

void MarkBrokenRunEntry(RunEntry& entry, const TargetFileCheck& exists) {
    const CStringW file = TargetFileOf(entry.target);
    entry.broken = file.IsEmpty() || !exists(file);
}

void MarkRunEntries(std::vector<RunEntry>& entries, const TargetFileCheck& exists) {
    MarkShadowedRunEntries(entries);
    std::map<CStringW, bool> existing;  // by folded file name
    const TargetFileCheck existsOnce = [&existing, &exists](const CStringW& file) {
        const CStringW folded = FoldedKey(file);
        auto known = existing.find(folded);
        if (known == existing.end()) known = existing.emplace(folded, exists(file)).first;
        return known->second;
    };
    for (RunEntry& entry : entries) MarkBrokenRunEntry(entry, existsOnce);
}
