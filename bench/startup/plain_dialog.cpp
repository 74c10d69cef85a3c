// The smallest dialog program: a plain system dialog from a template, as large
// as Velmora's window (355 x 250), shown modally, and nothing else. The
// start-up benchmark measures Velmora.exe against it; Escape or a close
// request ends it.
#include <windows.h>

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

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    ::DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_PLAIN_DIALOG), nullptr, PlainDialogProc, 0);
    return 0;
}
