// The smallest dialog program: a plain system dialog from a template, as large
// as Velmora's window (355 x 250), shown modally, and nothing else. The
// start-up benchmark measures Velmora.exe against it; Escape or a close
// request ends it.
//
// With --common-controls-and-ole it first does what the tool must do before
// its dialog (initialise the common controls and OLE), so that the bench
// can tell that fixed cost from the tool's own.
#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>

#include <cstring>

#include "bench/startup/plain_dialog_resource.h"

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            ::SetWindowPos(hDlg, nullptr, 0, 0, 355, 250, SWP_NOMOVE | SWP_NOZORDER);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(hDlg, 0);
                return TRUE;
            }
            break;
        default:
            break;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int) {
    // Bound at run time, so that the plain program itself imports neither.
    if (lpCmdLine != nullptr && std::strstr(lpCmdLine, "--common-controls-and-ole") != nullptr) {
        using InitControls = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        using InitOle = HRESULT(WINAPI*)(void*);
        const auto initControls = reinterpret_cast<InitControls>(
            reinterpret_cast<void*>(::GetProcAddress(::LoadLibraryA("comctl32.dll"), "InitCommonControlsEx")));
        const auto initOle = reinterpret_cast<InitOle>(
            reinterpret_cast<void*>(::GetProcAddress(::LoadLibraryA("ole32.dll"), "OleInitialize")));
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof(controls);
        controls.dwICC = ICC_WIN95_CLASSES;
        if (initControls != nullptr) initControls(&controls);
        if (initOle != nullptr) initOle(nullptr);
    }
    ::DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_PLAIN_DIALOG), nullptr, PlainDialogProc, 0);
    return 0;
}
