// A registry in memory behind the registry interface, for the portable tests
// of the registry walks: it counts every open and close, can fail any call
// by its number, refuses to delete chosen keys, and tells whether the handles
// balance. Key paths are compared as written (letter case counts).
#pragma once

#include <map>
#include <set>
#include <string>

#include "app/RegistryAccess.h"

namespace fake {

constexpr RegKey kRoot = 0x80000002;
constexpr RegKey kUserRoot = 0x80000001;

struct StoredValue {
    std::string data;
    std::uint32_t declaredSize;
    friend bool operator==(const StoredValue&, const StoredValue&) = default;
};

class FakeRegistry final : public IRegistry {
public:
    // Keys by full path below their root ("" is a root itself; the user
    // root's keys start with "U:"), their values by name.
    std::map<std::string, std::map<std::string, StoredValue>> keys{{"", {}}, {"U:", {}}};
    int opens = 0;
    int closes = 0;
    int badCloses = 0;  // roots, unknown or already closed handles
    int calls = 0;      // every call except CloseKey
    int failAtCall = -1;
    long failure = kRegistryAccessDenied;
    // Keys whose deletion fails with kRegistryAccessDenied.
    std::set<std::string> undeletable;
    // Data appended to a value between the size query and the read.
    std::string growBeforeRead;

    long CreateKey(RegKey parent, const char* name, RegKey* pCreated) override {
        if (Fails()) return failure;
        const std::string path = Join(PathOf(parent), name);
        keys[path];
        *pCreated = Open(path);
        return kRegistrySuccess;
    }
    long OpenKeyForRead(RegKey parent, const char* keyPath, RegKey* pOpened) override {
        if (Fails()) return failure;
        const std::string path = Join(PathOf(parent), keyPath);
        if (keys.count(path) == 0) return kRegistryFileNotFound;
        *pOpened = Open(path);
        return kRegistrySuccess;
    }
    long SetStringValue(RegKey key, const char* valueName, const char* data, std::uint32_t size) override {
        if (Fails()) return failure;
        keys[PathOf(key)][valueName] = {std::string(data, size), size};
        return kRegistrySuccess;
    }
    long QueryValueSize(RegKey key, const char* valueName, std::uint32_t* pSize) override {
        if (Fails()) return failure;
        StoredValue* value = Find(key, valueName);
        if (value == nullptr) return kRegistryFileNotFound;
        *pSize = value->declaredSize;
        value->data += growBeforeRead;
        return kRegistrySuccess;
    }
    long QueryValue(RegKey key, const char* valueName, char* buffer, std::uint32_t* pSize) override {
        if (Fails()) return failure;
        StoredValue* value = Find(key, valueName);
        if (value == nullptr) return kRegistryFileNotFound;
        if (value->data.size() > *pSize) {
            *pSize = static_cast<std::uint32_t>(value->data.size());
            return kRegistryMoreData;
        }
        value->data.copy(buffer, value->data.size());
        *pSize = static_cast<std::uint32_t>(value->data.size());
        return kRegistrySuccess;
    }
    long CloseKey(RegKey key) override {
        if (open.erase(key) == 0) {
            ++badCloses;
            return 6;
        }
        ++closes;
        return kRegistrySuccess;
    }
    long EnumSubKey(RegKey key, std::uint32_t index, CString* pName) override {
        if (Fails()) return failure;
        const std::string path = PathOf(key);
        if (keys.count(path) == 0) return kRegistryFileNotFound;
        std::uint32_t n = 0;
        for (const auto& [child, values] : keys) {
            const std::string name = ChildName(path, child);
            if (name.empty()) continue;
            if (n++ == index) {
                *pName = name.c_str();
                return kRegistrySuccess;
            }
        }
        return kRegistryNoMoreItems;
    }
    long QueryKeyCounts(RegKey key, std::uint32_t* pSubKeys, std::uint32_t* pValues) override {
        if (Fails()) return failure;
        const std::string path = PathOf(key);
        auto it = keys.find(path);
        if (it == keys.end()) return kRegistryFileNotFound;
        *pSubKeys = static_cast<std::uint32_t>(Children(path));
        *pValues = static_cast<std::uint32_t>(it->second.size());
        return kRegistrySuccess;
    }
    long DeleteSubKey(RegKey parent, const char* name) override {
        if (Fails()) return failure;
        const std::string path = Join(PathOf(parent), name);
        if (keys.count(path) == 0) return kRegistryFileNotFound;
        if (Children(path) != 0 || undeletable.count(path) != 0) return kRegistryAccessDenied;
        keys.erase(path);
        return kRegistrySuccess;
    }

    void Put(const std::string& path, const std::string& name, const std::string& data) {
        keys[path][name] = {data, static_cast<std::uint32_t>(data.size())};
    }
    // A key with no values, and every key above it.
    void MakeKey(const std::string& path) {
        for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
            keys[path.substr(0, at)];
        keys[path];
    }
    // A value as text with its zero, every key above it made.
    void PutText(const std::string& path, const std::string& name, const std::string& text) {
        MakeKey(path);
        Put(path, name, std::string(text.c_str(), text.size() + 1));
    }
    bool Balanced() const { return opens == closes && badCloses == 0 && open.empty(); }

private:
    bool Fails() { return calls++ == failAtCall; }
    static std::string Join(const std::string& parent, const std::string& name) {
        if (name.empty()) return parent;
        return parent.empty() || parent == "U:" ? parent + name : parent + "\\" + name;
    }
    // The name of `child` when it is a direct subkey of `parent`, else "".
    static std::string ChildName(const std::string& parent, const std::string& child) {
        const std::string prefix = parent.empty() || parent == "U:" ? parent : parent + "\\";
        if (child.size() <= prefix.size() || child.compare(0, prefix.size(), prefix) != 0) return "";
        if (parent.empty() && child.compare(0, 2, "U:") == 0) return "";
        const std::string rest = child.substr(prefix.size());
        return rest.find('\\') == std::string::npos ? rest : "";
    }
    std::size_t Children(const std::string& path) const {
        std::size_t n = 0;
        for (const auto& entry : keys) n += ChildName(path, entry.first).empty() ? 0 : 1;
        return n;
    }
    std::string PathOf(RegKey key) const {
        if (key == kRoot) return "";
        if (key == kUserRoot) return "U:";
        auto it = open.find(key);
        return it == open.end() ? "<closed>" : it->second;
    }
    RegKey Open(const std::string& path) {
        ++opens;
        const RegKey key = nextKey++;
        open[key] = path;
        return key;
    }
    StoredValue* Find(RegKey key, const char* valueName) {
        auto k = keys.find(PathOf(key));
        if (k == keys.end()) return nullptr;
        auto v = k->second.find(valueName);
        return v == k->second.end() ? nullptr : &v->second;
    }

    std::map<RegKey, std::string> open;
    RegKey nextKey = 0x100;
};

}  // namespace fake
