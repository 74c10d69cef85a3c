// The main dialog's two registration buttons.
#include "app/CommandText.h"
#include "app/IconMessageBox.h"
#include "app/Registry.h"
#include "app/TarvelDlg.h"
#include "res/resource.h"
#include "wnd/WinApp.h"

namespace {

// The shortest path a drop can have stored ("C:\a.exe" is 8 bytes): anything
// shorter means no executable has been accepted.
constexpr int kShortestExePath = 8;

}  // namespace

void CTarvelDlg::OnAddCommand() {
    const CString strName = TrimCommandName(m_editCommandName.GetWindowText());
    if (strName.IsEmpty() || m_strExePath.GetLength() < kShortestExePath) return;

    const CString strKeyPath = BuildCommandKeyPath(strName);
    if (RegWriteString(HKEY_LOCAL_MACHINE, strKeyPath, "", m_strExePath)) {
        ShowIconMessageBox(GetResourceInstance(), m_hWnd, IDI_MESSAGE_BOX, "温馨提示", "运行命令添加成功！");
    }
}

void CTarvelDlg::OnAddSelf() {
    // A hidden window keeps the keyboard focus, and then Enter and Escape
    // reach nothing: hand it to the command-name field first.
    if (::GetFocus() == m_btnAddSelf.m_hWnd) m_editCommandName.SetFocus();
    m_btnAddSelf.ShowWindow(SW_HIDE);
    RegWriteString(HKEY_LOCAL_MACHINE, kAppPathsRunKey, "", m_strSelfPath);
}
