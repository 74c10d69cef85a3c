// The main dialog's two registration buttons.
#include "app/platform/IconMessageBox_win32.h"
#include "app/runcmd/CommandText.h"
#include "app/ui/TarvelDlg_win32.h"
#include "res/resource.h"
#include "wnd/WinApp.h"

namespace {

// The shortest path a drop can have stored ("C:\a.exe" is 8 characters):
// anything shorter means no executable has been accepted.
constexpr int kShortestExePath = 8;

constexpr velmora::Text kAddedText{"运行命令添加成功！", "The run command was added."};

}  // namespace

ChangeResult CTarvelDlg::Register(const CStringW& strName, const CStringW& strTarget) {
    return m_services.Store(m_prompts).Register(strName, strTarget);
}

void CTarvelDlg::OnAddCommand() {
    const CStringW strName = TrimCommandName(m_editCommandName.GetWindowText());
    if (strName.IsEmpty() || m_strExePath.GetLength() < kShortestExePath) return;
    if (Register(strName, m_strExePath) == ChangeResult::kDone) {
        ShowIconMessageBox(GetResourceInstance(), m_hWnd, IDI_MESSAGE_BOX,
                           velmora::WideFrom936(kMainNoticeCaption), velmora::WideFrom936(kAddedText));
    }
}

void CTarvelDlg::OnAddSelf() {
    // Declined, nothing changes and the link stays on offer. Once the user
    // has gone ahead it is gone, whether or not the registry took the entry.
    if (Register(u"run", m_strSelfPath) == ChangeResult::kDeclined) return;
    // A hidden window keeps the keyboard focus, and then Enter and Escape
    // reach nothing: hand it to the command-name field first.
    if (::GetFocus() == m_btnAddSelf.m_hWnd) m_editCommandName.SetFocus();
    m_btnAddSelf.ShowWindow(SW_HIDE);
}
