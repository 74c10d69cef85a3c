// RegistryChangeWatch: the system's ListingChangeWatch. Both App Paths keys
// (the machine's and the current user's) are watched with their whole
// trees, for names and values, through RegNotifyChangeKeyValue: a change
// made by any program, this one included, sets the key's event.
#pragma once

#include <memory>

#include "app/runcmd/ListingChangeWatch.h"
#include "base/win32_handles.h"

class RegistryChangeWatch final : public ListingChangeWatch {
public:
    explicit RegistryChangeWatch(const RunCommandPlace& place);

    void Rearm() override;
    bool MayHaveChanged() override;

    // The maker AppServices carries.
    static std::unique_ptr<ListingChangeWatch> Make(const RunCommandPlace& place);

private:
    struct Watched {
        velmora::OwnedRegKey key;
        velmora::OwnedKernelHandle changed;  // manual reset: set by the system
        bool armed = false;
    };
    Watched m_watched[2];
};
