// A registry in memory behind the registry interface, for the portable tests
// of the registry walks: it counts every open and close, can fail any call
// by its number, refuses to delete chosen keys, and tells whether the handles
// balance. Key paths are compared as written (letter case counts). Names are
// kept as GBK, the tests' own text; value data as stored, UTF-16 bytes.
#pragma once

#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/registry/RegistryAccess.h"
#include "gbk_text.h"

namespace fake {

constexpr RegKey kRoot = 0x80000002;
constexpr RegKey kUserRoot = 0x80000001;

// The UTF-16 bytes of a GBK text, its zero bytes kept as zero units.
inline std::string Utf16Bytes(const std::string& gbk) {
    std::string bytes;
    std::size_t start = 0;
    while (start <= gbk.size()) {
        std::size_t end = gbk.find('\0', start);
        if (end == std::string::npos) end = gbk.size();
        for (const char16_t unit : W(gbk.substr(start, end - start))) {
            bytes.push_back(static_cast<char>(unit & 0xFF));
            bytes.push_back(static_cast<char>(unit >> 8));
        }
        if (end == gbk.size()) break;
        bytes.append(2, '\0');
        start = end + 1;
    }
    return bytes;
}

struct StoredValue {
    std::string data;
    std::uint32_t declaredSize;
    std::uint32_t type = kRegSz;
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

    long CreateKey(RegKey parent, const char16_t* name, RegKey* pCreated) override {
        if (Fails()) return failure;
        const std::string path = Join(PathOf(parent), N(name));
        keys[path];
        *pCreated = Open(path);
        return kRegistrySuccess;
    }
    long OpenKeyForRead(RegKey parent, const char16_t* keyPath, RegKey* pOpened) override {
        if (Fails()) return failure;
        const std::string path = Join(PathOf(parent), N(keyPath));
        if (keys.count(path) == 0) return kRegistryFileNotFound;
        *pOpened = Open(path);
        return kRegistrySuccess;
    }
    long SetStringValue(RegKey key, const char16_t* valueName, const char16_t* data,
                        std::uint32_t size) override {
        if (Fails()) return failure;
        keys[PathOf(key)][N(valueName)] = {std::string(reinterpret_cast<const char*>(data), size), size};
        return kRegistrySuccess;
    }
    long QueryValueSize(RegKey key, const char16_t* valueName, std::uint32_t* pSize) override {
        if (Fails()) return failure;
        StoredValue* value = Find(key, valueName);
        if (value == nullptr) return kRegistryFileNotFound;
        *pSize = value->declaredSize;
        value->data += growBeforeRead;
        return kRegistrySuccess;
    }
    long QueryValue(RegKey key, const char16_t* valueName, unsigned char* buffer,
                    std::uint32_t* pSize) override {
        if (Fails()) return failure;
        StoredValue* value = Find(key, valueName);
        if (value == nullptr) return kRegistryFileNotFound;
        if (value->data.size() > *pSize) {
            *pSize = static_cast<std::uint32_t>(value->data.size());
            return kRegistryMoreData;
        }
        value->data.copy(reinterpret_cast<char*>(buffer), value->data.size());
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
    long EnumSubKey(RegKey key, std::uint32_t index, CStringW* pName) override {
        if (Fails()) return failure;
        const std::string path = PathOf(key);
        if (keys.count(path) == 0) return kRegistryFileNotFound;
        std::uint32_t n = 0;
        for (const auto& [child, values] : keys) {
            const std::string name = ChildName(path, child);
            if (name.empty()) continue;
            if (n++ == index) {
                *pName = W(name);
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
    long DeleteSubKey(RegKey parent, const char16_t* name) override {
        if (Fails()) return failure;
        const std::string path = Join(PathOf(parent), N(name));
        if (keys.count(path) == 0) return kRegistryFileNotFound;
        if (Children(path) != 0 || undeletable.count(path) != 0) return kRegistryAccessDenied;
        keys.erase(path);
        return kRegistrySuccess;
    }

    long OpenKeyForWrite(RegKey parent, const char16_t* keyPath, RegKey* pOpened) override {
        return OpenKeyForRead(parent, keyPath, pOpened);
    }
    long EnumValue(RegKey key, std::uint32_t index, CStringW* pName, std::uint32_t* pType,
                   std::vector<unsigned char>* pData) override {
        if (Fails()) return failure;
        auto k = keys.find(PathOf(key));
        if (k == keys.end()) return kRegistryFileNotFound;
        if (index >= k->second.size()) return kRegistryNoMoreItems;
        auto v = std::next(k->second.begin(), index);
        *pName = W(v->first);
        *pType = v->second.type;
        pData->assign(v->second.data.begin(), v->second.data.end());
        return kRegistrySuccess;
    }
    long ReadValue(RegKey key, const char16_t* valueName, std::uint32_t* pType,
                   std::vector<unsigned char>* pData) override {
        if (Fails()) return failure;
        const StoredValue* value = Find(key, valueName);
        if (value == nullptr) return kRegistryFileNotFound;
        *pType = value->type;
        pData->assign(value->data.begin(), value->data.end());
        return kRegistrySuccess;
    }
    long SetValue(RegKey key, const char16_t* valueName, std::uint32_t type, const unsigned char* data,
                  std::uint32_t size) override {
        if (Fails()) return failure;
        auto k = keys.find(PathOf(key));
        if (k == keys.end()) return kRegistryBadKey;
        k->second[N(valueName)] = {std::string(reinterpret_cast<const char*>(data), size), size, type};
        return kRegistrySuccess;
    }
    long DeleteValue(RegKey key, const char16_t* valueName) override {
        if (Fails()) return failure;
        auto k = keys.find(PathOf(key));
        if (k == keys.end()) return kRegistryBadKey;
        return k->second.erase(N(valueName)) == 0 ? kRegistryFileNotFound : kRegistrySuccess;
    }

    // A value of any type with the given bytes, every key above it made.
    void PutRaw(const std::string& path, const std::string& name, std::uint32_t type, const std::string& bytes) {
        MakeKey(path);
        keys[path][name] = {bytes, static_cast<std::uint32_t>(bytes.size()), type};
    }
    // A value's data: the UTF-16 form of `data` (GBK), zeros kept, no zero added.
    void Put(const std::string& path, const std::string& name, const std::string& data) {
        const std::string bytes = Utf16Bytes(data);
        keys[path][name] = {bytes, static_cast<std::uint32_t>(bytes.size())};
    }
    // The stored text of a value (up to its first zero), as GBK.
    std::string TextOf(const std::string& path, const std::string& name) const {
        const std::string& bytes = keys.at(path).at(name).data;
        return N(velmora::WideFromRegistryData(reinterpret_cast<const unsigned char*>(bytes.data()),
                                               bytes.size()));
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
    StoredValue* Find(RegKey key, const char16_t* valueName) {
        auto k = keys.find(PathOf(key));
        if (k == keys.end()) return nullptr;
        auto v = k->second.find(N(valueName));
        return v == k->second.end() ? nullptr : &v->second;
    }

    std::map<RegKey, std::string> open;
    RegKey nextKey = 0x100;
};

}  // namespace fake
