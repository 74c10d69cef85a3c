// The options of a run command (属性…): its preset arguments, with one line
// saying where the words typed go, its working folder (typed, or picked
// with 浏览…), its environment variables (NAME=VALUE, one a line) and "run
// as administrator". 确定 keeps what is shown; 取消 (Escape, the close
// button) drops it.
#pragma once

#include "app/runcmd/RunCommandOptions.h"
#include "app/ui/SkinnedToolDlg_win32.h"
#include "skin/QebTransButton.h"
#include "wnd/Controls.h"

class COptionsDlg : public CSkinnedToolDlg {
public:
    // `options` is set when the user presses 确定; it must outlive the dialog.
    COptionsDlg(const CStringW& strCommand, RunCommandOptions& options, CWnd* pParent);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void LayOutControls() override;
    std::vector<CQebTransButton*> SkinControls() override;

    CStringW m_strCommand;
    RunCommandOptions& m_options;
    CQebTransButton m_lblArguments;
    CQebTransButton m_lblHint;
    CQebTransButton m_lblFolder;
    CQebTransButton m_lblEnvironment;
    CEdit m_editArguments;
    CEdit m_editFolder;
    CEdit m_editEnvironment;
    CWnd m_checkAdmin;
    CQebTransButton m_btnBrowse;
    CQebTransButton m_btnOk;
    CQebTransButton m_btnCancel;
};

// The variables of the dialog's list: one NAME=VALUE a line, blank lines
// left out; and the lines of `variables`.
std::vector<CStringW> VariablesOfLines(const CStringW& text);
CStringW LinesOfVariables(const std::vector<CStringW>& variables);
