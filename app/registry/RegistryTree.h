// Walking and deleting key trees through the registry interface of
// RegistryAccess.h. Every key opened here is closed again on every path, and
// a root handed in is never closed.
#pragma once

#include <vector>

#include "app/registry/RegistryAccess.h"
#include "base/wide_text.h"

// The deepest nesting of keys that the walks follow below their start.
// Deeper trees (only registry links can make them endless) are not walked:
// DeleteKeyTree refuses them with kRegistryBadKey.
constexpr int kMaxKeyTreeDepth = 16;

// Appends the name of every subkey of `key` (open for reading) to `names`,
// in the registry's order. kRegistrySuccess, or the first failure; the names
// read before it stay appended.
long ListSubKeys(IRegistry& registry, RegKey key, std::vector<CStringW>& names);

// Deletes key `keyPath` below `parent` with all its values and all its
// subkeys, the deepest first. A key that does not exist counts as deleted.
// Returns kRegistrySuccess or the first failure; what was deleted before the
// failure stays deleted, and nothing outside the tree is touched.
long DeleteKeyTree(IRegistry& registry, RegKey parent, const CStringW& keyPath);

// After the key `basePath\relativePath` below `root` was deleted (the
// relative path being key names joined by backslashes, as in
// RunEntry::keyPath, taken as they are): deletes the
// keys between it and `basePath` (exclusive) that are left with no subkey
// and no value, innermost first, and stops at the first one that still holds
// something or cannot be read or deleted. `basePath` itself is never
// touched. Returns how many keys it deleted.
int RemoveEmptyParentKeys(IRegistry& registry, RegKey root, const CStringW& basePath,
                          const CStringW& relativePath);
