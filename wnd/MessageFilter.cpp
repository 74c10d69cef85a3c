#include "wnd/MessageFilter.h"

#include <initializer_list>

namespace {

// MSGFLT_ALLOW (per window, Windows 7) and MSGFLT_ADD (per process, Vista).
constexpr DWORD kFilterAllow = 1;
constexpr DWORD kFilterAdd = 1;

FARPROC LookUpUser32(const char* name) {
    HMODULE hUser = ::GetModuleHandleW(L"user32.dll");
    return hUser != nullptr ? ::GetProcAddress(hUser, name) : nullptr;
}

template <typename Function>
Function LookUp(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(LookUpUser32(name)));
}

}  // namespace

MessageFilter SystemMessageFilter() {
    return {LookUp<ChangeWindowMessageFilterExFn>("ChangeWindowMessageFilterEx"),
            LookUp<ChangeWindowMessageFilterFn>("ChangeWindowMessageFilter")};
}

int AllowDroppedFiles(HWND hWnd, const MessageFilter& filter) {
    if (hWnd == nullptr) return 0;
    const ChangeWindowMessageFilterExFn changeForWindow = filter.forWindow;
    const ChangeWindowMessageFilterFn changeForProcess = filter.forProcess;
    if (changeForWindow == nullptr && changeForProcess == nullptr) return 0;
    int allowed = 0;
    for (UINT message :
         {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kWmCopyGlobalData}) {
        const BOOL done = changeForWindow != nullptr ? changeForWindow(hWnd, message, kFilterAllow, nullptr)
                                                     : changeForProcess(message, kFilterAdd);
        if (done) ++allowed;
    }
    return allowed;
}
