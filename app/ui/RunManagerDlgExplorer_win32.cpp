// The manager's switch of the Explorer entries, the same as the main
// window's menu item; what came of it goes to the status line.
#include "app/platform/ExplorerEntries.h"
#include "app/ui/RunManagerDlg_win32.h"

void CRunManagerDlg::OnSwitchExplorerEntries() {
    if (m_services.explorer == nullptr) return;
    SetStatus(
        SwitchExplorerEntries(*m_services.explorer, m_services.explorerProgram, m_services.runsAsShellUser));
}

bool CRunManagerDlg::ExplorerEntriesOn() const {
    return m_services.explorer != nullptr && m_services.explorer->IsOn(m_services.explorerProgram);
}
