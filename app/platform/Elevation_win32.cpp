#include "app/platform/Elevation_win32.h"

#include "app/runcmd/CommandText.h"
#include "base/win32_handles.h"

namespace {

bool CanWriteMachineAppPaths() {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, velmora::WinText(kAppPathsKey), 0,
                        KEY_CREATE_SUB_KEY | KEY_SET_VALUE, &hKey) != ERROR_SUCCESS) {
        return false;
    }
    const velmora::OwnedRegKey key(hKey);
    return true;
}

}  // namespace

bool DetectElevation() {
    HANDLE hToken = nullptr;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &hToken)) {
        const velmora::OwnedKernelHandle token(hToken);
        TOKEN_ELEVATION elevation{};
        DWORD size = 0;
        if (::GetTokenInformation(hToken, TokenElevation, &elevation, sizeof(elevation), &size)) {
            return elevation.TokenIsElevated != 0;
        }
    }
    return CanWriteMachineAppPaths();
}

RunCommandRights RightsFor(bool elevated) {
    return {elevated ? RunScope::kLocalMachine : RunScope::kCurrentUser, elevated};
}
