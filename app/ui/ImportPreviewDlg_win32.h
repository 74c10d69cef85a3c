// What an import would do, shown before anything is written: one row per
// entry of the file, added, replaced (a ticked box the user can untick) or
// skipped with the reason and the line it comes from. 导入 goes on with the
// ticked replacements, 取消 (or Escape, or the close button) writes nothing.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <vector>

#include "app/runcmd/RunCommandBackup.h"
#include "app/ui/SkinnedToolDlg_win32.h"
#include "skin/QebTransButton.h"
#include "wnd/Gdi.h"

class CImportPreviewDlg : public CSkinnedToolDlg {
public:
    // `replace` holds one flag per item of `plan`, ticked as it comes; on
    // 导入 it holds the user's ticks. Both must outlive the dialog.
    CImportPreviewDlg(const ImportPlan& plan, std::vector<bool>& replace, CWnd* pParent);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void LayOutControls() override;
    std::vector<CQebTransButton*> SkinControls() override;
    // The columns rescaled with the rest.
    void OnFrameDpiChanged(int fromDpi, int toDpi) override;

    void FillList();
    // The reason column takes the width the others leave; keys outside App
    // Paths are shortened in the middle to their column.
    void FitColumns();
    void ShowKeysFitted();
    // A row's tip: its line, its key whole, and what happens to it and why.
    void OnGetInfoTip(NMLVGETINFOTIPW* pTip);
    bool IsReplaceRow(int row) const;

    const ImportPlan& m_plan;
    std::vector<bool>& m_replace;
    CQebTransButton m_lblSummary;
    CWnd m_listItems;
    CQebTransButton m_btnImport;
    CQebTransButton m_btnCancel;
    // While the rows are set up, their boxes are set whatever they are.
    bool m_filling = false;
};
