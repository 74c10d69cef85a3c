#include "app/RegistryAccess.h"

#include <vector>

#include "app/CommandText.h"

namespace {

constexpr long kSuccess = 0;

// A key of the walk: closed when the walk moves past it or leaves, unless it
// is the root the caller handed in.
class WalkKey {
public:
    WalkKey(IRegistry& registry, RegKey root) noexcept : m_registry(registry), m_key(root), m_owned(false) {}
    ~WalkKey() { Close(); }
    WalkKey(const WalkKey&) = delete;
    WalkKey& operator=(const WalkKey&) = delete;

    RegKey Get() const noexcept { return m_key; }
    void Replace(RegKey key) noexcept {
        Close();
        m_key = key;
        m_owned = true;
    }

private:
    void Close() noexcept {
        if (m_owned) m_registry.CloseKey(m_key);
        m_owned = false;
    }

    IRegistry& m_registry;
    RegKey m_key;
    bool m_owned;
};

}  // namespace

bool RegWriteString(IRegistry& registry, RegKey root, const char* keyPath, const char* valueName,
                    const char* data) {
    const std::vector<CString> names = SplitKeyPath(CString(keyPath));
    WalkKey current(registry, root);
    for (const CString& name : names) {
        RegKey next = 0;
        if (registry.CreateKey(current.Get(), name, &next) != kSuccess) return false;
        current.Replace(next);
    }
    const CString strData(data);
    const auto size = static_cast<std::uint32_t>(strData.GetLength() + 1);
    return registry.SetStringValue(current.Get(), valueName != nullptr ? valueName : "", strData, size) ==
           kSuccess;
}

CString RegReadString(IRegistry& registry, RegKey root, const char* keyPath, const char* valueName) {
    CString strResult;
    RegKey opened = 0;
    if (registry.OpenKeyForRead(root, keyPath != nullptr ? keyPath : "", &opened) != kSuccess)
        return strResult;
    WalkKey key(registry, root);
    key.Replace(opened);

    const char* name = valueName != nullptr ? valueName : "";
    std::uint32_t size = 0;
    if (registry.QueryValueSize(key.Get(), name, &size) != kSuccess) return strResult;
    if (size == 0 || size > kMaxRegistryValueBytes) return strResult;

    // The buffer has room for one byte more than the value: the text ends
    // there even when the stored data carries no terminating zero.
    char* buffer = strResult.GetBuffer(static_cast<int>(size));
    std::uint32_t read = size;
    if (registry.QueryValue(key.Get(), name, buffer, &read) != kSuccess || read > size) {
        strResult.ReleaseBuffer(0);
        return strResult;
    }
    buffer[read] = '\0';
    strResult.ReleaseBuffer(-1);
    return strResult;
}
