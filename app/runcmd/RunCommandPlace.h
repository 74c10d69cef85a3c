// Where run commands live: the two roots that hold an App Paths key (the
// machine's and the current user's) and that key's path below both. The one
// place that maps a scope to its root.
#pragma once

#include "app/registry/RegistryAccess.h"
#include "app/runcmd/RunEntries.h"
#include "base/wide_text.h"

// The two roots as the registry interface names them.
struct RunCommandRoots {
    RegKey machine;
    RegKey user;

    RegKey Of(RunScope scope) const noexcept { return scope == RunScope::kCurrentUser ? user : machine; }
};

// The roots and the App Paths key below both (RunEntry::keyPath is relative
// to it).
struct RunCommandPlace {
    RunCommandRoots roots;
    CStringW appPathsKey;

    RegKey RootOf(RunScope scope) const noexcept { return roots.Of(scope); }
    // The full key path below the root of an entry's key path.
    CStringW KeyPathOf(const CStringW& entryKeyPath) const { return appPathsKey + u"\\" + entryKeyPath; }
};
