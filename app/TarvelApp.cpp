#include "app/TarvelApp.h"

#include <commctrl.h>

#include "app/launcher/Launchers.h"
#include "app/platform/Elevation_win32.h"
#include "app/platform/LauncherFiles_win32.h"
#include "app/platform/RegistryChangeWatch_win32.h"
#include "app/platform/ShellUser_win32.h"
#include "app/platform/Shortcuts_win32.h"
#include "app/platform/StartArguments.h"
#include "app/platform/SystemPlace_win32.h"
#include "app/platform/TargetFile_win32.h"
#include "app/registry/Registry_win32.h"
#include "app/text/LanguageChoice.h"
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
        // The windows speak the user's remembered language, Chinese when
        // none is remembered.
        const std::optional<std::string> remembered = RememberedLanguageName(registry, place.roots.user);
        velmora::UseLanguage(velmora::ChooseLanguage(std::nullopt, std::nullopt, remembered));
        Win32LauncherFiles launcherFiles;
        Launchers launchers(registry, place, launcherFiles);
        Win32ShortcutFiles shortcutFiles;
        ExplorerIntegration explorer(registry, ToRegKey(HKEY_CURRENT_USER), shortcutFiles);
        AppServices services{&registry,
                             place,
                             RightsFor(DetectElevation()),
                             &velmora::shell::ShellExecuteExW,
                             &TargetFileExists,
                             &choices,
                             SystemMessageFilter(),
                             u"Software\\Velmora",
                             &launchers,
                             &RegistryChangeWatch::Make};
        services.explorer = &explorer;
        services.explorerProgram = RunningProgramPath();
        services.runsAsShellUser = RunsAsShellUser();
        CTarvelDlg dlg(services);
        // Velmora.exe PROGRAM (Explorer's verb, SendTo): the window opens with it.
        StartFile start = StartFileOf(velmora::FromWin(::GetCommandLineW()), [](const CStringW& path) {
            return IsExistingFile(path) || IsExistingFolder(path);
        });
        if (!start.path.IsEmpty()) start.path = FullPathOf(start.path);
        dlg.OpenWith(start);
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    // The dialog was the whole program: no message loop follows.
    return FALSE;
}
