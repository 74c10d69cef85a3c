// Dropped paths and typed command names of any bytes: the file title is a
// piece of the path, key names are never empty and never carry a separator,
// and the key walk over an in-memory registry closes every key it opens and
// reads back what it stored.
//
// Input: one byte n, then a path of n bytes (or the rest), then the name.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "app/CommandText.h"
#include "app/RegistryAccess.h"

namespace {

constexpr RegKey kRoot = 1;

class MemoryRegistry final : public IRegistry {
public:
    std::map<std::string, std::map<std::string, std::string>> keys{{"", {}}};
    std::map<RegKey, std::string> open;
    RegKey next = 100;
    int badCloses = 0;

    long CreateKey(RegKey parent, const char* name, RegKey* pCreated) override {
        const std::string path = PathOf(parent) + "\\" + name;
        keys[path];
        *pCreated = next++;
        open[*pCreated] = path;
        return 0;
    }
    long OpenKeyForRead(RegKey parent, const char* keyPath, RegKey* pOpened) override {
        // Reads go through the same names the walk created.
        std::string path = PathOf(parent);
        for (const CString& name : SplitKeyPath(keyPath)) path += "\\" + std::string(name.GetString());
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

private:
    std::string PathOf(RegKey key) const {
        if (key == kRoot) return "";
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

void Check(bool condition) {
    if (!condition) std::abort();
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
    const CString strRead = RegReadString(registry, kRoot, strKeyPath, "");
    Check(registry.open.empty() && registry.badCloses == 0);
    // The text is stored up to its first zero byte and read back whole.
    Check(strRead == CString(strPath.GetString()));
    return 0;
}
