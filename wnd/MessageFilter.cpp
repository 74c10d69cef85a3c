#include "wnd/MessageFilter.h"

#include <initializer_list>

namespace {

// MSGFLT_ALLOW, from the Windows 7 headers.
constexpr DWORD kFilterAllow = 1;

ChangeWindowMessageFilterExFn LookUpFilterFunction() {
    HMODULE hUser = ::GetModuleHandleA("user32.dll");
    if (hUser == nullptr) return nullptr;
    return reinterpret_cast<ChangeWindowMessageFilterExFn>(
        reinterpret_cast<void*>(::GetProcAddress(hUser, "ChangeWindowMessageFilterEx")));
}

}  // namespace

ChangeWindowMessageFilterExFn& MessageFilterFunction() {
    static ChangeWindowMessageFilterExFn function = LookUpFilterFunction();
    return function;
}

int AllowDroppedFiles(HWND hWnd) {
    ChangeWindowMessageFilterExFn change = MessageFilterFunction();
    if (change == nullptr || hWnd == nullptr) return 0;
    int allowed = 0;
    for (UINT message :
         {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kWmCopyGlobalData}) {
        if (change(hWnd, message, kFilterAllow, nullptr)) ++allowed;
    }
    return allowed;
}
