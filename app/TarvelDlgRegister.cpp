// The main dialog's two registration buttons.
#include "app/CommandText.h"
#include "app/Elevation.h"
#include "app/IconMessageBox.h"
#include "app/Registry.h"
#include "app/ReplaceCheck.h"
#include "app/TarvelDlg.h"
#include "app/YesNoQuestion.h"
#include "res/resource.h"
#include "wnd/WinApp.h"

namespace {

// The shortest path a drop can have stored ("C:\a.exe" is 8 bytes): anything
// shorter means no executable has been accepted.
constexpr int kShortestExePath = 8;

}  // namespace

bool CTarvelDlg::MayReplace(const CString& strName, const CString& strNewPath) {
    const bool forUser = RegistrationScope() == RunScope::kCurrentUser;
    // The keys as writing the name makes them, whatever blanks and doubled
    // backslashes were typed.
    const CString strKeyPath = NormalizeKeyPath(BuildCommandKeyPath(strName));
    const CString strUser = forUser ? RegReadString(HKEY_CURRENT_USER, strKeyPath, "") : CString();
    const CString strMachine = RegReadString(HKEY_LOCAL_MACHINE, strKeyPath, "");
    const CString strExisting = ExistingTargetForWrite(forUser, strUser, strMachine);
    if (!NeedsReplaceQuestion(strExisting, strNewPath)) return true;
    return AskYesNo(m_hWnd, kReplaceQuestionCaption, ReplaceQuestionText(strName, strExisting, strNewPath));
}

void CTarvelDlg::OnAddCommand() {
    const CString strName = TrimCommandName(m_editCommandName.GetWindowText());
    if (strName.IsEmpty() || m_strExePath.GetLength() < kShortestExePath) return;
    if (!MayReplace(strName, m_strExePath)) return;

    const CString strKeyPath = BuildCommandKeyPath(strName);
    if (RegWriteString(RootKeyOf(RegistrationScope()), strKeyPath, "", m_strExePath)) {
        ShowIconMessageBox(GetResourceInstance(), m_hWnd, IDI_MESSAGE_BOX, "温馨提示", "运行命令添加成功！");
    }
}

void CTarvelDlg::OnAddSelf() {
    // Declined, nothing changes and the link stays on offer.
    if (!MayReplace("run", m_strSelfPath)) return;
    // A hidden window keeps the keyboard focus, and then Enter and Escape
    // reach nothing: hand it to the command-name field first.
    if (::GetFocus() == m_btnAddSelf.m_hWnd) m_editCommandName.SetFocus();
    m_btnAddSelf.ShowWindow(SW_HIDE);
    RegWriteString(RootKeyOf(RegistrationScope()), kAppPathsRunKey, "", m_strSelfPath);
}
