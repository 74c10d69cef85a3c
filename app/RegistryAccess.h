// The registry helpers of run-command registration, written against a small
// registry interface so that the key walk can be checked anywhere with a fake
// registry (failures injected at any step, opens and closes counted). The
// Win32 registry behind the interface is in Registry.h.
#pragma once

#include <cstdint>

#include "velmora/CString.h"

// A key handle as the interface sees it; the root keys are predefined handles
// that are never closed.
using RegKey = std::uintptr_t;

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // Opens or creates `name` below `parent`: non-volatile, no class, default
    // security, read and write access (0x2001F), no registry-view flag.
    virtual long CreateKey(RegKey parent, const char* name, RegKey* pCreated) = 0;
    // Opens the key path below `parent` for reading (0x20019).
    virtual long OpenKeyForRead(RegKey parent, const char* keyPath, RegKey* pOpened) = 0;
    // Stores `size` bytes of `data` as a REG_SZ value.
    virtual long SetStringValue(RegKey key, const char* valueName, const char* data, std::uint32_t size) = 0;
    // Size in bytes of a value's data.
    virtual long QueryValueSize(RegKey key, const char* valueName, std::uint32_t* pSize) = 0;
    // Reads at most *pSize bytes of a value's data; *pSize becomes the count read.
    virtual long QueryValue(RegKey key, const char* valueName, char* buffer, std::uint32_t* pSize) = 0;
    virtual long CloseKey(RegKey key) = 0;
};

// Values read by RegReadString larger than this are treated as unreadable.
constexpr std::uint32_t kMaxRegistryValueBytes = 1u << 20;

// Creates or opens every key along `keyPath` below `root` (the path loses
// spaces and backslashes at its ends; empty names between backslashes are
// skipped) and stores `data` with its terminating zero as the REG_SZ value
// `valueName` of the last key. True when the value was stored. Every key
// opened here is closed before it returns, on every path; keys created before
// a failing step stay in the registry. The root is never closed.
bool RegWriteString(IRegistry& registry, RegKey root, const char* keyPath, const char* valueName,
                    const char* data);

// The text of value `valueName` of `keyPath` below `root`: its bytes up to the
// first zero byte, whatever the value's type. Any failure (missing key or
// value, a value that changed size while being read, one larger than
// kMaxRegistryValueBytes) gives the empty string. The key is always closed.
CString RegReadString(IRegistry& registry, RegKey root, const char* keyPath, const char* valueName);
