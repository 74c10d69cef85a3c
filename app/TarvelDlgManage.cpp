// The main dialog's way to the run-command manager: one item of its window
// menu, which the caption icon, Alt+Space and the taskbar open.
#include "app/RunManagerDlg.h"
#include "app/TarvelDlg.h"
#include "res/resource.h"

void CTarvelDlg::AddManagerMenuItem() {
    GetSystemMenu(FALSE).AppendMenu(MF_STRING, IDM_MANAGE_RUN_COMMANDS,
                                    velmora::WideFrom936("管理运行命令…"));
}

void CTarvelDlg::OnManageRunCommands() {
    CRunManagerDlg manager(m_services, this);
    manager.DoModal();
}
