// The registry helpers of run-command registration, written against a small
// registry interface so that the key walk can be checked anywhere with a
// registry in memory (failures injected at any step, opens and closes
// counted). The Win32 registry behind the interface is in Registry_win32.h.
#pragma once

#include <cstdint>
#include <vector>

#include "base/wide_text.h"

// A key handle as the interface sees it; the root keys are predefined handles
// that are never closed.
using RegKey = std::uintptr_t;

// Status codes of the interface: the Win32 error codes they stand for.
constexpr long kRegistrySuccess = 0;
constexpr long kRegistryFileNotFound = 2;
constexpr long kRegistryAccessDenied = 5;
constexpr long kRegistryMoreData = 234;
constexpr long kRegistryNoMoreItems = 259;
constexpr long kRegistryBadKey = 1010;

// Value types, as the platform numbers them.
constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;
constexpr std::uint32_t kRegQword = 11;

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // Opens or creates `name` below `parent`: non-volatile, no class, default
    // security, read and write access (0x2001F), no registry-view flag.
    virtual long CreateKey(RegKey parent, const char16_t* name, RegKey* pCreated) = 0;
    // Opens the key path below `parent` for reading (0x20019).
    virtual long OpenKeyForRead(RegKey parent, const char16_t* keyPath, RegKey* pOpened) = 0;
    virtual long CloseKey(RegKey key) = 0;
    // The name of subkey number `index` (0, 1, ...) of `key`, which was
    // opened for reading; kRegistryNoMoreItems past the last one. Names are
    // read whole, whatever their length (up to the registry's 255
    // characters). *pName is untouched on failure.
    virtual long EnumSubKey(RegKey key, std::uint32_t index, CStringW* pName) = 0;
    // The name of `key` itself (the last name of its path, never a root) as
    // the registry spells it, whatever letter case opened it. *pName is
    // untouched on failure.
    virtual long KeyName(RegKey key, CStringW* pName) = 0;
    // How many subkeys and values `key` has.
    virtual long QueryKeyCounts(RegKey key, std::uint32_t* pSubKeys, std::uint32_t* pValues) = 0;
    // Deletes subkey `name` of `parent` with all its values; it must have no
    // subkeys of its own (RegDeleteKey).
    virtual long DeleteSubKey(RegKey parent, const char16_t* name) = 0;
    // Opens the existing key path below `parent` for reading and writing
    // (0x2001F); a missing key is kRegistryFileNotFound, never created.
    virtual long OpenKeyForWrite(RegKey parent, const char16_t* keyPath, RegKey* pOpened) = 0;
    // Value number `index` (0, 1, ...) of `key`: its name (empty for the
    // default value), its type and all its bytes, read whole whatever their
    // size; kRegistryNoMoreItems past the last one. The outputs are untouched
    // on failure.
    virtual long EnumValue(RegKey key, std::uint32_t index, CStringW* pName, std::uint32_t* pType,
                           std::vector<unsigned char>* pData) = 0;
    // The type and all the bytes of value `valueName` of `key` (empty name:
    // the default value); kRegistryFileNotFound when there is none. The
    // outputs are untouched on failure.
    virtual long ReadValue(RegKey key, const char16_t* valueName, std::uint32_t* pType,
                           std::vector<unsigned char>* pData) = 0;
    // Stores `size` bytes of `data` as value `valueName` of type `type`,
    // replacing any value of that name whatever its type.
    virtual long SetValue(RegKey key, const char16_t* valueName, std::uint32_t type,
                          const unsigned char* data, std::uint32_t size) = 0;
    // Deletes value `valueName` of `key`; kRegistryFileNotFound when there is
    // none.
    virtual long DeleteValue(RegKey key, const char16_t* valueName) = 0;
};

// A key of the interface, closed when the holder moves past it or goes,
// unless it is the root (or other key) the holder was started with.
class ScopedRegKey {
public:
    ScopedRegKey(IRegistry& registry, RegKey unowned) noexcept
        : m_registry(registry), m_key(unowned), m_owned(false) {}
    ~ScopedRegKey() { Close(); }
    ScopedRegKey(const ScopedRegKey&) = delete;
    ScopedRegKey& operator=(const ScopedRegKey&) = delete;

    RegKey Get() const noexcept { return m_key; }
    // Closes the key held so far (if owned) and holds `key`, owned.
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

// Values read by RegReadString larger than this are treated as unreadable,
// and texts longer than this are refused by RegWriteString.
constexpr std::uint32_t kMaxRegistryValueBytes = 1u << 20;

// Creates or opens every key along `keyPath` below `root` (the path loses
// spaces and backslashes at its ends; empty names between backslashes are
// skipped) and stores `data` with its terminating zero as the REG_SZ value
// `valueName` of the last key. True when the value was stored. Every key
// opened here is closed before it returns, on every path; keys created before
// a failing step stay in the registry. The root is never closed. Names and
// data go to the registry as they are, every UTF-16 code unit kept.
bool RegWriteString(IRegistry& registry, RegKey root, const CStringW& keyPath, const CStringW& valueName,
                    const CStringW& data);

// The text of value `valueName` of `keyPath` below `root`: its UTF-16 code
// units up to the first zero unit, whatever the value's type (so
// REG_EXPAND_SZ comes unexpanded). Any failure (missing key or value, a
// value the registry could not read whole, one larger than
// kMaxRegistryValueBytes) gives the empty string. The key is always closed.
CStringW RegReadString(IRegistry& registry, RegKey root, const CStringW& keyPath, const CStringW& valueName);

// The same for a key that is open already (it stays open).
CStringW ReadStringValue(IRegistry& registry, RegKey key, const CStringW& valueName);

// The name of key `keyPath` below `root` as the registry spells it (the last
// name of the path, in the letter case the key was made with); empty when
// the key cannot be opened or asked its name. The key is always closed.
CStringW SpelledKeyName(IRegistry& registry, RegKey root, const CStringW& keyPath);
