#include "app/TarvelApp.h"

#include <commctrl.h>

#include "app/launcher/Launchers.h"
#include "app/platform/Elevation_win32.h"
#include "app/platform/LauncherFiles_win32.h"
#include "app/platform/RegistryChangeWatch_win32.h"
#include "app/platform/SystemPlace_win32.h"
#include "app/platform/TargetFile_win32.h"
#include "app/registry/Registry_win32.h"
#include "app/ui/AppServices_win32.h"
#include "app/ui/RunManagerChoices_win32.h"
#include "app/ui/TarvelDlg_win32.h"
#include "base/shell_on_demand_win32.h"

CTarvelApp theApp;

BOOL CTarvelApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES;
    velmora::shell::InitCommonControlsEx(&controls);
    InitOle();
    CWinApp::InitInstance();
    {
        CWin32Registry registry;
        SystemRunManagerChoices choices;
        // Where run commands go is settled here, once.
        const RunCommandPlace place = SystemRunCommandPlace();
        Win32LauncherFiles launcherFiles;
        Launchers launchers(registry, place, launcherFiles);
        const AppServices services{&registry,
                                   place,
                                   RightsFor(DetectElevation()),
                                   &velmora::shell::ShellExecuteExW,
                                   &TargetFileExists,
                                   &choices,
                                   SystemMessageFilter(),
                                   u"Software\\Velmora",
                                   &launchers,
                                   &RegistryChangeWatch::Make};
        CTarvelDlg dlg(services);
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    // The dialog was the whole program: no message loop follows.
    return FALSE;
}
