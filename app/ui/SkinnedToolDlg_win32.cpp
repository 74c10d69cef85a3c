#include "app/ui/SkinnedToolDlg_win32.h"

#include "app/ui/SkinnedFrame_win32.h"
#include "res/resource.h"
#include "wnd/DC.h"

CSkinnedToolDlg::CSkinnedToolDlg(CWnd* pParent) : CQebDialog(IDD_RUN_MANAGER, pParent) {}

void CSkinnedToolDlg::OpenSkinned(const CStringW& strTitle, SIZE sizeAt96) {
    SetUpSkinnedFrame(*this, m_bmpCaptionButtons, m_bmpFrame, m_bmpButton, Dpi());
    SetWindowText(strTitle);
    CQebDialog::OnInitDialog();
    SetWindowPos(nullptr, 0, 0, Scaled(sizeAt96.cx), Scaled(sizeAt96.cy), SWP_NOMOVE | SWP_NOZORDER);
    CenterWindow();
}

bool CSkinnedToolDlg::ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_ERASEBKGND) {
        RECT inner{};
        GetInnerRect(&inner);
        CDCView(reinterpret_cast<HDC>(wParam)).FillSolidRect(inner, kDialogBackground);
        result = CQebDialog::OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
        return true;
    }
    return CQebDialog::ProcessWindowMessage(message, wParam, lParam, result);
}
