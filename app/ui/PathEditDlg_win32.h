// The Path editor: the folders of a run command's Path value as a list, one
// folder a row, those that do not exist marked. A folder is typed into the
// field and added, or picked with 浏览…; the selected one is removed or moved
// up or down. 确定 keeps the list, 取消 (Escape, the close button) drops it.
#pragma once

#include <vector>

#include "app/runcmd/PathList.h"
#include "app/ui/SkinnedToolDlg_win32.h"
#include "skin/QebTransButton.h"
#include "wnd/Controls.h"
#include "wnd/Gdi.h"

class CPathEditDlg : public CSkinnedToolDlg {
public:
    // `folders` is edited in place when the user presses 确定; it must
    // outlive the dialog.
    CPathEditDlg(const CStringW& strCommand, std::vector<CStringW>& folders, CWnd* pParent);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void LayOutControls() override;
    std::vector<CQebTransButton*> SkinControls() override;

    void OnAdd();
    void OnBrowse();
    void OnRemove();
    void OnMove(bool up);
    // Shows m_editing with its marks and selects row `selected`.
    void ShowFolders(int selected);
    int SelectedRow() const;

    CStringW m_strCommand;
    std::vector<CStringW>& m_folders;
    std::vector<CStringW> m_editing;
    CEdit m_editFolder;
    CWnd m_listFolders;
    CQebTransButton m_btnAdd;
    CQebTransButton m_btnBrowse;
    CQebTransButton m_btnRemove;
    CQebTransButton m_btnUp;
    CQebTransButton m_btnDown;
    CQebTransButton m_btnOk;
    CQebTransButton m_btnCancel;
};
