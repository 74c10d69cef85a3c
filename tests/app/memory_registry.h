// The registries of the tests: a watch that goes in front of any registry
// (the Win32 one in the tests under Wine, or the one in memory), and a
// registry in memory, watched, for the portable tests and the fuzzer.
//
// The watch counts every open and close, tells whether every key opened was
// closed once and none was used after it was closed, makes one call fail by
// its number (among all calls, or among the calls of one kind), and refuses
// to delete chosen keys.
//
// The registry in memory keeps names and data as UTF-16, every code unit as
// given. Key and value names are looked up with letter case ignored, as the
// registry does (here for ASCII and Latin-1 letters only), and keep the
// spelling they were created with; subkeys and values are listed in that
// letter-case-blind order.
#pragma once

#include <cstdint>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/registry/RegistryAccess.h"
#include "gbk_text.h"

namespace memreg {

constexpr RegKey kRoot = 0x80000002;      // the machine's root
constexpr RegKey kUserRoot = 0x80000001;  // the current user's root
constexpr long kInvalidHandle = 6;

// A code unit as the registry compares names (ASCII and Latin-1 letters).
inline char16_t FoldCase(char16_t unit) {
    if ((unit >= u'a' && unit <= u'z') || (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7))
        return static_cast<char16_t>(unit - 0x20);
    return unit;
}
inline int CompareNoCase(const CStringW& a, const CStringW& b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t x = FoldCase(a[i]);
        const char16_t y = FoldCase(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The names along a key path: split at backslashes, empty names skipped,
// nothing trimmed.
inline std::vector<CStringW> NamesOf(const CStringW& keyPath) {
    std::vector<CStringW> names(1);
    for (const char16_t unit : keyPath) {
        if (unit != u'\\') names.back().push_back(unit);
        else if (!names.back().empty()) names.emplace_back();
    }
    if (names.back().empty()) names.pop_back();
    return names;
}
// `path` with the names of `below` added, joined by single backslashes.
inline CStringW JoinPath(CStringW path, const CStringW& below) {
    for (const CStringW& name : NamesOf(below)) path += (path.empty() ? CStringW() : CStringW(u"\\")) + name;
    return path;
}

// Which kind of call the watch makes fail (kAny: whichever comes).
enum class RegCall {
    kAny, kCreateKey, kOpenKeyForRead, kOpenKeyForWrite, kEnumSubKey, kQueryKeyCounts, kDeleteSubKey,
    kEnumValue, kReadValue, kSetValue, kDeleteValue, kKeyName
};

class WatchedRegistry : public IRegistry {
public:
    explicit WatchedRegistry(IRegistry& inner) : m_inner(inner) {}
    WatchedRegistry(const WatchedRegistry&) = delete;
    WatchedRegistry& operator=(const WatchedRegistry&) = delete;

    // The call made to fail with `failure`: number `failAtCall` (from 0) of
    // the calls of kind `failKind`. CloseKey never fails.
    RegCall failKind = RegCall::kAny;
    int failAtCall = -1;
    long failure = kRegistryAccessDenied;
    int calls = 0;      // every call but CloseKey
    int kindCalls = 0;  // the calls of failKind, when that is not kAny
    int opens = 0;
    int closes = 0;
    int strayCloses = 0;     // closes of roots, unknown or already closed handles
    int usesAfterClose = 0;  // calls given a handle after it was closed

    // Refuses, with kRegistryAccessDenied, to delete the key `path` below
    // `root` (letter case ignored).
    void RefuseDelete(RegKey root, const CStringW& path) { m_refused.push_back({root, JoinPath({}, path)}); }
    std::size_t OpenKeys() const { return m_open.size(); }
    bool Balanced() const {
        return m_open.empty() && opens == closes && strayCloses == 0 && usesAfterClose == 0;
    }

    long CreateKey(RegKey parent, const char16_t* name, RegKey* pCreated) override {
        if (Fails(RegCall::kCreateKey, parent)) return failure;
        return Opened(m_inner.CreateKey(parent, name, pCreated), parent, name, pCreated);
    }
    long OpenKeyForRead(RegKey parent, const char16_t* keyPath, RegKey* pOpened) override {
        if (Fails(RegCall::kOpenKeyForRead, parent)) return failure;
        return Opened(m_inner.OpenKeyForRead(parent, keyPath, pOpened), parent, keyPath, pOpened);
    }
    long OpenKeyForWrite(RegKey parent, const char16_t* keyPath, RegKey* pOpened) override {
        if (Fails(RegCall::kOpenKeyForWrite, parent)) return failure;
        return Opened(m_inner.OpenKeyForWrite(parent, keyPath, pOpened), parent, keyPath, pOpened);
    }
    long CloseKey(RegKey key) override {
        if (m_open.erase(key) == 0) {
            ++strayCloses;
        } else {
            ++closes;
            m_closed.insert(key);
        }
        return m_inner.CloseKey(key);
    }
    long EnumSubKey(RegKey key, std::uint32_t index, CStringW* pName) override {
        if (Fails(RegCall::kEnumSubKey, key)) return failure;
        return m_inner.EnumSubKey(key, index, pName);
    }
    long KeyName(RegKey key, CStringW* pName) override {
        if (Fails(RegCall::kKeyName, key)) return failure;
        return m_inner.KeyName(key, pName);
    }
    long QueryKeyCounts(RegKey key, std::uint32_t* pSubKeys, std::uint32_t* pValues) override {
        if (Fails(RegCall::kQueryKeyCounts, key)) return failure;
        return m_inner.QueryKeyCounts(key, pSubKeys, pValues);
    }
    long DeleteSubKey(RegKey parent, const char16_t* name) override {
        if (Fails(RegCall::kDeleteSubKey, parent)) return failure;
        const Where where = Below(parent, name);
        for (const Where& refused : m_refused) {
            if (refused.root == where.root && CompareNoCase(refused.path, where.path) == 0)
                return kRegistryAccessDenied;
        }
        return m_inner.DeleteSubKey(parent, name);
    }
    long EnumValue(RegKey key, std::uint32_t index, CStringW* pName, std::uint32_t* pType,
                   std::vector<unsigned char>* pData) override {
        if (Fails(RegCall::kEnumValue, key)) return failure;
        return m_inner.EnumValue(key, index, pName, pType, pData);
    }
    long ReadValue(RegKey key, const char16_t* valueName, std::uint32_t* pType,
                   std::vector<unsigned char>* pData) override {
        if (Fails(RegCall::kReadValue, key)) return failure;
        return m_inner.ReadValue(key, valueName, pType, pData);
    }
    long SetValue(RegKey key, const char16_t* valueName, std::uint32_t type, const unsigned char* data,
                  std::uint32_t size) override {
        if (Fails(RegCall::kSetValue, key)) return failure;
        return m_inner.SetValue(key, valueName, type, data, size);
    }
    long DeleteValue(RegKey key, const char16_t* valueName) override {
        if (Fails(RegCall::kDeleteValue, key)) return failure;
        return m_inner.DeleteValue(key, valueName);
    }

private:
    // A key as the watch knows it: a root (any handle it did not open) and
    // the path below it.
    struct Where {
        RegKey root;
        CStringW path;
    };

    bool Fails(RegCall kind, RegKey key) {
        if (m_closed.count(key) != 0) ++usesAfterClose;
        const int number = failKind == RegCall::kAny ? calls : kind == failKind ? kindCalls++ : -1;
        ++calls;
        return number >= 0 && number == failAtCall;
    }
    Where Below(RegKey parent, const char16_t* keyPath) const {
        const auto it = m_open.find(parent);
        const Where base = it == m_open.end() ? Where{parent, CStringW()} : it->second;
        return {base.root, JoinPath(base.path, keyPath)};
    }
    long Opened(long status, RegKey parent, const char16_t* keyPath, const RegKey* pKey) {
        if (status != kRegistrySuccess) return status;
        ++opens;
        m_closed.erase(*pKey);  // the platform may hand a closed handle's value out again
        m_open[*pKey] = Below(parent, keyPath);
        return status;
    }

    IRegistry& m_inner;
    std::map<RegKey, Where> m_open;
    std::set<RegKey> m_closed;
    std::vector<Where> m_refused;
};

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

// A value's name; the tests write it as GBK.
struct ValueName {
    CStringW name;
    ValueName(const CStringW& text) : name(text) {}     // NOLINT: names convert
    ValueName(const char16_t* text) : name(text) {}     // NOLINT
    ValueName(const std::string& gbk) : name(W(gbk)) {}  // NOLINT
    ValueName(const char* gbk) : name(W(gbk)) {}         // NOLINT
    friend bool operator==(const ValueName&, const ValueName&) = default;
};
// A key: below the user's root or the machine's, and its path there. The
// tests write it as GBK, "U:" before the paths below the user's root.
struct KeyPath {
    bool user = false;
    CStringW path;
    KeyPath(bool underUser, const CStringW& keyPath) : user(underUser), path(keyPath) {}
    KeyPath(const std::string& gbk)  // NOLINT: paths convert
        : user(gbk.compare(0, 2, "U:") == 0), path(W(user ? gbk.substr(2) : gbk)) {}
    KeyPath(const char* gbk) : KeyPath(std::string(gbk)) {}  // NOLINT
    // The GBK form the tests write.
    std::string Text() const { return (user ? "U:" : "") + N(path); }
    friend bool operator==(const KeyPath&, const KeyPath&) = default;
};
struct NoCaseOrder {
    bool operator()(const ValueName& a, const ValueName& b) const { return CompareNoCase(a.name, b.name) < 0; }
    bool operator()(const KeyPath& a, const KeyPath& b) const {
        if (a.user != b.user) return a.user < b.user;
        return CompareNoCase(a.path, b.path) < 0;
    }
};

struct StoredValue {
    std::string data;  // the bytes as stored
    std::uint32_t type = kRegSz;
    friend bool operator==(const StoredValue&, const StoredValue&) = default;
};
using Values = std::map<ValueName, StoredValue, NoCaseOrder>;
using Keys = std::map<KeyPath, Values, NoCaseOrder>;

// The registry in memory, behind the watch. A handle used after it was
// closed, or never opened, is kInvalidHandle; a key deleted while a handle
// to it is open reads as missing and cannot be written (kRegistryBadKey).
class MemoryRegistry final : public WatchedRegistry {
public:
    MemoryRegistry() : WatchedRegistry(m_store) {}

    // Every key (the two roots have the empty path) with its values.
    Keys keys{{KeyPath(false, CStringW()), {}}, {KeyPath(true, CStringW()), {}}};

    // A key with no values, and every key above it.
    void MakeKey(const KeyPath& key) {
        CStringW path;
        for (const CStringW& name : NamesOf(key.path)) keys[KeyPath(key.user, path = JoinPath(path, name))];
    }
    // A value of any type with the given bytes, every key above it made.
    void PutRaw(const KeyPath& key, const ValueName& name, std::uint32_t type, const std::string& bytes) {
        MakeKey(key);
        keys[key][name] = {bytes, type};
    }
    // A REG_SZ value: the UTF-16 form of `data` (GBK), zeros kept, no zero added.
    void Put(const KeyPath& key, const ValueName& name, const std::string& data) {
        PutRaw(key, name, kRegSz, Utf16Bytes(data));
    }
    // A REG_SZ value as text with its zero.
    void PutText(const KeyPath& key, const ValueName& name, const std::string& text) {
        Put(key, name, std::string(text.c_str(), text.size() + 1));
    }
    // The stored text of a value (up to its first zero), as GBK.
    std::string TextOf(const KeyPath& key, const ValueName& name) const {
        const std::string& bytes = keys.at(key).at(name).data;
        return N(velmora::WideFromRegistryData(reinterpret_cast<const unsigned char*>(bytes.data()),
                                               bytes.size()));
    }
    // Refuses to delete a key the tests name.
    void RefuseDelete(const KeyPath& key) { WatchedRegistry::RefuseDelete(key.user ? kUserRoot : kRoot, key.path); }
    using WatchedRegistry::RefuseDelete;

private:
    class Store final : public IRegistry {
    public:
        explicit Store(Keys& keys) : m_keys(keys) {}

        long CreateKey(RegKey parent, const char16_t* name, RegKey* pCreated) override {
            const KeyPath* at = KeyOf(parent);
            if (at == nullptr) return kInvalidHandle;
            if (m_keys.count(*at) == 0) return kRegistryBadKey;
            KeyPath key = *at;
            for (const CStringW& piece : NamesOf(name)) {
                key.path = JoinPath(key.path, piece);
                // An existing key keeps its spelling.
                key.path = m_keys.try_emplace(key).first->first.path;
            }
            *pCreated = Open(key);
            return kRegistrySuccess;
        }
        long OpenKeyForRead(RegKey parent, const char16_t* keyPath, RegKey* pOpened) override {
            const KeyPath* at = KeyOf(parent);
            if (at == nullptr) return kInvalidHandle;
            const auto it = m_keys.find(KeyPath(at->user, JoinPath(at->path, keyPath)));
            if (it == m_keys.end()) return kRegistryFileNotFound;
            *pOpened = Open(it->first);
            return kRegistrySuccess;
        }
        long OpenKeyForWrite(RegKey parent, const char16_t* keyPath, RegKey* pOpened) override {
            return OpenKeyForRead(parent, keyPath, pOpened);
        }
        long CloseKey(RegKey key) override { return m_handles.erase(key) == 0 ? kInvalidHandle : kRegistrySuccess; }
        long EnumSubKey(RegKey key, std::uint32_t index, CStringW* pName) override {
            const KeyPath* at = KeyOf(key);
            if (at == nullptr) return kInvalidHandle;
            if (m_keys.count(*at) == 0) return kRegistryFileNotFound;
            const std::vector<CStringW> children = ChildrenOf(*at);
            if (index >= children.size()) return kRegistryNoMoreItems;
            *pName = children[index];
            return kRegistrySuccess;
        }
        long KeyName(RegKey key, CStringW* pName) override {
            const KeyPath* at = KeyOf(key);
            if (at == nullptr) return kInvalidHandle;
            const auto it = m_keys.find(*at);
            if (it == m_keys.end()) return kRegistryFileNotFound;
            const std::vector<CStringW> names = NamesOf(it->first.path);
            if (names.empty()) return kInvalidHandle;  // a root
            *pName = names.back();
            return kRegistrySuccess;
        }
        long QueryKeyCounts(RegKey key, std::uint32_t* pSubKeys, std::uint32_t* pValues) override {
            const KeyPath* at = KeyOf(key);
            if (at == nullptr) return kInvalidHandle;
            const auto it = m_keys.find(*at);
            if (it == m_keys.end()) return kRegistryFileNotFound;
            *pSubKeys = static_cast<std::uint32_t>(ChildrenOf(*at).size());
            *pValues = static_cast<std::uint32_t>(it->second.size());
            return kRegistrySuccess;
        }
        long DeleteSubKey(RegKey parent, const char16_t* name) override {
            const KeyPath* at = KeyOf(parent);
            if (at == nullptr) return kInvalidHandle;
            const KeyPath key(at->user, JoinPath(at->path, name));
            if (key.path.empty() || m_keys.count(key) == 0) return kRegistryFileNotFound;
            if (!ChildrenOf(key).empty()) return kRegistryAccessDenied;
            m_keys.erase(key);
            return kRegistrySuccess;
        }
        long EnumValue(RegKey key, std::uint32_t index, CStringW* pName, std::uint32_t* pType,
                       std::vector<unsigned char>* pData) override {
            const Values* values = ValuesOf(key);
            if (values == nullptr) return KeyOf(key) == nullptr ? kInvalidHandle : kRegistryFileNotFound;
            if (index >= values->size()) return kRegistryNoMoreItems;
            const auto it = std::next(values->begin(), index);
            *pName = it->first.name;
            *pType = it->second.type;
            pData->assign(it->second.data.begin(), it->second.data.end());
            return kRegistrySuccess;
        }
        long ReadValue(RegKey key, const char16_t* valueName, std::uint32_t* pType,
                       std::vector<unsigned char>* pData) override {
            const Values* values = ValuesOf(key);
            if (values == nullptr) return KeyOf(key) == nullptr ? kInvalidHandle : kRegistryFileNotFound;
            const auto it = values->find(ValueName(valueName));
            if (it == values->end()) return kRegistryFileNotFound;
            *pType = it->second.type;
            pData->assign(it->second.data.begin(), it->second.data.end());
            return kRegistrySuccess;
        }
        long SetValue(RegKey key, const char16_t* valueName, std::uint32_t type, const unsigned char* data,
                      std::uint32_t size) override {
            Values* values = ValuesOf(key);
            if (values == nullptr) return KeyOf(key) == nullptr ? kInvalidHandle : kRegistryBadKey;
            (*values)[ValueName(valueName)] = {std::string(reinterpret_cast<const char*>(data), size), type};
            return kRegistrySuccess;
        }
        long DeleteValue(RegKey key, const char16_t* valueName) override {
            Values* values = ValuesOf(key);
            if (values == nullptr) return KeyOf(key) == nullptr ? kInvalidHandle : kRegistryBadKey;
            return values->erase(ValueName(valueName)) == 0 ? kRegistryFileNotFound : kRegistrySuccess;
        }

    private:
        const KeyPath* KeyOf(RegKey key) const {
            static const KeyPath machine(false, CStringW());
            static const KeyPath user(true, CStringW());
            if (key == kRoot) return &machine;
            if (key == kUserRoot) return &user;
            const auto it = m_handles.find(key);
            return it == m_handles.end() ? nullptr : &it->second;
        }
        Values* ValuesOf(RegKey key) const {
            const KeyPath* at = KeyOf(key);
            if (at == nullptr) return nullptr;
            const auto it = m_keys.find(*at);
            return it == m_keys.end() ? nullptr : &it->second;
        }
        // The names of the direct subkeys of `key`, in the map's order.
        std::vector<CStringW> ChildrenOf(const KeyPath& key) const {
            std::vector<CStringW> names;
            const CStringW prefix = key.path.empty() ? CStringW() : key.path + u"\\";
            for (auto it = m_keys.lower_bound(KeyPath(key.user, prefix));
                 it != m_keys.end() && it->first.user == key.user; ++it) {
                const CStringW& path = it->first.path;
                if (CompareNoCase(path.substr(0, prefix.size()), prefix) != 0) break;
                if (path.size() > prefix.size() && path.find(u'\\', prefix.size()) == CStringW::npos)
                    names.push_back(path.substr(prefix.size()));
            }
            return names;
        }
        RegKey Open(const KeyPath& key) {
            const RegKey handle = m_next++;
            m_handles.emplace(handle, key);
            return handle;
        }

        Keys& m_keys;
        std::map<RegKey, KeyPath> m_handles;
        RegKey m_next = 0x100;
    };

    Store m_store{keys};
};

// The run commands the store's and the console's tests start from, below
// the App Paths key "AP" of both roots: `ed` with a Path value, `tools\old`
// whose program is gone (below C:\Gone), and `shared` in both scopes.
inline void PutSampleRunCommands(MemoryRegistry& reg) {
    reg.PutText("AP\\ed.exe", "", "C:\\Tools\\ed.exe");
    reg.PutText("AP\\ed.exe", "Path", "C:\\Tools");
    reg.PutText("AP\\tools\\old.exe", "", "C:\\Gone\\old.exe");
    reg.PutText("AP\\shared.exe", "", "C:\\Machine\\shared.exe");
    reg.PutText("U:AP\\shared.exe", "", "C:\\Mine\\shared.exe");
}

}  // namespace memreg
