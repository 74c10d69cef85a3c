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

// The shortest path a drop can have stored ("C:\a.exe" is 8 characters):
// anything shorter means no executable has been accepted.
constexpr int kShortestExePath = 8;

}  // namespace

bool CTarvelDlg::MayReplace(const CStringW& strName, const CStringW& strNewPath) {
    const bool forUser = RegistrationScope() == RunScope::kCurrentUser;
    // The keys as writing the name makes them, whatever blanks and doubled
    // backslashes were typed.
    const CStringW strKeyPath = NormalizeKeyPath(BuildCommandKeyPath(strName));
    const CStringW strUser = forUser ? RegReadString(HKEY_CURRENT_USER, strKeyPath, CStringW()) : CStringW();
    const CStringW strMachine = RegReadString(HKEY_LOCAL_MACHINE, strKeyPath, CStringW());
    const CStringW strExisting = ExistingTargetForWrite(forUser, strUser, strMachine);
    if (!NeedsReplaceQuestion(strExisting, strNewPath)) return true;
    return AskYesNo(m_hWnd, velmora::WideFrom936(kReplaceQuestionCaption),
                    ReplaceQuestionText(strName, strExisting, strNewPath));
}

void CTarvelDlg::OnAddCommand() {
    const CStringW strName = TrimCommandName(m_editCommandName.GetWindowText());
    if (strName.IsEmpty() || m_strExePath.GetLength() < kShortestExePath) return;
    if (!MayReplace(strName, m_strExePath)) return;

    const CStringW strKeyPath = BuildCommandKeyPath(strName);
    if (RegWriteString(RootKeyOf(RegistrationScope()), strKeyPath, CStringW(), m_strExePath)) {
        ShowIconMessageBox(GetResourceInstance(), m_hWnd, IDI_MESSAGE_BOX, velmora::WideFrom936("温馨提示"),
                           velmora::WideFrom936("运行命令添加成功！"));
    }
}

void CTarvelDlg::OnAddSelf() {
    // Declined, nothing changes and the link stays on offer.
    if (!MayReplace(u"run", m_strSelfPath)) return;
    // A hidden window keeps the keyboard focus, and then Enter and Escape
    // reach nothing: hand it to the command-name field first.
    if (::GetFocus() == m_btnAddSelf.m_hWnd) m_editCommandName.SetFocus();
    m_btnAddSelf.ShowWindow(SW_HIDE);
    RegWriteString(RootKeyOf(RegistrationScope()), kAppPathsRunKey, CStringW(), m_strSelfPath);
}
