#include "app/platform/RegistryChangeWatch_win32.h"

#include <windows.h>

#include "app/registry/Registry_win32.h"

namespace {

// What is watched: keys added, removed or renamed and values set or removed,
// anywhere below the key.
constexpr DWORD kWatchedChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;

}  // namespace

RegistryChangeWatch::RegistryChangeWatch(const RunCommandPlace& place) {
    const RegKey roots[2] = {place.roots.machine, place.roots.user};
    for (int i = 0; i < 2; ++i) {
        HKEY hKey = nullptr;
        if (::RegOpenKeyExW(ToHkey(roots[i]), velmora::WinText(place.appPathsKey), 0, KEY_NOTIFY, &hKey) ==
            ERROR_SUCCESS) {
            m_watched[i].key.Attach(hKey);
        }
        m_watched[i].changed.Attach(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    }
    Rearm();
}

void RegistryChangeWatch::Rearm() {
    for (Watched& watched : m_watched) {
        // A notice still pending holds: nothing changed since it was asked.
        if (watched.armed && ::WaitForSingleObject(watched.changed.Get(), 0) == WAIT_TIMEOUT) continue;
        watched.armed = false;
        if (!watched.key || !watched.changed) continue;
        // A notice is given once: asked again after each.
        ::ResetEvent(watched.changed.Get());
        watched.armed = ::RegNotifyChangeKeyValue(watched.key.Get(), TRUE, kWatchedChanges,
                                                  watched.changed.Get(), TRUE) == ERROR_SUCCESS;
    }
}

bool RegistryChangeWatch::MayHaveChanged() {
    for (const Watched& watched : m_watched) {
        // A key that was missing when the watch began may have been made
        // since: only a listing can tell.
        if (!watched.armed) return true;
        if (::WaitForSingleObject(watched.changed.Get(), 0) != WAIT_TIMEOUT) return true;
    }
    return false;
}

std::unique_ptr<ListingChangeWatch> RegistryChangeWatch::Make(const RunCommandPlace& place) {
    return std::make_unique<RegistryChangeWatch>(place);
}
