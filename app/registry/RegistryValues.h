// A registry key read whole (every value with its type and bytes, every
// subkey with its own) and written whole, so that moving or copying a run
// command keeps everything it holds, whatever the tool understands of it.
#pragma once

#include <cstdint>
#include <vector>

#include "app/registry/RegistryAccess.h"
#include "base/wide_text.h"

// One value as stored: the empty name is the key's default value.
struct RegValue {
    CStringW name;
    std::uint32_t type = kRegNone;
    std::vector<unsigned char> data;
    friend bool operator==(const RegValue&, const RegValue&) = default;
};

// A key's values and subkeys, in the registry's order.
struct RegKeyContents {
    std::vector<RegValue> values;
    struct SubKey;
    std::vector<SubKey> subKeys;
    friend bool operator==(const RegKeyContents&, const RegKeyContents&);
};
struct RegKeyContents::SubKey {
    CStringW name;
    RegKeyContents contents;
    friend bool operator==(const SubKey&, const SubKey&) = default;
};

// The value of that name (ASCII letter case ignored, as the registry
// compares names), or null.
const RegValue* FindValue(const RegKeyContents& contents, const CStringW& name);

// The text of a REG_SZ or REG_EXPAND_SZ value's bytes up to the first zero
// unit; empty for other types.
CStringW TextOfValue(const RegValue& value);

// The bytes of `text` as the platform stores REG_SZ: UTF-16LE with one
// terminating zero unit.
std::vector<unsigned char> StringValueBytes(const CStringW& text);

// Reads key `keyPath` below `parent` whole into *pContents: all values, all
// subkeys down to kMaxKeyTreeDepth (deeper ones: kRegistryBadKey). Returns
// kRegistrySuccess or the first failure (kRegistryFileNotFound for a missing
// key); *pContents is set only on success. Every key opened is closed.
long ReadKeyContents(IRegistry& registry, RegKey parent, const CStringW& keyPath, RegKeyContents* pContents);

// Creates key `keyPath` below `parent` (and every key along the path, the
// names between backslashes taken as they are, empty ones skipped) and
// stores every value and subkey of `contents` in it with its type and bytes.
// Values and subkeys the key already holds and `contents` does not name are
// left as they are. Returns kRegistrySuccess or the first failure; what was
// written before it stays.
long WriteKeyContents(IRegistry& registry, RegKey parent, const CStringW& keyPath,
                      const RegKeyContents& contents);

// Makes key `keyPath` below `parent` hold exactly `contents`: the key's
// tree is deleted (a missing key counts as deleted) and `contents` written.
// Returns kRegistrySuccess or the first failure; the key may then be half
// deleted or half written: a caller that must not leave it so reads it
// whole first, to put it back.
long ReplaceKeyContents(IRegistry& registry, RegKey parent, const CStringW& keyPath,
                        const RegKeyContents& contents);
