// Whether the keys the manager lists may have changed since it last listed
// them: a refresh with nothing changed keeps the rows, their marks and their
// icons and reads nothing again. The system's watch is RegistryChangeWatch
// (app/platform/RegistryChangeWatch_win32.h); tests give one of their own.
#pragma once

#include <functional>
#include <memory>

#include "app/runcmd/RunCommandPlace.h"

class ListingChangeWatch {
public:
    virtual ~ListingChangeWatch() = default;
    // Called right before a listing: changes from now on count.
    virtual void Rearm() = 0;
    // True when something below the watched keys may have changed since the
    // last Rearm, and whenever the watch cannot tell (a key that is missing
    // or cannot be watched): the caller then lists again.
    virtual bool MayHaveChanged() = 0;
};

// Makes a watch over both scopes' App Paths keys of `place`.
using ListingWatchMaker = std::function<std::unique_ptr<ListingChangeWatch>(const RunCommandPlace& place)>;
