#include "wnd/WindowDpi.h"

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

GetDpiForWindowFn LookUpGetDpiForWindow() {
    HMODULE hUser = ::GetModuleHandleW(L"user32.dll");
    if (hUser == nullptr) return nullptr;
    return reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(::GetProcAddress(hUser, "GetDpiForWindow")));
}

}  // namespace

int ScreenDpi() noexcept {
    const HDC hScreen = ::GetDC(nullptr);
    if (hScreen == nullptr) return USER_DEFAULT_SCREEN_DPI;
    const int dpi = ::GetDeviceCaps(hScreen, LOGPIXELSY);
    ::ReleaseDC(nullptr, hScreen);
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int WindowDpi(HWND hWnd) noexcept {
    static const GetDpiForWindowFn getDpiForWindow = LookUpGetDpiForWindow();
    if (hWnd != nullptr && getDpiForWindow != nullptr) {
        const UINT dpi = getDpiForWindow(hWnd);
        if (dpi > 0) return static_cast<int>(dpi);
    }
    return ScreenDpi();
}

bool KeepDialogLayoutOnDpiChange(HWND hDialog) noexcept {
    // SetDialogDpiChangeBehavior(hDlg, mask, values) with DDC_DISABLE_ALL (1)
    // in both.
    using SetDialogDpiChangeBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
    constexpr int kDisableAll = 1;
    HMODULE hUser = ::GetModuleHandleW(L"user32.dll");
    if (hDialog == nullptr || hUser == nullptr) return false;
    const auto setBehavior = reinterpret_cast<SetDialogDpiChangeBehaviorFn>(
        reinterpret_cast<void*>(::GetProcAddress(hUser, "SetDialogDpiChangeBehavior")));
    return setBehavior != nullptr && setBehavior(hDialog, kDisableAll, kDisableAll) != FALSE;
}
