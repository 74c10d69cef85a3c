// Dropped paths and typed command names of any bytes: the file title is a
// piece of the path, key names are never empty and never carry a separator,
// the key walk over an in-memory registry closes every key it opens and reads
// back what it stored, the manager's listing finds it, and deleting it with
// the groups it leaves empty restores the registry.
//
// Input: one byte n, then a path of n bytes (or the rest), then the name.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/CommandText.h"
#include "app/RegistryAccess.h"
#include "app/RegistryTree.h"
#include "app/RunEntries.h"

namespace {

constexpr RegKey kRoot = 1;

// Keys by their names from the root (the root is the empty list), values by
// name. Paths are lists of names, never joined, so that a double-byte
// character whose second byte is a backslash stays inside its name.
using KeyPath = std::vector<std::string>;

class MemoryRegistry final : public IRegistry {
public:
    std::map<KeyPath, std::map<std::string, std::string>> keys{{{}, {}}};
    std::map<RegKey, KeyPath> open;
    RegKey next = 100;
    int badCloses = 0;

    long CreateKey(RegKey parent, const char* name, RegKey* pCreated) override {
        KeyPath path = PathOf(parent);
        path.push_back(name);
        keys[path];
        *pCreated = next++;
        open[*pCreated] = path;
        return 0;
    }
    long OpenKeyForRead(RegKey parent, const char* keyPath, RegKey* pOpened) override {
        const KeyPath path = Below(parent, keyPath);
        if (keys.count(path) == 0) return 2;
        *pOpened = next++;
        open[*pOpened] = path;
        return 0;
    }
    long SetStringValue(RegKey key, const char* valueName, const char* data, std::uint32_t size) override {
        keys[PathOf(key)][valueName] = std::string(data, size);
        return 0;
    }
    long QueryValueSize(RegKey key, const char* valueName, std::uint32_t* pSize) override {
        const std::string* value = Find(key, valueName);
        if (value == nullptr) return 2;
        *pSize = static_cast<std::uint32_t>(value->size());
        return 0;
    }
    long QueryValue(RegKey key, const char* valueName, char* buffer, std::uint32_t* pSize) override {
        const std::string* value = Find(key, valueName);
        if (value == nullptr) return 2;
        if (value->size() > *pSize) return 234;
        std::memcpy(buffer, value->data(), value->size());
        *pSize = static_cast<std::uint32_t>(value->size());
        return 0;
    }
    long CloseKey(RegKey key) override {
        if (open.erase(key) == 0) ++badCloses;
        return 0;
    }
    long EnumSubKey(RegKey key, std::uint32_t index, CString* pName) override {
        const KeyPath parent = PathOf(key);
        std::uint32_t n = 0;
        for (const auto& entry : keys) {
            if (!IsChild(parent, entry.first)) continue;
            if (n++ == index) {
                *pName = entry.first.back().c_str();
                return 0;
            }
        }
        return 259;
    }
    long QueryKeyCounts(RegKey key, std::uint32_t* pSubKeys, std::uint32_t* pValues) override {
        const KeyPath path = PathOf(key);
        std::uint32_t children = 0;
        for (const auto& entry : keys) children += IsChild(path, entry.first) ? 1 : 0;
        *pSubKeys = children;
        *pValues = static_cast<std::uint32_t>(keys.at(path).size());
        return 0;
    }
    long DeleteSubKey(RegKey parent, const char* name) override {
        const KeyPath path = Below(parent, name);
        if (keys.count(path) == 0) return 2;
        for (const auto& entry : keys) {
            if (IsChild(path, entry.first)) return 5;
        }
        keys.erase(path);
        return 0;
    }

private:
    static bool IsChild(const KeyPath& parent, const KeyPath& path) {
        return path.size() == parent.size() + 1 && std::equal(parent.begin(), parent.end(), path.begin());
    }
    // A key path is split at its backslashes as the registry does, as whole
    // characters and with nothing trimmed.
    KeyPath Below(RegKey parent, const char* keyPath) const {
        KeyPath path = PathOf(parent);
        std::vector<CString> names;
        SplitString(keyPath, "\\", names, false);
        for (const CString& name : names) path.push_back(name.GetString());
        return path;
    }
    KeyPath PathOf(RegKey key) const {
        if (key == kRoot) return {};
        auto it = open.find(key);
        if (it == open.end()) std::abort();  // a key used after it was closed
        return it->second;
    }
    const std::string* Find(RegKey key, const char* valueName) const {
        auto k = keys.find(PathOf(key));
        if (k == keys.end()) return nullptr;
        auto v = k->second.find(valueName);
        return v == k->second.end() ? nullptr : &v->second;
    }
};

// Aborts with the line of the failed check.
void Check(bool condition, int line = __builtin_LINE()) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_command_text.cpp:%d: check failed\n", line);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t pathLength = data[0] < size - 1 ? data[0] : size - 1;
    const CString strPath(reinterpret_cast<const char*>(data + 1), static_cast<int>(pathLength));
    const CString strTyped(reinterpret_cast<const char*>(data + 1 + pathLength),
                           static_cast<int>(size - 1 - pathLength));

    const CString strTitle = GetFileTitleFromPath(strPath);
    Check(strTitle.IsEmpty() || std::strstr(strPath, strTitle) != nullptr);
    HasExeExtension(strPath);

    const CString strName = TrimCommandName(strTyped);
    const CString strKeyPath = BuildCommandKeyPath(strName);
    for (const CString& name : SplitKeyPath(strKeyPath)) {
        Check(!name.IsEmpty());
        // Already trimmed (as whole characters: a trail byte may look like a blank).
        CString strTrimmed(name);
        strTrimmed.TrimRight(" \r\n\t");
        strTrimmed.TrimLeft(" \r\n\t");
        Check(strTrimmed == name);
    }

    MemoryRegistry registry;
    const bool stored = RegWriteString(registry, kRoot, strKeyPath, "", strPath);
    Check(stored && registry.open.empty() && registry.badCloses == 0);
    // Read back through the names the walk created, as the tool reads.
    const CString strRead = RegReadString(registry, kRoot, NormalizeKeyPath(strKeyPath), "");
    Check(registry.open.empty() && registry.badCloses == 0);
    // The text is stored up to its first zero byte and read back whole.
    Check(strRead == CString(strPath.GetString()));

    // The manager lists the name as its one entry, unless a part of the
    // name before the last makes an entry of its own ("a.exe\\b" lists
    // a.exe, and nothing below it).
    const std::vector<CString> pieces = SplitKeyPath(strKeyPath);
    const std::size_t appPathsDepth = SplitKeyPath(kAppPathsKey).size();
    Check(pieces.size() >= appPathsDepth);
    const CString strNormalized = NormalizeKeyPath(strKeyPath);
    const bool hasRelative = pieces.size() > appPathsDepth;
    const CString strRelative =
        hasRelative ? strNormalized.Mid(static_cast<int>(std::strlen(kAppPathsKey)) + 1) : CString();
    std::vector<RunEntry> entries;
    // A group nested deeper than the walks go is skipped, and counted.
    const int skipped = ListRunEntries(registry, kRoot, kAppPathsKey, RunScope::kLocalMachine, entries);
    Check(skipped == 0 || skipped == 1);
    Check(registry.open.empty() && registry.badCloses == 0);
    Check(entries.size() <= 1);
    bool nestedEntry = false;
    for (std::size_t i = appPathsDepth; i + 1 < pieces.size(); ++i)
        nestedEntry = nestedEntry || IsRunEntryKeyName(pieces[i]);
    const std::size_t depth = pieces.size() - appPathsDepth;
    if (hasRelative && !nestedEntry && IsRunEntryKeyName(pieces.back()) &&
        depth <= static_cast<std::size_t>(kMaxKeyTreeDepth)) {
        Check(skipped == 0 && entries.size() == 1 && entries[0].target == strRead &&
              entries[0].keyPath == strRelative);
    }

    // Deleting the entry and the groups it leaves empty gives the registry
    // back as it was before the write, but for the App Paths keys.
    if (hasRelative) {
        Check(DeleteKeyTree(registry, kRoot, strNormalized) == 0);
        RemoveEmptyParentKeys(registry, kRoot, kAppPathsKey, strRelative);
        Check(registry.open.empty() && registry.badCloses == 0);
        Check(registry.keys.size() == appPathsDepth + 1);
    }
    return 0;
}
