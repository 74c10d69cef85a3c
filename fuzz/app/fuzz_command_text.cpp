// Dropped paths and typed command names of any bytes: the file title is a
// piece of the path, key names are never empty and never carry a separator,
// the key walk over an in-memory registry closes every key it opens and reads
// back what it stored, the manager's listing finds it, and deleting it with
// the groups it leaves empty restores the registry.
//
// Input: one byte n, then a path of n UTF-16 code units (or the rest), then
// the name; code units are little-endian byte pairs, an odd last byte is left
// out. Each text ends at its first zero unit, as texts from the platform do
// (the drop, the edit control); any other unit may come, unpaired surrogates
// too.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "app/runcmd/CommandText.h"
#include "app/registry/RegistryAccess.h"
#include "app/registry/RegistryTree.h"
#include "app/runcmd/RunEntries.h"

namespace {

constexpr RegKey kRoot = 1;

// Keys by their names from the root (the root is the empty list), values by
// name. Paths are lists of names, never joined.
using KeyPath = std::vector<std::u16string>;

class MemoryRegistry final : public IRegistry {
public:
    // Value data as stored: bytes.
    std::map<KeyPath, std::map<std::u16string, std::string>> keys{{{}, {}}};
    std::map<RegKey, KeyPath> open;
    RegKey next = 100;
    int badCloses = 0;

    long CreateKey(RegKey parent, const char16_t* name, RegKey* pCreated) override {
        KeyPath path = PathOf(parent);
        path.push_back(name);
        keys[path];
        *pCreated = next++;
        open[*pCreated] = path;
        return 0;
    }
    long OpenKeyForRead(RegKey parent, const char16_t* keyPath, RegKey* pOpened) override {
        const KeyPath path = Below(parent, keyPath);
        if (keys.count(path) == 0) return 2;
        *pOpened = next++;
        open[*pOpened] = path;
        return 0;
    }
    long SetStringValue(RegKey key, const char16_t* valueName, const char16_t* data, std::uint32_t size) override {
        keys[PathOf(key)][valueName] = std::string(reinterpret_cast<const char*>(data), size);
        types[PathOf(key)].erase(valueName);
        return 0;
    }
    long QueryValueSize(RegKey key, const char16_t* valueName, std::uint32_t* pSize) override {
        const std::string* value = Find(key, valueName);
        if (value == nullptr) return 2;
        *pSize = static_cast<std::uint32_t>(value->size());
        return 0;
    }
    long QueryValue(RegKey key, const char16_t* valueName, unsigned char* buffer, std::uint32_t* pSize) override {
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
    long EnumSubKey(RegKey key, std::uint32_t index, CStringW* pName) override {
        const KeyPath parent = PathOf(key);
        std::uint32_t n = 0;
        for (const auto& entry : keys) {
            if (!IsChild(parent, entry.first)) continue;
            if (n++ == index) {
                *pName = entry.first.back();
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
    long DeleteSubKey(RegKey parent, const char16_t* name) override {
        const KeyPath path = Below(parent, name);
        if (keys.count(path) == 0) return 2;
        for (const auto& entry : keys) {
            if (IsChild(path, entry.first)) return 5;
        }
        keys.erase(path);
        return 0;
    }

    long OpenKeyForWrite(RegKey parent, const char16_t* keyPath, RegKey* pOpened) override {
        return OpenKeyForRead(parent, keyPath, pOpened);
    }
    long EnumValue(RegKey key, std::uint32_t index, CStringW* pName, std::uint32_t* pType,
                   std::vector<unsigned char>* pData) override {
        const auto& values = keys.at(PathOf(key));
        if (index >= values.size()) return 259;
        const auto it = std::next(values.begin(), index);
        *pName = it->first;
        *pType = TypeOf(key, it->first.c_str());
        pData->assign(it->second.begin(), it->second.end());
        return 0;
    }
    long ReadValue(RegKey key, const char16_t* valueName, std::uint32_t* pType,
                   std::vector<unsigned char>* pData) override {
        const std::string* value = Find(key, valueName);
        if (value == nullptr) return 2;
        *pType = TypeOf(key, valueName);
        pData->assign(value->begin(), value->end());
        return 0;
    }
    long SetValue(RegKey key, const char16_t* valueName, std::uint32_t type, const unsigned char* data,
                  std::uint32_t size) override {
        keys[PathOf(key)][valueName] = std::string(reinterpret_cast<const char*>(data), size);
        types[PathOf(key)][valueName] = type;
        return 0;
    }
    long DeleteValue(RegKey key, const char16_t* valueName) override {
        types[PathOf(key)].erase(valueName);
        return keys.at(PathOf(key)).erase(valueName) == 0 ? 2 : 0;
    }

private:
    // Types of values stored through SetValue; the others are REG_SZ.
    std::map<KeyPath, std::map<std::u16string, std::uint32_t>> types;
    std::uint32_t TypeOf(RegKey key, const char16_t* valueName) const {
        const auto k = types.find(PathOf(key));
        if (k == types.end()) return 1;
        const auto v = k->second.find(valueName);
        return v == k->second.end() ? 1 : v->second;
    }
    static bool IsChild(const KeyPath& parent, const KeyPath& path) {
        return path.size() == parent.size() + 1 && std::equal(parent.begin(), parent.end(), path.begin());
    }
    // A key path is split at its backslashes as the registry does, with
    // nothing trimmed.
    KeyPath Below(RegKey parent, const char16_t* keyPath) const {
        KeyPath path = PathOf(parent);
        std::vector<CStringW> names;
        SplitString(keyPath, u"\\", names, false);
        for (const CStringW& name : names) path.push_back(name);
        return path;
    }
    KeyPath PathOf(RegKey key) const {
        if (key == kRoot) return {};
        auto it = open.find(key);
        if (it == open.end()) std::abort();  // a key used after it was closed
        return it->second;
    }
    const std::string* Find(RegKey key, const char16_t* valueName) const {
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
    CStringW units;
    for (std::size_t i = 1; i + 1 < size; i += 2)
        units.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
    const std::size_t pathLength = std::min<std::size_t>(data[0], units.size());
    const auto untilZero = [](const CStringW& text) { return text.substr(0, text.find(u'\0')); };
    const CStringW strPath = untilZero(units.substr(0, pathLength));
    const CStringW strTyped = untilZero(units.substr(pathLength));

    const CStringW strTitle = GetFileTitleFromPath(strPath);
    Check(strTitle.IsEmpty() || strPath.find(strTitle) != CStringW::npos);
    HasExeExtension(strPath);

    const CStringW strName = TrimCommandName(strTyped);
    const CStringW strKeyPath = BuildCommandKeyPath(strName);
    for (const CStringW& name : SplitKeyPath(strKeyPath)) {
        Check(!name.IsEmpty());
        CStringW strTrimmed(name);
        strTrimmed.Trim(u" \r\n\t");
        Check(strTrimmed == name);
    }

    MemoryRegistry registry;
    const bool stored = RegWriteString(registry, kRoot, strKeyPath, u"", strPath);
    Check(stored && registry.open.empty() && registry.badCloses == 0);
    // Read back through the names the walk created, as the tool reads.
    const CStringW strRead = RegReadString(registry, kRoot, NormalizeKeyPath(strKeyPath), u"");
    Check(registry.open.empty() && registry.badCloses == 0);
    // The text is read back whole.
    Check(strRead == strPath);

    // The manager lists the name as its one entry, unless a part of the
    // name before the last makes an entry of its own ("a.exe\\b" lists
    // a.exe, and nothing below it).
    const std::vector<CStringW> pieces = SplitKeyPath(strKeyPath);
    const std::size_t appPathsDepth = SplitKeyPath(kAppPathsKey).size();
    Check(pieces.size() >= appPathsDepth);
    const CStringW strNormalized = NormalizeKeyPath(strKeyPath);
    const bool hasRelative = pieces.size() > appPathsDepth;
    const CStringW strRelative =
        hasRelative ? strNormalized.Mid(static_cast<int>(std::char_traits<char16_t>::length(kAppPathsKey)) + 1)
                    : CStringW();
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
