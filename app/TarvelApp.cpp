#include "app/TarvelApp.h"

#include <commctrl.h>

#include "app/DialogServices.h"
#include "app/Elevation.h"
#include "app/Registry.h"
#include "app/TarvelDlg.h"

CTarvelApp theApp;

BOOL CTarvelApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&controls);
    InitOle();
    CWinApp::InitInstance();
    {
        CWin32Registry registry;
        // Where run commands go is settled here, once.
        const DialogServices services{&registry, &::ShellExecuteExW, RegistrationScopeFor(DetectElevation())};
        CTarvelDlg dlg(services);
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    // The dialog was the whole program: no message loop follows.
    return FALSE;
}
